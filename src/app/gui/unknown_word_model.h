#pragma once
// The unknown-word list: each word and its occurrence (the pages that had it
// unknown), in the order the refresh query gave them. The list is rebuilt in
// one batch at every refresh.
//
// Thread-safety: UI thread only.
#include <QAbstractTableModel>

#include <vector>

#include "analysis/unknown_word_list.h"

namespace lexicrawl::gui {

class UnknownWordModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { WordColumn, OccurrenceColumn, ColumnCount };

    using QAbstractTableModel::QAbstractTableModel;

    void SetWords(std::vector<UnknownWord> words);
    const std::vector<UnknownWord>& Words() const { return words_; }
    QString WordAt(int row) const;
    QStringList FormsAt(int row) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    std::vector<UnknownWord> words_;
};

}  // namespace lexicrawl::gui
