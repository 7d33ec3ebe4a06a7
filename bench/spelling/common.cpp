#include "common.h"

#include "spelling/zip_read.h"
#include "word_corpus.h"

namespace lexicrawl::bench {

LoadedDictionary LoadPackage(const QString& package)
{
    LoadedDictionary out;
    out.manager = std::make_unique<DictionaryManager>();
    if (!out.manager->ReadOXT(package) || out.manager->SpellDictionaryCount() == 0)
        return out;
    SpellDictionary* d = out.manager->GetSpellDictionary(0);
    d->SetActive(true);
    out.manager->UpdateAndLoadDictionaries();
    if (d->Loaded())
        out.dictionary = d;
    return out;
}

QStringList PackageStems(const QString& package)
{
    DictionaryManager m;
    if (!m.ReadOXT(package) || m.SpellDictionaryCount() == 0)
        return {};
    ZipRead zip(package);
    return DictionaryStems(zip.UnZip(zip.NameToIndex(m.GetSpellDictionary(0)->internalDictPath.toUtf8())));
}

QString DefaultPackage()
{
    return QStringLiteral(LEXICRAWL_BIN_DIR "/Dictionaries/en_US.oxt");
}

}  // namespace lexicrawl::bench
