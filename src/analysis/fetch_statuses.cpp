#include "analysis/fetch_statuses.h"

#include <algorithm>

#include "analysis/word_context.h"
#include "store/project_database.h"
#include "store/sql_quote.h"

namespace lexicrawl {

void StoreFetchStatuses(ProjectDatabase& database, const std::vector<InternalUrl>& table)
{
    if (std::none_of(table.begin(), table.end(), [](const InternalUrl& e) { return e.visited; }))
        return;
    Transaction transaction(database);
    database.Execute(QStringLiteral("CREATE TABLE IF NOT EXISTS FETCHES (ID INTEGER PRIMARY KEY AUTOINCREMENT, "
                                    "URL TEXT, STATUS TEXT, ERROR TEXT, LOADTIME TEXT);"));
    database.Execute(QStringLiteral("DELETE FROM FETCHES;"));
    for (const InternalUrl& e : table) {
        if (!e.visited)
            continue;
        database.Execute(QStringLiteral("insert into FETCHES (URL,STATUS,ERROR,LOADTIME) values (") + SqlQuote(e.page) +
                         QLatin1Char(',') + SqlQuote(QString::number(e.statusCode)) + QLatin1Char(',') +
                         SqlQuote(e.fetchError) + QLatin1Char(',') + SqlQuote(QString::number(e.loadTimeNs)) +
                         QStringLiteral(");"));
    }
    transaction.Commit();
}

std::vector<InternalUrl> LoadFetchStatuses(ProjectDatabase& database)
{
    std::vector<InternalUrl> entries;
    if (!HasTable(database, QStringLiteral("FETCHES")))
        return entries;
    database.Query(QStringLiteral("SELECT URL, STATUS, ERROR, LOADTIME FROM FETCHES order by ID;"), [&](const Row& row) {
        InternalUrl e;
        e.page = row.At(0);
        e.visited = true;
        e.statusCode = row.At(1).toInt();
        e.fetchError = row.At(2);
        e.loadTimeNs = row.At(3).toLongLong();
        entries.push_back(std::move(e));
    });
    return entries;
}

}  // namespace lexicrawl
