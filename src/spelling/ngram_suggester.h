#pragma once
// Suggestions for a word too far from every dictionary word for a single
// slip: the roots that share the most letters, pairs and triples with it,
// their affixed forms that fit its beginning and end, ranked by a weighted
// similarity (longest common subsequence, common start, n-grams). The
// scores and their ties are those the spelling engine's own n-gram search
// gives, so the two agree on the best suggestion; a bound from each root's
// fingerprints skips the roots that cannot enter the shortlist, which makes
// the search a few hundred times faster than scoring every root.
//
// Thread-safety: const; any number of threads may search at once.
#include <string>
#include <vector>

namespace lexicrawl {

class AffixRules;
class DictionaryWords;

// Scores of two words as the n-gram search computes them.
namespace ngram_score {
enum Options { LongerWorse = 1, AnyMismatch = 2, Weighted = 8 };
int Ngram(int n, const std::u16string& s1, const std::u16string& s2, int options);
int LeftCommon(const std::u16string& word, const std::u16string& other);
int CommonSubsequence(const std::u16string& a, const std::u16string& b);
}  // namespace ngram_score

class NgramSuggester {
public:
    NgramSuggester(const AffixRules& rules, const DictionaryWords& words) : rules_(rules), words_(words) {}

    // Appends suggestions for word (as the engine compares it: lower case
    // unless its capitals are kept) to list, up to limit entries in all.
    // lowerCaseWord says that capitalised roots are not offered.
    void Suggest(const std::u16string& word, bool lowerCaseWord, std::vector<std::u16string>& list,
                 std::size_t limit) const;

private:
    std::vector<int> BestRoots(const std::u16string& word, bool lowerCaseWord) const;
    void Expand(const std::u16string& word, int root, std::vector<std::u16string>& forms) const;

    const AffixRules& rules_;
    const DictionaryWords& words_;
};

}  // namespace lexicrawl
