#include "app/gui/unknown_word_model.h"

#include "platform/translation.h"

namespace lexicrawl::gui {

void UnknownWordModel::SetWords(std::vector<UnknownWord> words, std::vector<WordGrouping> groups)
{
    beginResetModel();
    words_ = std::move(words);
    groups_ = groups.size() == words_.size() ? std::move(groups) : std::vector<WordGrouping>();
    ShowRows();
    endResetModel();
}

void UnknownWordModel::SetView(View view)
{
    if (view == view_)
        return;
    beginResetModel();
    view_ = view;
    ShowRows();
    endResetModel();
}

void UnknownWordModel::ShowRows()
{
    rows_.clear();
    if (groups_.empty()) {
        rows_.resize(words_.size());
        for (std::size_t i = 0; i < rows_.size(); ++i)
            rows_[i] = i;
        return;
    }
    for (const std::size_t i : GroupedOrder(groups_)) {
        const bool likely = groups_[i].LikelyTypo();
        if (view_ == View::LikelyTyposFirst || (view_ == View::LikelyTypos) == likely)
            rows_.push_back(i);
    }
}

const UnknownWord* UnknownWordModel::At(int row) const
{
    return row >= 0 && size_t(row) < rows_.size() ? &words_[rows_[size_t(row)]] : nullptr;
}

QString UnknownWordModel::WordAt(int row) const
{
    const UnknownWord* w = At(row);
    return w ? w->word : QString();
}

QStringList UnknownWordModel::FormsAt(int row) const
{
    const UnknownWord* w = At(row);
    return w ? w->forms : QStringList();
}

const WordGrouping* UnknownWordModel::GroupingAt(int row) const
{
    return !groups_.empty() && row >= 0 && size_t(row) < rows_.size() ? &groups_[rows_[size_t(row)]] : nullptr;
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
    if (!rows_.empty())
        emit dataChanged(index(0, SuggestionsColumn), index(int(rows_.size()) - 1, SuggestionsColumn));
}

void UnknownWordModel::ClearSuggestions()
{
    suggestions_.clear();
    if (!rows_.empty())
        emit dataChanged(index(0, SuggestionsColumn), index(int(rows_.size()) - 1, SuggestionsColumn));
}

int UnknownWordModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(rows_.size());
}

int UnknownWordModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant UnknownWordModel::data(const QModelIndex& index, int role) const
{
    const UnknownWord* word = index.isValid() ? At(index.row()) : nullptr;
    if (!word || role != Qt::DisplayRole)
        return {};
    const WordGrouping* group = GroupingAt(index.row());
    switch (index.column()) {
    case WordColumn:
        return word->word;
    case OccurrenceColumn:
        return QString::number(word->occurrence);
    case CorrectionColumn:
        return group && group->LikelyTypo() ? group->correction : QString();
    case ReasonColumn:
        return group ? group->ReasonText() : QString();
    default:
        return suggestions_.value(word->word).join(QStringLiteral(", "));
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
    case CorrectionColumn:
        return Tr(QStringLiteral("Correction"));
    case ReasonColumn:
        return Tr(QStringLiteral("Reason"));
    default:
        return Tr(QStringLiteral("Suggestions"));
    }
}

}  // namespace lexicrawl::gui
