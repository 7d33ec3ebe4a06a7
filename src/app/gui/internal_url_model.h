#pragma once
// The "Internal URLs" list as a model over the table of internal URLs: cells
// are made on demand from the table, so a list of 100,000 rows costs no more
// than the rows on screen. The window tells the model how far the table has
// grown and how far the crawl has visited, a few times a second.
//
// Thread-safety: UI thread only; the table takes its own lock for each read.
#include <QAbstractTableModel>
#include <QHash>

#include "crawl/internal_urls.h"

namespace lexicrawl::gui {

class InternalUrlModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // FailureColumn: why a visit brought no page, in a cell of its own so
    // that the keyboard and screen readers reach it, not only the tooltip.
    // NoteColumn: a page found only in a sitemap, a document and its status.
    enum Column { UrlColumn, LoadTimeColumn, UrlLengthColumn, StatusColumn, FailureColumn, NoteColumn, ColumnCount };

    explicit InternalUrlModel(const InternalUrls& table, QObject* parent = nullptr);

    // The table was emptied or refilled: show it as it is now.
    void Reset();
    // Rows appended up to tableLength are inserted; rows visited up to
    // lastVisited are repainted.
    void Sync(qsizetype tableLength, qsizetype lastVisited);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // The URL of a row; empty outside the table.
    QString UrlAt(int row) const;
    // The Note of a row; empty outside the table and for a row without one.
    QString NoteAt(int row) const;
    // The notes by URL, as the crawl's tables hold them; empty: none.
    void SetNotes(const QHash<QString, QString>& notes);
    bool HasNotes() const { return !notes_.isEmpty(); }

private:
    const InternalUrls& table_;
    QHash<QString, QString> notes_;
    qsizetype rows_ = 0;
    qsizetype repaintedUpTo_ = -1;
};

}  // namespace lexicrawl::gui
