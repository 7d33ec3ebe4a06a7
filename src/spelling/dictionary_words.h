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
#include <vector>

#include "spelling/affix_rules.h"
#include "spelling/word_set.h"

namespace lexicrawl {

struct RootWord {
    std::u16string word;     // as the word list writes it
    std::u16string lower;    // lower-cased, for the n-gram scores
    FlagList flags;
    bool initialCapital = false;
    char16_t firstLower = 0; // lower case of the first character
    // Letter, pair and triple fingerprints of lower: a bit set for each
    // character, pair and triple (hashed), so that a bound on the n-gram
    // score costs a few instructions.
    std::uint64_t letters = 0;
    std::uint64_t pairs = 0;
    std::uint64_t triples = 0;
};

// How many characters of a root's start its print holds.
constexpr int kPrintedStart = 8;

// What the n-gram search reads of every root on each search, packed so that
// a pass over all roots reads one small array.
struct RootPrint {
    std::uint64_t letters = 0;
    std::uint64_t pairs = 0;
    std::uint64_t triples = 0;
    char16_t first = 0;        // as written
    char16_t firstLower = 0;
    std::uint16_t length = 0;
    bool initialCapital = false;
};

// The start of a root as written, zero after its end.
struct RootStart {
    char16_t chars[kPrintedStart] = {};
};

// The pairs and triples of a root in four times as many bits, read only for
// the roots whose print leaves them a chance.
struct RootWidePrint {
    std::uint64_t pairs[4] = {};
    std::uint64_t triples[4] = {};
};

// Bit of a character, a pair or a triple in the fingerprints; the slot of a
// pair or triple (0 to 255) in the wide print, whose low six bits are its
// bit in the narrow one.
std::uint64_t LetterBit(char16_t c);
int PairSlot(char16_t a, char16_t b);
int TripleSlot(char16_t a, char16_t b, char16_t c);
inline std::uint64_t PairBit(char16_t a, char16_t b)
{
    return std::uint64_t(1) << (PairSlot(a, b) & 63);
}
inline std::uint64_t TripleBit(char16_t a, char16_t b, char16_t c)
{
    return std::uint64_t(1) << (TripleSlot(a, b, c) & 63);
}

// The lower-case form of a word, as the engine compares words.
std::u16string LowerWord(const std::u16string& word);

class DictionaryWords {
public:
    // What the list is built for: the suggestion engine needs it all; a
    // check of whether forms are words needs only the set of forms, which
    // takes far less to build.
    enum class Use { Suggestions, FormsOnly };
    DictionaryWords(const AffixRules& rules, const QByteArray& words, Use use = Use::Suggestions);

    // The roots the n-gram search may offer, in the engine's table order
    // (forbidden, no-suggest and compound-only roots left out).
    const std::vector<RootWord>& NgramRoots() const { return ngramRoots_; }
    const std::vector<RootPrint>& NgramPrints() const { return prints_; }
    // The prints of the roots of one length, in table order, with each
    // root's place in NgramRoots(); capitalised roots apart.
    struct PrintGroup {
        std::vector<RootPrint> prints;
        std::vector<RootStart> starts;
        std::vector<int> roots;
    };
    const PrintGroup& PrintsOfLength(std::size_t length, bool capitalised) const
    {
        static const PrintGroup none;
        const std::vector<PrintGroup>& groups = capitalised ? capitalGroups_ : lowerGroups_;
        return length < groups.size() ? groups[length] : none;
    }
    const std::vector<RootWidePrint>& NgramWidePrints() const { return widePrints_; }
    // Whether the dictionary accepts the form as a suggestion: a root or an
    // affixed form of one, not forbidden and not marked "no suggest".
    bool Accepts(std::u16string_view form) const;
    // How long a start (an end) of the word may be that starts (ends) some
    // form: no form starts with a longer one. One slip at a place outside
    // both can therefore make no form, and those candidates need no lookup.
    std::size_t KnownStartLength(std::u16string_view word) const;
    std::size_t KnownEndLength(std::u16string_view word) const;
    std::size_t FormCount() const { return forms_.Size(); }

private:
    struct Entry {
        RootWord root;
        bool hidden = false;  // the capitalised twin the engine adds for mixed-case words
    };
    static std::vector<std::vector<Entry>> ReadTable(const AffixRules& rules, const QByteArray& words, Use use);
    void AddForms(const AffixRules& rules, const RootWord& root);
    void GroupPrints();

    std::vector<RootWord> ngramRoots_;
    std::vector<RootPrint> prints_;
    std::vector<PrintGroup> lowerGroups_, capitalGroups_;
    std::vector<RootWidePrint> widePrints_;
    void AddForm(std::u16string_view form);
    void MarkStartsAndEnds(std::u16string_view form);

    Use use_;
    WordSet forms_;
    // One bit per hashed start, and per hashed end, of every form.
    std::vector<std::uint64_t> starts_, ends_;
    WordSet blocked_;
};

}  // namespace lexicrawl
