#pragma once
// The pane beside the unknown-word list: the selected word in bold and the
// "Source URL" list of the pages on which it was found unknown, each with
// the sentence it stands in there and where (title, description, heading,
// body), with "Copy URL" and "Go to URL" on its context menu.
//
// Thread-safety: UI thread only; the query runs in the background.
#include <QWidget>

class QLabel;
class QTreeWidget;

namespace lexicrawl {
class ProjectDatabase;
}

namespace lexicrawl::gui {

class WordSourcesPane : public QWidget {
    Q_OBJECT
public:
    WordSourcesPane(ProjectDatabase& database, QWidget* parent = nullptr);

    // Shows the word and fills its pages (asynchronously; the last call
    // wins). A row that stands for several case forms lists the pages of each.
    void ShowWord(const QString& word, const QStringList& forms = {});
    // Shows one page with the sentence a finding stands in; an answer still
    // on its way is dropped.
    void ShowFinding(const QString& title, const QString& url, const QString& context);
    // Empties the pane; an answer still on its way is dropped.
    void Clear();
    // The selected source URL; empty when none.
    QString SelectedUrl() const;
    QTreeWidget* List() const { return list_; }

signals:
    void shown();

private:
    void ShowMenu(const QPoint& at);

    ProjectDatabase& database_;
    QLabel* word_ = nullptr;
    QTreeWidget* list_ = nullptr;
    quint64 request_ = 0;
};

}  // namespace lexicrawl::gui
