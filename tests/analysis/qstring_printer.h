#pragma once
// Shows QStrings readably in test failures, control characters escaped.
#include <QString>

#include <ostream>

inline void PrintTo(const QString& s, std::ostream* os)
{
    QString shown = s;
    shown.replace(QLatin1Char('\r'), QLatin1String("\\r")).replace(QLatin1Char('\n'), QLatin1String("\\n"));
    shown.replace(QLatin1Char('\t'), QLatin1String("\\t"));
    *os << '"' << shown.toStdString() << '"';
}
