#include <gtest/gtest.h>

#include <QFile>

#include <future>

#include "spelling/hyphen_dictionary.h"
#include "spelling/spell_dictionary.h"
#include "spelling_test_support.h"

namespace lexicrawl {
namespace {

QByteArray Fixture(const char* name)
{
    return test::ReadFile(QStringLiteral(LEXICRAWL_TEST_DATA "/spelling/") + QLatin1String(name));
}

QStringList FixtureLines(const char* name)
{
    return QString::fromUtf8(Fixture(name)).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

class SpellDictionaryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        package = test::WriteFile(dir.filePath(QStringLiteral("tiny.oxt")),
                                  test::ZipBuilder()
                                      .Add("dict/tiny.aff", Fixture("tiny.aff"))
                                      .Add("dict/tiny.dic", Fixture("tiny.dic"))
                                      .Add("latin1.aff", Fixture("latin1.aff"), 0)
                                      .Add("latin1.dic", Fixture("latin1.dic"))
                                      .Add("hyph_tiny.dic", Fixture("hyph_tiny.dic"))
                                      .Build());
    }
    std::unique_ptr<SpellDictionary> Make(const QString& affix, const QString& words)
    {
        auto d = std::make_unique<SpellDictionary>();
        d->dictionaryFileName = package;
        d->internalAffixPath = affix;
        d->internalDictPath = words;
        return d;
    }
    test::RecordingPlatform platform;
    QTemporaryDir dir;
    QString package;
};

TEST_F(SpellDictionaryTest, GoodAndWrongWordLists)
{
    auto d = Make(QStringLiteral("dict\\tiny.aff"), QStringLiteral("DICT\\TINY.DIC"));
    ASSERT_TRUE(d->Load());
    EXPECT_TRUE(d->Loaded());
    for (const QString& w : FixtureLines("tiny.good"))
        EXPECT_TRUE(d->Spell(w)) << w.toStdString();
    for (const QString& w : FixtureLines("tiny.wrong"))
        EXPECT_FALSE(d->Spell(w)) << w.toStdString();
    EXPECT_TRUE(platform.messages.isEmpty());
}

TEST_F(SpellDictionaryTest, SuggestAppendsToTheCallersList)
{
    auto d = Make(QStringLiteral("dict\\tiny.aff"), QStringLiteral("dict\\tiny.dic"));
    QStringList list{QStringLiteral("kept")};
    d->Suggest(QStringLiteral("aple"), list);  // not loaded: nothing
    EXPECT_EQ(list, QStringList{QStringLiteral("kept")});
    EXPECT_FALSE(d->Spell(QStringLiteral("apple")));
    ASSERT_TRUE(d->Load());
    d->Suggest(QStringLiteral("aple"), list);
    ASSERT_GE(list.size(), 2);
    EXPECT_EQ(list[0], QStringLiteral("kept"));
    EXPECT_TRUE(list.contains(QStringLiteral("apple")));
    list = {QStringLiteral("kept")};
    d->Suggest(QStringLiteral("zzzzzzzzzzzzzzzzzzzzzzzzzzzzz"), list);
    EXPECT_EQ(list, QStringList{QStringLiteral("kept")});
    QStringList paris;
    d->Suggest(QStringLiteral("paris"), paris);
    EXPECT_TRUE(paris.contains(QStringLiteral("Paris")));
}

TEST_F(SpellDictionaryTest, LoadUnloadAndMissingMembers)
{
    auto missing = Make(QStringLiteral("none.aff"), QStringLiteral("dict\\tiny.dic"));
    EXPECT_FALSE(missing->Load());
    EXPECT_FALSE(missing->Loaded());
    auto noWords = Make(QStringLiteral("dict\\tiny.aff"), QString());
    EXPECT_FALSE(noWords->Load());
    EXPECT_TRUE(platform.messages.isEmpty());

    auto d = Make(QStringLiteral("dict\\tiny.aff"), QStringLiteral("dict\\tiny.dic"));
    d->SetActive(true);
    ASSERT_TRUE(d->Load());
    // Loaded: the package is not read again.
    ASSERT_TRUE(QFile::remove(package));
    EXPECT_TRUE(d->Load());
    EXPECT_TRUE(d->Spell(QStringLiteral("apple")));
    d->Unload();
    EXPECT_FALSE(d->Active());
    EXPECT_FALSE(d->Loaded());
    d->Unload();
    EXPECT_FALSE(d->Spell(QStringLiteral("apple")));
    EXPECT_FALSE(d->Load());  // the package is gone: silently not loaded
    EXPECT_TRUE(platform.messages.isEmpty());
}

TEST_F(SpellDictionaryTest, AddedWordsLiveOnlyInTheLoadedEngine)
{
    auto d = Make(QStringLiteral("dict\\tiny.aff"), QStringLiteral("dict\\tiny.dic"));
    EXPECT_FALSE(d->Add(QStringLiteral("zorp")));
    ASSERT_TRUE(d->Load());
    EXPECT_FALSE(d->Spell(QStringLiteral("zorp")));
    EXPECT_TRUE(d->Add(QStringLiteral("zorp")));
    EXPECT_TRUE(d->Spell(QStringLiteral("zorp")));
    EXPECT_TRUE(d->AddWithAffix(QStringLiteral("grape"), QStringLiteral("apple")));
    EXPECT_TRUE(d->Spell(QStringLiteral("grapes")));
    d->Unload();
    ASSERT_TRUE(d->Load());
    EXPECT_FALSE(d->Spell(QStringLiteral("zorp")));
}

// An engine made ahead of time on another thread is the dictionary's own
// engine once taken: it answers as one the dictionary made, and the package
// is not read again. One made for another dictionary is not taken.
TEST_F(SpellDictionaryTest, PreparedEngineIsTakenOnlyByItsDictionary)
{
    auto d = Make(QStringLiteral("dict\\tiny.aff"), QStringLiteral("dict\\tiny.dic"));
    SpellDictionary::PreparedEngine prepared =
        std::async(std::launch::async, [source = d->Source()] { return SpellDictionary::PrepareEngine(source); })
            .get();
    ASSERT_TRUE(prepared.engine);
    auto latin = Make(QStringLiteral("latin1.aff"), QStringLiteral("latin1.dic"));
    SpellDictionary::PreparedEngine other = SpellDictionary::PrepareEngine(latin->Source());
    auto second = Make(QStringLiteral("dict\\tiny.aff"), QStringLiteral("dict\\tiny.dic"));
    ASSERT_TRUE(second->LoadForSpelling(std::move(other)));  // reads its own files
    EXPECT_TRUE(second->Spell(QStringLiteral("apple")));
    EXPECT_FALSE(second->Spell(QStringLiteral("na\u00EFve")));  // a word of the other one

    ASSERT_TRUE(QFile::remove(package));
    ASSERT_TRUE(d->LoadForSpelling(std::move(prepared)));
    for (const QString& w : FixtureLines("tiny.good"))
        EXPECT_TRUE(d->Spell(w)) << w.toStdString();
    for (const QString& w : FixtureLines("tiny.wrong"))
        EXPECT_FALSE(d->Spell(w)) << w.toStdString();
    EXPECT_FALSE(d->AffixData().isEmpty());
    // Nothing to prepare from once the package is gone: the load fails as a plain one does.
    auto third = Make(QStringLiteral("dict\\tiny.aff"), QStringLiteral("dict\\tiny.dic"));
    SpellDictionary::PreparedEngine none = SpellDictionary::PrepareEngine(third->Source());
    EXPECT_FALSE(none.engine);
    EXPECT_FALSE(third->LoadForSpelling(std::move(none)));
    EXPECT_FALSE(third->Loaded());
}

TEST_F(SpellDictionaryTest, EightBitDictionaryConvertsWords)
{
    auto d = Make(QStringLiteral("latin1.aff"), QStringLiteral("latin1.dic"));
    ASSERT_TRUE(d->Load());
    EXPECT_TRUE(d->Spell(QStringLiteral("caf\u00E9")));
    EXPECT_TRUE(d->Spell(QStringLiteral("na\u00EFve")));
    EXPECT_FALSE(d->Spell(QStringLiteral("cafe")));
    EXPECT_FALSE(d->Spell(QStringLiteral("caf\u0113")));  // not in Latin-1 at all
    QStringList list;
    d->Suggest(QStringLiteral("caf"), list);
    EXPECT_TRUE(list.contains(QStringLiteral("caf\u00E9")));
}

TEST_F(SpellDictionaryTest, InternalFileIdLeavesTheFolderOut)
{
    SpellDictionary d;
    d.dictionaryFileName = QStringLiteral("C:\\x\\en_US.oxt");
    d.internalAffixPath = QStringLiteral("en_US.aff");
    d.internalDictPath = QStringLiteral("en_US.dic");
    EXPECT_EQ(d.GetInternalFileID(), QStringLiteral("en_US.oxt::en_US.aff::en_US.dic"));
    d.dictionaryFileName = QStringLiteral("/opt/lexicrawl/Dictionaries/en_US.oxt");
    EXPECT_EQ(d.GetInternalFileID(), QStringLiteral("en_US.oxt::en_US.aff::en_US.dic"));
}

TEST_F(SpellDictionaryTest, HyphenationOnlyWhenActive)
{
    HyphenDictionary h;
    h.dictionaryFileName = package;
    h.internalHyphenPath = QStringLiteral("hyph_tiny.dic");
    EXPECT_EQ(h.GetInternalFileID(), QStringLiteral("tiny.oxt::hyph_tiny.dic"));
    EXPECT_EQ(h.Hyphenate(QStringLiteral("elephant")), QStringLiteral("elephant"));
    EXPECT_EQ(h.HyphenateResult(QStringLiteral("elephant")), nullptr);
    ASSERT_TRUE(h.Load());
    EXPECT_EQ(h.Hyphenate(QStringLiteral("elephant")), QStringLiteral("elephant"));  // inactive
    h.SetActive(true);
    EXPECT_EQ(h.Hyphenate(QStringLiteral("elephant")), QStringLiteral("ele=pha=nt"));
    const HyphenResult* r = h.HyphenateResult(QStringLiteral("elephant"));
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->hyphenationPoints.size(), 8u);
    h.Unload();
    EXPECT_EQ(h.Hyphenate(QStringLiteral("elephant")), QStringLiteral("elephant"));
}

}  // namespace
}  // namespace lexicrawl
