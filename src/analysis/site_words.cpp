#include "analysis/site_words.h"

#include <utility>

#include "analysis/page_record.h"
#include "analysis/readable_text.h"
#include "analysis/word_context.h"
#include "store/project_database.h"

namespace lexicrawl {

namespace {

// Replaces the table's rows with the counts, creating it when needed; insert
// is its insert statement (a literal: the store keeps it prepared).
void WriteCounts(ProjectDatabase& database, const QString& table, const char* insert, const TextCounter& counts)
{
    database.Execute(QStringLiteral("CREATE TABLE IF NOT EXISTS %1 (WORD TEXT, PAGES INTEGER);").arg(table));
    database.Execute(QStringLiteral("DELETE FROM %1;").arg(table));
    BulkInsert rows(database, insert);
    counts.ForEach([&rows](QStringView word, qint64 pages) { rows.Row(word, pages); });
}

// The table's rows, each word's counts summed; the map is sized for them
// first, so that it never grows on the way.
void LoadCounts(ProjectDatabase& database, const QString& table, SiteWordPages& pages)
{
    const auto rows = database.QueryAll(QStringLiteral("SELECT count(*) FROM %1;").arg(table));
    pages.reserve(std::size_t(rows.empty() ? 0 : rows.front().value(0).toLongLong()));
    database.QueryTextCounts(QStringLiteral("SELECT WORD, PAGES FROM %1;").arg(table),
                             [&pages](QString word, qint64 count) { pages[std::move(word)] += count; });
}

}  // namespace

void SiteWordCounter::AddPage(const PageRecord& record)
{
    counts_.pages.AddEach(record.words);
    if (!record.proseWords.empty())
        counts_.textPages.AddEach(record.textWords ? *record.textWords : DistinctWords(record.text));
    // A word declared in two languages of one page is still one page's word.
    if (record.proseWords.size() == 1) {
        counts_.pages.AddEach(record.proseWords.front().words);
        return;
    }
    TextSet seen;
    for (const LanguageWords& group : record.proseWords) {
        for (const QString& word : group.words) {
            if (seen.insert(word).second)
                counts_.pages.Add(word);
        }
    }
}

SiteWordCounts SiteWordCounter::Take()
{
    return std::exchange(counts_, SiteWordCounts());
}

void SiteWordCounter::Write(ProjectDatabase& database) const
{
    if (counts_.pages.empty())
        return;  // nothing read: the project stays as it was
    Transaction transaction(database);
    WriteCounts(database, QStringLiteral("SITEWORDS"), "insert into SITEWORDS (WORD,PAGES) values (?,?);",
                counts_.pages);
    if (!counts_.textPages.empty())
        WriteCounts(database, QStringLiteral("SITETEXTWORDS"), "insert into SITETEXTWORDS (WORD,PAGES) values (?,?);",
                    counts_.textPages);
    transaction.Commit();
}

void CopySiteWordPages(const TextCounter& counts, SiteWordPages& pages)
{
    pages.clear();
    pages.reserve(std::size_t(counts.size()));
    counts.ForEach([&pages](QStringView word, qint64 count) { pages.emplace(word.toString(), count); });
}

bool LoadSiteWordPages(ProjectDatabase& database, SiteWordPages& pages)
{
    pages.clear();
    if (!HasTable(database, QStringLiteral("SITEWORDS")))
        return false;
    LoadCounts(database, QStringLiteral("SITEWORDS"), pages);
    return true;
}

void LoadSiteTextWordPages(ProjectDatabase& database, SiteWordPages& pages)
{
    pages.clear();
    if (!HasTable(database, QStringLiteral("SITETEXTWORDS")))
        return;
    LoadCounts(database, QStringLiteral("SITETEXTWORDS"), pages);
}

}  // namespace lexicrawl
