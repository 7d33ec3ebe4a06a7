#pragma once
// The entries of a Hunspell word list (.dic), cut the way the library cuts
// them: the morphological fields start at a blank before a "xx:" field or at
// a tab; the flags follow the first "/" that is not the first character and
// not escaped as "\/".
//
// Thread-safety: pure functions.
#include <QByteArray>
#include <QList>

namespace lexicrawl {

struct DicEntry {
    QByteArray root;       // the word, "\/" read as "/"
    QByteArray flags;      // the flag field after "/", empty without one
    qsizetype line = 0;    // index into the list's lines
    qsizetype wordEnd = 0; // the word ends at this byte of its line
};

// The word list split into lines (line 0 holds the count).
QList<QByteArray> DicLines(const QByteArray& words);
// One entry per line after the count; lines without a word are left out.
QList<DicEntry> DicEntries(const QByteArray& words);
// The entry of one line (an empty root when the line holds no word).
DicEntry DicEntryOfLine(const QByteArray& line);

}  // namespace lexicrawl
