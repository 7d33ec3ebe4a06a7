#include "spelling/language_dictionaries.h"

#include "spelling/dictionary_manager.h"
#include "spelling/locale_lang_ids.h"
#include "spelling/spell_dictionary.h"

namespace lexicrawl {

QString PrimaryLanguage(const QString& language)
{
    const qsizetype dash = language.indexOf(QLatin1Char('-'));
    return dash < 0 ? language : language.left(dash);
}

SpellDictionary* LanguageDictionaries::For(const QString& language, SpellDictionary* chosen)
{
    if (language.isEmpty())
        return chosen;
    const QString primary = PrimaryLanguage(language);
    // The user's choice covers its whole language: a page marked "en-GB"
    // is checked with the chosen American dictionary all the same.
    if (chosen && LanguageCodeOf(chosen->LangID()) == primary)
        return chosen;
    // The locale asked for, else the language's first locale ("de-de" for
    // "de-ch"), else any dictionary of the language.
    const uint16_t preferred[] = {LocaleToLangID(language), LocaleToLangID(primary)};
    SpellDictionary* best = nullptr;
    int bestRank = 3;
    for (int i = 0; i < manager_.SpellDictionaryCount(); ++i) {
        SpellDictionary* d = manager_.GetSpellDictionary(i);
        if (LanguageCodeOf(d->LangID()) != primary || failedLoads_.contains(d))
            continue;
        const int rank = d->LangID() == preferred[0] ? 0 : d->LangID() == preferred[1] ? 1 : 2;
        if (rank < bestRank) {
            best = d;
            bestRank = rank;
        }
    }
    if (!best)
        return nullptr;
    if (SpellDictionary* loaded = Loaded(best))
        return loaded;
    return For(language, chosen);  // the next best, now that this one is known not to load
}

// Marked active so that the manager's next update, after a change of the
// chosen dictionary, unloads it with the rest; it is loaded again on demand.
SpellDictionary* LanguageDictionaries::Loaded(SpellDictionary* dictionary)
{
    if (dictionary->Loaded())
        return dictionary;
    dictionary->SetActive(true);
    if (dictionary->Load())
        return dictionary;
    dictionary->SetActive(false);
    failedLoads_.insert(dictionary);
    return nullptr;
}

std::vector<bool> LanguageDictionaries::Spell(SpellDictionary* dictionary, const QStringList& words)
{
    std::vector<bool> known(std::size_t(words.size()), false);
    if (!dictionary || !dictionary->Engine())
        return known;
    Cache& cache = caches_[dictionary];
    if (cache.engine != dictionary->Engine()) {
        cache.engine = dictionary->Engine();
        cache.known.clear();
    }
    for (qsizetype i = 0; i < words.size(); ++i) {
        const QString& word = words.at(i);
        auto it = cache.known.constFind(word);
        if (it == cache.known.cend())
            it = cache.known.insert(word, dictionary->Spell(word));
        known[std::size_t(i)] = *it;
    }
    return known;
}

}  // namespace lexicrawl
