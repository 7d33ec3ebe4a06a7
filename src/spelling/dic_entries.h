#pragma once
// The entries of a Hunspell word list (.dic) as this code reads them.
//
// Thread-safety: a pure function.
#include <QByteArray>
#include <QList>

namespace lexicrawl {

struct DicEntry {
    QByteArray root;   // the word before "/", trimmed
    QByteArray flags;  // the flags after "/", trimmed; empty without one
};

// Every line after the count line, less the fields after a tab; lines
// without a word are left out.
QList<DicEntry> DicEntries(const QByteArray& words);

}  // namespace lexicrawl
