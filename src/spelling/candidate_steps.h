#pragma once
// Steps of the library's suggestion search that both the suggestion engine
// (suggestion_engine.cpp) and the replay of the search (suggestion_replay.cpp)
// take: the candidates in the library's order, each made in the caller's
// text type and tested the caller's way.
#include <QStringView>

#include <utility>
#include <vector>

#include "spelling/affix_file.h"

namespace lexicrawl {

// Each two neighbours swapped, from the start; then, for words of four or
// five characters, the first two and the last two swapped at once, and for
// five also the second and third with the last two ("ahev" -> "have",
// "owudl" -> "would"). maySwap(i) may leave out the swap of i and i + 1;
// tryCandidate is given each candidate.
template <class Text, class Try, class MaySwap>
void SwapCandidates(const Text& word, Try&& tryCandidate, MaySwap&& maySwap)
{
    const auto n = word.size();
    if (n < 2)
        return;
    Text c = word;
    for (decltype(word.size()) i = 0; i + 1 < n; ++i) {
        if (!maySwap(i))
            continue;
        std::swap(c[i], c[i + 1]);
        tryCandidate(std::as_const(c));
        std::swap(c[i], c[i + 1]);
    }
    if (n == 4 || n == 5) {
        c[0] = word[1];
        c[1] = word[0];
        c[2] = word[2];
        c[n - 2] = word[n - 1];
        c[n - 1] = word[n - 2];
        tryCandidate(std::as_const(c));
        if (n == 5) {
            c[0] = word[0];
            c[1] = word[2];
            c[2] = word[1];
            tryCandidate(std::as_const(c));
        }
    }
}

// Each two characters two to four apart swapped, from the start. The
// library tries each pair from both ends; the second try makes the same
// candidate again (listed already, or refused again), so it is left out.
// maySwap(p, q) may leave a pair out; before each first character
// keepGoing() may end the step.
template <class Text, class Try, class MaySwap, class KeepGoing>
void DistantSwapCandidates(const Text& word, Try&& tryCandidate, MaySwap&& maySwap, KeepGoing&& keepGoing)
{
    using Index = decltype(word.size());
    constexpr Index kFarthest = 4;
    const Index n = word.size();
    Text c = word;
    for (Index p = 0; p < n && keepGoing(); ++p) {
        for (Index q = p + 2; q < n && q - p <= kFarthest; ++q) {
            if (!maySwap(p, q))
                continue;
            std::swap(c[p], c[q]);
            tryCandidate(std::as_const(c));
            std::swap(c[p], c[q]);
        }
    }
}

// Every place where a REP entry's pattern stands in the word and the
// entry's anchors allow it: entries in table order, each from the start of
// the word. replace(at, entry) makes and tests the word with the pattern at
// at replaced by entry.with, and answers false to end the step.
template <class Replace>
void ReplacementPlaces(QStringView word, const std::vector<RepEntry>& table, Replace&& replace)
{
    for (const RepEntry& e : table) {
        for (qsizetype at = word.indexOf(e.pattern); at >= 0; at = word.indexOf(e.pattern, at + 1)) {
            const bool start = at == 0, end = at + e.pattern.size() == word.size();
            if ((e.atStart && !start) || (e.atEnd && !end))
                continue;
            if (!replace(at, e))
                return;
        }
    }
}

}  // namespace lexicrawl
