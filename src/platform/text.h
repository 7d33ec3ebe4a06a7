#pragma once
// Text rules shared by every subsystem. Text is UTF-16 (QString) throughout;
// case-insensitive work touches only the letters A to Z.
#include <QString>
#include <QStringList>

#include <optional>

namespace lexicrawl {

// Lower-cases A..Z only; every other character keeps its case.
QString LowerAZ(const QString& s);
QChar LowerAZ(QChar c);

// Equality and prefix tests that ignore the case of A..Z only.
bool SameTextAZ(const QString& a, const QString& b);
bool StartsWithAZ(const QString& s, const QString& prefix);
// Index of needle in haystack at or after from, ignoring the case of A..Z; -1 if absent.
qsizetype IndexOfAZ(const QString& haystack, const QString& needle, qsizetype from = 0);

// Removes every character at or below U+0020 from both ends.
QString TrimCtl(const QString& s);
QString TrimLeftCtl(const QString& s);
QString TrimRightCtl(const QString& s);

// Joins lines with CR LF after every line, the last one included.
QString JoinLines(const QStringList& lines);
// Splits at CR LF, lone CR or lone LF. A final line break ends the last line
// and does not start an empty one; an empty text has no lines.
QStringList SplitLines(const QString& text);

// path with a "/" at its end; an empty path stays empty.
QString WithTrailingSlash(const QString& path);

// The whole number a text spells in decimal, with nothing around it (no
// blanks either); nothing for anything else or a number beyond int.
std::optional<int> WholeNumber(const QString& text);

}  // namespace lexicrawl
