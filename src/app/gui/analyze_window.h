#pragma once
// The page analysis window ("Analyze URL"): one address, apart from any
// crawl. It appears at once and fills in as the answers arrive: the title,
// description and H1 to H3 headings with their lengths, the images, the
// source, the text version from an outside HTML-to-text service, and on
// request the readable text and a word list. Its fetches run in the
// background with their own fetcher state, so a running crawl never sees
// them; a page that cannot be fetched still gives a window.
//
// Thread-safety: UI thread only.
#include <QWidget>

#include "crawl/fetcher.h"

class QGridLayout;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QTreeWidget;

namespace lexicrawl::gui {

class AnalyzeWindow : public QWidget {
    Q_OBJECT
public:
    // html2textBase: scheme and host of the HTML-to-text service.
    AnalyzeWindow(const QString& url, const FetchSettings& settings, const QString& html2textBase,
                  QWidget* parent = nullptr);

    // The counter beside a box ("url", "title", "description", "h1", "h2",
    // "h3", "contents"), as shown.
    QString Counter(const QString& box) const;
    void StripHtmlSource();
    void GenerateWordList();

    // The address of the text version of url at the service.
    static QString ServiceAddress(const QString& html2textBase, const QString& url);

signals:
    void pageFilled();
    void contentsFilled();
    void readableTextFilled();
    void wordListFilled();

private:
    QWidget* AnalyzeTab();
    QWidget* ReadableTextTab();
    QWidget* WordsTab();
    void FetchPageFacts(const QString& url, const FetchSettings& settings);
    void FetchContents(const QString& address, const FetchSettings& settings);
    QLabel* AddRow(QGridLayout* grid, int row, const QString& caption, QWidget* box, const QString& name);
    void SetCounter(const QString& box, qsizetype characters);
    void SetStatus(const QString& text);

    QLineEdit* url_ = nullptr;
    QLineEdit* title_ = nullptr;
    QPlainTextEdit* description_ = nullptr;
    QListWidget* headings_[3] = {};
    QPlainTextEdit* contents_ = nullptr;
    QTreeWidget* images_ = nullptr;
    QPlainTextEdit* source_ = nullptr;
    QPushButton* strip_ = nullptr;
    QPlainTextEdit* readable_ = nullptr;
    QLineEdit* wordCharacters_ = nullptr;
    QPlainTextEdit* words_ = nullptr;
    QLabel* status_ = nullptr;
};

}  // namespace lexicrawl::gui
