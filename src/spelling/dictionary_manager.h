#pragma once
// The registry of every dictionary found: reads the packages of a folder,
// keeps the spell and hyphenation dictionaries in two lists sorted by
// "<language name> <internal file ID>" (locale collation, case ignored) that
// own them, and brings each dictionary's engine in line with its Active flag.
// The list position is the index of every indexed operation.
//
// Thread-safety: none; the manager is used from the main thread only.
#include <QString>

#include <memory>

#include "spelling/hyphen_dictionary.h"
#include "spelling/sorted_dictionary_list.h"
#include "spelling/spell_dictionary.h"

namespace lexicrawl {

class DictionaryManager {
public:
    DictionaryManager();
    ~DictionaryManager();
    DictionaryManager(const DictionaryManager&) = delete;
    DictionaryManager& operator=(const DictionaryManager&) = delete;

    // Reads every "*.oxt" of the folder; true when any package yielded a
    // dictionary entry.
    bool ReadFolder(const QString& folderName);
    // Reads one package and registers its new dictionaries.
    bool ReadOXT(const QString& fileName);

    SpellDictionary* FindSpellDictionary(const QString& internalId) const;
    HyphenDictionary* FindHyphenDictionary(const QString& internalId) const;
    void Dictionary_Addref(const QString& internalId);
    void Dictionary_Release(const QString& internalId);
    void ClearDictionaries();
    void RemoveSpellDictionary(int index);
    void RemoveHyphenDictionary(int index);
    // Loads every active dictionary that is not loaded and unloads every
    // loaded one that is not active.
    void UpdateAndLoadDictionaries();

    SpellDictionary* GetSpellDictionary(int index) const { return spell_.At(index); }
    HyphenDictionary* GetHyphenDictionary(int index) const { return hyphen_.At(index); }
    int SpellDictionaryCount() const { return spell_.Count(); }
    int HyphenDictionaryCount() const { return hyphen_.Count(); }
    QString SpellDictionaryKey(int index) const { return spell_.KeyAt(index); }

    // Registers d unless a dictionary with its internal file ID is already
    // there (then d is dropped). Used by the package reader.
    void AddSpellDictionary(std::unique_ptr<SpellDictionary> d);
    void AddHyphenDictionary(std::unique_ptr<HyphenDictionary> d);

private:
    SortedDictionaryList<SpellDictionary> spell_;
    SortedDictionaryList<HyphenDictionary> hyphen_;
};

// The process-wide manager; lives until the program exits.
DictionaryManager& GlobalDictionaryManager();

}  // namespace lexicrawl
