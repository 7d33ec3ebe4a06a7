#include "spelling/dictionary_manager.h"

#include <QDir>
#include <QFileInfo>

#include "spelling/oxt_package_reader.h"

namespace lexicrawl {

namespace {

QString KeyOf(const CustomDictionary& d)
{
    return d.LanguageName() + QLatin1Char(' ') + d.GetInternalFileID();
}

template <class List>
int IndexOfId(const List& list, const QString& id)
{
    for (int i = 0; i < list.Count(); ++i) {
        if (list.At(i)->GetInternalFileID() == id)
            return i;
    }
    return -1;
}

template <class List>
void SyncEngines(const List& list)
{
    for (int i = 0; i < list.Count(); ++i) {
        auto* d = list.At(i);
        if (d->Active() && !d->Loaded())
            d->Load();
        else if (!d->Active() && d->Loaded())
            d->Unload();
    }
}

}  // namespace

DictionaryManager::DictionaryManager() = default;

DictionaryManager::~DictionaryManager()
{
    ClearDictionaries();
}

bool DictionaryManager::ReadFolder(const QString& folderName)
{
    QString folder = folderName;
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    const QDir dir(folder);
    if (folderName.isEmpty() || !dir.exists())
        return false;
    bool any = false;
    const QStringList names = dir.entryList({QStringLiteral("*.oxt")},
                                            QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    for (const QString& name : names) {
        if (ReadOXT(folder + name))
            any = true;
    }
    return any;
}

bool DictionaryManager::ReadOXT(const QString& fileName)
{
    return OxtPackageReader::Read(*this, fileName);
}

SpellDictionary* DictionaryManager::FindSpellDictionary(const QString& internalId) const
{
    return spell_.At(IndexOfId(spell_, internalId));
}

HyphenDictionary* DictionaryManager::FindHyphenDictionary(const QString& internalId) const
{
    return hyphen_.At(IndexOfId(hyphen_, internalId));
}

void DictionaryManager::AddSpellDictionary(std::unique_ptr<SpellDictionary> d)
{
    if (FindSpellDictionary(d->GetInternalFileID()))
        return;
    const QString key = KeyOf(*d);
    spell_.Insert(key, std::move(d));
}

void DictionaryManager::AddHyphenDictionary(std::unique_ptr<HyphenDictionary> d)
{
    if (FindHyphenDictionary(d->GetInternalFileID()))
        return;
    const QString key = KeyOf(*d);
    hyphen_.Insert(key, std::move(d));
}

void DictionaryManager::Dictionary_Addref(const QString& internalId)
{
    if (SpellDictionary* s = FindSpellDictionary(internalId))
        ++s->refCount;
    else if (HyphenDictionary* h = FindHyphenDictionary(internalId))
        ++h->refCount;
}

void DictionaryManager::Dictionary_Release(const QString& internalId)
{
    const int s = IndexOfId(spell_, internalId);
    if (s >= 0) {
        if (--spell_.At(s)->refCount < 1)
            RemoveSpellDictionary(s);
        return;
    }
    const int h = IndexOfId(hyphen_, internalId);
    if (h >= 0 && --hyphen_.At(h)->refCount < 1)
        RemoveHyphenDictionary(h);
}

void DictionaryManager::ClearDictionaries()
{
    spell_.DestroyAll();
    hyphen_.DestroyAll();
}

void DictionaryManager::RemoveSpellDictionary(int index)
{
    spell_.RemoveAt(index);
}

void DictionaryManager::RemoveHyphenDictionary(int index)
{
    hyphen_.RemoveAt(index);
}

void DictionaryManager::UpdateAndLoadDictionaries()
{
    SyncEngines(spell_);
    SyncEngines(hyphen_);
}

DictionaryManager& GlobalDictionaryManager()
{
    static DictionaryManager manager;
    return manager;
}

}  // namespace lexicrawl
