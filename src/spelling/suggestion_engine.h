#pragma once
// Spelling suggestions for unknown words, fast enough to give every unknown
// word of a crawl its suggestions in less time than the crawl took. Built
// from a dictionary's affix and word-list bytes, it proposes what the
// spelling engine proposes, in the same order: first the spellings a
// single slip explains (the affix file's replacement table, related
// characters, swapped, missing, extra, moved or mistyped letters, two words
// run together), each tested against the set of every form of the word
// list; then, when none fits, the most similar dictionary forms. Compound
// words are not formed. Suggestions never decide whether a word is known.
//
// Thread-safety: immutable after Build; Suggest may run on several threads
// at once.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <memory>
#include <string>
#include <vector>

namespace lexicrawl {

class AffixRules;
class DictionaryWords;
class NgramSuggester;

class SuggestionEngine {
public:
    // Null when either block is empty.
    static std::unique_ptr<SuggestionEngine> Build(const QByteArray& affix, const QByteArray& words);
    ~SuggestionEngine();
    SuggestionEngine(const SuggestionEngine&) = delete;
    SuggestionEngine& operator=(const SuggestionEngine&) = delete;

    // Up to limit suggestions for the word, best first.
    QStringList Suggest(const QString& word, int limit = 5) const;
    // The same for many words, shared out over threads; in the order given.
    std::vector<QStringList> SuggestAll(const QStringList& words, int limit = 5, int threads = 0) const;

    // Whether the form is a word the dictionary may suggest.
    bool Accepts(QStringView form) const;

private:
    SuggestionEngine();
    bool NearMisses(const std::u16string& word, std::vector<std::u16string>& list) const;
    void Suggest(const std::u16string& word, std::vector<std::u16string>& list) const;

    std::unique_ptr<AffixRules> rules_;
    std::unique_ptr<DictionaryWords> words_;
    std::unique_ptr<NgramSuggester> ngram_;
};

}  // namespace lexicrawl
