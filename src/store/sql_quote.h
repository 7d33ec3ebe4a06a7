#pragma once
#include <QString>

namespace lexicrawl {

// Every value enters a statement as an SQL string literal: wrapped in single
// quotes, each inner single quote doubled (O'Brien -> 'O''Brien'). A NUL
// cannot stand inside a literal (the statement text would end there), so a
// value holding one becomes the literals around it joined by char(0), in
// parentheses: ('a'||char(0)||'b'). The stored text is the value, NUL
// included.
QString SqlQuote(const QString& value);

}  // namespace lexicrawl
