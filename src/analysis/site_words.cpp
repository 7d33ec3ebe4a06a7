#include "analysis/site_words.h"

#include "analysis/page_record.h"
#include "analysis/readable_text.h"
#include "analysis/word_context.h"
#include "store/project_database.h"
#include "store/sql_quote.h"

namespace lexicrawl {

void SiteWordCounter::AddPage(const PageRecord& record)
{
    for (const QString& word : record.words)
        ++pages_[word];
    if (!record.proseWords.empty()) {
        for (const QString& word : record.textWords ? *record.textWords : DistinctWords(record.text))
            ++textPages_[word];
    }
    // A word declared in two languages of one page is still one page's word.
    if (record.proseWords.size() == 1) {
        for (const QString& word : record.proseWords.front().words)
            ++pages_[word];
        return;
    }
    TextSet seen;
    for (const LanguageWords& group : record.proseWords) {
        for (const QString& word : group.words) {
            if (seen.insert(word).second)
                ++pages_[word];
        }
    }
}

void SiteWordCounter::Write(ProjectDatabase& database) const
{
    if (pages_.empty())
        return;  // nothing read: the project stays as it was
    Transaction transaction(database);
    database.Execute(QStringLiteral("CREATE TABLE IF NOT EXISTS SITEWORDS (WORD TEXT, PAGES INTEGER);"));
    database.Execute(QStringLiteral("DELETE FROM SITEWORDS;"));
    for (const auto& [word, count] : pages_)
        database.Execute(BoundStatement{"insert into SITEWORDS (WORD,PAGES) values (?,?);",
                                        {word, QString::number(count)}});
    if (!textPages_.empty()) {
        database.Execute(QStringLiteral("CREATE TABLE IF NOT EXISTS SITETEXTWORDS (WORD TEXT, PAGES INTEGER);"));
        database.Execute(QStringLiteral("DELETE FROM SITETEXTWORDS;"));
        for (const auto& [word, count] : textPages_)
            database.Execute(BoundStatement{"insert into SITETEXTWORDS (WORD,PAGES) values (?,?);",
                                            {word, QString::number(count)}});
    }
    transaction.Commit();
}

bool LoadSiteWordPages(ProjectDatabase& database, SiteWordPages& pages)
{
    pages.clear();
    if (!HasTable(database, QStringLiteral("SITEWORDS")))
        return false;
    database.Query(QStringLiteral("SELECT WORD, PAGES FROM SITEWORDS;"), [&pages](const Row& row) {
        pages[row.Value(QStringLiteral("WORD"))] += row.Value(QStringLiteral("PAGES")).toLongLong();
    });
    return true;
}

void LoadSiteTextWordPages(ProjectDatabase& database, SiteWordPages& pages)
{
    pages.clear();
    if (!HasTable(database, QStringLiteral("SITETEXTWORDS")))
        return;
    database.Query(QStringLiteral("SELECT WORD, PAGES FROM SITETEXTWORDS;"), [&pages](const Row& row) {
        pages[row.Value(QStringLiteral("WORD"))] += row.Value(QStringLiteral("PAGES")).toLongLong();
    });
}

}  // namespace lexicrawl
