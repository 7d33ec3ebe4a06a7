#pragma once
// The page analysis window ("Analyze URL"): one address, apart from any
// crawl. It appears at once and fills in as the answers arrive: the title,
// description and H1 to H3 headings with their lengths, the images, the
// source, the page's readable text as the crawl renders it (Contents), and on
// request the tidied readable text and a word list. Nothing but the page
// itself is fetched; the fetch runs in the background with its own fetcher
// state, so a running crawl never sees it; a page that cannot be fetched
// still gives a window, with the reason in Contents. It is a main window of
// its own, so that assistive technology sees a window, not a pane.
//
// Thread-safety: UI thread only.
#include <QMainWindow>

#include "crawl/fetcher.h"

class QGridLayout;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QTreeWidget;

namespace lexicrawl::gui {

class AnalyzeWindow : public QMainWindow {
    Q_OBJECT
public:
    AnalyzeWindow(const QString& url, const FetchSettings& settings, QWidget* parent = nullptr);

    // The counter beside a box ("url", "title", "description", "h1", "h2",
    // "h3", "contents"), as shown.
    QString Counter(const QString& box) const;
    void StripHtmlSource();
    void GenerateWordList();

signals:
    // The page's facts, and its Contents with them.
    void pageFilled();
    void contentsFilled();
    void readableTextFilled();
    void wordListFilled();

private:
    QWidget* AnalyzeTab();
    QWidget* ReadableTextTab();
    QWidget* WordsTab();
    void FetchPage(const QString& url, const FetchSettings& settings);
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
