#include "app/gui/word_findings_model.h"

#include "platform/translation.h"

namespace lexicrawl::gui {

QString RepeatedWordsText(const RepeatedWordFinding& finding)
{
    return finding.word + QLatin1Char(' ') + finding.word;
}

QString SpellingsText(const TwoSpellings& finding)
{
    return finding.spellings.join(QStringLiteral(" / "));
}

QString SpellingPagesText(const TwoSpellings& finding)
{
    QStringList counts;
    for (const qint64 pages : finding.pages)
        counts << QString::number(pages);
    return counts.join(QStringLiteral(" / "));
}

void WordFindingsModel::SetFindings(std::vector<RepeatedWordFinding> repeated, std::vector<TwoSpellings> spellings)
{
    beginResetModel();
    repeated_ = std::move(repeated);
    spellings_ = std::move(spellings);
    endResetModel();
}

void WordFindingsModel::SetKind(Kind kind)
{
    if (kind == kind_)
        return;
    beginResetModel();
    kind_ = kind;
    endResetModel();
}

const RepeatedWordFinding* WordFindingsModel::RepeatedAt(int row) const
{
    return kind_ == Kind::RepeatedWords && row >= 0 && size_t(row) < repeated_.size() ? &repeated_[size_t(row)]
                                                                                       : nullptr;
}

const TwoSpellings* WordFindingsModel::SpellingsAt(int row) const
{
    return kind_ == Kind::TwoSpellings && row >= 0 && size_t(row) < spellings_.size() ? &spellings_[size_t(row)]
                                                                                      : nullptr;
}

QString WordFindingsModel::RowText(int row) const
{
    QStringList columns;
    for (int column = 0; column < columnCount(); ++column)
        columns << data(index(row, column)).toString();
    return columns.join(QLatin1Char('\n'));
}

int WordFindingsModel::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid())
        return 0;
    return int(kind_ == Kind::RepeatedWords ? repeated_.size() : spellings_.size());
}

int WordFindingsModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : (kind_ == Kind::RepeatedWords ? 3 : 2);
}

QVariant WordFindingsModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::ToolTipRole))
        return {};
    if (const RepeatedWordFinding* r = RepeatedAt(index.row())) {
        switch (index.column()) {
        case WordsColumn:
            return RepeatedWordsText(*r);
        case PageColumn:
            return r->url;
        default:
            return role == Qt::DisplayRole ? r->context.simplified() : r->context;
        }
    }
    if (const TwoSpellings* t = SpellingsAt(index.row()))
        return index.column() == WordsColumn ? SpellingsText(*t) : SpellingPagesText(*t);
    return {};
}

QVariant WordFindingsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (kind_ == Kind::TwoSpellings)
        return section == WordsColumn ? Tr(QStringLiteral("Spellings")) : Tr(QStringLiteral("Pages"));
    switch (section) {
    case WordsColumn:
        return Tr(QStringLiteral("Words"));
    case PageColumn:
        return Tr(QStringLiteral("Page"));
    default:
        return Tr(QStringLiteral("Context"));
    }
}

}  // namespace lexicrawl::gui
