#pragma once
// What a crawl that obeyed robots.txt or read sitemaps found beside its
// pages: the pages found only in a sitemap, the URLs robots.txt kept out and
// the site files that could not be read. Kept with the crawl in a table of
// its own (CRAWLNOTES, made only by such a crawl), so that an opened
// project, its report and its exports show them too.
//
// Thread-safety: the functions go through the database's lock.
#include <QString>
#include <QStringList>

namespace lexicrawl {

class ProjectDatabase;

struct CrawlNotes {
    QStringList sitemapOnly;      // found in a sitemap, linked from no crawled page
    QStringList leftOutByRobots;  // internal URLs robots.txt kept out, never fetched
    QStringList warnings;         // robots.txt or sitemaps that could not be read
    bool Empty() const { return sitemapOnly.isEmpty() && leftOutByRobots.isEmpty() && warnings.isEmpty(); }
};

// Writes the notes in one transaction, creating the table; throws DatabaseError.
void WriteCrawlNotes(ProjectDatabase& database, const CrawlNotes& notes);
// The notes stored; none for a project whose crawl made none. Throws DatabaseError.
CrawlNotes LoadCrawlNotes(ProjectDatabase& database);

}  // namespace lexicrawl
