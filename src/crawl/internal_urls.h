#pragma once
// The table of internal URLs: an ordered, append-only list of the pages a
// crawl visits, in visiting order (index = row of the "Internal URLs" list),
// with a hash set of its pages beside it so that the duplicate test costs
// O(1). Entries hold numbers; the views format them.
//
// Thread-safety: every member takes the table's lock, so the collector may
// append while the UI thread reads; At() hands out copies, never references.
#include <QMutex>
#include <QString>

#include <vector>

#include "platform/text_hash.h"

namespace lexicrawl {

// One row of the table.
struct InternalUrl {
    QString page;            // the URL as link processing produced it
    qsizetype urlLength = 0; // UrlLength(page)
    bool visited = false;    // the fetch has ended and the fields below are set
    qint64 loadTimeNs = 0;   // from the start of the visit to the end of the fetch
    int statusCode = 0;      // of the answer; -1 when no answer came
    QString fetchError;      // why the fetch failed; empty after a whole answer
    QString note;            // why a rendering crawl read the page as sent
};

// A visited entry whose fetch brought no page: no answer, an error status,
// or a transfer that broke off.
bool VisitFailed(const InternalUrl& entry);

class InternalUrls {
public:
    qsizetype Count() const;
    // A copy of entry index; an empty entry when index is out of range.
    InternalUrl At(qsizetype index) const;
    // A copy of the whole table, for export and the command line.
    std::vector<InternalUrl> Snapshot() const;
    // Whether some entry's page equals page exactly (case-sensitive).
    bool Contains(const QString& page) const;

    // Appends an unvisited entry for page at the end and answers the new length.
    qsizetype Append(const QString& page);
    // Writes the visit's load time, status code and failure text into entry index.
    void SetVisit(qsizetype index, qint64 loadTimeNs, int statusCode, const QString& fetchError);
    void SetNote(qsizetype index, const QString& note);
    void Clear();

private:
    mutable QMutex mutex_;
    std::vector<InternalUrl> entries_;
    TextSet pages_;
};

}  // namespace lexicrawl
