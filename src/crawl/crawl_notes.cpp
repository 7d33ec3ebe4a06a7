#include "crawl/crawl_notes.h"

#include "store/project_database.h"
#include "store/sql_quote.h"

namespace lexicrawl {

namespace {

const QString kSitemapOnly = QStringLiteral("found in sitemap, linked from nowhere");
const QString kRobots = QStringLiteral("left out by robots.txt");
const QString kWarning = QStringLiteral("warning");

}  // namespace

void WriteCrawlNotes(ProjectDatabase& database, const CrawlNotes& notes)
{
    Transaction transaction(database);
    database.Execute(QStringLiteral(
        "CREATE TABLE IF NOT EXISTS CRAWLNOTES (ID INTEGER PRIMARY KEY AUTOINCREMENT, URL TEXT, NOTE TEXT);"));
    const auto write = [&database](const QStringList& texts, const QString& note) {
        for (const QString& text : texts)
            database.Execute(BoundStatement{"insert into CRAWLNOTES (URL,NOTE) values (?,?);", {text, note}});
    };
    write(notes.sitemapOnly, kSitemapOnly);
    write(notes.leftOutByRobots, kRobots);
    write(notes.warnings, kWarning);
    transaction.Commit();
}

CrawlNotes LoadCrawlNotes(ProjectDatabase& database)
{
    CrawlNotes notes;
    if (database.QueryAll(QStringLiteral("SELECT name FROM sqlite_master where type='table' and name='CRAWLNOTES';"))
            .empty())
        return notes;
    database.Query(QStringLiteral("SELECT URL, NOTE FROM CRAWLNOTES order by ID;"), [&notes](const Row& row) {
        const QString note = row.At(1);
        (note == kSitemapOnly ? notes.sitemapOnly : note == kRobots ? notes.leftOutByRobots : notes.warnings)
            << row.At(0);
    });
    return notes;
}

}  // namespace lexicrawl
