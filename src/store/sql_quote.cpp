#include "store/sql_quote.h"

namespace lexicrawl {

QString SqlQuote(const QString& value)
{
    QString out;
    out.reserve(value.size() + 2);
    out += QLatin1Char('\'');
    for (QChar c : value) {
        if (c == QLatin1Char('\''))
            out += QLatin1Char('\'');
        out += c;
    }
    out += QLatin1Char('\'');
    return out;
}

}  // namespace lexicrawl
