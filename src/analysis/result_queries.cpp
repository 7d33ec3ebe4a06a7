#include "analysis/result_queries.h"

#include "platform/text.h"
#include "store/project_database.h"
#include "store/sql_quote.h"

namespace lexicrawl {

namespace {

QStringList Headings(ProjectDatabase& database, const QString& tag, const QString& url)
{
    QStringList values;
    database.Query(QStringLiteral("SELECT * FROM TAGS where TAG=") + SqlQuote(tag) + QStringLiteral(" AND URL=") +
                       SqlQuote(url) + QLatin1Char(';'),
                   [&values](const Row& row) { values << row.Value(QStringLiteral("VALUE")); });
    return values;
}

}  // namespace

bool LoadStoredPageFacts(ProjectDatabase& database, const QString& url, StoredPageFacts& facts, QString* error)
{
    try {
        database.Query(QStringLiteral("SELECT * FROM PAGES where URL=") + SqlQuote(url) + QLatin1Char(';'),
                       [&facts](const Row& row) {
                           facts.title = row.Value(QStringLiteral("TITLE"));
                           facts.description = row.Value(QStringLiteral("DESCRIPTION"));
                       });
        facts.h1 = Headings(database, QStringLiteral("H1"), url);
        facts.h2 = Headings(database, QStringLiteral("H2"), url);
        return true;
    } catch (const DatabaseError& e) {
        if (error)
            *error = e.Text();
        return false;
    }
}

bool LoadWordSources(ProjectDatabase& database, const QString& word, QStringList& urls, QString* error)
{
    try {
        database.Query(QStringLiteral("SELECT URL FROM MISSPELLED where WORD=") + SqlQuote(word) + QLatin1Char(';'),
                       [&urls](const Row& row) {
                           if (!TrimCtl(row.At(0)).isEmpty())
                               urls << row.At(0);
                       });
        return true;
    } catch (const DatabaseError& e) {
        if (error)
            *error = e.Text();
        return false;
    }
}

}  // namespace lexicrawl
