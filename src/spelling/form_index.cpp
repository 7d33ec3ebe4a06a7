#include "spelling/form_index.h"

#include <algorithm>

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
// or start (prefix), any character, a set, or a negated set.
struct Condition {
    struct Token {
        bool any = false;
        bool negated = false;
        QString set;
    };
    std::vector<Token> tokens;

    explicit Condition(const QString& text)
    {
        for (qsizetype i = 0; i < text.size(); ++i) {
            Token t;
            const qsizetype close = text[i] == u'[' ? text.indexOf(u']', i) : -1;
            if (close > i) {
                t.negated = i + 1 < close && text[i + 1] == u'^';
                t.set = text.mid(i + (t.negated ? 2 : 1), close - i - (t.negated ? 2 : 1));
                i = close;
            } else {
                t.any = text[i] == u'.';
                t.set = text[i];
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
        for (qsizetype i = 0; i < n; ++i) {
            const Token& t = tokens[size_t(i)];
            if (!t.any && t.set.contains(base[from + i]) == t.negated)
                return false;
        }
        return true;
    }
};

bool Apply(const AffixRule& rule, const Condition& condition, const QString& base, QString& out)
{
    if (rule.prefix ? !base.startsWith(rule.strip) : !base.endsWith(rule.strip))
        return false;
    if (!condition.Holds(base, rule.prefix))
        return false;
    const QStringView kept = rule.prefix ? QStringView(base).mid(rule.strip.size())
                                         : QStringView(base).chopped(rule.strip.size());
    out.resize(0);
    out.reserve(kept.size() + rule.add.size());
    out.append(rule.prefix ? rule.add : kept.toString());
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

void FormIndex::AddForm(const QString& form, uint16_t marks)
{
    if (form.isEmpty() || form.size() > 0xFFFF || !Covers(form))
        return;
    entries_.push_back({Key(QStringView(form)), uint32_t(arena_.size()), uint16_t(form.size()), marks});
    arena_.insert(arena_.end(), form.utf16(), form.utf16() + form.size());
}

void FormIndex::Expand(const AffixFile& affix, const QByteArray& words)
{
    QHash<uint16_t, std::vector<const AffixRule*>> byFlag[2];
    std::vector<Condition> conditions;
    conditions.reserve(affix.rules.size());
    for (const AffixRule& r : affix.rules)
        conditions.emplace_back(r.condition);
    auto conditionOf = [&](const AffixRule* r) -> const Condition& { return conditions[size_t(r - affix.rules.data())]; };
    Flags compounding = affix.compoundFlags;
    compounding.push_back(affix.onlyInCompound);
    partsRewritten_ = affix.compoundPartsRewritten;
    compoundMin_ = affix.compoundMin;
    for (const AffixRule& r : affix.rules)
        byFlag[r.prefix][r.flag].push_back(&r);
    for (const DicEntry& e : DicEntries(words)) {
        const QString root = WithoutIgnored(affix.Text(e.root), affix.ignore);
        if (root.isEmpty())
            continue;
        const Flags flags = affix.flags.DecodeField(e.flags);
        uint16_t marks = 0;
        if (HasAnyFlag(flags, compounding))
            marks |= Compounding;
        if (HasFlag(flags, affix.noSuggest) || HasFlag(flags, affix.substandard))
            marks |= NoSuggest;
        if (HasFlag(flags, affix.needAffix) || HasFlag(flags, affix.onlyInCompound))
            marks |= NeedsMore;
        if (HasFlag(flags, affix.forbidden))
            marks |= Forbidden;
        // The n-gram search passes over forbidden, no-suggest, only-in-
        // compound and no-n-gram words, and for lower-case words in most
        // languages over capitalised ones.
        if (!HasFlag(flags, affix.forbidden) && !HasFlag(flags, affix.noSuggest) && !HasFlag(flags, affix.onlyInCompound)
            && !HasFlag(flags, affix.noNgram))
            marks |= Ngram | (IsCapitalised(root) ? 0 : NgramLower);
        std::vector<QString> bases{root};
        if (GetsHiddenForm(root, !flags.empty()))
            bases.push_back(root.left(1).toUpper() + root.mid(1).toLower());
        for (size_t b = 0; b < bases.size(); ++b) {
            const uint16_t m = b ? (marks | Hidden) & ~(Ngram | NgramLower)
                                 : marks | ((marks & NoSuggest) ? 0 : Ordinary);
            const uint16_t bare = (m & NoSuggest) ? BareNoSuggest
                                  : (m & Forbidden)  ? BareForbidden
                                  : (m & (NeedsMore | Hidden)) ? BareSkipped : BarePlain;
            AddForm(bases[b], m | Bare | bare);
            std::vector<std::pair<QString, const Flags*>> done{{bases[b], &flags}};
            Flags prefixFlags = flags;
            Flags suffixFlags = flags;
            for (uint16_t f : flags) {
                for (const AffixRule* p : byFlag[1].value(f))
                    suffixFlags.insert(suffixFlags.end(), p->continuation.begin(), p->continuation.end());
            }
            for (int level = 0; level < 2; ++level) {
                const size_t before = done.size();
                for (size_t i = level ? 1 : 0; i < before; ++i) {
                    const Flags& use = level ? *done[i].second : suffixFlags;
                    for (uint16_t f : use) {
                        for (const AffixRule* s : byFlag[0].value(f)) {
                            QString out;
                            if (!Apply(*s, conditionOf(s), done[i].first, out))
                                continue;
                            AddForm(WithoutIgnored(out, affix.ignore),
                                    m | (HasAnyFlag(s->continuation, compounding) ? Compounding : 0));
                            done.push_back({out, &s->continuation});
                            prefixFlags.insert(prefixFlags.end(), s->continuation.begin(), s->continuation.end());
                        }
                    }
                }
                if (level == 0 && done.size() == 1)
                    break;
            }
            std::sort(prefixFlags.begin(), prefixFlags.end());
            prefixFlags.erase(std::unique(prefixFlags.begin(), prefixFlags.end()), prefixFlags.end());
            for (uint16_t f : prefixFlags) {
                for (const AffixRule* p : byFlag[1].value(f)) {
                    if (!Covers(p->add))
                        continue;  // the prefix stays in front: no form here
                    for (const auto& d : done) {
                        QString out;
                        // A prefix only for compounds is not tried outside them.
                        if (Apply(*p, conditionOf(p), d.first, out))
                            AddForm(WithoutIgnored(out, affix.ignore),
                                    m | (HasFlag(p->continuation, affix.onlyInCompound) ? 0 : Prefixed)
                                        | (HasAnyFlag(p->continuation, compounding) ? Compounding : 0));
                    }
                }
            }
        }
        if (entries_.size() > kMaxForms) {
            usable_ = false;
            entries_.clear();
            arena_.clear();
            return;
        }
    }
}

QStringView FormIndex::TextOf(const Entry& e) const
{
    return QStringView(arena_.data() + e.offset, e.length);
}

void FormIndex::SortAndMerge()
{
    std::sort(entries_.begin(), entries_.end(), [this](const Entry& a, const Entry& b) {
        if (a.key != b.key)
            return a.key < b.key;
        return TextOf(a) < TextOf(b);
    });
    size_t out = 0;
    for (size_t i = 0; i < entries_.size(); ++i) {
        if (out > 0 && entries_[out - 1].key == entries_[i].key && TextOf(entries_[out - 1]) == TextOf(entries_[i]))
            entries_[out - 1].marks |= entries_[i].marks;
        else
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
        const QStringView text = TextOf(e);
        const qsizetype gap = text.indexOf(u' ') >= 0 ? text.indexOf(u' ') : text.indexOf(u'-');
        if (gap > 0 && gap + 1 < text.size() && text.count(u' ') + text.count(u'-') == 1)
            joined_.push_back(Key(QString(text.left(gap).toString() + text.mid(gap + 1).toString())));
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
