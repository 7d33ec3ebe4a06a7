#pragma once
// The findings beside the unknown words, one kind at a time: words written
// twice in a row (the words, the page, the sentence), or one word spelled
// two ways on the site (the spellings and how many pages use each). Rebuilt
// in one batch at every refresh of the word list.
//
// Thread-safety: UI thread only.
#include <QAbstractTableModel>

#include <vector>

#include "analysis/word_findings.h"

namespace lexicrawl::gui {

class WordFindingsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum class Kind { RepeatedWords, TwoSpellings };
    // Repeated words: words, page, context; two spellings: spellings, pages.
    enum Column { WordsColumn, PageColumn, ContextColumn };

    using QAbstractTableModel::QAbstractTableModel;

    void SetFindings(std::vector<RepeatedWordFinding> repeated, std::vector<TwoSpellings> spellings);
    void SetKind(Kind kind);
    Kind CurrentKind() const { return kind_; }
    const std::vector<RepeatedWordFinding>& RepeatedWords() const { return repeated_; }
    const std::vector<TwoSpellings>& Spellings() const { return spellings_; }
    // The shown row's finding, or null (another kind is shown, or no such row).
    const RepeatedWordFinding* RepeatedAt(int row) const;
    const TwoSpellings* SpellingsAt(int row) const;
    // What Find reads of a row: its columns, one a line.
    QString RowText(int row) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    std::vector<RepeatedWordFinding> repeated_;
    std::vector<TwoSpellings> spellings_;
    Kind kind_ = Kind::RepeatedWords;
};

// "the the": the word as the page wrote it, twice.
QString RepeatedWordsText(const RepeatedWordFinding& finding);
// "organise / organize" and "3 / 1", in the same order.
QString SpellingsText(const TwoSpellings& finding);
QString SpellingPagesText(const TwoSpellings& finding);

}  // namespace lexicrawl::gui
