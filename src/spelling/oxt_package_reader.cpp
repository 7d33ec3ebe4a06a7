#include "spelling/oxt_package_reader.h"

#include <memory>

#include "platform/text.h"
#include "spelling/dictionary_manager.h"
#include "spelling/locale_lang_ids.h"
#include "spelling/oxt_parser.h"
#include "spelling/zip_read.h"

namespace lexicrawl {

namespace {

enum class Kind { None, Spelling, Hyphenation, Thesaurus };

struct Description {
    QString version, identifier, displayName, publisher;
};

struct Entry {
    Kind kind = Kind::None;
    QString locations;
};

QString RemoveOrigin(QString path)
{
    path.replace(QLatin1Char('/'), QLatin1Char('\\'));
    const QString origin = QStringLiteral("%origin%\\");
    for (qsizetype at = IndexOfAZ(path, origin); at >= 0; at = IndexOfAZ(path, origin, at))
        path.remove(at, origin.size());
    return path;
}

QString ConfigurationPath(const ZipRead& zip)
{
    const int index = zip.NameToIndex("META-INF\\manifest.xml");
    if (index < 0)
        return {};
    OxtParser manifest(zip.UnZip(index));
    for (OxtNode* n = manifest.GetFirst(); n; n = manifest.GetNext(n)) {
        QString path = n->Attrib(QStringLiteral("manifest:full-path"));
        if (!path.isEmpty())
            return path.replace(QLatin1Char('/'), QLatin1Char('\\'));
    }
    return {};
}

// Reads the entry's value elements; langId carries over between entries.
Entry ReadEntry(const QList<OxtNode*>& values, uint16_t& langId)
{
    Entry e;
    for (const OxtNode* v : values) {
        const QString meaning = v->Parent() ? v->Parent()->Attrib(QStringLiteral("oor:name")).toLower() : QString();
        if (meaning == QLatin1String("locations")) {
            e.locations = v->Value();
        } else if (meaning == QLatin1String("locales")) {
            langId = LocaleToLangID(v->Value());
        } else if (meaning == QLatin1String("format")) {
            const QString format = v->Value().toUpper();
            if (format == QLatin1String("DICT_SPELL"))
                e.kind = Kind::Spelling;
            else if (format == QLatin1String("DICT_HYPH"))
                e.kind = Kind::Hyphenation;
            else if (format == QLatin1String("DICT_THES"))
                e.kind = Kind::Thesaurus;
        }
    }
    return e;
}

void Fill(CustomDictionary& d, const Description& desc, const QString& fileName, uint16_t langId)
{
    d.version = desc.version;
    d.id = desc.identifier;
    d.displayName = desc.displayName;
    d.publisher = desc.publisher;
    d.langId = langId;
    d.languageName = LangIDToLanguageName(langId);
    d.dictionaryFileName = fileName;
}

void Register(DictionaryManager& manager, const Entry& e, const Description& desc,
              const QString& fileName, uint16_t langId)
{
    if (e.kind == Kind::Spelling) {
        auto d = std::make_unique<SpellDictionary>();
        Fill(*d, desc, fileName, langId);
        const qsizetype space = e.locations.indexOf(QLatin1Char(' '));
        const QString affix = space < 0 ? QString() : e.locations.left(space);
        const QString words = e.locations.mid(space + 1, 255);
        d->internalAffixPath = RemoveOrigin(TrimCtl(affix));
        d->internalDictPath = RemoveOrigin(TrimCtl(words));
        manager.AddSpellDictionary(std::move(d));
    } else {
        auto d = std::make_unique<HyphenDictionary>();
        Fill(*d, desc, fileName, langId);
        d->internalHyphenPath = RemoveOrigin(e.locations);
        manager.AddHyphenDictionary(std::move(d));
    }
}

bool ReadConfiguration(DictionaryManager& manager, const QByteArray& source, const Description& desc,
                       const QString& fileName)
{
    bool found = false;
    uint16_t langId = 0;
    OxtParser config(source);
    OxtNode* node = config.GetFirst();
    while (node) {
        if (node->Attrib(QStringLiteral("oor:op")).toLower() != QLatin1String("fuse")) {
            node = config.GetNext(node);
            continue;
        }
        QList<OxtNode*> values;
        node->NodesByName(QStringLiteral("value"), values);
        const Entry e = ReadEntry(values, langId);
        if (!e.locations.isEmpty() && (e.kind == Kind::Spelling || e.kind == Kind::Hyphenation)) {
            Register(manager, e, desc, fileName, langId);
            found = true;
        }
        node = config.GetNext(values.isEmpty() ? node : values.last());
    }
    return found;
}

}  // namespace

void OxtPackageReader::ReadDescription(const QByteArray& source, QString& version, QString& identifier,
                                       QString& displayName, QString& publisher, bool flag)
{
    OxtParser doc(source);
    const OxtNode* root = doc.Root();
    if (const OxtNode* v = root->NodeByName(QStringLiteral("version")))
        version = v->Attrib(QStringLiteral("value"));
    if (const OxtNode* id = root->NodeByName(QStringLiteral("identifier")))
        identifier = id->Attrib(QStringLiteral("value"));
    displayName.clear();
    if (const OxtNode* dn = root->NodeByName(QStringLiteral("display-name"))) {
        QList<OxtNode*> names;
        dn->NodesByName(QStringLiteral("name"), names);
        for (qsizetype i = 0; i < names.size(); ++i) {
            const bool english = names[i]->Attrib(QStringLiteral("lang")) == QLatin1String("en");
            if (i == 0 || (flag && !english) || (!flag && english))
                displayName = names[i]->Value();
        }
    }
    publisher.clear();
    if (const OxtNode* pub = root->NodeByName(QStringLiteral("publisher"))) {
        if (const OxtNode* name = pub->NodeByName(QStringLiteral("name")))
            publisher = name->Value();
    }
}

bool OxtPackageReader::Read(DictionaryManager& manager, const QString& fileName)
{
    ZipRead zip(fileName, 0, 0, true);
    Description desc;
    const int descIndex = zip.NameToIndex("description.xml");
    if (descIndex >= 0)
        ReadDescription(zip.UnZip(descIndex), desc.version, desc.identifier, desc.displayName,
                        desc.publisher, true);
    const QString configPath = ConfigurationPath(zip);
    if (configPath.isEmpty())
        return false;
    const int configIndex = zip.NameToIndex(configPath.toUtf8());
    if (configIndex < 0)
        return false;
    return ReadConfiguration(manager, zip.UnZip(configIndex), desc, fileName);
}

}  // namespace lexicrawl
