#pragma once
// What a crawl found out about its pages beyond their fetch: the pages found
// only in a sitemap, the documents read (kind, pages, status) and the URLs
// robots.txt kept out, read back from the project's tables so that a
// finished crawl and an opened project show the same marks. The Note texts
// are those of the CSV export.
//
// Thread-safety: LoadPageMarks goes through the database's lock and may run
// on any thread; a PageMarks is a plain value.
#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

#include "analysis/document_record.h"

namespace lexicrawl {

class ProjectDatabase;

struct PageMarks {
    QHash<QString, QString> notes;          // a row's Note by its URL
    QHash<QString, DocumentRow> documents;  // by URL
    QSet<QString> sitemapOnly;              // found in a sitemap, linked from nowhere
    QStringList leftOutByRobots;            // never fetched, so never a row
    bool Empty() const { return notes.isEmpty() && leftOutByRobots.isEmpty(); }
};

// The marks stored with the project; none for a crawl that read no site
// files and no documents. On failure answers false with the database's
// text in error and leaves marks empty.
bool LoadPageMarks(ProjectDatabase& database, PageMarks& marks, QString* error = nullptr);

}  // namespace lexicrawl
