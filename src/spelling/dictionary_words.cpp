#include "spelling/dictionary_words.h"

#include <QChar>
#include <QList>

namespace lexicrawl {

namespace {

enum class CapType { None, Initial, All, Mixed, MixedInitial };

CapType CapTypeOf(const std::u16string& word)
{
    std::size_t capitals = 0, neutral = 0;
    for (char16_t c : word) {
        if (QChar::toLower(c) != c)
            ++capitals;
        else if (QChar::toUpper(c) == c)
            ++neutral;
    }
    if (capitals == 0)
        return CapType::None;
    const bool first = !word.empty() && QChar::toLower(word[0]) != word[0];
    if (capitals == 1 && first)
        return CapType::Initial;
    if (capitals == word.size() || capitals + neutral == word.size())
        return CapType::All;
    return first ? CapType::MixedInitial : CapType::Mixed;
}

// The engine's bucket of a word: its load-and-rotate hash of the stored
// bytes (chars are signed), modulo the table size.
std::size_t BucketOf(const QByteArray& bytes, std::size_t tableSize)
{
    std::uint64_t hv = 0;
    qsizetype i = 0;
    for (; i < 4 && i < bytes.size(); ++i)
        hv = (hv << 8) | std::uint64_t(std::int64_t(std::int8_t(bytes[i])));
    for (; i < bytes.size(); ++i) {
        hv = (hv << 5) | ((hv >> 27) & 31);
        hv ^= std::uint64_t(std::int64_t(std::int8_t(bytes[i])));
    }
    return std::size_t(hv % tableSize);
}

// A word list line: the word (with "\/" for a slash) and its flag field,
// without morphological fields (after a tab, or " xx:").
void SplitLine(QByteArray line, QByteArray& word, QByteArray& flags)
{
    const qsizetype tab = line.indexOf('\t');
    if (tab >= 0)
        line.truncate(tab);
    for (qsizetype colon = line.indexOf(':'); colon >= 0; colon = line.indexOf(':', colon + 1)) {
        if (colon > 3 && (line[colon - 3] == ' ')) {
            line.truncate(colon - 3);
            break;
        }
    }
    line = line.trimmed();
    qsizetype slash = line.indexOf('/', 1);
    while (slash > 0 && line[slash - 1] == '\\') {
        line.remove(slash - 1, 1);
        slash = line.indexOf('/', slash);
    }
    word = slash < 0 ? line : line.left(slash);
    flags = slash < 0 ? QByteArray() : line.mid(slash + 1);
}

void Fingerprint(RootWord& root)
{
    const std::u16string& w = root.lower;
    for (std::size_t i = 0; i < w.size(); ++i) {
        root.letters |= LetterBit(w[i]);
        if (i + 1 < w.size())
            root.pairs |= PairBit(w[i], w[i + 1]);
        if (i + 2 < w.size())
            root.triples |= TripleBit(w[i], w[i + 1], w[i + 2]);
    }
}

}  // namespace

std::uint64_t LetterBit(char16_t c)
{
    // Letters and digits have a bit each; other characters share the rest.
    if (c >= u'a' && c <= u'z')
        return std::uint64_t(1) << (c - u'a');
    if (c >= u'0' && c <= u'9')
        return std::uint64_t(1) << (26 + c - u'0');
    return std::uint64_t(1) << (36 + (c * 0x9E37u >> 4) % 28);
}

int PairSlot(char16_t a, char16_t b)
{
    return int(((std::uint32_t(a) * 31u + b) * 0x9E3779B1u) >> 24);
}

int TripleSlot(char16_t a, char16_t b, char16_t c)
{
    return int((((std::uint32_t(a) * 31u + b) * 31u + c) * 0x9E3779B1u) >> 24);
}

std::u16string LowerWord(const std::u16string& word)
{
    std::u16string lower(word);
    for (char16_t& c : lower)
        c = QChar::toLower(c);
    return lower;
}

DictionaryWords::DictionaryWords(const AffixRules& rules, const QByteArray& words, Use use) : use_(use)
{
    std::vector<std::vector<Entry>> table = ReadTable(rules, words, use);
    WordSet seen;  // roots whose first entry has been seen
    seen.Reserve(table.size());
    forms_.Reserve(table.size() * 3);
    if (use == Use::Suggestions) {
        ngramRoots_.reserve(table.size());
        prints_.reserve(table.size());
        widePrints_.reserve(table.size());
    }
    for (std::vector<Entry>& bucket : table) {
        for (Entry& e : bucket) {
            if (e.hidden)
                continue;
            const FlagList& f = e.root.flags;
            // The first entry of a word decides whether the bare word may be suggested.
            if (seen.Insert(e.root.word) &&
                (HasFlag(f, rules.forbidden) || HasFlag(f, rules.noSuggest) || HasFlag(f, rules.substandard)))
                blocked_.Insert(e.root.word);
            if (HasFlag(f, rules.forbidden) || HasFlag(f, rules.noSuggest) || HasFlag(f, rules.onlyInCompound))
                continue;
            AddForms(rules, e.root);
            if (use == Use::Suggestions && !HasFlag(f, rules.noNgramSuggest)) {
                const RootWord& r = e.root;
                RootPrint print;
                print.letters = r.letters;
                print.pairs = r.pairs;
                print.triples = r.triples;
                print.first = r.word.empty() ? u'\0' : r.word[0];
                print.firstLower = r.firstLower;
                print.length = std::uint16_t(r.word.size());
                print.initialCapital = r.initialCapital;
                prints_.push_back(print);
                RootWidePrint wide;
                for (std::size_t i = 0; i + 1 < r.lower.size(); ++i) {
                    const int pair = PairSlot(r.lower[i], r.lower[i + 1]);
                    wide.pairs[pair >> 6] |= std::uint64_t(1) << (pair & 63);
                    if (i + 2 < r.lower.size()) {
                        const int triple = TripleSlot(r.lower[i], r.lower[i + 1], r.lower[i + 2]);
                        wide.triples[triple >> 6] |= std::uint64_t(1) << (triple & 63);
                    }
                }
                widePrints_.push_back(wide);
                ngramRoots_.push_back(std::move(e.root));
            }
        }
    }
    GroupPrints();
}

void DictionaryWords::GroupPrints()
{
    for (std::size_t r = 0; r < prints_.size(); ++r) {
        std::vector<PrintGroup>& groups = prints_[r].initialCapital ? capitalGroups_ : lowerGroups_;
        const std::size_t length = prints_[r].length;
        if (groups.size() <= length)
            groups.resize(length + 1);
        groups[length].prints.push_back(prints_[r]);
        RootStart start;
        const std::u16string& word = ngramRoots_[r].word;
        for (std::size_t i = 0; i < word.size() && i < std::size_t(kPrintedStart); ++i)
            start.chars[i] = word[i];
        groups[length].starts.push_back(start);
        groups[length].roots.push_back(int(r));
    }
}

namespace {

constexpr std::size_t kAffixBits = std::size_t(1) << 24;

inline std::uint64_t StepHash(std::uint64_t h, char16_t c)
{
    h = (h ^ c) * 0x9E3779B97F4A7C15ull;
    return h ^ (h >> 29);
}

inline bool TestBit(const std::vector<std::uint64_t>& bits, std::uint64_t h)
{
    const std::size_t at = std::size_t(h >> 20) & (kAffixBits - 1);
    return (bits[at / 64] >> (at % 64)) & 1;
}

inline void SetBit(std::vector<std::uint64_t>& bits, std::uint64_t h)
{
    const std::size_t at = std::size_t(h >> 20) & (kAffixBits - 1);
    bits[at / 64] |= std::uint64_t(1) << (at % 64);
}

}  // namespace

void DictionaryWords::MarkStartsAndEnds(std::u16string_view form)
{
    if (starts_.empty()) {
        starts_.assign(kAffixBits / 64, 0);
        ends_.assign(kAffixBits / 64, 0);
    }
    std::uint64_t h = 1;
    for (char16_t c : form)
        SetBit(starts_, h = StepHash(h, c));
    h = 2;
    for (auto it = form.rbegin(); it != form.rend(); ++it)
        SetBit(ends_, h = StepHash(h, *it));
}

std::size_t DictionaryWords::KnownStartLength(std::u16string_view word) const
{
    if (starts_.empty())
        return 0;
    std::uint64_t h = 1;
    std::size_t k = 0;
    while (k < word.size() && TestBit(starts_, h = StepHash(h, word[k])))
        ++k;
    return k;
}

std::size_t DictionaryWords::KnownEndLength(std::u16string_view word) const
{
    if (ends_.empty())
        return 0;
    std::uint64_t h = 2;
    std::size_t k = 0;
    while (k < word.size() && TestBit(ends_, h = StepHash(h, word[word.size() - 1 - k])))
        ++k;
    return k;
}

bool DictionaryWords::Accepts(std::u16string_view form) const
{
    return forms_.Contains(form) && !blocked_.Contains(form);
}

std::vector<std::vector<DictionaryWords::Entry>> DictionaryWords::ReadTable(const AffixRules& rules,
                                                                           const QByteArray& words, Use use)
{
    QList<QByteArray> lines = words.split('\n');
    if (lines.isEmpty())
        return {};
    QByteArray countLine = lines.first().trimmed();
    if (countLine.startsWith("\xEF\xBB\xBF"))
        countLine.remove(0, 3);
    std::size_t tableSize = std::size_t(std::max(1, countLine.toInt())) + 5 + 1000;
    if (tableSize % 2 == 0)
        ++tableSize;
    std::vector<std::vector<Entry>> table(tableSize);
    for (qsizetype i = 1; i < lines.size(); ++i) {
        QByteArray bytes, flagField;
        SplitLine(lines[i], bytes, flagField);
        if (bytes.isEmpty())
            continue;
        Entry e;
        e.root.word = rules.Decode(bytes);
        e.root.flags = rules.DecodeFlags(flagField);
        const CapType cap = CapTypeOf(e.root.word);
        e.root.initialCapital = cap == CapType::Initial;
        std::vector<Entry>& bucket = table[BucketOf(bytes, tableSize)];
        // A word that comes after its hidden twin takes the twin's place.
        auto twin = std::find_if(bucket.begin(), bucket.end(),
                                 [&](const Entry& x) { return x.hidden && x.root.word == e.root.word; });
        if (twin != bucket.end())
            *twin = e;
        else
            bucket.push_back(e);
        const bool needsTwin = cap == CapType::Mixed || cap == CapType::MixedInitial ||
                               (cap == CapType::All && !e.root.flags.empty());
        if (needsTwin && !HasFlag(e.root.flags, rules.forbidden)) {
            Entry twinEntry;
            twinEntry.hidden = true;
            twinEntry.root.word = LowerWord(e.root.word);
            twinEntry.root.word[0] = QChar::toUpper(twinEntry.root.word[0]);
            const QString twinText = QString::fromUtf16(twinEntry.root.word.data(), qsizetype(twinEntry.root.word.size()));
            const QByteArray twinBytes = rules.Utf8() ? twinText.toUtf8() : twinText.toLatin1();
            std::vector<Entry>& twinBucket = table[BucketOf(twinBytes, tableSize)];
            const bool exists = std::any_of(twinBucket.begin(), twinBucket.end(),
                                            [&](const Entry& x) { return x.root.word == twinEntry.root.word; });
            if (!exists)
                twinBucket.push_back(twinEntry);
        }
    }
    if (use == Use::FormsOnly)
        return table;  // the n-gram search's prints are not needed
    for (std::vector<Entry>& bucket : table)
        for (Entry& e : bucket) {
            e.root.lower = LowerWord(e.root.word);
            e.root.firstLower = e.root.lower.empty() ? 0 : e.root.lower[0];
            Fingerprint(e.root);
        }
    return table;
}

void DictionaryWords::AddForm(std::u16string_view form)
{
    if (forms_.Insert(form) && use_ == Use::Suggestions)
        MarkStartsAndEnds(form);
}

void DictionaryWords::AddForms(const AffixRules& rules, const RootWord& root)
{
    const FlagList& flags = root.flags;
    auto blockedByContinuation = [&](const AffixEntry& e) {
        return HasFlag(e.continuation, rules.needAffix) || HasFlag(e.continuation, rules.circumfix) ||
               HasFlag(e.continuation, rules.onlyInCompound);
    };
    if (!HasFlag(flags, rules.needAffix))
        AddForm(root.word);
    for (AffixFlag flag : flags) {
        for (const AffixEntry* sfx : rules.SuffixesOf(flag)) {
            const std::u16string form = sfx->Apply(root.word, rules.fullStrip);
            if (form.empty())
                continue;
            if (!blockedByContinuation(*sfx))
                AddForm(form);
            for (AffixFlag next : sfx->continuation)
                for (const AffixEntry* second : rules.SuffixesOf(next)) {
                    const std::u16string twice = second->Apply(form, rules.fullStrip);
                    if (!twice.empty())
                        AddForm(twice);
                }
            if (!sfx->crossProduct)
                continue;
            for (AffixFlag pflag : flags)
                for (const AffixEntry* pfx : rules.PrefixesOf(pflag)) {
                    if (!pfx->crossProduct)
                        continue;
                    const std::u16string both = pfx->Apply(form, rules.fullStrip);
                    if (!both.empty())
                        AddForm(both);
                }
        }
        for (const AffixEntry* pfx : rules.PrefixesOf(flag)) {
            const std::u16string form = pfx->Apply(root.word, rules.fullStrip);
            if (!form.empty() && !blockedByContinuation(*pfx))
                AddForm(form);
        }
    }
}

}  // namespace lexicrawl
