#pragma once
// The one word verdict every caller uses: a word is known when the dictionary
// accepts it, or suggests a spelling that equals it once A-Z are lower-cased
// ("paris" is known when the dictionary suggests "Paris").
//
// SpellCheckWord gives exactly the verdict of SpellCheckWordPlain, faster:
// verdicts are kept per loaded engine (dropped when it changes, kept between
// runs when a cache folder is set, see verdict_cache.h), and the costly
// Suggest is skipped where SuggestionProof can tell its outcome.
// SpellCheckWords does the same for a page's words and runs the Suggest
// calls that remain on up to SuggestThreads() engines at once.
//
// Thread-safety: the checks of one dictionary run on one thread at a time
// (SpellCheckWords uses helper threads of its own); the dictionary must not
// be loaded, unloaded or changed meanwhile.
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

// The verdicts of a page's words, in the order given, as SpellCheckWord
// gives them.
std::vector<bool> SpellCheckWords(SpellDictionary* dictionary, const QStringList& words);

// The uncached fast verdict itself, for the differential test and benchmark.
bool SpellCheckWordFast(SpellDictionary& dictionary, const QString& word);

// How many engines SpellCheckWords may ask for suggestions at once: 1 or 2
// (the default, on a machine with two cores or more). Each engine beyond the
// first costs another copy of the dictionary in memory.
void SetSuggestThreads(int threads);
int SuggestThreads();

}  // namespace lexicrawl
