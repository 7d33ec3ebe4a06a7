#include "spelling/word_verdict.h"

#include <QStringList>

#include "platform/text.h"
#include "spelling/hunspell_engine.h"
#include "spelling/spell_dictionary.h"
#include "spelling/suggestion_proof.h"

namespace lexicrawl {

namespace {

bool HasUpperAZ(const QString& word)
{
    for (QChar c : word) {
        if (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
            return true;
    }
    return false;
}

bool SuggestsSameWord(SpellDictionary& dictionary, const QString& word)
{
    QStringList suggestions;
    dictionary.Suggest(word, suggestions);
    for (const QString& s : suggestions) {
        if (LowerAZ(s) == word)
            return true;
    }
    return false;
}

}  // namespace

bool SpellCheckWordPlain(SpellDictionary& dictionary, const QString& word)
{
    return dictionary.Spell(word) || SuggestsSameWord(dictionary, word);
}

// A suggestion s makes word known only when LowerAZ(s) == word, so a word
// with a capital A-Z is unknown once Spell rejects it; for a lower-case word
// SuggestionProof decides without the suggestions where it can.
bool SpellCheckWordFast(SpellDictionary& dictionary, const QString& word)
{
    HunspellEngine* engine = dictionary.Engine();
    if (!engine)
        return false;
    if (engine->Spell(word))
        return true;
    if (HasUpperAZ(word))
        return false;
    if (SuggestionProof* proof = dictionary.Proof()) {
        switch (proof->Decide(word, *engine)) {
        case SuggestionProof::Verdict::Known:
            return true;
        case SuggestionProof::Verdict::Unknown:
            return false;
        case SuggestionProof::Verdict::Undecided:
            break;
        }
    }
    return SuggestsSameWord(dictionary, word);
}

bool SpellCheckWord(SpellDictionary* dictionary, const QString& word)
{
    if (!dictionary || !dictionary->Engine())
        return false;
    auto& verdicts = dictionary->Verdicts();
    const auto it = verdicts.constFind(word);
    if (it != verdicts.constEnd())
        return it.value();
    const bool known = SpellCheckWordFast(*dictionary, word);
    verdicts.insert(word, known);
    return known;
}

std::vector<bool> SpellCheckWords(SpellDictionary* dictionary, const QStringList& words)
{
    std::vector<bool> known;
    known.reserve(size_t(words.size()));
    for (const QString& word : words)
        known.push_back(SpellCheckWord(dictionary, word));
    return known;
}

}  // namespace lexicrawl
