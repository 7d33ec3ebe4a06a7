#include <gtest/gtest.h>

#include <QDir>

#include "spelling/dictionary_manager.h"
#include "spelling/locale_lang_ids.h"
#include "spelling/oxt_package_reader.h"
#include "spelling/oxt_parser.h"
#include "support/process_memory.h"
#include "spelling_test_support.h"

namespace lexicrawl {
namespace {

using test::Manifest;
using test::Xcu;
using test::XcuEntry;
using test::ZipBuilder;

class OxtPackageReaderTest : public ::testing::Test {
protected:
    QString Package(const QByteArray& xcu, const QByteArray& manifestPath = "dictionaries.xcu",
                    const QByteArray& xcuName = "dictionaries.xcu")
    {
        return test::WriteFile(dir.filePath(QStringLiteral("en_US.oxt")),
                               ZipBuilder()
                                   .Add("description.xml", test::Description("<name lang=\"en\">English</name>"))
                                   .Add("META-INF/manifest.xml", Manifest(manifestPath))
                                   .Add(xcuName, xcu)
                                   .Build());
    }
    test::RecordingPlatform platform;
    QTemporaryDir dir;
    DictionaryManager manager;
};

TEST_F(OxtPackageReaderTest, SpellingAndHyphenationEntriesAreRegistered)
{
    const QString path = Package(Xcu({
        XcuEntry("DICT_SPELL", "%origin%/en_US.aff %origin%/en_US.dic", "en-US"),
        XcuEntry("DICT_HYPH", "%origin%/hyph_en_US.dic", "en-US"),
    }));
    ASSERT_TRUE(manager.ReadOXT(path));
    ASSERT_EQ(manager.SpellDictionaryCount(), 1);
    ASSERT_EQ(manager.HyphenDictionaryCount(), 1);
    SpellDictionary* d = manager.GetSpellDictionary(0);
    EXPECT_EQ(d->internalAffixPath, QStringLiteral("en_US.aff"));
    EXPECT_EQ(d->internalDictPath, QStringLiteral("en_US.dic"));
    EXPECT_EQ(d->LangID(), 0x0409);
    EXPECT_EQ(d->LanguageName(), QStringLiteral("English (United States)"));
    EXPECT_EQ(d->DictionaryFileName(), path);
    EXPECT_EQ(d->Version(), QStringLiteral("2.1"));
    EXPECT_EQ(d->ID(), QStringLiteral("org.example.dict"));
    EXPECT_EQ(d->DisplayName(), QStringLiteral("English"));
    EXPECT_EQ(d->Publisher(), QStringLiteral("Pub"));
    EXPECT_FALSE(d->Active());
    EXPECT_FALSE(d->Loaded());
    EXPECT_EQ(manager.SpellDictionaryKey(0), QStringLiteral("English (United States) en_US.oxt::en_US.aff::en_US.dic"));
    EXPECT_EQ(manager.GetHyphenDictionary(0)->internalHyphenPath, QStringLiteral("hyph_en_US.dic"));

    EXPECT_TRUE(manager.ReadOXT(path));  // again: nothing new, still true
    EXPECT_EQ(manager.SpellDictionaryCount(), 1);
    EXPECT_EQ(manager.HyphenDictionaryCount(), 1);
    EXPECT_TRUE(platform.messages.isEmpty());
}

TEST_F(OxtPackageReaderTest, LocationForms)
{
    struct Case { QByteArray locations; QString affix; QString words; };
    const Case cases[] = {
        {"%origin%/dicts/en_US.aff %origin%/dicts/en_US.dic", "dicts\\en_US.aff", "dicts\\en_US.dic"},
        {"%ORIGIN%/a.aff\t%Origin%/b.dic", "a.aff", "b.dic"},  // the reader turns the tab into a space
        {"%origin%/only.dic", "", "only.dic"},
        {"  %origin%/x.aff   %origin%/y.dic  ", "", "x.aff   y.dic"},
    };
    for (const Case& c : cases) {
        DictionaryManager m;
        ASSERT_TRUE(m.ReadOXT(Package(Xcu({XcuEntry("DICT_SPELL", c.locations, "en-US")})))) << c.locations.constData();
        ASSERT_EQ(m.SpellDictionaryCount(), 1);
        SpellDictionary* d = m.GetSpellDictionary(0);
        EXPECT_EQ(d->internalAffixPath, c.affix) << c.locations.constData();
        EXPECT_EQ(d->internalDictPath, c.words) << c.locations.constData();
    }
}

TEST_F(OxtPackageReaderTest, EntriesThatYieldNothing)
{
    struct Case { const char* what; QByteArray xcu; QByteArray manifest; };
    const Case cases[] = {
        {"thesaurus only", Xcu({XcuEntry("DICT_THES", "%origin%/th.dat %origin%/th.idx", "en-US")}), "dictionaries.xcu"},
        {"no locations", Xcu({XcuEntry("DICT_SPELL", QByteArray(), "en-US")}), "dictionaries.xcu"},
        {"unknown format", Xcu({XcuEntry("DICT_GRAMMAR", "%origin%/g.aff %origin%/g.dic", "en-US")}), "dictionaries.xcu"},
        {"no fuse", "<node oor:name=\"x\" oor:op=\"replace\"><prop oor:name=\"Locations\"><value>a b</value></prop>"
                    "<prop oor:name=\"Format\"><value>DICT_SPELL</value></prop></node>", "dictionaries.xcu"},
        {"manifest names the description", Xcu({XcuEntry("DICT_SPELL", "a.aff a.dic", "en-US")}), "description.xml"},
        {"manifest names a missing member", Xcu({XcuEntry("DICT_SPELL", "a.aff a.dic", "en-US")}), "missing.xcu"},
        {"manifest without path", Xcu({XcuEntry("DICT_SPELL", "a.aff a.dic", "en-US")}), ""},
    };
    for (const Case& c : cases) {
        DictionaryManager m;
        EXPECT_FALSE(m.ReadOXT(Package(c.xcu, c.manifest))) << c.what;
        EXPECT_EQ(m.SpellDictionaryCount() + m.HyphenDictionaryCount(), 0) << c.what;
    }
    EXPECT_TRUE(platform.messages.isEmpty());
}

TEST_F(OxtPackageReaderTest, ConfigurationInAFolderStillNamesPathsFromTheRoot)
{
    const QString path = Package(Xcu({XcuEntry("dict_spell", "%origin%/dicts/en_US.aff %origin%/dicts/en_US.dic", "en-US")}),
                                 "config/dictionaries.xcu", "config/dictionaries.xcu");
    ASSERT_TRUE(manager.ReadOXT(path));
    EXPECT_EQ(manager.GetSpellDictionary(0)->internalAffixPath, QStringLiteral("dicts\\en_US.aff"));
}

TEST_F(OxtPackageReaderTest, LocaleCarriesOverToTheNextEntry)
{
    const QString path = Package(Xcu({
        XcuEntry("DICT_SPELL", "de.aff de.dic", "de-AT"),
        XcuEntry("DICT_SPELL", "x.aff x.dic", QByteArray()),
        XcuEntry("DICT_SPELL", "g.aff g.dic", "ga-IE"),
    }));
    ASSERT_TRUE(manager.ReadOXT(path));
    ASSERT_EQ(manager.SpellDictionaryCount(), 3);
    QStringList keys;
    for (int i = 0; i < manager.SpellDictionaryCount(); ++i)
        keys << manager.SpellDictionaryKey(i);
    EXPECT_EQ(keys, (QStringList{
                        "English (United States) en_US.oxt::g.aff::g.dic",
                        "German (Austria) en_US.oxt::de.aff::de.dic",
                        "German (Austria) en_US.oxt::x.aff::x.dic",
                    }));
}

TEST_F(OxtPackageReaderTest, MissingOrBrokenPackages)
{
    EXPECT_FALSE(manager.ReadOXT(dir.filePath(QStringLiteral("none.oxt"))));
    EXPECT_TRUE(platform.messages.isEmpty());
    EXPECT_FALSE(manager.ReadOXT(test::WriteFile(dir.filePath(QStringLiteral("t.oxt")), "not a zip")));
    EXPECT_EQ(platform.Texts(), QStringList{QStringLiteral("No ZIP found")});
    platform.messages.clear();
    const QString noManifest = test::WriteFile(dir.filePath(QStringLiteral("m.oxt")),
                                               ZipBuilder().Add("dictionaries.xcu", Xcu({XcuEntry("DICT_SPELL", "a b", "en-US")})).Build());
    EXPECT_FALSE(manager.ReadOXT(noManifest));
    EXPECT_TRUE(platform.messages.isEmpty());
}

// Packages made to cost memory or time: each is left out with a message that
// names it and the document, while a good package beside them loads; the
// process's memory stays near what the members themselves take.
TEST_F(OxtPackageReaderTest, OversizedDocumentsRefuseTheirPackageAlone)
{
    const QByteArray goodXcu = Xcu({XcuEntry("DICT_SPELL", "%origin%/en_US.aff %origin%/en_US.dic", "en-US")});
    const QByteArray goodDescription = test::Description("<name lang=\"en\">English</name>");
    const struct {
        const char* file;
        const char* member;  // the document named in the message
        QByteArray description, manifest, xcu;
    } cases[] = {
        {"flat-manifest.oxt", "META-INF/manifest.xml", goodDescription,
         Manifest("dictionaries.xcu") + QByteArray("<a/>").repeated(OxtParser::kMaxNodes + 1), goodXcu},
        {"nested-manifest.oxt", "META-INF/manifest.xml", goodDescription,
         QByteArray("<>").repeated(4 * 1024 * 1024), goodXcu},
        {"deep-description.oxt", "description.xml", QByteArray("<!-- note -->").repeated(OxtParser::kMaxDepth + 1),
         Manifest("dictionaries.xcu"), goodXcu},
        {"nested-fuse.oxt", "dictionaries.xcu", goodDescription, Manifest("dictionaries.xcu"),
         QByteArray("<node oor:op=\"fuse\">").repeated(20000) + goodXcu},
    };
    for (const auto& c : cases)
        test::WriteFile(dir.filePath(QString::fromUtf8(c.file)), ZipBuilder()
                                                                      .Add("description.xml", c.description)
                                                                      .Add("META-INF/manifest.xml", c.manifest)
                                                                      .Add("dictionaries.xcu", c.xcu)
                                                                      .Build());
    Package(goodXcu);  // en_US.oxt
    lexicrawl::testing::ResetPeak();
    const long before = lexicrawl::testing::ResidentKb("VmRSS:") / 1024;
    EXPECT_TRUE(manager.ReadFolder(dir.path()));
    EXPECT_LT(lexicrawl::testing::PeakMiB() - before, 200);
    ASSERT_EQ(manager.SpellDictionaryCount(), 1) << manager.GetSpellDictionary(1)->DictionaryFileName().toStdString()
                                                 << platform.Texts().join(u'\n').toStdString();
    EXPECT_TRUE(manager.GetSpellDictionary(0)->DictionaryFileName().endsWith(QStringLiteral("/en_US.oxt")));
    QStringList expected;
    for (const auto& c : cases)
        expected << QStringLiteral("The dictionary package %1 was not loaded: its %2 holds more than 100000 elements "
                                   "or nests them deeper than 1000 levels.")
                        .arg(QDir::toNativeSeparators(dir.filePath(QString::fromUtf8(c.file))), QString::fromUtf8(c.member));
    QStringList texts = platform.Texts();
    texts.sort();
    expected.sort();
    EXPECT_EQ(texts, expected);
}

// Entries read in one walk still take their values as before: an entry
// nested in another before its last value belongs to the outer one, fuse
// elements without values change nothing, and the locale carries over.
TEST_F(OxtPackageReaderTest, NestedEntriesKeepTheirMeaning)
{
    const QByteArray inner = XcuEntry("DICT_SPELL", "inner.aff inner.dic", "de-AT");
    const QByteArray outerOpen = "<node oor:name=\"o\" oor:op=\"fuse\"><prop oor:name=\"Format\"><value>DICT_SPELL</value></prop>";
    const struct {
        const char* what;
        QByteArray xcu;
        QStringList keys;
    } cases[] = {
        {"inner entry before the outer's last value",
         outerOpen + inner + "<prop oor:name=\"Locations\"><value>outer.aff outer.dic</value></prop></node>",
         {"German (Austria) en_US.oxt::outer.aff::outer.dic"}},
        {"fuse elements without values around an entry",
         QByteArray("<a oor:op=\"fuse\">").repeated(500) + inner + QByteArray("</a>").repeated(500) +
             QByteArray("<b oor:op=\"fuse\"/>").repeated(500) + XcuEntry("DICT_SPELL", "g.aff g.dic", QByteArray()),
         {"German (Austria) en_US.oxt::g.aff::g.dic", "German (Austria) en_US.oxt::inner.aff::inner.dic"}},
    };
    for (const auto& c : cases) {
        DictionaryManager m;
        ASSERT_TRUE(m.ReadOXT(Package(c.xcu))) << c.what;
        QStringList keys;
        for (int i = 0; i < m.SpellDictionaryCount(); ++i)
            keys << m.SpellDictionaryKey(i);
        EXPECT_EQ(keys, c.keys) << c.what;
    }
    EXPECT_TRUE(platform.messages.isEmpty());
}

TEST(ReadDescriptionTest, DisplayNamePrefersTheLastNonEnglishName)
{
    struct Case { QByteArray names; bool flag; QString expected; };
    const Case cases[] = {
        {"<name lang=\"en\">A</name><name lang=\"de\">B</name>", true, "B"},
        {"<name lang=\"de\">B</name><name lang=\"en\">A</name>", true, "B"},
        {"<name lang=\"en\">A</name><name lang=\"en\">C</name>", true, "A"},
        {"<name lang=\"de\">B</name><name lang=\"fr\">F</name>", true, "F"},
        {"<name lang=\"de\">B</name><name lang=\"en\">A</name>", false, "A"},
        {"<name lang=\"en-US\">U</name><name lang=\"en\">A</name>", true, "U"},
        {"", true, ""},
    };
    for (const Case& c : cases) {
        QString version = "old", id = "old", name = "old", publisher = "old";
        OxtPackageReader::ReadDescription(test::Description(c.names, "P &amp; Q"), version, id, name, publisher, c.flag);
        EXPECT_EQ(name, c.expected) << c.names.constData();
        EXPECT_EQ(version, QStringLiteral("2.1"));
        EXPECT_EQ(publisher, QStringLiteral("P & Q"));
    }
    QString version = "keep", id = "keep", name = "x", publisher = "x";
    OxtPackageReader::ReadDescription("<description/>", version, id, name, publisher, true);
    EXPECT_EQ(version, QStringLiteral("keep"));
    EXPECT_EQ(id, QStringLiteral("keep"));
    EXPECT_EQ(name, QString());
    EXPECT_EQ(publisher, QString());
}

TEST(LocaleToLangIDTest, TableOrderAndFallbacks)
{
    struct Case { const char* locale; uint16_t id; };
    const Case cases[] = {
        {"en-US", 0x0409}, {"EN-gb", 0x0809}, {"en-uk", 0x0809}, {"de-AT", 0x0C07},
        {"es-ES", 0x040A}, {"es", 0x040A}, {"sv-SE", 0x041D}, {"fr-BE fr-CA", 0x040C},
        {"ga-IE", 0x0409}, {"no-NO", 0x0814}, {"nb-NO", 0x0409}, {"sr", 0x041A},
        {"hr-HR", 0x041A}, {"zh", 0x0404}, {"pt-BR", 0x0416}, {"pt", 0x0816},
        {"", 0x0409}, {"e", 0x0409}, {"vi-VN", 0x042A},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LocaleToLangID(QString::fromLatin1(c.locale)), c.id) << c.locale;
}

}  // namespace
}  // namespace lexicrawl
