#include "analysis/result_text.h"

namespace lexicrawl {

QString LoadTimeText(const InternalUrl& entry, QChar decimalSeparator)
{
    if (!entry.visited)
        return QString();
    QString text = QString::number(double(entry.loadTimeNs) / 1e9, 'f', 1);
    text.replace(u'.', decimalSeparator);
    return text;
}

QString StatusCodeText(const InternalUrl& entry)
{
    return entry.visited ? QString::number(entry.statusCode) : QString();
}

QString FailureText(const InternalUrl& entry)
{
    return entry.fetchError.isEmpty() ? QStringLiteral("status %1").arg(entry.statusCode) : entry.fetchError;
}

namespace {

QString Quoted(const QString& field, QChar separator)
{
    const bool needed = field.contains(separator) || field.contains(u'"') || field.contains(u'\n') ||
                        field.contains(u'\r');
    if (!needed)
        return field;
    return QLatin1Char('"') + QString(field).replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
}

}  // namespace

QString CsvLine(const QStringList& fields, QChar separator)
{
    QStringList quoted;
    quoted.reserve(fields.size());
    for (const QString& field : fields)
        quoted << Quoted(field, separator);
    return quoted.join(separator);
}

}  // namespace lexicrawl
