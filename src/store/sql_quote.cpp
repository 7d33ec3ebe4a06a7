#include "store/sql_quote.h"

namespace lexicrawl {

QString SqlQuote(const QString& value)
{
    const bool hasNul = value.contains(QChar(u'\0'));
    QString out;
    out.reserve(value.size() + 2);
    if (hasNul)
        out += QLatin1Char('(');
    out += QLatin1Char('\'');
    for (QChar c : value) {
        if (c == QLatin1Char('\''))
            out += QLatin1Char('\'');
        if (c == QChar(u'\0')) {
            out += QLatin1String("'||char(0)||'");
            continue;
        }
        out += c;
    }
    out += QLatin1Char('\'');
    if (hasNul)
        out += QLatin1Char(')');
    return out;
}

QString BoundStatement::Text() const
{
    const QString pattern = QString::fromUtf8(sql);
    QString out;
    qsizetype next = 0;
    for (QChar c : pattern) {
        if (c == QLatin1Char('?') && next < values.size())
            out += SqlQuote(values[next++]);
        else
            out += c;
    }
    return out;
}

}  // namespace lexicrawl
