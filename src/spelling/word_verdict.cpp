#include "spelling/word_verdict.h"

#include <QStringList>

#include "platform/text.h"
#include "spelling/hunspell_engine.h"
#include "spelling/spell_dictionary.h"

namespace lexicrawl {

namespace {

// Longer words go the plain way: near the engine's length limits, casing
// that changes a character's UTF-8 length could change the answer.
constexpr qsizetype kMaxShortcutLength = 48;

bool HasUpperAZ(const QString& word)
{
    for (QChar c : word) {
        if (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
            return true;
    }
    return false;
}

// The engine checks a word with a hyphen or another break piece by piece,
// and capitals of such words follow rules of their own ("Europe-wide's" is
// accepted, "EUROPE-WIDE'S" is not): only letters, digits and apostrophes
// take the shortcut.
bool OnlyLettersDigitsApostrophes(const QString& word)
{
    for (QChar c : word) {
        if (!c.isLetterOrNumber() && c != QLatin1Char('\''))
            return false;
    }
    return true;
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

// Why Suggest may be skipped. A suggestion s makes word known only when
// LowerAZ(s) == word, so:
//  1. When word holds a capital A-Z, no LowerAZ(s) can equal it: unknown.
//  2. Otherwise s is word with some of its a-z letters in capitals. Every
//     suggestion the engine makes is a spelling it accepts (it tests each
//     candidate before offering it), and for dictionaries without KEEPCASE,
//     CHECKSHARPS, FORBIDDENWORD, OCONV or Turkic casing, a spelling it
//     accepts stays accepted in capitals, except affixed forms of roots
//     written in capitals or mixed case ("COBOLs" is accepted, "COBOLS" is
//     not). All such s share one all-capitals form, word.toUpper(); when the
//     engine rejects that form and MixedCaseRootIndex shows that no root in
//     capitals or mixed case can give s, no s can exist: unknown, without
//     asking for suggestions.
//     Words with other characters than letters, digits and apostrophes
//     are left to Suggest: the engine breaks them into pieces.
//  3. When it accepts it, the word is known without Suggest only when
//     CapitalSuggestionCheck can show that the capitalised form is offered
//     (see its header); otherwise only Suggest can tell.
// The differential test compares this with the plain verdict over the whole
// shipped English word list and generated misspellings.
bool SpellCheckWordFast(SpellDictionary& dictionary, const QString& word)
{
    HunspellEngine* engine = dictionary.Engine();
    if (!engine)
        return false;
    if (engine->Spell(word))
        return true;
    if (HasUpperAZ(word))
        return false;
    if (engine->UpperCaseKeepsAcceptance() && word.size() <= kMaxShortcutLength
        && OnlyLettersDigitsApostrophes(word)) {
        const QString upper = word.toUpper();
        if (upper.size() == word.size() && !engine->Spell(upper) && !engine->MayBeMixedCaseForm(word))
            return false;
        if (engine->SuggestsCapitalised(word))
            return true;
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
