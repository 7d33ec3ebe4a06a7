#pragma once
// The choice of the one spell dictionary every word is checked against,
// without the window: after start-up it reads the dictionaries folder, lists
// the spell dictionaries by language name in the manager's order, selects the
// remembered one (or the first), activates and loads it, and hands the chosen
// item's text to the caller to remember ("DictionaryLanguage").
//
// Thread-safety: none; everything runs on the main thread, so a change of
// dictionary never overlaps a word check.
#include <QString>
#include <QStringList>

#include <functional>

namespace lexicrawl {

class DictionaryManager;
class SpellDictionary;

inline const QString kDefaultDictionaryLanguage = QStringLiteral("English (United States)");

class DictionaryChoice {
public:
    // Called with the selected item's text after every choice; the caller
    // writes it to the settings file at once.
    using SaveLanguage = std::function<void(const QString& itemText)>;

    DictionaryChoice(DictionaryManager& manager, SaveLanguage saveLanguage);

    // The start-up load: reads the folder, refills the items and selects the
    // first item whose text begins with savedLanguage (case counts; an empty
    // text matches the first item), else the first item.
    // Several folders are read in order; of two packages with the same
    // name the first read is kept.
    void LoadAtStartup(const QStringList& dictionariesFolders, const QString& savedLanguage);
    void LoadAtStartup(const QString& dictionariesFolder, const QString& savedLanguage)
    {
        LoadAtStartup(QStringList{dictionariesFolder}, savedLanguage);
    }
    // Refills the items from the manager's spell dictionaries.
    void UpdateDicts();
    // The user picked an item: activate it alone, load it, unload the others
    // and save the choice. Ignored for an index outside the items.
    void Select(int index);

    const QStringList& Items() const { return items_; }
    int ItemIndex() const { return selected_; }
    // The dictionary of the selected item; null when nothing is selected.
    SpellDictionary* SelectedDictionary() const;
    // The word verdict against the selected dictionary (unknown when none).
    bool SpellCheckWord(const QString& word) const;

private:
    DictionaryManager& manager_;
    SaveLanguage saveLanguage_;
    QStringList items_;
    int selected_ = -1;
};

}  // namespace lexicrawl
