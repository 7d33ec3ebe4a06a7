#pragma once
// Suggestions for a word too far from every dictionary word for a single
// slip: the roots that share the most letters, pairs and triples with it,
// their affixed forms that fit its beginning and end, ranked by a weighted
// similarity (longest common subsequence, common start, n-grams). The
// scores are those of the spelling engine's own n-gram search, so the two
// mostly agree on the best suggestion (ties may fall otherwise: the engine
// breaks them by the history of its shortlist, which is taken here as the
// table order). Bounds from each root's fingerprints skip the roots that
// cannot enter the shortlist, so few roots are scored in full.
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
    void Guesses(const std::u16string& word, const std::vector<int>& roots, std::vector<std::u16string>& guesses,
                 std::vector<int>& scores) const;
    void Rescore(const std::u16string& word, std::vector<std::u16string>& guesses, std::vector<int>& scores) const;
    void Expand(const std::u16string& word, int root, std::vector<std::u16string>& forms) const;

    const AffixRules& rules_;
    const DictionaryWords& words_;
};

}  // namespace lexicrawl
