#pragma once
// The "Internal URLs" tab: the list of the table of internal URLs, its Find
// and export buttons, its context menu, and the page facts pane beside it,
// filled for the selected row. The crawl's marks (documents, pages found only
// in a sitemap) are read from the project in the background once a crawl is
// over or a project opened; the Note column shows only while some row has one.
//
// Thread-safety: UI thread only.
#include <QWidget>

#include "app/core/page_marks.h"

class QAction;
class QTableView;

namespace lexicrawl {
class InternalUrls;
class ProjectDatabase;
}

namespace lexicrawl::gui {

class InternalUrlModel;
class PageFactsPane;

class InternalUrlsTab : public QWidget {
    Q_OBJECT
public:
    InternalUrlsTab(const InternalUrls& table, ProjectDatabase& database, QWidget* parent = nullptr);

    InternalUrlModel* Model() const { return model_; }
    QTableView* View() const { return view_; }
    PageFactsPane* Facts() const { return facts_; }
    // The URL of the selected row; empty when none is selected.
    QString SelectedUrl() const;
    // Selects a row, scrolls it fully into view and gives the list the focus.
    void SelectRow(int row);
    // "Analyze URL..." is offered once the page analysis window exists.
    void SetAnalyzeEnabled(bool enabled);
    // Reads the marks the project holds now (in the background); marksShown follows.
    void LoadMarks();
    // No marks (a crawl begins); a reading still on its way is dropped.
    void ClearMarks();
    const PageMarks& Marks() const { return marks_; }

signals:
    void findRequested();
    void exportRequested();
    void analyzeRequested(const QString& url);
    void viewReadableTextRequested(const QString& url);
    void viewSourceRequested(const QString& url);
    // The marks LoadMarks read are shown.
    void marksShown();

private:
    void ShowMenu(const QPoint& at);
    void ShowMarks(const PageMarks& marks);

    InternalUrlModel* model_ = nullptr;
    QTableView* view_ = nullptr;
    PageFactsPane* facts_ = nullptr;
    bool analyzeEnabled_ = false;
    ProjectDatabase& database_;
    PageMarks marks_;
    quint64 marksRequest_ = 0;
};

}  // namespace lexicrawl::gui
