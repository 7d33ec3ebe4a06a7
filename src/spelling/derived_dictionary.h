#pragma once
// Variants of a Hunspell dictionary that answer narrower questions than the
// dictionary itself, for the word check (see suggestion_proof.h).
//
// Case-folded: every A-Z of the words and affixes lower-cased, negated
// affix conditions widened to "any character", and every option that only
// narrows what is accepted dropped (forbidden, no-suggest, need-affix,
// only-in-compound and circumfix flags, compound checks, forced capitals),
// no break points. It accepts a lower-case word whenever the dictionary
// could accept or offer any spelling that differs from it only in the case
// of A-Z, and more.
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
QByteArray CaseFoldedWords(const QByteArray& words);
QByteArray ExactFormAffix(const QByteArray& affix);

}  // namespace lexicrawl
