#include "analysis/word_groups.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <thread>

#include <QVarLengthArray>

#include "platform/translation.h"

namespace lexicrawl {

namespace {

// A word on at least this many pages is the site's own unless its
// correction is used far more often (a slip copied to a few pages).
constexpr qint64 kVocabularyPages = 2;
constexpr qint64 kCorrectionDominance = 100;
// A longer word on two pages is a slip copied once (or one page under two
// addresses, "docs/" and "docs/index.html") when its correction is written
// on this many times as many pages.
constexpr qint64 kCopiedSlipPages = 2;
constexpr qint64 kCopiedSlipDominance = 10;
// Words this short have many dictionary neighbours: the correction must be
// one the site writes on a few pages.
constexpr int kShortWord = 4;
constexpr qint64 kShortWordCorrectionPages = 10;
// Shorter words are slips only when two neighbours are swapped ("teh"):
// abbreviations and commands ("ok", "rc", "tty") are one edit from many words.
constexpr int kTinyWord = 3;
// A word the dictionary does not know corrects a slip when the site writes
// it on this many pages, and this many times as many as the slip.
constexpr qint64 kSiteCorrectionPages = 3;
constexpr qint64 kSiteCorrectionRatio = 5;

bool IsLatin(QChar ch)
{
    const QChar::Script script = ch.script();
    return script == QChar::Script_Latin || script == QChar::Script_Common || script == QChar::Script_Inherited;
}

struct Shape {
    bool otherAlphabet = false;
    bool digits = false;
    bool codeLike = false;
    bool allCapitals = false;
    bool capitalised = false;
    bool innerCapitals = false;  // "JGit", "GObject": capitals after the first letter
};

Shape ShapeOf(const QString& word)
{
    Shape shape;
    int letters = 0, upper = 0;
    bool lowerSeen = false;
    for (qsizetype i = 0; i < word.size(); ++i) {
        const QChar ch = word.at(i);
        if (ch.isDigit())
            shape.digits = true;
        else if (ch == u'_' || ch == u'.' || ch == u'/' || ch == u'\\' || ch == u'@' || ch == u'#')
            shape.codeLike = true;
        if (!ch.isLetter())
            continue;
        if (!IsLatin(ch))
            shape.otherAlphabet = true;
        ++letters;
        if (ch.isUpper()) {
            ++upper;
            if (lowerSeen && i > 0 && word.at(i - 1).isLetter())
                shape.codeLike = true;  // camelCase
        } else {
            lowerSeen = true;
        }
    }
    // "URLs", "FIFOs": an abbreviation in the plural.
    const bool plural = word.size() > 2 && word.endsWith(u's') && upper == letters - 1;
    shape.allCapitals = (letters >= 2 && upper == letters) || (plural && upper >= 2);
    shape.capitalised = !word.isEmpty() && word.at(0).isUpper() && !shape.allCapitals;
    shape.innerCapitals = !shape.allCapitals && upper > (shape.capitalised ? 1 : 0);
    return shape;
}

QString Capitalised(const QString& lower)
{
    return lower.isEmpty() ? lower : lower.at(0).toUpper() + lower.mid(1);
}

// A set of texts that answers "surely not" from a bit table small enough to
// stay in the cache (16 bits a text, two of them set), and "perhaps" for
// about one text in a hundred it does not hold.
class BitFilter {
public:
    void Reserve(std::size_t texts)
    {
        std::size_t bits = 1024;
        while (bits < texts * 16)
            bits *= 2;
        bits_.assign(bits / 64, 0);
        mask_ = bits - 1;
    }
    void Add(QStringView text)
    {
        const std::size_t h = hasher_(text);
        Set(h & mask_);
        Set((h >> 32 ^ h >> 13) & mask_);
    }
    bool MayHold(QStringView text) const
    {
        if (bits_.empty())
            return false;
        const std::size_t h = hasher_(text);
        return Has(h & mask_) && Has((h >> 32 ^ h >> 13) & mask_);
    }

private:
    void Set(std::size_t bit) { bits_[bit / 64] |= std::uint64_t(1) << (bit % 64); }
    bool Has(std::size_t bit) const { return bits_[bit / 64] >> (bit % 64) & 1; }

    std::vector<std::uint64_t> bits_;
    std::size_t mask_ = 0;
    TextHasher hasher_;
};

// A spelling held in a buffer that keeps its room: candidates are written
// and compared without a text allocated for each.
class Spelling {
public:
    void Set(QStringView text)
    {
        chars_.resize(text.size());
        std::copy(text.begin(), text.end(), chars_.begin());
    }
    void Capitalise()
    {
        if (!chars_.isEmpty())
            chars_[0] = chars_[0].toUpper();
    }
    bool Empty() const { return chars_.isEmpty(); }
    QStringView View() const { return QStringView(chars_.constData(), chars_.size()); }
    QString Text() const { return View().toString(); }

private:
    QVarLengthArray<QChar, 64> chars_;
};

// The spelling with its first letter a capital ("the": "The").
Spelling CapitalOf(QStringView lower)
{
    Spelling capital;
    capital.Set(lower);
    capital.Capitalise();
    return capital;
}

// The one-edit spellings of a word in the order OneEditSpellings lists
// them (neighbour swaps, deletions, then replacements and insertions of a
// letter of a-z or of the word itself), written one after the other into
// one buffer. A spelling may come more than once, and the word itself and
// the empty spelling never do.
class OneEdits {
public:
    explicit OneEdits(QStringView word) : word_(word)
    {
        for (char16_t ch = u'a'; ch <= u'z'; ++ch)
            letters_.append(QChar(ch));
        for (QChar ch : word) {
            if (ch.isLetter() && std::find(letters_.begin(), letters_.end(), ch) == letters_.end())
                letters_.append(ch);
        }
    }

    // Calls visit(spelling) for each; stops when it answers true.
    template <typename Visitor>
    void Visit(Visitor&& visit)
    {
        const qsizetype n = word_.size();
        auto offer = [&]() { return visit(QStringView(buffer_.constData(), buffer_.size())); };
        for (qsizetype i = 0; i + 1 < n; ++i) {
            Load(word_);
            std::swap(buffer_[i], buffer_[i + 1]);
            if (!Same() && offer())
                return;
        }
        for (qsizetype i = 0; i < n && n > 1; ++i) {
            Load(word_);
            buffer_.remove(i);
            if (offer())
                return;
        }
        Load(word_);
        for (qsizetype i = 0; i < n; ++i) {
            const QChar original = word_.at(i);
            for (QChar ch : letters_) {
                if (ch == original)
                    continue;
                buffer_[i] = ch;
                if (offer())
                    return;
            }
            buffer_[i] = original;
        }
        // The word with a free place before it; the place moves one on
        // after each position.
        buffer_.resize(n + 1);
        std::copy(word_.begin(), word_.end(), buffer_.begin() + 1);
        for (qsizetype i = 0; i <= n; ++i) {
            for (QChar ch : letters_) {
                buffer_[i] = ch;
                if (offer())
                    return;
            }
            if (i < n)
                buffer_[i] = word_.at(i);
        }
    }

private:
    void Load(QStringView text)
    {
        buffer_.resize(text.size());
        std::copy(text.begin(), text.end(), buffer_.begin());
    }
    bool Same() const { return QStringView(buffer_.constData(), buffer_.size()) == word_; }

    QStringView word_;
    QVarLengthArray<QChar, 32> letters_;
    QVarLengthArray<QChar, 64> buffer_;
};

class Grouper {
public:
    Grouper(const std::vector<UnknownWord>& words, const WordEvidence& evidence) : evidence_(evidence)
    {
        // Only the words written with capitals are folded into a table of
        // their own; the rest are looked up where they are.
        if (evidence.sitePages) {
            siteFilter_.Reserve(evidence.sitePages->size());
            for (const auto& [word, pages] : *evidence.sitePages) {
                if (!word.isLower()) {
                    const QString lower = word.toLower();
                    foldedPages_[lower] += pages;
                    siteFilter_.Add(lower);
                } else {
                    siteFilter_.Add(word);
                }
            }
        }
        for (const UnknownWord& w : words) {
            unknown_.insert(w.word);
            for (const QString& form : w.forms)
                unknown_.insert(form);
        }
    }

    WordGrouping Group(const UnknownWord& w) const
    {
        WordGrouping g;
        g.pages = w.occurrence;
        const Shape shape = ShapeOf(w.word);
        const QString lower = w.word.toLower();
        if (shape.otherAlphabet)
            return Vocabulary(g, GroupReason::OtherAlphabet);
        if (shape.digits)
            return Vocabulary(g, GroupReason::Digits);
        if (shape.codeLike || shape.innerCapitals)
            return Vocabulary(g, GroupReason::CodeLike);
        if (shape.allCapitals)
            return Vocabulary(g, GroupReason::Abbreviation);
        if (evidence_.otherSpellingKnows && (evidence_.otherSpellingKnows(w.word) ||
                                             (w.word != lower && evidence_.otherSpellingKnows(lower)))) {
            g.spelling = evidence_.otherSpellingName;
            return Vocabulary(g, GroupReason::OtherSpelling);
        }
        if (WrittenOutsideProse(w, lower))
            return Vocabulary(g, GroupReason::WrittenInCode);
        FindCorrection(lower, shape.capitalised, g);
        // A name the site writes only with its capital: not a slip of a
        // word it never uses.
        const bool name = shape.capitalised && AllCapitalised(w) &&
                          !(evidence_.sitePages && evidence_.sitePages->count(lower));
        if (g.correction.isEmpty()) {
            if (g.pages >= kVocabularyPages || (g.pages >= 2 && !name))
                return Vocabulary(g, GroupReason::ManyPages);
            return Vocabulary(g, name ? GroupReason::Name : GroupReason::NoNearWord);
        }
        if (g.pages >= kVocabularyPages && g.correctionPages < kCorrectionDominance * g.pages &&
            !CopiedSlip(lower, g))
            return Vocabulary(g, GroupReason::ManyPages);
        // A capitalised slip ("Teh", "Pyhton") stands beside a correction the
        // site writes with its capital too; else it is a name ("Bene").
        if (name && (g.correctionPages == 0 || !WrittenCapitalised(g.correction)))
            return Vocabulary(g, GroupReason::Name);
        if (lower.size() <= kTinyWord && !IsSwap(lower, g.correction.toLower()))
            return Vocabulary(g, GroupReason::ShortWord);
        // A slip stands beside the word it was meant to be: a correction the
        // site never writes is a coincidence of spelling more often than not,
        // unless two neighbours are swapped ("recieve"), which words rarely are.
        if ((g.correctionPages == 0 && !IsSwap(lower, g.correction.toLower())) ||
            (lower.size() <= kShortWord && g.correctionPages < kShortWordCorrectionPages))
            return Vocabulary(g, GroupReason::UnusedCorrection);
        // "commit's", "stat'ing": an ending after the apostrophe of a known
        // word or one the site writes, one edit from "commits" or "stating"
        // by chance; a slip would leave the word before the apostrophe unknown.
        const qsizetype apostrophe = ApostropheAt(lower);
        if (apostrophe > 0) {
            const QString stem = lower.left(apostrophe);
            if (Knows(stem) || Knows(Capitalised(stem)) || SitePages(stem) > 0) {
                g.correction = w.word.left(apostrophe);
                g.correctionPages = 0;
                return Vocabulary(g, GroupReason::FormOfWord);
            }
        }
        // "mallocs" beside "malloc", "builtin" beside "builtins": the other
        // number of a word of the site's own that no dictionary knows.
        if (OtherNumber(lower, g.correction.toLower()) && !Knows(g.correction.toLower()) && !Knows(g.correction)) {
            g.correctionPages = 0;
            return Vocabulary(g, GroupReason::FormOfWord);
        }
        if (evidence_.otherLanguageOf) {
            const QString language = evidence_.otherLanguageOf(w.word);
            if (!language.isEmpty())
                return InOtherLanguage(g, language);
        }
        g.group = WordGroup::LikelyTypo;
        g.reason = GroupReason::OneEdit;
        g.likelihood = std::log2(1.0 + double(g.correctionPages)) - std::log2(double(std::max<qint64>(1, g.pages))) +
                       (lower.size() > kShortWord ? 1.0 : 0.0);
        g.correctionPages = PagesUsing(g.correction, g.correctionPages);
        return g;
    }

private:
    static WordGrouping Vocabulary(WordGrouping g, GroupReason reason)
    {
        g.group = WordGroup::SiteVocabulary;
        g.reason = reason;
        if (reason != GroupReason::UnusedCorrection && reason != GroupReason::FormOfWord) {
            g.correction.clear();
            g.correctionPages = 0;
        }
        return g;
    }

    // The decisions weigh the pages of every spelling of a correction, so a
    // page that writes "The" and "the" weighs twice; the reason names the
    // pages that use it, which a prose crawl counted over its whole text
    // (a site of 600 pages never writes a word on 1,050 of them).
    qint64 PagesUsing(const QString& correction, qint64 weight) const
    {
        if (!evidence_.textPages || evidence_.textPages->empty())
            return weight;
        const auto it = evidence_.textPages->find(correction.toLower());
        return it == evidence_.textPages->end() ? weight : std::min(weight, it->second);
    }

    // Pages with the word anywhere in their text outnumber those whose prose
    // had it unknown: it stands in code or commands too.
    bool WrittenOutsideProse(const UnknownWord& w, const QString& lower) const
    {
        if (!evidence_.textPages || evidence_.textPages->empty())
            return false;
        const auto it = evidence_.textPages->find(lower);
        return it != evidence_.textPages->end() && it->second > w.occurrence;
    }

    // Slips rarely touch a word's first letter, while a letter before a word
    // the site writes is mostly a name of its own ("fread", "popen").
    static bool CopiedSlip(const QString& lower, const WordGrouping& g)
    {
        return g.pages == kCopiedSlipPages && lower.size() > kShortWord &&
               g.correctionPages >= kCopiedSlipDominance * g.pages && lower.at(0) == g.correction.at(0).toLower();
    }

    static bool OtherNumber(const QString& a, const QString& b)
    {
        const QString& longer = a.size() > b.size() ? a : b;
        const QString& shorter = a.size() > b.size() ? b : a;
        return longer.size() == shorter.size() + 1 && longer.endsWith(u's') && longer.startsWith(shorter);
    }

    // Where the first apostrophe stands that has letters on both sides
    // ("commit's", "gitk’s"), else -1.
    static qsizetype ApostropheAt(const QString& word)
    {
        for (qsizetype i = 1; i + 1 < word.size(); ++i) {
            const QChar ch = word.at(i);
            if (ch == u'\'' || ch == QChar(0x2019))
                return i;
        }
        return -1;
    }

    static bool IsSwap(const QString& a, const QString& b)
    {
        if (a.size() != b.size())
            return false;
        for (qsizetype i = 0; i + 1 < a.size(); ++i) {
            if (a.at(i) != b.at(i))
                return a.at(i) == b.at(i + 1) && a.at(i + 1) == b.at(i) && a.mid(i + 2) == b.mid(i + 2);
        }
        return false;
    }

    bool WrittenCapitalised(const QString& correction) const
    {
        return evidence_.sitePages && evidence_.sitePages->count(Capitalised(correction.toLower()));
    }

    static bool AllCapitalised(const UnknownWord& w)
    {
        for (const QString& form : w.forms) {
            if (form.isEmpty() || !form.at(0).isUpper())
                return false;
        }
        return true;
    }

    qint64 SitePages(QStringView lower) const
    {
        if (!siteFilter_.MayHold(lower))
            return 0;  // most one-edit spellings: no word of the site, and no table walked
        qint64 pages = 0;
        if (evidence_.sitePages) {
            const auto it = evidence_.sitePages->find(lower);
            pages += it == evidence_.sitePages->end() ? 0 : it->second;
        }
        const auto it = foldedPages_.find(lower);
        return pages + (it == foldedPages_.end() ? 0 : it->second);
    }

    // The dictionary word one edit away that the site uses most; among
    // equals the first in the order the edits are tried. A word the site
    // writes outranks every word it does not, so the dictionary is asked
    // about the spellings the site writes first, and about the others only
    // when none of those is a word: then the first it knows is the one.
    void FindCorrection(const QString& lower, bool capitalised, WordGrouping& g) const
    {
        OneEdits edits(lower);
        Spelling best;
        qint64 bestPages = 0;
        edits.Visit([&](QStringView candidate) {
            const qint64 pages = SitePages(candidate);
            if (pages > bestPages && IsSiteWord(candidate, pages, g.pages)) {
                best.Set(candidate);
                bestPages = pages;
            }
            return false;
        });
        if (bestPages == 0) {
            edits.Visit([&](QStringView candidate) {
                if (!Knows(candidate))
                    return false;
                best.Set(candidate);
                return true;
            });
        }
        if (best.Empty())
            return;
        g.correction = best.Text();
        g.correctionPages = bestPages;
        if (capitalised)
            g.correction = Capitalised(g.correction);  // "Teh": "The"
    }

    // Whether the dictionary knows the spelling as written or capitalised.
    bool Knows(QStringView lower) const
    {
        if (!evidence_.dictionaryKnows)
            return false;
        return evidence_.dictionaryKnows(lower) || evidence_.dictionaryKnows(CapitalOf(lower).View());
    }

    // Whether a spelling the site writes (on sitePages pages) is a word: one
    // the dictionary knows, or one the list does not hold, or one of the
    // site's own words that corrects a slip the site makes far less often.
    bool IsSiteWord(QStringView lower, qint64 sitePages, qint64 wordPages) const
    {
        if (!unknown_.contains(lower) && !unknown_.contains(CapitalOf(lower).View()))
            return true;
        if (sitePages >= kSiteCorrectionPages && sitePages >= kSiteCorrectionRatio * wordPages)
            return true;
        if (Knows(lower))
            return true;
        // The site's word in the other region's spelling ("descendents" on
        // an American check) is a word all the same.
        return evidence_.otherSpellingKnows && evidence_.otherSpellingKnows(lower.toString());
    }

    const WordEvidence& evidence_;
    TextMap<qint64> foldedPages_;  // the site's words written with capitals, lower-cased
    BitFilter siteFilter_;         // every word of the site, lower-cased
    TextSet unknown_;            // lower-cased words and forms of the list
};

}  // namespace

WordGrouping InOtherLanguage(WordGrouping g, const QString& language)
{
    g.group = WordGroup::SiteVocabulary;
    g.reason = GroupReason::OtherLanguage;
    g.spelling = language;
    g.correction.clear();
    g.correctionPages = 0;
    g.likelihood = 0;
    return g;
}

QString WordGrouping::ReasonText() const
{
    switch (reason) {
    case GroupReason::OneEdit:
        if (correctionPages == 0)
            return Tr(QStringLiteral("2 letters swapped in '%1'")).arg(correction);
        if (correctionPages == 1)
            return Tr(QStringLiteral("1 letter from '%1', on 1 page of this site")).arg(correction);
        return Tr(QStringLiteral("1 letter from '%1', on %2 pages of this site")).arg(correction).arg(correctionPages);
    case GroupReason::ManyPages:
        return Tr(QStringLiteral("on %1 pages")).arg(pages);
    case GroupReason::Name:
        return Tr(QStringLiteral("a name"));
    case GroupReason::Abbreviation:
        return Tr(QStringLiteral("an abbreviation"));
    case GroupReason::CodeLike:
        return Tr(QStringLiteral("code-like"));
    case GroupReason::Digits:
        return Tr(QStringLiteral("holds digits"));
    case GroupReason::OtherAlphabet:
        return Tr(QStringLiteral("another alphabet"));
    case GroupReason::OtherSpelling:
        return Tr(QStringLiteral("%1 spelling")).arg(spelling);
    case GroupReason::UnusedCorrection:
        if (correctionPages == 0)
            return Tr(QStringLiteral("1 letter from '%1', which this site never writes")).arg(correction);
        return Tr(QStringLiteral("a short word; '%1' is rare on this site")).arg(correction);
    case GroupReason::ShortWord:
        return Tr(QStringLiteral("a short word"));
    case GroupReason::FormOfWord:
        return Tr(QStringLiteral("a form of '%1'")).arg(correction);
    case GroupReason::WrittenInCode:
        return Tr(QStringLiteral("written in code"));
    case GroupReason::OtherLanguage:
        return Tr(QStringLiteral("a word of %1")).arg(spelling);
    case GroupReason::NoNearWord:
        break;
    }
    return Tr(QStringLiteral("no dictionary word 1 letter away"));
}

QString WordGroupName(WordGroup group)
{
    return group == WordGroup::LikelyTypo ? Tr(QStringLiteral("Likely typos")) : Tr(QStringLiteral("Site vocabulary"));
}

QString WordGroupKey(WordGroup group)
{
    return group == WordGroup::LikelyTypo ? QStringLiteral("likely typo") : QStringLiteral("vocabulary");
}

std::vector<WordGrouping> GroupWords(const std::vector<UnknownWord>& words, const WordEvidence& evidence)
{
    const Grouper grouper(words, evidence);
    std::vector<WordGrouping> groups(words.size());
    // Each word is grouped alone: the words are shared out over the cores.
    const std::size_t threads =
        std::clamp<std::size_t>(std::thread::hardware_concurrency(), 1, std::max<std::size_t>(1, words.size() / 256));
    auto run = [&](std::size_t part) {
        for (std::size_t i = part; i < words.size(); i += threads)
            groups[i] = grouper.Group(words[i]);
    };
    std::vector<std::thread> helpers;
    for (std::size_t part = 1; part < threads; ++part)
        helpers.emplace_back(run, part);
    run(0);
    for (std::thread& t : helpers)
        t.join();
    return groups;
}

std::vector<std::size_t> GroupedOrder(const std::vector<WordGrouping>& groups)
{
    std::vector<std::size_t> order(groups.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&groups](std::size_t a, std::size_t b) {
        const WordGrouping& x = groups[a];
        const WordGrouping& y = groups[b];
        if (x.LikelyTypo() != y.LikelyTypo())
            return x.LikelyTypo();
        return x.LikelyTypo() && x.likelihood > y.likelihood;
    });
    return order;
}

QStringList OneEditSpellings(const QString& word)
{
    QStringList out;
    TextSet seen;
    OneEdits(word).Visit([&](QStringView candidate) {
        if (!seen.contains(candidate)) {
            out << candidate.toString();
            seen.insert(out.back());
        }
        return false;
    });
    return out;
}

}  // namespace lexicrawl
