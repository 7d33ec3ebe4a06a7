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
            if (s2.find(s1.data() + i, 0, std::size_t(j)) != std::u16string::npos) {
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

std::vector<int> NgramSuggester::BestRoots(const std::u16string& word, bool lowerCaseWord) const
{
    using namespace ngram_score;
    const int n = int(word.size());
    std::vector<std::uint64_t> letters(word.size()), pairs, triples;
    for (std::size_t i = 0; i < word.size(); ++i) {
        letters[i] = LetterBit(word[i]);
        if (i + 1 < word.size())
            pairs.push_back(PairBit(word[i], word[i + 1]));
        if (i + 2 < word.size())
            triples.push_back(TripleBit(word[i], word[i + 1], word[i + 2]));
    }
    Shortlist shortlist(kMaxRoots);
    std::vector<int> roots(kMaxRoots, -1);
    const std::vector<RootWord>& all = words_.NgramRoots();
    for (std::size_t r = 0; r < all.size(); ++r) {
        const RootWord& root = all[r];
        const int length = int(root.word.size());
        if (std::abs(n - length) > 4 || (lowerCaseWord && root.initialCapital && !rules_.german))
            continue;
        // A bound on the score from the fingerprints: a hashed bit may be
        // shared by other characters, never missing for a present one.
        int bound = 0;
        for (std::uint64_t bit : letters)
            bound += (root.letters & bit) != 0;
        if (bound >= 2) {
            int pairBound = 0;
            for (std::uint64_t bit : pairs)
                pairBound += (root.pairs & bit) != 0;
            bound += pairBound;
            if (pairBound >= 2)
                for (std::uint64_t bit : triples)
                    bound += (root.triples & bit) != 0;
        }
        const int common = LeftCommon(word, root.word);
        if (bound - std::max(length - n - 2, 0) + common <= shortlist.Low())
            continue;
        const int score = Ngram(3, word, root.lower, LongerWorse) + common;
        const int slot = shortlist.Offer(score);
        if (slot >= 0)
            roots[std::size_t(slot)] = int(r);
    }
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

void NgramSuggester::Suggest(const std::u16string& word, bool lowerCaseWord, std::vector<std::u16string>& list,
                             std::size_t limit) const
{
    using namespace ngram_score;
    const int n = int(word.size());
    if (n == 0)
        return;
    const std::vector<int> roots = BestRoots(word, lowerCaseWord);

    // The score of the word with every fourth letter spoilt, three ways: a
    // guess must beat their mean.
    int threshold = 0;
    for (int start = 1; start < 4; ++start) {
        std::u16string spoilt = word;
        for (int k = start; k < n; k += 4)
            spoilt[std::size_t(k)] = u'*';
        threshold += Ngram(n, word, LowerWord(spoilt), AnyMismatch);
    }
    threshold = threshold / 3 - 1;

    Shortlist shortlist(kMaxGuesses);
    std::vector<std::u16string> guesses(kMaxGuesses);
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
    std::vector<int> scores = shortlist.scores;
    SortByScore(guesses, scores);

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
        bool unique = true;
        for (const std::u16string& earlier : list) {
            if (guesses[i].find(earlier) != std::u16string::npos || !words_.Accepts(guesses[i])) {
                unique = false;
                break;
            }
        }
        if (unique)
            list.push_back(guesses[i]);
    }
}

}  // namespace lexicrawl
