#include "spelling/affix_rules.h"

#include <QList>
#include <QString>

#include <algorithm>

#include "spelling/dictionary_codec.h"

namespace lexicrawl {

namespace {

std::vector<QByteArray> Fields(const QByteArray& line)
{
    std::vector<QByteArray> fields;
    for (const QByteArray& f : line.simplified().split(' '))
        if (!f.isEmpty())
            fields.push_back(f);
    return fields;
}

std::u16string ToU16(const QString& text)
{
    return std::u16string(reinterpret_cast<const char16_t*>(text.utf16()), std::size_t(text.size()));
}

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

AffixRules::AffixRules(const QByteArray& affix)
{
    const QList<QByteArray> lines = affix.split('\n');
    // The character set comes first: every other line is read in it.
    for (const QByteArray& line : lines) {
        const std::vector<QByteArray> f = Fields(line);
        if (f.size() >= 2 && f[0] == "SET") {
            codec_ = new DictionaryCodec(QString::fromLatin1(f[1]));
            utf8_ = IconvCharsetName(QString::fromLatin1(f[1])) == "UTF-8";
        }
    }
    if (!codec_)
        codec_ = new DictionaryCodec(QStringLiteral("ISO8859-1"));
    for (qsizetype at = 0; at < lines.size();) {
        const std::vector<QByteArray> f = Fields(lines[at++]);
        if (!f.empty() && !f[0].startsWith('#'))
            ParseLine(f, lines, at);
    }
    dashUsage = tryChars.find(u'-') != std::u16string::npos || tryChars.find(u'a') != std::u16string::npos;
    suffixes_.assign(65536, {});
    prefixes_.assign(65536, {});
    // Rules of one flag are tried last line first, as the engine chains them.
    for (auto it = entries_.rbegin(); it != entries_.rend(); ++it)
        (it->prefix ? prefixes_ : suffixes_)[it->flag].push_back(&*it);
}

AffixRules::~AffixRules()
{
    delete codec_;
}

std::u16string AffixRules::Decode(const QByteArray& bytes) const
{
    return ToU16(codec_->Decode(bytes));
}

void AffixRules::ParseLine(const std::vector<QByteArray>& f, const QList<QByteArray>& lines, qsizetype& at)
{
    const QByteArray& key = f[0];
    const QByteArray value = f.size() > 1 ? f[1] : QByteArray();
    if (key == "FLAG") {
        flagMode_ = value == "long" ? FlagMode::Long : value == "num" ? FlagMode::Number
                  : value == "UTF-8" ? FlagMode::Utf8 : FlagMode::Char;
    } else if (key == "TRY") {
        tryChars = Decode(value);
    } else if (key == "KEY") {
        keyboard = Decode(value);
    } else if (key == "LANG") {
        german = value.startsWith("de");
    } else if (key == "FORBIDDENWORD") {
        forbidden = DecodeOneFlag(value);
    } else if (key == "NOSUGGEST") {
        noSuggest = DecodeOneFlag(value);
    } else if (key == "NONGRAMSUGGEST") {
        noNgramSuggest = DecodeOneFlag(value);
    } else if (key == "ONLYINCOMPOUND") {
        onlyInCompound = DecodeOneFlag(value);
    } else if (key == "NEEDAFFIX" || key == "PSEUDOROOT") {
        needAffix = DecodeOneFlag(value);
    } else if (key == "SUBSTANDARD") {
        substandard = DecodeOneFlag(value);
    } else if (key == "CIRCUMFIX") {
        circumfix = DecodeOneFlag(value);
    } else if (key == "MAXNGRAMSUGS") {
        maxNgramSuggestions = value.toInt();
    } else if (key == "MAXDIFF") {
        maxDiff = value.toInt();
    } else if (key == "ONLYMAXDIFF") {
        onlyMaxDiff = true;
    } else if (key == "NOSPLITSUGS") {
        noSplitSuggestions = true;
    } else if (key == "FULLSTRIP") {
        fullStrip = true;
    } else if (key == "AF" && f.size() > 1 && aliases_.empty()) {
        const int count = value.toInt();
        for (int i = 0; i < count && at < lines.size(); ++i) {
            const std::vector<QByteArray> a = Fields(lines[at++]);
            aliases_.push_back(a.size() > 1 ? DecodeFlags(a[1]) : FlagList());
        }
    } else if (key == "REP" && f.size() == 3) {
        std::u16string pattern = Decode(f[1]), out = Decode(f[2]);
        std::replace(out.begin(), out.end(), u'_', u' ');
        int type = 0;
        if (!pattern.empty() && pattern.front() == u'^') {
            type |= 1;
            pattern.erase(0, 1);
        }
        if (!pattern.empty() && pattern.back() == u'$') {
            type |= 2;
            pattern.pop_back();
        }
        std::replace(pattern.begin(), pattern.end(), u'_', u' ');
        replacements.push_back(Replacement{pattern, {}});
        replacements.back().out[type] = out;
    } else if (key == "MAP" && f.size() == 2) {
        const std::u16string group = Decode(value);
        std::vector<std::u16string> members;
        for (std::size_t i = 0; i < group.size(); ++i) {
            if (group[i] == u'(') {
                const std::size_t close = group.find(u')', i);
                if (close == std::u16string::npos)
                    break;
                members.push_back(group.substr(i + 1, close - i - 1));
                i = close;
            } else {
                members.push_back(std::u16string(1, group[i]));
            }
        }
        if (!members.empty())
            related.push_back(std::move(members));
    } else if ((key == "PFX" || key == "SFX") && f.size() == 4) {
        ParseAffixBlock(f, lines, at);
    }
}

void AffixRules::ParseAffixBlock(const std::vector<QByteArray>& head, const QList<QByteArray>& lines, qsizetype& at)
{
    const bool prefix = head[0] == "PFX";
    const AffixFlag flag = DecodeOneFlag(head[1]);
    const bool cross = head[2] == "Y";
    const int count = head[3].toInt();
    for (int i = 0; i < count && at < lines.size(); ++i) {
        const std::vector<QByteArray> f = Fields(lines[at++]);
        if (f.size() < 4 || f[0] != head[0])
            continue;
        AffixEntry e;
        e.flag = flag;
        e.prefix = prefix;
        e.crossProduct = cross;
        if (f[2] != "0")
            e.strip = Decode(f[2]);
        QByteArray append = f[3];
        const qsizetype slash = append.indexOf('/');
        if (slash >= 0) {
            e.continuation = DecodeFlags(append.mid(slash + 1));
            append.truncate(slash);
        }
        if (append != "0")
            e.append = Decode(append);
        e.condition = ParseCondition(f.size() > 4 ? Decode(f[4]) : std::u16string(u"."));
        entries_.push_back(std::move(e));
    }
}

AffixFlag AffixRules::DecodeOneFlag(const QByteArray& text) const
{
    const FlagList flags = DecodeFlags(text);
    return flags.empty() ? 0 : flags.front();
}

FlagList AffixRules::DecodeFlags(const QByteArray& field) const
{
    FlagList flags;
    if (!aliases_.empty()) {
        bool number = false;
        const int index = field.toInt(&number);
        if (number)
            return index >= 1 && std::size_t(index) <= aliases_.size() ? aliases_[std::size_t(index) - 1] : flags;
    }
    switch (flagMode_) {
    case FlagMode::Long:
        for (qsizetype i = 0; i + 1 < field.size(); i += 2)
            flags.push_back(AffixFlag((std::uint8_t(field[i]) << 8) | std::uint8_t(field[i + 1])));
        break;
    case FlagMode::Number:
        for (const QByteArray& n : field.split(','))
            if (!n.isEmpty())
                flags.push_back(AffixFlag(n.toInt()));
        break;
    case FlagMode::Utf8:
        for (QChar c : QString::fromUtf8(field))
            flags.push_back(c.unicode());
        break;
    case FlagMode::Char:
        for (char c : field)
            flags.push_back(std::uint8_t(c));
        break;
    }
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
