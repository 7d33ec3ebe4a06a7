#include "spelling/dictionary_choice.h"

#include "spelling/dictionary_manager.h"
#include "spelling/word_verdict.h"

namespace lexicrawl {

DictionaryChoice::DictionaryChoice(DictionaryManager& manager, SaveLanguage saveLanguage)
    : manager_(manager), saveLanguage_(std::move(saveLanguage))
{
}

void DictionaryChoice::LoadAtStartup(const QStringList& dictionariesFolders, const QString& savedLanguage)
{
    for (const QString& folder : dictionariesFolders)
        manager_.ReadFolder(folder);
    UpdateDicts();
    for (int i = 0; i < items_.size(); ++i) {
        if (items_[i].startsWith(savedLanguage, Qt::CaseSensitive)) {
            Select(i);
            return;
        }
    }
    if (!items_.isEmpty())
        Select(0);
}

void DictionaryChoice::UpdateDicts()
{
    items_.clear();
    selected_ = -1;
    for (int i = 0; i < manager_.SpellDictionaryCount(); ++i)
        items_ << manager_.GetSpellDictionary(i)->LanguageName();
}

void DictionaryChoice::Select(int index)
{
    if (index < 0 || index >= items_.size())
        return;
    selected_ = index;
    for (int i = 0; i < manager_.SpellDictionaryCount(); ++i)
        manager_.GetSpellDictionary(i)->SetActive(i == index);
    manager_.UpdateAndLoadDictionaries();
    if (saveLanguage_)
        saveLanguage_(items_[index]);
}

SpellDictionary* DictionaryChoice::SelectedDictionary() const
{
    return selected_ < 0 ? nullptr : manager_.GetSpellDictionary(selected_);
}

bool DictionaryChoice::SpellCheckWord(const QString& word) const
{
    return lexicrawl::SpellCheckWord(SelectedDictionary(), word);
}

}  // namespace lexicrawl
