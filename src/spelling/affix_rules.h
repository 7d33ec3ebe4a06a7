#pragma once
// The suggestion engine's index of an affix file (affix_file.h, which reads
// it): the affix rules by flag (to make every form of a root), the tables
// that propose spellings (TRY, KEY, MAP; REP is read from File()) and the
// flags and limits that steer suggestions, with words and patterns in UTF-16
// and flag lists sorted as the engine keeps them.
//
// Thread-safety: immutable after construction; const members may be used
// from several threads at once, except Decode and DecodeFlags (the word
// list's reading, on one thread).
#include <QByteArray>
#include <QStringView>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "spelling/affix_file.h"

namespace lexicrawl {

// A text's UTF-16 code units, as the rules and the word lists hold words.
inline std::u16string_view U16View(QStringView text)
{
    return std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()), std::size_t(text.size()));
}
inline std::u16string ToU16(QStringView text)
{
    return std::u16string(U16View(text));
}

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

class AffixRules {
public:
    // Reads the affix file; the word list's bytes are decoded with the same
    // character set (see Decode).
    explicit AffixRules(const QByteArray& affix);
    AffixRules(const AffixRules&) = delete;
    AffixRules& operator=(const AffixRules&) = delete;

    const AffixFile& File() const { return file_; }
    // Bytes in the dictionary's character set as UTF-16.
    std::u16string Decode(const QByteArray& bytes) const;
    // A flag field of the word list ("AbC", "AaBb", "12,7", or an AF alias
    // number), sorted.
    FlagList DecodeFlags(const QByteArray& field) const;
    bool Utf8() const { return file_.Utf8(); }

    // Every rule of a flag, in the order the engine tries them.
    const std::vector<const AffixEntry*>& SuffixesOf(AffixFlag flag) const;
    const std::vector<const AffixEntry*>& PrefixesOf(AffixFlag flag) const;

    std::u16string tryChars;
    std::u16string keyboard;  // KEY, or the library's default rows
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
    AffixFile file_;
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
