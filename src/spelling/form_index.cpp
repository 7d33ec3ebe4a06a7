#include "spelling/form_index.h"

#include <algorithm>
#include <thread>

#include "platform/text.h"
#include "spelling/affix_file.h"
#include "spelling/dic_entries.h"

namespace lexicrawl {

namespace {

// Past this many spellings the index costs more memory than it saves time.
constexpr size_t kMaxForms = 6'000'000;

bool HasFlag(const Flags& flags, uint16_t flag)
{
    return flag && std::find(flags.begin(), flags.end(), flag) != flags.end();
}

bool HasAnyFlag(const Flags& flags, const Flags& wanted)
{
    for (uint16_t f : wanted) {
        if (HasFlag(flags, f))
            return true;
    }
    return false;
}

// An affix condition read once: per character of the word's end (suffix)
// or start (prefix), any character, a set, or a negated set (Latin-1
// characters looked up in a bitmap).
struct Condition {
    struct Token {
        bool any = false;
        bool negated = false;
        uint64_t latin[4] = {0, 0, 0, 0};
        QString other;
        bool Contains(QChar c) const
        {
            const char16_t u = c.unicode();
            return u < 256 ? (latin[u >> 6] >> (u & 63)) & 1 : other.contains(c);
        }
        bool Matches(QChar c) const { return any || Contains(c) != negated; }
    };
    std::vector<Token> tokens;

    explicit Condition(const QString& text)
    {
        for (qsizetype i = 0; i < text.size(); ++i) {
            Token t;
            const qsizetype close = text[i] == u'[' ? text.indexOf(u']', i) : -1;
            QString set;
            if (close > i) {
                t.negated = i + 1 < close && text[i + 1] == u'^';
                set = text.mid(i + (t.negated ? 2 : 1), close - i - (t.negated ? 2 : 1));
                i = close;
            } else {
                t.any = text[i] == u'.';
                set = text[i];
            }
            for (QChar c : set) {
                if (c.unicode() < 256)
                    t.latin[c.unicode() >> 6] |= uint64_t(1) << (c.unicode() & 63);
                else
                    t.other += c;
            }
            tokens.push_back(t);
        }
    }

    // The library tests a suffix's condition on the end of the word it is
    // added to, a prefix's on the start. A word shorter than the condition
    // counts as matching here, which can only add spellings.
    bool Holds(const QString& base, bool prefix) const
    {
        const qsizetype n = qsizetype(tokens.size());
        if (n > base.size())
            return true;
        const qsizetype from = prefix ? 0 : base.size() - n;
        for (qsizetype i = n - 1; i >= 0; --i) {
            if (!tokens[size_t(i)].Matches(base[from + i]))
                return false;
        }
        return true;
    }
};

bool EndsWith(const QString& base, const QString& part, bool atStart)
{
    if (part.size() > base.size())
        return false;
    const QChar* b = base.constData() + (atStart ? 0 : base.size() - part.size());
    const QChar* p = part.constData();
    for (qsizetype i = 0; i < part.size(); ++i) {
        if (b[i] != p[i])
            return false;
    }
    return true;
}

bool Apply(const AffixRule& rule, const Condition& condition, const QString& base, QString& out)
{
    if (!EndsWith(base, rule.strip, rule.prefix) || !condition.Holds(base, rule.prefix))
        return false;
    const QStringView kept = rule.prefix ? QStringView(base).mid(rule.strip.size())
                                         : QStringView(base).chopped(rule.strip.size());
    out.resize(0);
    out.reserve(kept.size() + rule.add.size());
    out.append(rule.prefix ? QStringView(rule.add) : kept);
    out.append(rule.prefix ? kept : QStringView(rule.add));
    return true;
}

// The library adds a hidden, capitalised homonym for words with capitals
// after the first letter and for all-capital words with flags.
bool GetsHiddenForm(const QString& root, bool hasFlags)
{
    int upper = 0, cased = 0;
    for (QChar c : root) {
        upper += c.isUpper();
        cased += c.isUpper() || c.isLower();
    }
    const bool afterFirst = upper > (root.front().isUpper() ? 1 : 0);
    return afterFirst && (upper < cased || hasFlags);
}

// One capital, the first letter: the library's "initial capital" class.
bool IsCapitalised(const QString& root)
{
    int cased = 0;
    for (QChar c : root)
        cased += c.toLower() != c;
    return cased == 1 && root.front().toLower() != root.front();
}

QString WithoutIgnored(QString s, const QString& ignore)
{
    for (QChar c : ignore)
        s.remove(c);
    return s;
}

}  // namespace

FormIndex::FormIndex(const AffixFile& affix, const QByteArray& words)
{
    usable_ = !affix.complexPrefixes;
    BuildFoldMap(affix);
    if (usable_)
        Expand(affix, words);
    if (usable_)
        SortAndMerge();
}

void FormIndex::BuildFoldMap(const AffixFile& affix)
{
    QHash<QChar, QChar> foldMap;
    for (const QStringList& members : affix.map) {
        const QChar rep = members.isEmpty() || members[0].size() != 1 ? QChar() : LowerAZ(members[0][0]);
        for (const QString& m : members) {
            if (m.size() != 1 || rep.isNull() || (foldMap.contains(LowerAZ(m[0])) && foldMap[LowerAZ(m[0])] != rep)) {
                mapFolds_ = false;
                continue;
            }
            foldMap.insert(LowerAZ(m[0]), rep);
        }
    }
    fold_.resize(0x10000);
    for (uint32_t c = 0; c < 0x10000; ++c)
        fold_[c] = LowerAZ(QChar(char16_t(c))).unicode();
    if (mapFolds_) {
        for (auto it = foldMap.cbegin(); it != foldMap.cend(); ++it) {
            for (uint32_t c = 0; c < 0x10000; ++c) {
                if (fold_[c] == it.key().unicode())
                    fold_[c] = it.value().unicode();
            }
        }
    }
}

QString FormIndex::Fold(const QString& word) const
{
    QString out = word;
    for (QChar& c : out)
        c = QChar(fold_[c.unicode()]);
    return out;
}

uint64_t FormIndex::Key(QStringView s) const
{
    uint64_t h = KeyStart();
    for (QChar c : s)
        h = KeyStep(h, c);
    return h;
}

bool FormIndex::Covers(QStringView text)
{
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (!((u >= u'0' && u <= u'9') || (u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z') || (u >= 0xC0 && u <= 0xFF)
              || u == u'-' || u == u'.' || u == u' '))
            return false;
    }
    return true;
}

void FormIndex::Sink::Add(const FormIndex& index, const QString& form, uint16_t marks)
{
    if (form.isEmpty() || form.size() > 0xFFFF || !Covers(form))
        return;
    entries.push_back({index.Key(QStringView(form)), uint32_t(arena.size()), uint16_t(form.size()), marks});
    arena.insert(arena.end(), form.utf16(), form.utf16() + form.size());
}

// Expands the word list's entries into spellings, with the marks the
// proof needs. One instance per thread; the rules are shared, read only.
class FormIndex::Expansion {
public:
    Expansion(const FormIndex& index, const AffixFile& affix) : index_(index), affix_(affix)
    {
        conditions_.reserve(affix.rules.size());
        for (const AffixRule& r : affix.rules) {
            conditions_.emplace_back(r.condition);
            // A rule can only apply where the word has the text it strips:
            // rules are found by flag and the stripped text's outer character.
            const char16_t edge = r.strip.isEmpty() ? 0 : (r.prefix ? r.strip.front() : r.strip.back()).unicode();
            byFlag_[r.prefix][(uint32_t(r.flag) << 16) | edge].push_back(&r);
            if (r.prefix) {
                Flags& c = prefixContinuations_[r.flag];
                c.insert(c.end(), r.continuation.begin(), r.continuation.end());
            }
        }
        compounding_ = affix.compoundFlags;
        compounding_.push_back(affix.onlyInCompound);
    }

    void Run(const QList<DicEntry>& entries, qsizetype from, qsizetype to, Sink& sink)
    {
        for (qsizetype i = from; i < to && sink.entries.size() <= kMaxForms; ++i) {
            const QString root = WithoutIgnored(affix_.Text(entries[i].root), affix_.ignore);
            if (root.isEmpty())
                continue;
            const Flags flags = affix_.flags.DecodeField(entries[i].flags);
            const uint16_t marks = RootMarks(root, flags);
            ExpandBase(root, flags, marks | ((marks & NoSuggest) ? 0 : Ordinary), sink);
            if (GetsHiddenForm(root, !flags.empty()))
                ExpandBase(root.left(1).toUpper() + root.mid(1).toLower(), flags,
                           (marks | Hidden) & ~(Ngram | NgramLower), sink);
        }
    }

private:
    using Rules = std::vector<const AffixRule*>;

    // The rules of flag that strip nothing, or strip text ending (for a
    // prefix: starting) with edge.
    const Rules& RulesOf(bool prefix, uint16_t flag, char16_t edge = 0) const
    {
        const auto it = byFlag_[prefix].constFind((uint32_t(flag) << 16) | edge);
        return it == byFlag_[prefix].constEnd() ? none_ : *it;
    }

    const Condition& ConditionOf(const AffixRule* r) const { return conditions_[size_t(r - affix_.rules.data())]; }

    uint16_t CompoundingMark(const Flags& flags) const { return HasAnyFlag(flags, compounding_) ? Compounding : 0; }

    uint16_t RootMarks(const QString& root, const Flags& flags) const
    {
        uint16_t marks = CompoundingMark(flags);
        if (HasFlag(flags, affix_.noSuggest) || HasFlag(flags, affix_.substandard))
            marks |= NoSuggest;
        if (HasFlag(flags, affix_.needAffix) || HasFlag(flags, affix_.onlyInCompound))
            marks |= NeedsMore;
        if (HasFlag(flags, affix_.forbidden))
            marks |= Forbidden;
        // The n-gram search passes over forbidden, no-suggest, only-in-
        // compound and no-n-gram words, and for lower-case words in most
        // languages over capitalised ones.
        if (!HasFlag(flags, affix_.forbidden) && !HasFlag(flags, affix_.noSuggest)
            && !HasFlag(flags, affix_.onlyInCompound) && !HasFlag(flags, affix_.noNgram))
            marks |= Ngram | (IsCapitalised(root) ? 0 : NgramLower);
        return marks;
    }

    // The word itself, up to two suffixes, then prefixes on all of them.
    void ExpandBase(const QString& base, const Flags& flags, uint16_t marks, Sink& sink)
    {
        const uint16_t bare = (marks & NoSuggest) ? BareNoSuggest
                              : (marks & Forbidden) ? BareForbidden
                              : (marks & (NeedsMore | Hidden)) ? BareSkipped : BarePlain;
        sink.Add(index_, base, marks | Bare | bare);
        done_.clear();
        done_.push_back({base, &flags});
        prefixFlags_ = flags;
        suffixFlags_ = flags;
        for (uint16_t f : flags) {
            const auto it = prefixContinuations_.constFind(f);
            if (it != prefixContinuations_.constEnd())
                suffixFlags_.insert(suffixFlags_.end(), it->begin(), it->end());
        }
        AddSuffixes(0, 1, &suffixFlags_, marks, sink);
        if (done_.size() > 1)
            AddSuffixes(1, done_.size(), nullptr, marks, sink);
        AddPrefixes(marks, sink);
    }

    // Suffixes on done_[from, to): the given flags, or each one's own
    // continuation flags when none are given.
    void AddSuffixes(size_t from, size_t to, const Flags* given, uint16_t marks, Sink& sink)
    {
        QString out;
        for (size_t i = from; i < to; ++i) {
            const Flags& use = given ? *given : *done_[i].second;
            const char16_t last = done_[i].first.isEmpty() ? 0 : done_[i].first.back().unicode();
            for (uint16_t f : use) {
                for (char16_t edge : {char16_t(0), last}) {
                    for (const AffixRule* s : RulesOf(false, f, edge)) {
                        if (!Apply(*s, ConditionOf(s), done_[i].first, out))
                            continue;
                        sink.Add(index_, WithoutIgnored(out, affix_.ignore), marks | CompoundingMark(s->continuation));
                        done_.push_back({out, &s->continuation});
                        prefixFlags_.insert(prefixFlags_.end(), s->continuation.begin(), s->continuation.end());
                    }
                    if (last == 0)
                        break;
                }
            }
        }
    }

    void AddPrefixes(uint16_t marks, Sink& sink)
    {
        std::sort(prefixFlags_.begin(), prefixFlags_.end());
        prefixFlags_.erase(std::unique(prefixFlags_.begin(), prefixFlags_.end()), prefixFlags_.end());
        QString out;
        for (uint16_t f : prefixFlags_) {
            for (const auto& d : done_) {
                const char16_t first = d.first.isEmpty() ? 0 : d.first.front().unicode();
                for (char16_t edge : {char16_t(0), first}) {
                    for (const AffixRule* p : RulesOf(true, f, edge))
                        AddPrefixed(*p, d.first, marks, out, sink);
                    if (first == 0)
                        break;
                }
            }
        }
    }

    void AddPrefixed(const AffixRule& p, const QString& base, uint16_t marks, QString& out, Sink& sink)
    {
        if (!Covers(p.add) || !Apply(p, ConditionOf(&p), base, out))
            return;  // a prefix stays in front: with other characters no form here
        // A prefix only for compounds is not tried outside them.
        const uint16_t m = marks | (HasFlag(p.continuation, affix_.onlyInCompound) ? 0 : Prefixed)
                           | CompoundingMark(p.continuation);
        sink.Add(index_, WithoutIgnored(out, affix_.ignore), m);
    }

    const FormIndex& index_;
    const AffixFile& affix_;
    QHash<uint32_t, Rules> byFlag_[2];
    QHash<uint16_t, Flags> prefixContinuations_;  // the continuation flags of a flag's prefixes
    const Rules none_;
    std::vector<Condition> conditions_;
    Flags compounding_;
    std::vector<std::pair<QString, const Flags*>> done_;
    Flags prefixFlags_;
    Flags suffixFlags_;
};

// The word list is expanded in two halves at once.
void FormIndex::Expand(const AffixFile& affix, const QByteArray& words)
{
    partsRewritten_ = affix.compoundPartsRewritten;
    compoundMin_ = affix.compoundMin;
    const QList<DicEntry> entries = DicEntries(words);
    const qsizetype half = entries.size() / 2;
    Sink first, second;
    auto work = [&](qsizetype from, qsizetype to, Sink* sink) { Expansion(*this, affix).Run(entries, from, to, *sink); };
    std::thread helper(work, half, entries.size(), &second);
    work(0, half, &first);
    helper.join();
    if (first.entries.size() + second.entries.size() > kMaxForms) {
        usable_ = false;
        return;
    }
    entries_ = std::move(first.entries);
    arena_ = std::move(first.arena);
    for (Entry e : second.entries) {
        e.offset += uint32_t(arena_.size());
        entries_.push_back(e);
    }
    arena_.insert(arena_.end(), second.arena.begin(), second.arena.end());
}

QStringView FormIndex::TextOf(const Entry& e) const
{
    return QStringView(arena_.data() + e.offset, e.length);
}

// Sorted by key alone; the spellings of one key (the same spelling made
// more than once, or spellings that fold alike) are merged by their text.
void FormIndex::SortAndMerge()
{
    std::sort(entries_.begin(), entries_.end(), [](const Entry& a, const Entry& b) { return a.key < b.key; });
    size_t out = 0;
    size_t runStart = 0;
    for (size_t i = 0; i < entries_.size(); ++i) {
        if (out == 0 || entries_[out - 1].key != entries_[i].key)
            runStart = out;
        bool merged = false;
        for (size_t j = runStart; j < out && !merged; ++j) {
            if (TextOf(entries_[j]) == TextOf(entries_[i])) {
                entries_[j].marks |= entries_[i].marks;
                merged = true;
            }
        }
        if (!merged)
            entries_[out++] = entries_[i];
    }
    entries_.resize(out);
    entries_.shrink_to_fit();
    BuildLookups();
}

void FormIndex::BuildLookups()
{
    std::vector<uint64_t> keys, partKeys;
    keys.reserve(entries_.size());
    for (const Entry& e : entries_) {
        keys.push_back(e.key);
        if (e.marks & Compounding)
            partKeys.push_back(e.key);
        // One space or hyphen inside: the key of the spelling without it.
        const QStringView text = TextOf(e);
        qsizetype gap = -1, gaps = 0;
        for (qsizetype i = 0; i < text.size(); ++i) {
            if (text[i] == u' ' || text[i] == u'-') {
                gap = i;
                ++gaps;
            }
        }
        if (gaps == 1 && gap > 0 && gap + 1 < text.size()) {
            uint64_t key = KeyStart();
            for (qsizetype i = 0; i < text.size(); ++i)
                key = i == gap ? key : KeyStep(key, text[i]);
            joined_.push_back(key);
        }
    }
    std::sort(joined_.begin(), joined_.end());
    all_.Build(keys);
    parts_.Build(partKeys);
    buckets_.assign((size_t(1) << kBucketBits) + 1, 0);
    size_t at = 0;
    for (size_t b = 0; b <= (size_t(1) << kBucketBits); ++b) {
        while (at < entries_.size() && size_t(entries_[at].key >> (64 - kBucketBits)) < b)
            ++at;
        buckets_[b] = uint32_t(at);
    }
}

// The entries are sorted by key; buckets_ holds where each run of keys with
// the same top bits starts, so a lookup scans a bucket of a few entries.
std::pair<size_t, size_t> FormIndex::Range(uint64_t key) const
{
    if (buckets_.empty())
        return {0, 0};
    const size_t bucket = size_t(key >> (64 - kBucketBits));
    const auto lo = std::lower_bound(entries_.begin() + buckets_[bucket], entries_.begin() + buckets_[bucket + 1], key,
                                     [](const Entry& e, uint64_t k) { return e.key < k; });
    auto hi = lo;
    while (hi != entries_.end() && hi->key == key)
        ++hi;
    return {size_t(lo - entries_.begin()), size_t(hi - entries_.begin())};
}

std::vector<FormIndex::Form> FormIndex::FormsFoldingLike(const QString& word) const
{
    std::vector<Form> out;
    const QString fold = Fold(word);
    const auto [lo, hi] = Range(Key(QStringView(word)));
    for (size_t i = lo; i < hi; ++i) {
        const QString text = TextOf(entries_[i]).toString();
        if (Fold(text) == fold)
            out.push_back({text, entries_[i].marks});
    }
    return out;
}

FormIndex::PartReach FormIndex::Parts(const QString& candidate) const
{
    const qsizetype n = candidate.size();
    auto part = [&](qsizetype from, qsizetype to) { return MayBePart(QStringView(candidate).mid(from, to - from)); };
    PartReach r;
    r.head.assign(size_t(n) + 1, 0);
    r.tail.assign(size_t(n) + 1, 0);
    r.head[0] = 1;
    r.tail[size_t(n)] = 1;
    for (qsizetype i = 0; i < n; ++i) {
        for (qsizetype j = i + compoundMin_; r.head[size_t(i)] && j <= n; ++j)
            r.head[size_t(j)] = r.head[size_t(j)] || part(i, j);
    }
    for (qsizetype i = n; i > 0; --i) {
        for (qsizetype j = i - compoundMin_; r.tail[size_t(i)] && j >= 0; --j)
            r.tail[size_t(j)] = r.tail[size_t(j)] || part(j, i);
    }
    return r;
}

void FormIndex::Filter::Build(const std::vector<uint64_t>& keys)
{
    size_t blocks = 1;
    while (blocks * 512 < keys.size() * 12)
        blocks *= 2;
    bits.assign(blocks * 8, 0);
    for (uint64_t key : keys) {
        uint64_t* block = bits.data() + ((key >> 40) & (blocks - 1)) * 8;
        for (int i = 0; i < 3; ++i) {
            const unsigned bit = unsigned(key >> (i * 9)) & 511;
            block[bit >> 6] |= uint64_t(1) << (bit & 63);
        }
    }
}

bool FormIndex::Filter::MayHold(uint64_t key) const
{
    if (bits.empty())
        return false;
    const size_t blocks = bits.size() / 8;
    const uint64_t* block = bits.data() + ((key >> 40) & (blocks - 1)) * 8;
    for (int i = 0; i < 3; ++i) {
        const unsigned bit = unsigned(key >> (i * 9)) & 511;
        if (!(block[bit >> 6] & (uint64_t(1) << (bit & 63))))
            return false;
    }
    return true;
}

bool FormIndex::MayBePart(QStringView text) const
{
    if (!parts_.MayHold(Key(text)))
        return false;
    const int marks = MarksOf(text);
    return marks >= 0 && (marks & Compounding);
}

bool FormIndex::MayBePair(const QString& word) const
{
    return std::binary_search(joined_.begin(), joined_.end(), Key(QStringView(word)));
}

bool FormIndex::MayBeCompound(const QString& candidate) const
{
    if (partsRewritten_ || !Covers(candidate))
        return true;
    const PartReach r = Parts(candidate);
    for (qsizetype i = 1; i < candidate.size(); ++i) {
        if (r.head[size_t(i)] && r.tail[size_t(i)])
            return true;
    }
    return false;
}

QStringList FormIndex::FormsMarked(uint16_t mark) const
{
    QStringList out;
    for (const Entry& e : entries_) {
        if (!mark || (e.marks & mark))
            out << TextOf(e).toString();
    }
    return out;
}

int FormIndex::MarksOf(QStringView candidate) const
{
    const uint64_t key = Key(candidate);
    if (!all_.MayHold(key))
        return -1;
    const auto [lo, hi] = Range(key);
    for (size_t i = lo; i < hi; ++i) {
        if (TextOf(entries_[i]) == candidate)
            return entries_[i].marks;
    }
    return -1;
}

}  // namespace lexicrawl
