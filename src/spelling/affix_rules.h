#pragma once
// What the suggestion engine reads from a Hunspell affix file: the affix
// rules (to make every form of a root), the tables that propose spellings
// (TRY, KEY, REP, MAP) and the flags and limits that steer suggestions.
// Words and patterns are decoded to UTF-16 from the file's declared
// character set; flags are kept as the 16-bit values the engine uses.
//
// Thread-safety: immutable after Parse; const members may be used from
// several threads at once.
#include <QByteArray>

#include <cstdint>
#include <string>
#include <vector>

namespace lexicrawl {

class DictionaryCodec;

using AffixFlag = std::uint16_t;
using FlagList = std::vector<AffixFlag>;  // sorted

// One condition position: a set of characters, or its complement, or any.
struct ConditionSlot {
    std::u16string chars;
    bool negated = false;
    bool any = false;
};

struct AffixEntry {
    AffixFlag flag = 0;
    bool prefix = false;
    bool crossProduct = false;
    std::u16string strip;
    std::u16string append;
    FlagList continuation;
    std::vector<ConditionSlot> condition;

    // The root with this affix applied; empty when the rule does not apply.
    std::u16string Apply(const std::u16string& root, bool fullStrip) const;
};

// One REP line; a pattern may be tied to the word's start (^) or end ($).
struct Replacement {
    std::u16string pattern;
    std::u16string out[4];  // anywhere, at the start, at the end, the whole word
};

enum class FlagMode { Char, Long, Number, Utf8 };

class AffixRules {
public:
    // Reads the affix file; the word list's bytes are decoded with the same
    // character set (see Decode).
    explicit AffixRules(const QByteArray& affix);
    ~AffixRules();
    AffixRules(const AffixRules&) = delete;
    AffixRules& operator=(const AffixRules&) = delete;

    // Bytes in the dictionary's character set as UTF-16.
    std::u16string Decode(const QByteArray& bytes) const;
    // A flag field of the word list ("AbC", "Aa Bb", "12,7", or an AF alias number).
    FlagList DecodeFlags(const QByteArray& field) const;
    bool Utf8() const { return utf8_; }

    // Every rule of a flag, in the order the engine tries them.
    const std::vector<const AffixEntry*>& SuffixesOf(AffixFlag flag) const;
    const std::vector<const AffixEntry*>& PrefixesOf(AffixFlag flag) const;

    std::u16string tryChars;
    std::u16string keyboard = u"qwertyuiop|asdfghjkl|zxcvbnm";
    std::vector<Replacement> replacements;
    std::vector<std::vector<std::u16string>> related;  // MAP groups
    AffixFlag forbidden = 0;
    AffixFlag noSuggest = 0;
    AffixFlag noNgramSuggest = 0;
    AffixFlag onlyInCompound = 0;
    AffixFlag needAffix = 0;
    AffixFlag substandard = 0;
    AffixFlag circumfix = 0;
    int maxNgramSuggestions = 4;
    int maxDiff = -1;
    bool onlyMaxDiff = false;
    bool noSplitSuggestions = false;
    bool fullStrip = false;
    bool german = false;
    bool dashUsage = false;  // word pairs are also tried with a hyphen

private:
    void ParseLine(const std::vector<QByteArray>& fields, const QList<QByteArray>& lines, qsizetype& at);
    void ParseAffixBlock(const std::vector<QByteArray>& head, const QList<QByteArray>& lines, qsizetype& at);
    AffixFlag DecodeOneFlag(const QByteArray& text) const;

    bool utf8_ = false;
    FlagMode flagMode_ = FlagMode::Char;
    DictionaryCodec* codec_ = nullptr;
    std::vector<FlagList> aliases_;
    std::vector<AffixEntry> entries_;
    std::vector<std::vector<const AffixEntry*>> suffixes_;  // by flag
    std::vector<std::vector<const AffixEntry*>> prefixes_;
};

inline bool HasFlag(const FlagList& flags, AffixFlag flag)
{
    if (flag == 0)
        return false;
    std::size_t low = 0, high = flags.size();
    while (low < high) {
        const std::size_t mid = (low + high) / 2;
        if (flags[mid] < flag)
            low = mid + 1;
        else
            high = mid;
    }
    return low < flags.size() && flags[low] == flag;
}

}  // namespace lexicrawl
