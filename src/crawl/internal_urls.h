#pragma once
// The table of internal URLs: an ordered, append-only list of the pages a
// crawl visits, in visiting order (index = row of the "Internal URLs" list),
// with a hash set of its pages beside it so that the duplicate test costs
// O(1).
//
// Thread-safety: every member takes the table's lock, so the collector may
// append while the UI thread reads; At() hands out copies, never references.
#include <QMutex>
#include <QSet>
#include <QString>

#include <vector>

namespace lexicrawl {

// One row of the table, four texts.
struct InternalUrl {
    QString page;      // the URL as link processing produced it
    QString time;      // load time in seconds, one decimal; empty until visited
    QString length;    // UrlLength of page in decimal
    QString response;  // status code of the visit; empty until visited
};

class InternalUrls {
public:
    qsizetype Count() const;
    // A copy of entry index; an empty entry when index is out of range.
    InternalUrl At(qsizetype index) const;
    // A copy of the whole table, for export and the command line.
    std::vector<InternalUrl> Snapshot() const;
    // Whether some entry's page equals page exactly (case-sensitive).
    bool Contains(const QString& page) const;

    // Appends entry at the end and answers the new length.
    qsizetype Append(InternalUrl entry);
    // Writes the visit's load time and status code into entry index.
    void SetVisit(qsizetype index, const QString& time, const QString& response);
    void Clear();

private:
    mutable QMutex mutex_;
    std::vector<InternalUrl> entries_;
    QSet<QString> pages_;
};

}  // namespace lexicrawl
