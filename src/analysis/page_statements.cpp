#include "analysis/page_statements.h"

#include "store/sql_quote.h"

namespace lexicrawl::page_statements {

BoundStatement UnknownWordInsert(const QString& url, const QString& word)
{
    return {"insert into MISSPELLED (URL,WORD) values (?,?);", {url, word}};
}

QString PageLookup(const QString& url)
{
    return QStringLiteral("SELECT * FROM PAGES where URL=") + SqlQuote(url) + QLatin1Char(';');
}

QString PageUpdate(const QString& url, const QString& title, const QString& description)
{
    return QStringLiteral("update PAGES SET TITLE=") + SqlQuote(title) + QStringLiteral(", DESCRIPTION=") +
           SqlQuote(description) + QStringLiteral(" where URL=") + SqlQuote(url) + QLatin1Char(';');
}

QString PageInsert(const QString& url, const QString& title, const QString& description)
{
    return QStringLiteral("insert into PAGES (URL,TITLE,DESCRIPTION) values (") + SqlQuote(url) +
           QLatin1Char(',') + SqlQuote(title) + QLatin1Char(',') + SqlQuote(description) +
           QStringLiteral(");");
}

BoundStatement HeadingInsert(const QString& url, const QString& tag, const QString& line)
{
    return {"insert into TAGS (URL,TAG,VALUE) values (?,?,?);", {url, tag, line}};
}

}  // namespace lexicrawl::page_statements
