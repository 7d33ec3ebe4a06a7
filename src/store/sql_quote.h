#pragma once
#include <QString>

namespace lexicrawl {

// Every value enters a statement as an SQL string literal: wrapped in single
// quotes, each inner single quote doubled (O'Brien -> 'O''Brien').
QString SqlQuote(const QString& value);

}  // namespace lexicrawl
