#pragma once
// The "Internal URLs" list as a model over the table of internal URLs: cells
// are made on demand from the table, so a list of 100,000 rows costs no more
// than the rows on screen. The window tells the model how far the table has
// grown and how far the crawl has visited, a few times a second.
//
// Thread-safety: UI thread only; the table takes its own lock for each read.
#include <QAbstractTableModel>

#include "crawl/internal_urls.h"

namespace lexicrawl::gui {

class InternalUrlModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // FailureColumn: why a visit brought no page, in a cell of its own so
    // that the keyboard and screen readers reach it, not only the tooltip.
    enum Column { UrlColumn, LoadTimeColumn, UrlLengthColumn, StatusColumn, FailureColumn, ColumnCount };

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

private:
    const InternalUrls& table_;
    qsizetype rows_ = 0;
    qsizetype repaintedUpTo_ = -1;
};

}  // namespace lexicrawl::gui
