#include "spelling/oxt_package_reader.h"

#include <QDir>

#include <algorithm>
#include <memory>
#include <vector>

#include "platform/text.h"
#include "platform/user_message.h"
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

// A package one of whose documents is too large to read is left out whole,
// and the user told which.
void RefusePackage(const QString& fileName, const QString& member)
{
    ReportMessage(UserMessage{QString(),
                              QStringLiteral("The dictionary package %1 was not loaded: its %2 holds more than %3 "
                                             "elements or nests them deeper than %4 levels.")
                                  .arg(QDir::toNativeSeparators(fileName), member,
                                       QString::number(OxtParser::kMaxNodes), QString::number(OxtParser::kMaxDepth)),
                              MessageIcon::Error});
}

// *exceeded is set when the manifest is too large to read.
QString ConfigurationPath(const ZipRead& zip, bool* exceeded)
{
    const int index = zip.NameToIndex("META-INF\\manifest.xml");
    if (index < 0)
        return {};
    OxtParser manifest(zip.UnZip(index));
    *exceeded = manifest.Exceeded();
    if (*exceeded)
        return {};
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

// The elements of a document in document order, with where each one's
// subtree ends (the position after its last descendant).
struct DocumentOrder {
    std::vector<OxtNode*> nodes;
    std::vector<std::size_t> subtreeEnd;
};

DocumentOrder InDocumentOrder(const OxtParser& doc)
{
    DocumentOrder order;
    std::vector<std::size_t> open;  // positions whose subtree has not ended yet
    for (OxtNode* n = doc.GetFirst(); n; n = doc.GetNext(n)) {
        const std::size_t position = order.nodes.size();
        while (!open.empty() && order.nodes[open.back()]->Level() >= n->Level()) {
            order.subtreeEnd[open.back()] = position;
            open.pop_back();
        }
        order.nodes.push_back(n);
        order.subtreeEnd.push_back(0);
        open.push_back(position);
    }
    for (const std::size_t position : open)
        order.subtreeEnd[position] = order.nodes.size();
    return order;
}

// Each fuse element is an entry made of the value elements below it; the
// walk goes on after its last value (so an entry nested in another, before
// that value, is part of the outer one). One pass over the document: the
// values below an element are found by position, never by walking its
// subtree again.
bool ReadConfiguration(DictionaryManager& manager, const OxtParser& config, const Description& desc,
                       const QString& fileName)
{
    const DocumentOrder order = InDocumentOrder(config);
    std::vector<std::size_t> valuePositions;
    for (std::size_t p = 0; p < order.nodes.size(); ++p)
        if (order.nodes[p]->Name() == QLatin1String("value"))
            valuePositions.push_back(p);
    bool found = false;
    uint16_t langId = 0;
    std::size_t p = 0;
    while (p < order.nodes.size()) {
        if (order.nodes[p]->Attrib(QStringLiteral("oor:op")).toLower() != QLatin1String("fuse")) {
            ++p;
            continue;
        }
        const auto first = std::upper_bound(valuePositions.begin(), valuePositions.end(), p);
        const auto last = std::lower_bound(first, valuePositions.end(), order.subtreeEnd[p]);
        QList<OxtNode*> values;
        for (auto v = first; v != last; ++v)
            values.append(order.nodes[*v]);
        const Entry e = ReadEntry(values, langId);
        if (!e.locations.isEmpty() && (e.kind == Kind::Spelling || e.kind == Kind::Hyphenation)) {
            Register(manager, e, desc, fileName, langId);
            found = true;
        }
        p = first == last ? p + 1 : *(last - 1) + 1;
    }
    return found;
}

}  // namespace

void OxtPackageReader::ReadDescription(const QByteArray& source, QString& version, QString& identifier,
                                       QString& displayName, QString& publisher, bool flag)
{
    const OxtParser doc(source);
    ReadDescription(doc, version, identifier, displayName, publisher, flag);
}

void OxtPackageReader::ReadDescription(const OxtParser& doc, QString& version, QString& identifier,
                                       QString& displayName, QString& publisher, bool flag)
{
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
    if (descIndex >= 0) {
        const OxtParser description(zip.UnZip(descIndex));
        if (description.Exceeded()) {
            RefusePackage(fileName, QStringLiteral("description.xml"));
            return false;
        }
        ReadDescription(description, desc.version, desc.identifier, desc.displayName, desc.publisher, true);
    }
    bool exceeded = false;
    const QString configPath = ConfigurationPath(zip, &exceeded);
    if (exceeded)
        RefusePackage(fileName, QStringLiteral("META-INF/manifest.xml"));
    if (configPath.isEmpty())
        return false;
    const int configIndex = zip.NameToIndex(configPath.toUtf8());
    if (configIndex < 0)
        return false;
    const OxtParser config(zip.UnZip(configIndex));
    if (config.Exceeded()) {
        RefusePackage(fileName, QString(configPath).replace(QLatin1Char('\\'), QLatin1Char('/')));
        return false;
    }
    return ReadConfiguration(manager, config, desc, fileName);
}

}  // namespace lexicrawl
