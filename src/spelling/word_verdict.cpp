#include "spelling/word_verdict.h"

#include <QStringList>

#include <algorithm>
#include <atomic>
#include <optional>
#include <thread>

#include "platform/text.h"
#include "spelling/hunspell_engine.h"
#include "spelling/spell_dictionary.h"
#include "spelling/suggestion_proof.h"

namespace lexicrawl {

namespace {

std::atomic<int> g_suggestThreads{std::thread::hardware_concurrency() > 1 ? 2 : 1};

bool HasUpperAZ(const QString& word)
{
    for (QChar c : word) {
        if (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
            return true;
    }
    return false;
}

bool SuggestsSameWord(HunspellEngine& engine, const QString& word)
{
    for (const QString& s : engine.Suggest(word)) {
        if (LowerAZ(s) == word)
            return true;
    }
    return false;
}

// The verdict when it can be had without suggestions: Spell, capitals, or
// the proof; nullopt leaves the word to Suggest.
std::optional<bool> VerdictWithoutSuggest(HunspellEngine& engine, SuggestionProof* proof, const QString& word)
{
    if (engine.Spell(word))
        return true;
    if (HasUpperAZ(word))
        return false;
    if (proof) {
        switch (proof->Decide(word, engine)) {
        case SuggestionProof::Verdict::Known:
            return true;
        case SuggestionProof::Verdict::Unknown:
            return false;
        case SuggestionProof::Verdict::Undecided:
            break;
        }
    }
    return std::nullopt;
}

// Below this many words a second thread costs more than it saves.
constexpr size_t kSharedFrom = 24;
// The helper is made once this many words went to Suggest: before, the
// three engines it costs would take longer to make than it would save (an
// English crawl of a thousand pages may never need it).
constexpr qsizetype kHelperAfterSuggested = 4;

// Decides the words at the given indices without suggestions, sharing them
// between the dictionary's engine and proof on this thread and the helper's
// on another when the helper is made already; each word's verdict is the
// same on either. Words left to Suggest go to todo, in order.
void DecideInParallel(SpellDictionary& dictionary, const QStringList& words, const std::vector<qsizetype>& fresh,
                      std::vector<bool>& known, std::vector<qsizetype>& todo)
{
    std::vector<signed char> verdicts(fresh.size(), -1);
    std::atomic<size_t> next{0};
    auto work = [&](HunspellEngine& engine, SuggestionProof* proof) {
        for (size_t i = next++; i < fresh.size(); i = next++) {
            if (const std::optional<bool> v = VerdictWithoutSuggest(engine, proof, words[fresh[i]]))
                verdicts[i] = *v ? 1 : 0;
        }
    };
    SuggestionProof* proof = dictionary.Proof();
    const SpellDictionary::Helper* helper =
        fresh.size() >= kSharedFrom && SuggestThreads() > 1 ? dictionary.MadeHelper() : nullptr;
    std::thread second;
    if (helper && (helper->proof || !proof))
        second = std::thread([&] { work(*helper->engine, helper->proof.get()); });
    work(*dictionary.Engine(), proof);
    if (second.joinable())
        second.join();
    for (size_t i = 0; i < fresh.size(); ++i) {
        if (verdicts[i] < 0)
            todo.push_back(fresh[i]);
        else
            known[size_t(fresh[i])] = verdicts[i] == 1;
    }
}

// Runs Suggest for the words at the given indices, sharing them between the
// dictionary's engine on this thread and the helper's engine on another
// (waited for: one Suggest takes longer than making it); each word's verdict
// is the same on either (the engine clock makes it so).
void SuggestInParallel(SpellDictionary& dictionary, const QStringList& words, const std::vector<qsizetype>& todo,
                       std::vector<bool>& known)
{
    std::atomic<size_t> next{0};
    auto work = [&](HunspellEngine* engine) {
        for (size_t i = next++; engine && i < todo.size(); i = next++)
            known[size_t(todo[i])] = SuggestsSameWord(*engine, words[todo[i]]);
    };
    dictionary.suggestedWords += qsizetype(todo.size());
    const bool useHelper = SuggestThreads() > 1 && dictionary.suggestedWords >= kHelperAfterSuggested;
    std::thread helper;
    if (useHelper && todo.size() > 1)
        helper = std::thread([&] { work(dictionary.HelperEngine()); });
    else if (useHelper)
        dictionary.ReadyHelper();  // starts it, for the next pages
    work(dictionary.Engine());
    if (helper.joinable())
        helper.join();
}

}  // namespace

bool SpellCheckWordPlain(SpellDictionary& dictionary, const QString& word)
{
    if (dictionary.Spell(word))
        return true;
    QStringList suggestions;
    dictionary.Suggest(word, suggestions);
    return std::any_of(suggestions.cbegin(), suggestions.cend(), [&](const QString& s) { return LowerAZ(s) == word; });
}

// A suggestion s makes word known only when LowerAZ(s) == word, so a word
// with a capital A-Z is unknown once Spell rejects it; for a lower-case word
// SuggestionProof decides without the suggestions where it can.
bool SpellCheckWordFast(SpellDictionary& dictionary, const QString& word)
{
    HunspellEngine* engine = dictionary.Engine();
    if (!engine)
        return false;
    if (dictionary.TouchesAddedWord(word))
        return SpellCheckWordPlain(dictionary, word);
    if (const std::optional<bool> v = VerdictWithoutSuggest(*engine, dictionary.Proof(), word))
        return *v;
    return SuggestsSameWord(*engine, word);
}

bool SpellCheckWord(SpellDictionary* dictionary, const QString& word)
{
    return SpellCheckWords(dictionary, QStringList{word}).front();
}

std::vector<bool> SpellCheckWords(SpellDictionary* dictionary, const QStringList& words)
{
    std::vector<bool> known(size_t(words.size()), false);
    if (!dictionary || !dictionary->Engine())
        return known;
    const std::vector<std::optional<bool>> kept = dictionary->Verdicts().Find(words);
    QStringList fresh;
    std::vector<qsizetype> freshAt, todo;
    const bool added = dictionary->HasAddedWords();
    for (qsizetype i = 0; i < words.size(); ++i) {
        if (kept[size_t(i)]) {
            known[size_t(i)] = *kept[size_t(i)];
        } else if (added && dictionary->TouchesAddedWord(words[i])) {
            // Only the engine knows the added words: the plain verdict.
            auto& touching = dictionary->TouchingVerdicts();
            auto it = touching.find(QStringView(words[i]));
            if (it == touching.end())
                it = touching.emplace(words[i], SpellCheckWordPlain(*dictionary, words[i])).first;
            known[size_t(i)] = it->second;
        } else {
            fresh << words[i];
            freshAt.push_back(i);
        }
    }
    DecideInParallel(*dictionary, words, freshAt, known, todo);
    SuggestInParallel(*dictionary, words, todo, known);
    std::vector<bool> freshKnown;
    for (qsizetype i : freshAt)
        freshKnown.push_back(known[size_t(i)]);
    dictionary->Verdicts().Insert(fresh, freshKnown);
    return known;
}

void SetSuggestThreads(int threads)
{
    g_suggestThreads = std::clamp(threads, 1, 2);
}

int SuggestThreads()
{
    return g_suggestThreads;
}

}  // namespace lexicrawl
