#pragma once
// The word list of a Hunspell dictionary as the suggestion engine needs it:
// every root in the order in which the engine walks its hash table (ties
// between equally good suggestions fall the way the engine's do), and the
// set of every form the affix rules make of the roots, so that a candidate
// spelling is tested with one hash lookup instead of an affix analysis.
// Compound words are not formed.
//
// Thread-safety: immutable after construction; const members may be used
// from several threads at once.
#include <QByteArray>

#include <cstdint>
#include <string>
#include <unordered_set>
#include <vector>

#include "spelling/affix_rules.h"

namespace lexicrawl {

struct RootWord {
    std::u16string word;     // as the word list writes it
    std::u16string lower;    // lower-cased, for the n-gram scores
    FlagList flags;
    bool initialCapital = false;
    // Letter, pair and triple fingerprints of lower: a bit set for each
    // character, pair and triple (hashed), so that a bound on the n-gram
    // score costs a few instructions.
    std::uint64_t letters = 0;
    std::uint64_t pairs = 0;
    std::uint64_t triples = 0;
};

// Bit of a character, a pair or a triple in the fingerprints.
std::uint64_t LetterBit(char16_t c);
std::uint64_t PairBit(char16_t a, char16_t b);
std::uint64_t TripleBit(char16_t a, char16_t b, char16_t c);

// The lower-case form of a word, as the engine compares words.
std::u16string LowerWord(const std::u16string& word);

class DictionaryWords {
public:
    DictionaryWords(const AffixRules& rules, const QByteArray& words);

    // The roots the n-gram search may offer, in the engine's table order
    // (forbidden, no-suggest and compound-only roots left out).
    const std::vector<RootWord>& NgramRoots() const { return ngramRoots_; }
    // Whether the dictionary accepts the form as a suggestion: a root or an
    // affixed form of one, not forbidden and not marked "no suggest".
    bool Accepts(const std::u16string& form) const;
    std::size_t FormCount() const { return forms_.size(); }

private:
    struct Entry {
        RootWord root;
        bool hidden = false;  // the capitalised twin the engine adds for mixed-case words
    };
    static std::vector<std::vector<Entry>> ReadTable(const AffixRules& rules, const QByteArray& words);
    void AddForms(const AffixRules& rules, const RootWord& root);

    std::vector<RootWord> ngramRoots_;
    std::unordered_set<std::u16string> forms_;
    std::unordered_set<std::u16string> blocked_;
};

}  // namespace lexicrawl
