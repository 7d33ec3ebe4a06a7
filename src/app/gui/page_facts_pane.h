#pragma once
// The pane beside the "Internal URLs" list: the selected page's title and
// META description with their lengths, and its H1 and H2 headings with their
// counts, as the database holds them at the moment of the selection; above
// them, a line when the page is a document or was found only in a sitemap.
//
// Thread-safety: UI thread only; the queries run in the background.
#include <QWidget>

#include "app/core/page_marks.h"

class QLabel;
class QPlainTextEdit;

namespace lexicrawl {
class ProjectDatabase;
}

namespace lexicrawl::gui {

// The pane's line for a page: "Document: PDF, 4 pages, read", "Found in
// sitemap, linked from nowhere", both, or empty.
QString PageMarkText(const PageMarks& marks, const QString& url);

class PageFactsPane : public QWidget {
    Q_OBJECT
public:
    PageFactsPane(ProjectDatabase& database, QWidget* parent = nullptr);

    // Fills the pane for the page (asynchronously; the last call wins).
    void ShowPage(const QString& url);
    // Empties the pane (a new crawl or another project); an answer still on
    // its way is dropped.
    void Clear();
    // The crawl's marks; the page shown gets its line at once.
    void SetMarks(const PageMarks& marks);

signals:
    // The facts of the last page asked for are shown.
    void shown();

private:
    QPlainTextEdit* AddBox(const QString& name, const QString& caption, bool wrap, QLabel** counter);
    void ShowMark();

    ProjectDatabase& database_;
    PageMarks marks_;
    QString page_;  // the page shown or asked for last
    QLabel* mark_ = nullptr;
    QPlainTextEdit* title_ = nullptr;
    QPlainTextEdit* description_ = nullptr;
    QPlainTextEdit* h1_ = nullptr;
    QPlainTextEdit* h2_ = nullptr;
    QLabel* titleLength_ = nullptr;
    QLabel* descriptionLength_ = nullptr;
    QLabel* h1Count_ = nullptr;
    QLabel* h2Count_ = nullptr;
    quint64 request_ = 0;
};

}  // namespace lexicrawl::gui
