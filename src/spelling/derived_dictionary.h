#pragma once
// Variants of a Hunspell dictionary that answer narrower questions than the
// dictionary itself, for the word check (see suggestion_proof.h).
//
// Case-folded: the words and affixes lower-cased (every letter in a UTF-8
// dictionary, A-Z in others), negated affix conditions widened to "any
// character", the options dropped that only narrow what is accepted and
// that the library applies to the first of several homonyms or to the case
// of letters (forbidden and no-suggest flags, compound checks, forced
// capitals), no break points. It accepts a lower-case word whenever the
// dictionary could accept, build or offer any spelling that differs from
// it only in the case of the letters folded, and more.
//
// Exact forms: the dictionary without compounding and break points, and
// without input or output conversion. It accepts a word exactly when the
// dictionary holds it as a word or an affixed form, in its own case,
// which is what the suggestion search tests its candidates against
// (up to the cases SuggestionProof handles).
//
// Thread-safety: pure functions.
#include <QByteArray>

namespace lexicrawl {

QByteArray CaseFoldedAffix(const QByteArray& affix);
QByteArray CaseFoldedWords(const QByteArray& affix, const QByteArray& words);
// Whether CaseFolded* lower-case every letter (a UTF-8 dictionary).
bool CaseFoldsAllLetters(const QByteArray& affix);
QByteArray ExactFormAffix(const QByteArray& affix);

}  // namespace lexicrawl
