#include "spelling/ngram_suggester.h"

#include <QChar>

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "spelling/affix_rules.h"
#include "spelling/dictionary_words.h"

namespace lexicrawl {

namespace {

constexpr int kMaxRoots = 100;
constexpr int kMaxGuesses = 200;
constexpr std::size_t kMaxFormsPerRoot = 100;

// Sorts by score, highest first, keeping the order of equal scores.
template <typename T>
void SortByScore(std::vector<T>& items, std::vector<int>& scores)
{
    for (std::size_t m = 1; m < items.size(); ++m) {
        for (std::size_t j = m; j > 0 && scores[j - 1] < scores[j]; --j) {
            std::swap(scores[j - 1], scores[j]);
            std::swap(items[j - 1], items[j]);
        }
    }
}

// How many times each bit of a fingerprint occurs in a word, as bit planes,
// so that the occurrences covered by a root's fingerprint are a few popcounts.
struct BitCounts {
    std::uint64_t planes[6] = {};
    int used = 0;  // planes in use
    void Add(std::uint64_t bit)
    {
        for (int k = 0; k < 6 && bit; ++k) {
            const std::uint64_t carry = planes[k] & bit;
            planes[k] ^= bit;
            bit = carry;
            used = std::max(used, k + 1);
        }
    }
    int Count(std::uint64_t mask) const
    {
        int total = __builtin_popcountll(mask & planes[0]);
        for (int k = 1; k < used; ++k)
            total += __builtin_popcountll(mask & planes[k]) << k;
        return total;
    }
};

// A fixed number of slots that keeps the best scores seen: a new score
// takes the slot of the lowest one (the first of equal lows) only when it
// is strictly higher, so earlier candidates win ties.
struct Shortlist {
    explicit Shortlist(int size) : scores(std::size_t(size)), lowest(size - 1)
    {
        for (int i = 0; i < size; ++i)
            scores[std::size_t(i)] = -100 * i;
    }
    int Low() const { return scores[std::size_t(lowest)]; }
    // Answers the slot taken, or -1.
    int Offer(int score)
    {
        if (score <= Low())
            return -1;
        const int slot = lowest;
        scores[std::size_t(slot)] = score;
        int low = score;
        for (int j = 0; j < int(scores.size()); ++j)
            if (scores[std::size_t(j)] < low) {
                lowest = j;
                low = scores[std::size_t(j)];
            }
        return slot;
    }
    std::vector<int> scores;
    int lowest;
};

bool EndsWith(const std::u16string& s, const std::u16string& tail)
{
    return s.size() > tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

bool StartsWith(const std::u16string& s, const std::u16string& head)
{
    return s.size() > head.size() && s.compare(0, head.size(), head) == 0;
}

// Whether the word's characters at two positions, and only there, are
// swapped in other; and how many positions hold equal characters.
int CommonPositions(const std::u16string& word, std::u16string other, bool* swapped)
{
    *swapped = false;
    if (word.empty() || other.empty())
        return 0;
    other[0] = QChar::toLower(other[0]);
    int same = 0, diff = 0;
    std::size_t at[2] = {0, 0};
    for (std::size_t i = 0; i < word.size() && i < other.size(); ++i) {
        if (word[i] == other[i]) {
            ++same;
        } else {
            if (diff < 2)
                at[diff] = i;
            ++diff;
        }
    }
    *swapped = diff == 2 && word.size() == other.size() && word[at[0]] == other[at[1]] &&
               word[at[1]] == other[at[0]];
    return same;
}

// Whether the j characters at needle occur somewhere in hay.
inline bool Occurs(const char16_t* hay, int l2, const char16_t* needle, int j)
{
    for (int l = 0; l + j <= l2; ++l) {
        if (hay[l] != needle[0])
            continue;
        int k = 1;
        while (k < j && hay[l + k] == needle[k])
            ++k;
        if (k == j)
            return true;
    }
    return false;
}

// The first-round score of a root (n-grams up to three, longer roots worse),
// as Ngram(3, word, lower, LongerWorse) gives it: a pair or triple whose bit
// is missing from the root's print is surely absent, so only the others are
// looked for.
int RootScore(const std::u16string& word, const std::u16string& lower, const RootPrint& print)
{
    const int l1 = int(word.size()), l2 = int(lower.size());
    if (l2 == 0)
        return 0;
    int total = 0;
    for (int j = 1; j <= 3; ++j) {
        int found = 0;
        for (int i = 0; i <= l1 - j; ++i) {
            const char16_t* at = word.data() + i;
            const std::uint64_t bit = j == 1 ? LetterBit(at[0]) : j == 2 ? PairBit(at[0], at[1])
                                                                         : TripleBit(at[0], at[1], at[2]);
            const std::uint64_t mask = j == 1 ? print.letters : j == 2 ? print.pairs : print.triples;
            if ((mask & bit) && Occurs(lower.data(), l2, at, j))
                ++found;
        }
        total += found;
        if (found < 2)
            break;
    }
    return total - std::max(l2 - l1 - 2, 0);
}

}  // namespace

namespace ngram_score {

int Ngram(int n, const std::u16string& s1, const std::u16string& s2, int options)
{
    const int l1 = int(s1.size()), l2 = int(s2.size());
    if (l2 == 0)
        return 0;
    int total = 0;
    for (int j = 1; j <= n; ++j) {
        int found = 0;
        for (int i = 0; i <= l1 - j; ++i) {
            if (Occurs(s2.data(), l2, s1.data() + i, j)) {
                ++found;
            } else if (options & Weighted) {
                --found;
                if (i == 0 || i == l1 - j)
                    --found;  // a miss at either end counts twice
            }
        }
        total += found;
        if (found < 2 && !(options & Weighted))
            break;
    }
    int penalty = 0;
    if (options & LongerWorse)
        penalty = (l2 - l1) - 2;
    if (options & AnyMismatch)
        penalty = std::abs(l2 - l1) - 2;
    return total - std::max(penalty, 0);
}

int LeftCommon(const std::u16string& word, const std::u16string& other)
{
    const char16_t first = other.empty() ? 0 : other[0];
    const char16_t mine = word.empty() ? 0 : word[0];
    if (mine != first && mine != QChar::toLower(first))
        return 0;
    std::size_t i = 1;
    while (i < word.size() && i < other.size() && word[i] == other[i])
        ++i;
    return int(i);
}

int CommonSubsequence(const std::u16string& a, const std::u16string& b)
{
    std::vector<int> row(b.size() + 1, 0), next(b.size() + 1, 0);
    for (std::size_t i = 1; i <= a.size(); ++i) {
        for (std::size_t j = 1; j <= b.size(); ++j)
            next[j] = a[i - 1] == b[j - 1] ? row[j - 1] + 1 : std::max(row[j], next[j - 1]);
        std::swap(row, next);
    }
    return row[b.size()];
}

}  // namespace ngram_score

namespace {

// The occurrences of a word's pairs and triples in wide-print slots.
struct WideCounts {
    BitCounts pairs[4], triples[4];
    explicit WideCounts(const std::u16string& word)
    {
        for (std::size_t i = 0; i + 1 < word.size(); ++i) {
            const int pair = PairSlot(word[i], word[i + 1]);
            pairs[pair >> 6].Add(std::uint64_t(1) << (pair & 63));
            if (i + 2 < word.size()) {
                const int triple = TripleSlot(word[i], word[i + 1], word[i + 2]);
                triples[triple >> 6].Add(std::uint64_t(1) << (triple & 63));
            }
        }
    }
};

// The word's letters, pairs and triples, to be met with the roots' prints.
struct WordPrint {
    BitCounts letters, pairs, triples;
    WideCounts wide;
    explicit WordPrint(const std::u16string& word) : wide(word)
    {
        for (std::size_t i = 0; i < word.size(); ++i) {
            letters.Add(LetterBit(word[i]));
            if (i + 1 < word.size())
                pairs.Add(PairBit(word[i], word[i + 1]));
            if (i + 2 < word.size())
                triples.Add(TripleBit(word[i], word[i + 1], word[i + 2]));
        }
    }
};

// A root that may enter the shortlist: a bound on its score (a hashed bit
// may be shared by other characters, never missing for a present one), and
// what the score adds and takes off beside the n-grams.
struct Candidate {
    int bound;
    int root;
    int common;   // the common start of word and root
    int penalty;  // for a root longer than the word
};

struct Scored {
    int score;
    int root;
};

// The common start of the word and a root, read from the root's printed
// start where it is shorter than that.
int CommonStart(const std::u16string& word, const RootPrint& root, const RootStart& start, const RootWord& full)
{
    if (word[0] != root.first && word[0] != root.firstLower)
        return 0;
    const int n = int(word.size()), length = root.length;
    int common = 1;
    while (common < n && common < length && common < kPrintedStart && word[std::size_t(common)] == start.chars[common])
        ++common;
    return common == kPrintedStart ? ngram_score::LeftCommon(word, full.word) : common;
}

// Every root within four characters of the word's length, with its bound;
// answers the highest bound. Built twice, so that processors with a
// population count instruction use it.
__attribute__((target_clones("popcnt", "default"))) int CollectCandidates(const DictionaryWords& words,
                                                                           const std::u16string& word,
                                                                           const WordPrint& print, bool skipCapitals,
                                                                           std::vector<Candidate>& out)
{
    const int n = int(word.size());
    int highest = 0;
    out.clear();
    for (int length = std::max(n - 4, 1); length <= n + 4; ++length) {
        for (const bool capitalised : {false, true}) {
            if (capitalised && skipCapitals)
                continue;
            const DictionaryWords::PrintGroup& group = words.PrintsOfLength(std::size_t(length), capitalised);
            const int penalty = std::max(length - n - 2, 0);
            for (std::size_t g = 0; g < group.prints.size(); ++g) {
                const RootPrint& root = group.prints[g];
                int bound = print.letters.Count(root.letters);
                if (bound >= 2) {
                    const int pairBound = print.pairs.Count(root.pairs);
                    bound += pairBound;
                    if (pairBound >= 2)
                        bound += print.triples.Count(root.triples);
                }
                const int r = group.roots[g];
                const int common = CommonStart(word, root, group.starts[g], words.NgramRoots()[std::size_t(r)]);
                bound += common - penalty;
                if (bound >= 0) {
                    out.push_back({bound, r, common, penalty});
                    highest = std::max(highest, bound);
                }
            }
        }
    }
    return highest;
}

// The candidates in falling order of their bounds (a counting sort).
void SortByBound(const std::vector<Candidate>& candidates, int highest, std::vector<Candidate>& order)
{
    std::vector<int> firsts(std::size_t(highest) + 2, 0);
    for (const Candidate& c : candidates)
        ++firsts[std::size_t(highest - c.bound) + 1];
    for (std::size_t i = 1; i < firsts.size(); ++i)
        firsts[i] += firsts[i - 1];
    order.resize(candidates.size());
    for (const Candidate& c : candidates)
        order[std::size_t(firsts[std::size_t(highest - c.bound)]++)] = c;
}

// A closer bound on a root's n-gram score from its wide print.
__attribute__((target_clones("popcnt", "default"))) int WideBound(const WordPrint& print, const RootPrint& root,
                                                                   const RootWidePrint& wide)
{
    const int ones = print.letters.Count(root.letters);
    if (ones < 2)
        return ones;
    int two = 0, three = 0;
    for (int k = 0; k < 4; ++k) {
        two += print.wide.pairs[k].Count(wide.pairs[k]);
        three += print.wide.triples[k].Count(wide.triples[k]);
    }
    return ones + two + (two >= 2 ? three : 0);
}

// The best roots by score, earlier ones first among equals: scored in
// falling order of their bounds until no bound can reach the last place.
std::vector<Scored> BestScored(const DictionaryWords& words, const std::u16string& word, const WordPrint& print,
                               const std::vector<Candidate>& order)
{
    auto better = [](const Scored& a, const Scored& b) { return a.score != b.score ? a.score > b.score : a.root < b.root; };
    std::vector<Scored> best;  // a heap whose top is the worst kept
    for (const Candidate& c : order) {
        const bool full = int(best.size()) == kMaxRoots;
        if (full && c.bound < best.front().score)
            break;
        const std::size_t r = std::size_t(c.root);
        const RootPrint& root = words.NgramPrints()[r];
        if (full && WideBound(print, root, words.NgramWidePrints()[r]) + c.common - c.penalty < best.front().score)
            continue;
        const Scored s{RootScore(word, words.NgramRoots()[r].lower, root) + c.common, c.root};
        if (!full) {
            best.push_back(s);
            std::push_heap(best.begin(), best.end(), better);
        } else if (better(s, best.front())) {
            std::pop_heap(best.begin(), best.end(), better);
            best.back() = s;
            std::push_heap(best.begin(), best.end(), better);
        }
    }
    return best;
}

}  // namespace

std::vector<int> NgramSuggester::BestRoots(const std::u16string& word, bool lowerCaseWord) const
{
    const WordPrint print(word);
    // Kept per thread: a few hundred kilobytes that would otherwise be
    // mapped and unmapped for every word.
    thread_local std::vector<Candidate> candidates, order;
    const int highest = CollectCandidates(words_, word, print, lowerCaseWord && !rules_.german, candidates);
    SortByBound(candidates, highest, order);
    std::vector<Scored> best = BestScored(words_, word, print, order);
    // The engine fills its slots from the last one down in the order it
    // meets the roots, and expands them from the first slot up.
    std::sort(best.begin(), best.end(), [](const Scored& a, const Scored& b) { return a.root > b.root; });
    std::vector<int> roots(kMaxRoots, -1);
    for (std::size_t i = 0; i < best.size(); ++i)
        roots[kMaxRoots - best.size() + i] = best[i].root;
    return roots;
}

void NgramSuggester::Expand(const std::u16string& word, int rootIndex, std::vector<std::u16string>& forms) const
{
    const RootWord& root = words_.NgramRoots()[std::size_t(rootIndex)];
    struct Form {
        std::u16string text;
        bool cross;
    };
    std::vector<Form> made;
    auto add = [&](std::u16string text, bool cross) {
        if (!text.empty() && made.size() < kMaxFormsPerRoot)
            made.push_back({std::move(text), cross});
    };
    auto blocked = [&](const AffixEntry& e) {
        return HasFlag(e.continuation, rules_.needAffix) || HasFlag(e.continuation, rules_.circumfix) ||
               HasFlag(e.continuation, rules_.onlyInCompound);
    };
    if (!HasFlag(root.flags, rules_.needAffix) && !HasFlag(root.flags, rules_.onlyInCompound))
        add(root.word, false);
    for (AffixFlag flag : root.flags)
        for (const AffixEntry* sfx : rules_.SuffixesOf(flag))
            if ((sfx->append.empty() || EndsWith(word, sfx->append)) && !blocked(*sfx))
                add(sfx->Apply(root.word, rules_.fullStrip), sfx->crossProduct);
    const std::size_t suffixed = made.size();
    // The first entry is taken for the root itself, as the engine does.
    for (std::size_t j = 1; j < suffixed; ++j) {
        if (!made[j].cross)
            continue;
        for (AffixFlag flag : root.flags)
            for (const AffixEntry* pfx : rules_.PrefixesOf(flag))
                if (pfx->crossProduct && (pfx->append.empty() || StartsWith(word, pfx->append)))
                    add(pfx->Apply(made[j].text, rules_.fullStrip), true);
    }
    for (AffixFlag flag : root.flags)
        for (const AffixEntry* pfx : rules_.PrefixesOf(flag))
            if ((pfx->append.empty() || StartsWith(word, pfx->append)) && !blocked(*pfx))
                add(pfx->Apply(root.word, rules_.fullStrip), pfx->crossProduct);
    for (Form& f : made)
        forms.push_back(std::move(f.text));
}

// The affixed forms of the shortlisted roots that beat the threshold (the
// mean score of the word with every fourth letter spoilt, three ways), best
// first.
void NgramSuggester::Guesses(const std::u16string& word, const std::vector<int>& roots,
                             std::vector<std::u16string>& guesses, std::vector<int>& scores) const
{
    using namespace ngram_score;
    const int n = int(word.size());
    int threshold = 0;
    for (int start = 1; start < 4; ++start) {
        std::u16string spoilt = word;
        for (int k = start; k < n; k += 4)
            spoilt[std::size_t(k)] = u'*';
        threshold += Ngram(n, word, LowerWord(spoilt), AnyMismatch);
    }
    threshold = threshold / 3 - 1;

    Shortlist shortlist(kMaxGuesses);
    guesses.assign(kMaxGuesses, std::u16string());
    std::vector<std::u16string> forms;
    for (int root : roots) {
        if (root < 0)
            continue;
        forms.clear();
        Expand(word, root, forms);
        for (std::u16string& form : forms) {
            const int score = Ngram(n, word, LowerWord(form), AnyMismatch) + LeftCommon(word, form);
            if (score <= threshold)
                continue;
            const int slot = shortlist.Offer(score);
            if (slot >= 0)
                guesses[std::size_t(slot)] = std::move(form);
        }
    }
    scores = shortlist.scores;
    SortByScore(guesses, scores);
}

// The guesses scored again by their likeness to the word as a whole, best first.
void NgramSuggester::Rescore(const std::u16string& word, std::vector<std::u16string>& guesses,
                             std::vector<int>& scores) const
{
    using namespace ngram_score;
    const int n = int(word.size());
    const double factor = rules_.maxDiff >= 0 ? (10.0 - rules_.maxDiff) / 5.0 : 1.0;
    const std::u16string lowerWord = LowerWord(word);
    for (std::size_t i = 0; i < guesses.size(); ++i) {
        if (guesses[i].empty())
            continue;
        const std::u16string guess = LowerWord(guesses[i]);
        const int len = int(guess.size());
        const int subsequence = CommonSubsequence(word, guess);
        if (n == len && n == subsequence) {
            // The same letters in other capitals: the best there is, and the
            // guesses after it keep their first scores.
            scores[i] += 2000;
            break;
        }
        const int weighted = Ngram(2, word, guess, AnyMismatch | Weighted) +
                             Ngram(2, guess, lowerWord, AnyMismatch | Weighted);
        bool swapped = false;
        const int samePositions = CommonPositions(word, guess, &swapped);
        scores[i] = 2 * subsequence - std::abs(n - len) + LeftCommon(word, guess) + (samePositions ? 1 : 0) +
                    (swapped ? 10 : 0) + Ngram(4, word, guess, AnyMismatch) + weighted +
                    (weighted < (n + len) * factor ? -1000 : 0);
    }
    SortByScore(guesses, scores);
}

void NgramSuggester::Suggest(const std::u16string& word, bool lowerCaseWord, std::vector<std::u16string>& list,
                             std::size_t limit) const
{
    if (word.empty())
        return;
    std::vector<std::u16string> guesses;
    std::vector<int> scores;
    Guesses(word, BestRoots(word, lowerCaseWord), guesses, scores);
    Rescore(word, guesses, scores);

    // The best ones, fewer when one is excellent; none that holds an
    // earlier one, and (after the first) only words the dictionary accepts.
    const std::size_t before = list.size();
    bool onlyExcellent = false;
    for (std::size_t i = 0; i < guesses.size(); ++i) {
        if (guesses[i].empty())
            continue;
        if (list.size() >= before + std::size_t(rules_.maxNgramSuggestions) || list.size() >= limit ||
            (onlyExcellent && scores[i] <= 1000))
            continue;
        if (scores[i] > 1000) {
            onlyExcellent = true;
        } else if (scores[i] < -100) {
            onlyExcellent = true;
            if (list.size() > before || rules_.onlyMaxDiff)
                continue;
        }
        const bool unique = std::none_of(list.begin(), list.end(), [&](const std::u16string& earlier) {
            return guesses[i].find(earlier) != std::u16string::npos || !words_.Accepts(guesses[i]);
        });
        if (unique)
            list.push_back(guesses[i]);
    }
}

}  // namespace lexicrawl
