#pragma once
// The "Internal URLs" tab: the list of the table of internal URLs, its Find
// and export buttons, its context menu, and the page facts pane beside it,
// filled for the selected row.
//
// Thread-safety: UI thread only.
#include <QWidget>

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

signals:
    void findRequested();
    void exportRequested();
    void analyzeRequested(const QString& url);
    void viewReadableTextRequested(const QString& url);
    void viewSourceRequested(const QString& url);

private:
    void ShowMenu(const QPoint& at);

    InternalUrlModel* model_ = nullptr;
    QTableView* view_ = nullptr;
    PageFactsPane* facts_ = nullptr;
    bool analyzeEnabled_ = false;
};

}  // namespace lexicrawl::gui
