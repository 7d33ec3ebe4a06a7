#pragma once
// The one word verdict every caller uses: a word is known when the dictionary
// accepts it, or suggests a spelling that equals it once A-Z are lower-cased
// ("paris" is known when the dictionary suggests "Paris").
//
// SpellCheckWord gives exactly the verdict of SpellCheckWordPlain, faster:
// verdicts are kept per loaded engine (dropped when it changes), and the
// costly Suggest is skipped where it cannot find such a spelling (see
// word_verdict.cpp for why, and the differential test that checks it).
//
// Thread-safety: none; call from the thread that owns the dictionary.
#include <QString>
#include <QStringList>

#include <vector>

namespace lexicrawl {

class SpellDictionary;

// Spell, then Suggest, and compare every suggestion; no cache, no shortcut.
bool SpellCheckWordPlain(SpellDictionary& dictionary, const QString& word);

// The same verdict, cached and with the Suggest shortcut. A null dictionary
// (none chosen) knows no word, like a dictionary that failed to load.
bool SpellCheckWord(SpellDictionary* dictionary, const QString& word);

// The verdicts of a page's words, in the order given (one call per page, so
// that the words which need Suggest can be shared out).
std::vector<bool> SpellCheckWords(SpellDictionary* dictionary, const QStringList& words);

// The uncached fast verdict itself, for the differential test and benchmark.
bool SpellCheckWordFast(SpellDictionary& dictionary, const QString& word);

}  // namespace lexicrawl
