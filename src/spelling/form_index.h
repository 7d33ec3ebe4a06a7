#pragma once
// Every spelling made of page-word characters (0-9, A-Z, a-z, U+00C0 to
// U+00FF), hyphens and dots that a Hunspell dictionary could accept without
// compounding, and some more (spellings with apostrophes are left out: the
// elided forms of French alone would make millions): each word of the list with every prefix and up to two
// suffixes its flags (and the continuation flags of its affixes) name, where
// the text an affix strips is there; affix conditions other than negated
// classes are honoured, cross-product marks are not. So a spelling that is
// not here is surely not a dictionary form; one that is here may be.
//
// Spellings are grouped by a fold key: A-Z lower-cased and each character of
// a related-character class (MAP) replaced by the class's first member, so
// that all spellings the suggestion search could reach from a word by
// changing case or related characters are found together.
//
// Thread-safety: immutable after construction.
#include <QHash>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

namespace lexicrawl {

class AffixFile;

class FormIndex {
public:
    // What the word a spelling comes from is marked with.
    enum Mark : uint16_t {
        Bare = 1,            // a word of the list itself, no affix
        NoSuggest = 2,       // a no-suggest or substandard word, or a form of one
        NeedsMore = 4,       // a need-affix or only-in-compound word, or a form of one
        Hidden = 8,          // the library's hidden capitalised twin of a mixed-case word
        BarePlain = 16,      // a word of the list with none of the marks above
        BareNoSuggest = 32,  // a no-suggest or substandard word of the list
        BareSkipped = 64,    // a word of the list the lookup passes over
        Ordinary = 128,      // a form of a word that is neither no-suggest nor hidden
        Compounding = 256,   // a form that may be part of a compound
        Prefixed = 512,      // a form that may have a prefix (one the spelling check tries outside compounds)
        Forbidden = 1024,    // a forbidden word or a form of one
        BareForbidden = 2048,  // a forbidden word of the list
        Ngram = 4096,        // a form of a word the n-gram search looks at
        NgramLower = 8192,   // ... that is not capitalised (looked at for lower-case words)
    };
    struct Form {
        QString text;
        uint16_t marks = 0;
    };

    FormIndex(const AffixFile& affix, const QByteArray& words);

    // False when the dictionary's rules are beyond this index (two prefix
    // levels) or it grew past its size limit; then nothing may rely on it.
    bool Usable() const { return usable_; }
    // True when the related-character classes fold cleanly (no character
    // in two classes, single characters only).
    bool MapFolds() const { return mapFolds_; }
    QString Fold(const QString& word) const;
    // The spellings whose fold key equals word's.
    std::vector<Form> FormsFoldingLike(const QString& word) const;
    // The fold key, made a character at a time (KeyStart, then KeyStep for
    // each), and whether the index may hold a spelling with that key.
    uint64_t KeyStart() const { return 1469598103934665603ull; }
    uint64_t KeyStep(uint64_t key, QChar c) const { return (key ^ fold_[c.unicode()]) * 1099511628211ull; }
    bool MayHoldKey(uint64_t key) const { return all_.MayHold(key); }
    // Whether the index speaks for text: page-word characters, hyphens,
    // dots and spaces.
    static bool Covers(QStringView text);
    // The marks of candidate when it is here, else -1; -1 says "no form"
    // only for candidates the index covers.
    int MarksOf(QStringView candidate) const;
    // False when candidate surely is no compound: it cannot be cut into
    // two or more forms that may be part of a compound, none shorter than
    // the dictionary's shortest part. Always true for text the index does
    // not cover, and when the dictionary's compound rules rewrite the parts
    // (simplified triple letters, patterns with a replacement).
    bool MayBeCompound(const QString& candidate) const;
    // False when no spelling here is word with a space or a hyphen put in
    // between two of its characters ("a lot" for "alot"); true may be wrong.
    bool MayBePair(const QString& word) const;
    // Where candidate can be cut into such parts: head[i] when its first i
    // characters are parts, tail[i] when the rest from i is.
    struct PartReach {
        std::vector<char> head;
        std::vector<char> tail;
    };
    PartReach Parts(const QString& candidate) const;
    // Every spelling that carries mark; every spelling for mark 0.
    QStringList FormsMarked(uint16_t mark) const;
    qsizetype Size() const { return qsizetype(entries_.size()); }

private:
    struct Entry {
        uint64_t key;
        uint32_t offset;
        uint16_t length;
        uint16_t marks;
    };
    void BuildFoldMap(const AffixFile& affix);
    // Spellings made on one thread: entries into its own text arena.
    struct Sink {
        std::vector<Entry> entries;
        std::vector<char16_t> arena;
        void Add(const FormIndex& index, const QString& form, uint16_t marks);
    };
    class Expansion;
    void Expand(const AffixFile& affix, const QByteArray& words);
    void SortAndMerge();
    uint64_t Key(QStringView s) const;
    QStringView TextOf(const Entry& e) const;
    std::pair<size_t, size_t> Range(uint64_t key) const;

    bool usable_ = true;
    bool mapFolds_ = true;
    bool partsRewritten_ = false;
    int compoundMin_ = 3;
    std::vector<char16_t> fold_;  // per UTF-16 unit: A-Z lower-cased, then the class's first member
    std::vector<char16_t> arena_;
    // A filter in front of the entries, small enough to stay in the cache:
    // per 512-bit block three bits of each key (the second filter for the
    // forms that may be part of a compound).
    struct Filter {
        std::vector<uint64_t> bits;
        void Build(const std::vector<uint64_t>& keys);
        bool MayHold(uint64_t key) const;
    };
    void BuildLookups();
    bool MayBePart(QStringView text) const;

    std::vector<Entry> entries_;
    static constexpr int kBucketBits = 18;
    std::vector<uint32_t> buckets_;
    Filter all_;
    Filter parts_;
    std::vector<uint64_t> joined_;  // keys of spelled pairs with their space or hyphen taken out
};

}  // namespace lexicrawl
