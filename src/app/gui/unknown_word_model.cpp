#include "app/gui/unknown_word_model.h"

#include "platform/translation.h"

namespace lexicrawl::gui {

void UnknownWordModel::SetWords(std::vector<UnknownWord> words)
{
    beginResetModel();
    words_ = std::move(words);
    endResetModel();
}

QString UnknownWordModel::WordAt(int row) const
{
    return row >= 0 && size_t(row) < words_.size() ? words_[size_t(row)].word : QString();
}

QStringList UnknownWordModel::FormsAt(int row) const
{
    return row >= 0 && size_t(row) < words_.size() ? words_[size_t(row)].forms : QStringList();
}

int UnknownWordModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(words_.size());
}

int UnknownWordModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant UnknownWordModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || size_t(index.row()) >= words_.size() || role != Qt::DisplayRole)
        return {};
    const UnknownWord& word = words_[size_t(index.row())];
    return index.column() == WordColumn ? QVariant(word.word) : QVariant(QString::number(word.occurrence));
}

QVariant UnknownWordModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    return section == WordColumn ? Tr(QStringLiteral("Word")) : Tr(QStringLiteral("Occurrence"));
}

}  // namespace lexicrawl::gui
