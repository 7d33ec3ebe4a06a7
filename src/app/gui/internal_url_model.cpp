#include "app/gui/internal_url_model.h"

#include <QBrush>
#include <QColor>

#include "analysis/result_text.h"
#include "platform/platform.h"
#include "platform/translation.h"

namespace lexicrawl::gui {

InternalUrlModel::InternalUrlModel(const InternalUrls& table, QObject* parent)
    : QAbstractTableModel(parent), table_(table)
{
}

void InternalUrlModel::Reset()
{
    beginResetModel();
    rows_ = table_.Count();
    repaintedUpTo_ = -1;
    endResetModel();
}

void InternalUrlModel::Sync(qsizetype tableLength, qsizetype lastVisited)
{
    tableLength = std::min(tableLength, table_.Count());
    if (tableLength > rows_) {
        beginInsertRows(QModelIndex(), int(rows_), int(tableLength - 1));
        rows_ = tableLength;
        endInsertRows();
    }
    lastVisited = std::min(lastVisited, rows_ - 1);
    if (lastVisited > repaintedUpTo_) {
        emit dataChanged(index(int(repaintedUpTo_ + 1), 0), index(int(lastVisited), ColumnCount - 1));
        repaintedUpTo_ = lastVisited;
    }
}

int InternalUrlModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(rows_);
}

int InternalUrlModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant InternalUrlModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rows_)
        return {};
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole && role != Qt::ForegroundRole)
        return {};
    const InternalUrl entry = table_.At(index.row());
    if (role == Qt::ForegroundRole)  // a fetch that brought no page is never shown as a clean success
        return VisitFailed(entry) ? QVariant(QBrush(QColor(0xb0, 0x00, 0x20))) : QVariant();
    if (role == Qt::ToolTipRole) {
        const QString& tip = entry.fetchError.isEmpty() ? entry.note : entry.fetchError;
        return tip.isEmpty() ? QVariant() : QVariant(tip);
    }
    switch (index.column()) {
    case UrlColumn:
        return entry.page;
    case LoadTimeColumn:
        return LoadTimeText(entry, Platform::Current().DecimalSeparator());
    case UrlLengthColumn:
        return QString::number(entry.urlLength);
    case StatusColumn:
        return StatusCodeText(entry);
    case FailureColumn:
        return VisitFailed(entry) ? FailureText(entry) : QString();
    case NoteColumn:
        return notes_.value(entry.page);
    default:
        return {};
    }
}

QVariant InternalUrlModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case UrlColumn:
        return Tr(QStringLiteral("URL"));
    case LoadTimeColumn:
        return Tr(QStringLiteral("Load Time (sec)"));
    case UrlLengthColumn:
        return Tr(QStringLiteral("URL Length"));
    case StatusColumn:
        return Tr(QStringLiteral("Status Code"));
    case FailureColumn:
        return Tr(QStringLiteral("Failure"));
    case NoteColumn:
        return Tr(QStringLiteral("Note"));
    default:
        return {};
    }
}

QString InternalUrlModel::UrlAt(int row) const
{
    return row >= 0 && row < rows_ ? table_.At(row).page : QString();
}

QString InternalUrlModel::NoteAt(int row) const
{
    return notes_.isEmpty() ? QString() : notes_.value(UrlAt(row));
}

void InternalUrlModel::SetNotes(const QHash<QString, QString>& notes)
{
    if (notes.isEmpty() && notes_.isEmpty())
        return;
    notes_ = notes;
    if (rows_ > 0)
        emit dataChanged(index(0, NoteColumn), index(int(rows_ - 1), NoteColumn));
}

}  // namespace lexicrawl::gui
