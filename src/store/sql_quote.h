#pragma once
#include <QString>
#include <QStringList>

namespace lexicrawl {

// Every value enters a statement as an SQL string literal: wrapped in single
// quotes, each inner single quote doubled (O'Brien -> 'O''Brien'). A NUL
// cannot stand inside a literal (the statement text would end there), so a
// value holding one becomes the literals around it joined by char(0), in
// parentheses: ('a'||char(0)||'b'). The stored text is the value, NUL
// included.
QString SqlQuote(const QString& value);

// A statement of the hot paths (one row per word, link or heading) with its
// values apart: sql holds a ? for each value and lives as long as the
// program. ProjectDatabase prepares it once per connection and binds the
// values, which stores exactly the row that Text() would.
struct BoundStatement {
    const char* sql;
    QStringList values;
    // The statement with each ? replaced by SqlQuote of its value.
    QString Text() const;
};

}  // namespace lexicrawl
