#pragma once
// The statements that record a page, built as text with every value quoted;
// the ones run per word and per heading keep their values apart
// (BoundStatement), to be prepared once.
//
// Thread-safety: pure functions; safe from any thread.
#include <QString>

#include "store/sql_quote.h"

namespace lexicrawl::page_statements {

BoundStatement UnknownWordInsert(const QString& url, const QString& word);
QString PageLookup(const QString& url);
QString PageUpdate(const QString& url, const QString& title, const QString& description);
QString PageInsert(const QString& url, const QString& title, const QString& description);
// tag is "H1" or "H2".
BoundStatement HeadingInsert(const QString& url, const QString& tag, const QString& line);

}  // namespace lexicrawl::page_statements
