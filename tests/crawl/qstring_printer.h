#pragma once
// Readable QString values in GoogleTest failure messages, line ends shown.
#include <QString>

#include <ostream>

inline void PrintTo(const QString& text, std::ostream* os)
{
    QString shown = text;
    shown.replace(u'\r', QStringLiteral("\\r")).replace(u'\n', QStringLiteral("\\n"));
    *os << '"' << shown.toStdString() << '"';
}
