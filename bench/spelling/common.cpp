#include "common.h"

#include <QDirIterator>
#include <QFile>
#include <QSet>

#include "analysis/readable_text.h"
#include "platform/text.h"
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

DictionaryFiles PackageFiles(const QString& package)
{
    DictionaryManager m;
    if (!m.ReadOXT(package) || m.SpellDictionaryCount() == 0)
        return {};
    ZipRead zip(package);
    const SpellDictionary* d = m.GetSpellDictionary(0);
    return {zip.UnZip(zip.NameToIndex(d->internalAffixPath.toUtf8())),
            zip.UnZip(zip.NameToIndex(d->internalDictPath.toUtf8()))};
}

QStringList PackageStems(const QString& package)
{
    return DictionaryStems(PackageFiles(package).words);
}

QString DefaultPackage()
{
    return QStringLiteral(LEXICRAWL_BIN_DIR "/Dictionaries/en_US.oxt");
}

QStringList SitePageWords(const QString& folder)
{
    QStringList out;
    QSet<QString> seen;
    QDirIterator it(folder, {QStringLiteral("*.html")}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile f(it.next());
        if (!f.open(QIODevice::ReadOnly))
            continue;
        const QString words = ExtractWords(ExtractReadableText(QString::fromUtf8(f.readAll())));
        for (const QString& w : SplitLines(words)) {
            if (!seen.contains(w)) {
                seen.insert(w);
                out << w;
            }
        }
    }
    return out;
}

}  // namespace lexicrawl::bench
