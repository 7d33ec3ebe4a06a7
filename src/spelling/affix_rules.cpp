#include "spelling/affix_rules.h"

#include <QList>
#include <QString>

#include <algorithm>

namespace lexicrawl {

namespace {

std::vector<ConditionSlot> ParseCondition(const std::u16string& text)
{
    std::vector<ConditionSlot> parts;
    if (text == u".")
        return parts;
    for (std::size_t i = 0; i < text.size(); ++i) {
        ConditionSlot slot;
        if (text[i] == u'[') {
            const std::size_t close = text.find(u']', i);
            if (close == std::u16string::npos)
                break;
            std::u16string inside = text.substr(i + 1, close - i - 1);
            if (!inside.empty() && inside[0] == u'^') {
                slot.negated = true;
                inside.erase(0, 1);
            }
            slot.chars = inside;
            i = close;
        } else if (text[i] == u'.') {
            slot.any = true;
        } else {
            slot.chars = std::u16string(1, text[i]);
        }
        parts.push_back(std::move(slot));
    }
    return parts;
}

bool SlotMatches(const ConditionSlot& slot, char16_t c)
{
    if (slot.any)
        return true;
    const bool in = slot.chars.find(c) != std::u16string::npos;
    return slot.negated ? !in : in;
}

const std::vector<const AffixEntry*> kNoEntries;

}  // namespace

std::u16string AffixEntry::Apply(const std::u16string& root, bool fullStrip) const
{
    const std::size_t len = root.size();
    if (!(len > strip.size() || (len == 0 && fullStrip)) || len < condition.size())
        return {};
    if (prefix) {
        for (std::size_t i = 0; i < condition.size(); ++i)
            if (!SlotMatches(condition[i], root[i]))
                return {};
        if (root.compare(0, strip.size(), strip) != 0)
            return {};
        return append + root.substr(strip.size());
    }
    const std::size_t start = len - condition.size();
    for (std::size_t i = 0; i < condition.size(); ++i)
        if (!SlotMatches(condition[i], root[start + i]))
            return {};
    if (root.compare(len - strip.size(), strip.size(), strip) != 0)
        return {};
    return root.substr(0, len - strip.size()) + append;
}

AffixRules::AffixRules(const QByteArray& affix) : file_(affix)
{
    const AffixFile& f = file_;
    tryChars = ToU16(f.tryChars);
    keyboard = ToU16(f.key);
    for (const QStringList& members : f.map) {
        std::vector<std::u16string> group;
        for (const QString& m : members)
            group.push_back(ToU16(m));
        if (!group.empty())
            related.push_back(std::move(group));
    }
    forbidden = f.forbidden;
    noSuggest = f.noSuggest;
    noNgramSuggest = f.noNgram;
    onlyInCompound = f.onlyInCompound;
    needAffix = f.needAffix;
    substandard = f.substandard;
    circumfix = f.circumfix;
    if (f.maxNgramSuggestions >= 0)
        maxNgramSuggestions = f.maxNgramSuggestions;
    maxDiff = f.maxDiff;
    onlyMaxDiff = f.onlyMaxDiff;
    noSplitSuggestions = f.noSplitSuggestions;
    fullStrip = f.fullStrip;
    german = f.lang.startsWith("de");
    dashUsage = tryChars.find(u'-') != std::u16string::npos || tryChars.find(u'a') != std::u16string::npos;

    entries_.reserve(f.rules.size());
    for (const AffixRule& rule : f.rules) {
        AffixEntry e;
        e.flag = rule.flag;
        e.prefix = rule.prefix;
        e.crossProduct = rule.cross;
        e.strip = ToU16(rule.strip);
        e.append = ToU16(rule.add);
        e.continuation = rule.continuation;
        std::sort(e.continuation.begin(), e.continuation.end());
        e.condition = ParseCondition(ToU16(rule.condition));
        entries_.push_back(std::move(e));
    }
    suffixes_.assign(65536, {});
    prefixes_.assign(65536, {});
    // Rules of one flag are tried last line first, as the engine chains them.
    for (auto it = entries_.rbegin(); it != entries_.rend(); ++it)
        (it->prefix ? prefixes_ : suffixes_)[it->flag].push_back(&*it);
}

std::u16string AffixRules::Decode(const QByteArray& bytes) const
{
    return ToU16(file_.Text(bytes));
}

FlagList AffixRules::DecodeFlags(const QByteArray& field) const
{
    FlagList flags = file_.flags.DecodeField(field);
    std::sort(flags.begin(), flags.end());
    return flags;
}

const std::vector<const AffixEntry*>& AffixRules::SuffixesOf(AffixFlag flag) const
{
    return flag < suffixes_.size() ? suffixes_[flag] : kNoEntries;
}

const std::vector<const AffixEntry*>& AffixRules::PrefixesOf(AffixFlag flag) const
{
    return flag < prefixes_.size() ? prefixes_[flag] : kNoEntries;
}

}  // namespace lexicrawl
