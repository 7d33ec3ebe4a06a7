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

QStringList UnknownWordModel::WordsWithoutSuggestions() const
{
    QStringList missing;
    for (const UnknownWord& w : words_)
        if (!suggestions_.contains(w.word))
            missing << w.word;
    return missing;
}

void UnknownWordModel::AddSuggestions(const QHash<QString, QStringList>& suggestions)
{
    suggestions_.insert(suggestions);
    if (!words_.empty())
        emit dataChanged(index(0, SuggestionsColumn), index(int(words_.size()) - 1, SuggestionsColumn));
}

void UnknownWordModel::ClearSuggestions()
{
    suggestions_.clear();
    if (!words_.empty())
        emit dataChanged(index(0, SuggestionsColumn), index(int(words_.size()) - 1, SuggestionsColumn));
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
    switch (index.column()) {
    case WordColumn:
        return word.word;
    case OccurrenceColumn:
        return QString::number(word.occurrence);
    default:
        return suggestions_.value(word.word).join(QStringLiteral(", "));
    }
}

QVariant UnknownWordModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case WordColumn:
        return Tr(QStringLiteral("Word"));
    case OccurrenceColumn:
        return Tr(QStringLiteral("Occurrence"));
    default:
        return Tr(QStringLiteral("Suggestions"));
    }
}

}  // namespace lexicrawl::gui
