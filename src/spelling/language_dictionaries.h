#pragma once
// The dictionaries that check prose by the language it declares: text with
// no declared language, or in the chosen dictionary's language, goes to the
// chosen dictionary; text in another language to a dictionary of the folder
// for that language (the one whose locale matches best), loaded the first
// time it is needed. A language that no dictionary reads has none, and its
// text is not checked. The prose check takes each word as written, the way
// an editor's spell checker does ("Paris" known, "paris" not, a capital at
// the start of a sentence fine), with the answers kept per loaded engine.
//
// Thread-safety: none; use it on the thread that owns the dictionaries.
#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

#include <vector>

namespace lexicrawl {

class DictionaryManager;
class HunspellEngine;
class SpellDictionary;

class LanguageDictionaries {
public:
    explicit LanguageDictionaries(DictionaryManager& manager) : manager_(manager) {}

    // The dictionary for text in language (a lang value, lower case, "-"
    // between its parts; empty when none is declared). Null when no
    // dictionary reads the language, or when none is chosen and the text
    // declares no language.
    SpellDictionary* For(const QString& language, SpellDictionary* chosen);

    // Each word as written against the dictionary; a null dictionary, or one
    // that is not loaded, knows no word.
    std::vector<bool> Spell(SpellDictionary* dictionary, const QStringList& words);

private:
    SpellDictionary* Loaded(SpellDictionary* dictionary);

    struct Cache {
        HunspellEngine* engine = nullptr;
        QHash<QString, bool> known;
    };

    DictionaryManager& manager_;
    QHash<SpellDictionary*, Cache> caches_;
    QSet<SpellDictionary*> failedLoads_;
};

// The primary language of a lang value ("de" for "de-at").
QString PrimaryLanguage(const QString& language);

}  // namespace lexicrawl
