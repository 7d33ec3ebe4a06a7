#pragma once
// The texts the result lists show for the numbers the crawl keeps, shared by
// the window's lists, the exports and the command line, so that a value reads
// the same everywhere.
//
// Thread-safety: pure functions; any thread.
#include <QChar>
#include <QString>
#include <QStringList>

#include "crawl/internal_urls.h"

namespace lexicrawl {

// Seconds with one decimal, rounded, in the user's decimal separator ("0,3");
// empty before the entry is visited.
QString LoadTimeText(const InternalUrl& entry, QChar decimalSeparator);
// The status code in decimal ("-1" without an answer); empty before the visit.
QString StatusCodeText(const InternalUrl& entry);
// Why a visit failed: the fetch's failure text ("Couldn't connect to
// server", a status line), else "status N".
QString FailureText(const InternalUrl& entry);

// One CSV line, without its line break: a field holding the separator, a
// double quote or a line break is quoted, its quotes doubled; every other
// field stands as it is.
QString CsvLine(const QStringList& fields, QChar separator);

}  // namespace lexicrawl
