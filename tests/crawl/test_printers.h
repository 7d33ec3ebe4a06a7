#pragma once
// Lets GoogleTest show QString values (also inside lists) as text in failure
// messages.
#include <QString>

#include <ostream>

inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}
