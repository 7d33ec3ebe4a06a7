#pragma once
// The unknown-word list: each word, its occurrence (the pages that had it
// unknown), the dictionary's suggestions and, once the words are grouped,
// the correction and the reason of each. Ungrouped, the rows follow the
// refresh query's order; grouped, the likely typos come first (most likely
// first), and a view may show one group alone. The list is rebuilt in one
// batch at every refresh; suggestions arrive later, in one batch, and are
// kept across refreshes.
//
// Thread-safety: UI thread only.
#include <QAbstractTableModel>
#include <QHash>
#include <QStringList>

#include <vector>

#include "analysis/unknown_word_list.h"
#include "analysis/word_groups.h"

namespace lexicrawl::gui {

class UnknownWordModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { WordColumn, OccurrenceColumn, SuggestionsColumn, CorrectionColumn, ReasonColumn, ColumnCount };
    // What a grouped list shows: every word with the likely typos first, or one group.
    enum class View { LikelyTyposFirst, LikelyTypos, SiteVocabulary };

    using QAbstractTableModel::QAbstractTableModel;

    // groups: one per word, or none while the words are not grouped.
    void SetWords(std::vector<UnknownWord> words, std::vector<WordGrouping> groups = {});
    // Every word, shown or not, in the refresh query's order.
    const std::vector<UnknownWord>& Words() const { return words_; }
    bool Grouped() const { return !groups_.empty(); }
    void SetView(View view);
    View CurrentView() const { return view_; }
    QString WordAt(int row) const;
    QStringList FormsAt(int row) const;
    // The shown row's group, or null while ungrouped.
    const WordGrouping* GroupingAt(int row) const;
    // The listed words that have no suggestions yet.
    QStringList WordsWithoutSuggestions() const;
    void AddSuggestions(const QHash<QString, QStringList>& suggestions);
    // Forgets them all (another dictionary was chosen).
    void ClearSuggestions();

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    void ShowRows();
    const UnknownWord* At(int row) const;

    std::vector<UnknownWord> words_;
    std::vector<WordGrouping> groups_;
    std::vector<std::size_t> rows_;  // the shown words' indexes, in order
    View view_ = View::LikelyTyposFirst;
    QHash<QString, QStringList> suggestions_;
};

}  // namespace lexicrawl::gui
