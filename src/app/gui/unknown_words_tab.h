#pragma once
// The "Unknown Words" tab: the unknown-word list with its Find and export
// buttons, the choice of what a grouped list shows (the likely typos first,
// or one group alone, or in the list's place the repeated words or the words
// spelled two ways, each entry with its count) and its context menu ("Copy", "Spell Check", and the
// commands that take the selected words off the list, many at once), and
// beside it the pages of the current word with the sentence it stands in on
// each.
//
// Thread-safety: UI thread only.
#include <QWidget>

#include <vector>

#include "analysis/word_findings.h"
#include "app/core/word_approvals.h"

class QComboBox;
class QTableView;

namespace lexicrawl {
class ProjectDatabase;
}

namespace lexicrawl::gui {

class UnknownWordModel;
class WordFindingsModel;
class WordSourcesPane;

class UnknownWordsTab : public QWidget {
    Q_OBJECT
public:
    UnknownWordsTab(ProjectDatabase& database, QWidget* parent = nullptr);

    UnknownWordModel* Model() const { return model_; }
    QTableView* View() const { return view_; }
    WordSourcesPane* Sources() const { return sources_; }
    QComboBox* ViewChoice() const { return viewChoice_; }
    WordFindingsModel* Findings() const { return findings_; }
    QTableView* FindingsView() const { return findingsView_; }
    // The repeated words and the words spelled two ways; none while a crawl runs.
    void SetFindings(std::vector<RepeatedWordFinding> repeated, std::vector<TwoSpellings> spellings);
    QString SelectedWord() const;
    // The selected rows' words, in row order.
    QStringList SelectedWords() const;
    void SelectRow(int row);
    // Whether the findings stand in the word list's place.
    bool ShowingFindings() const;
    void SelectFindingRow(int row);

signals:
    void findRequested();
    void exportRequested();
    void spellCheckRequested(const QString& word);
    void approveRequested(const QStringList& words, lexicrawl::ApprovalKind kind);

private:
    void ShowWordAt(int row);
    void ShowFindingAt(int row);
    void ChooseView(int index);
    void CountFindings();
    void ShowMenu(const QPoint& at);

    UnknownWordModel* model_ = nullptr;
    QTableView* view_ = nullptr;
    QComboBox* viewChoice_ = nullptr;
    WordFindingsModel* findings_ = nullptr;
    QTableView* findingsView_ = nullptr;
    WordSourcesPane* sources_ = nullptr;
};

}  // namespace lexicrawl::gui
