#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "spelling/dictionary_choice.h"
#include "spelling/dictionary_manager.h"
#include "spelling_test_support.h"

namespace lexicrawl {
namespace {

class DictionaryChoiceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder = dir.filePath(QStringLiteral("Dictionaries"));
        ASSERT_TRUE(QDir().mkpath(folder));
    }
    DictionaryChoice MakeChoice()
    {
        return DictionaryChoice(manager, [this](const QString& text) { saved << text; });
    }
    test::RecordingPlatform platform;
    QTemporaryDir dir;
    QString folder;
    DictionaryManager manager;
    QStringList saved;
};

TEST_F(DictionaryChoiceTest, RemembersAndSelectsByPrefix)
{
    struct Case { QString savedText; int expected; };
    const Case cases[] = {
        {kDefaultDictionaryLanguage, 0},
        {QStringLiteral("German"), 1},
        {QStringLiteral("english (united states)"), 0},
        {QString(), 0},
        {QStringLiteral("Klingon"), 0},
    };
    test::WriteTinyPackage(folder, QStringLiteral("de.oxt"), "de-DE");
    test::WriteTinyPackage(folder, QStringLiteral("en.oxt"), "en-US");
    for (const Case& c : cases) {
        DictionaryManager m;
        QStringList written;
        DictionaryChoice choice(m, [&](const QString& text) { written << text; });
        choice.LoadAtStartup(folder, c.savedText);
        EXPECT_EQ(choice.Items(), (QStringList{"English (United States)", "German (Germany)"}));
        EXPECT_EQ(choice.ItemIndex(), c.expected) << c.savedText.toStdString();
        EXPECT_EQ(written, QStringList{choice.Items()[c.expected]});
        ASSERT_NE(choice.SelectedDictionary(), nullptr);
        EXPECT_TRUE(choice.SelectedDictionary()->Loaded());
        EXPECT_TRUE(choice.SelectedDictionary()->Active());
        EXPECT_FALSE(m.GetSpellDictionary(1 - c.expected)->Active());
    }
}

TEST_F(DictionaryChoiceTest, PickingAnotherItemSwapsTheLoadedDictionary)
{
    test::WriteTinyPackage(folder, QStringLiteral("a.oxt"), "en-US");
    test::WriteTinyPackage(folder, QStringLiteral("b.oxt"), "en-US");
    DictionaryChoice choice = MakeChoice();
    choice.LoadAtStartup(folder, kDefaultDictionaryLanguage);
    ASSERT_EQ(choice.Items().size(), 2);
    EXPECT_EQ(choice.Items()[0], choice.Items()[1]);
    EXPECT_EQ(choice.ItemIndex(), 0);  // the first of two equal names
    SpellDictionary* a = manager.GetSpellDictionary(0);
    SpellDictionary* b = manager.GetSpellDictionary(1);
    EXPECT_TRUE(a->Loaded());
    choice.Select(1);
    EXPECT_FALSE(a->Loaded());
    EXPECT_TRUE(b->Loaded());
    EXPECT_TRUE(choice.SpellCheckWord(QStringLiteral("apples")));
    choice.Select(0);
    EXPECT_TRUE(a->Loaded());
    EXPECT_FALSE(b->Loaded());
    choice.Select(5);
    EXPECT_EQ(choice.ItemIndex(), 0);
    EXPECT_EQ(saved.size(), 3);
}

TEST_F(DictionaryChoiceTest, EmptyFolderSelectsNothingAndSavesNothing)
{
    DictionaryChoice choice = MakeChoice();
    choice.LoadAtStartup(folder, kDefaultDictionaryLanguage);
    EXPECT_TRUE(choice.Items().isEmpty());
    EXPECT_EQ(choice.ItemIndex(), -1);
    EXPECT_EQ(choice.SelectedDictionary(), nullptr);
    EXPECT_FALSE(choice.SpellCheckWord(QStringLiteral("apple")));
    EXPECT_TRUE(saved.isEmpty());
    choice.LoadAtStartup(dir.filePath(QStringLiteral("missing")), QString());
    EXPECT_TRUE(saved.isEmpty());
}

TEST_F(DictionaryChoiceTest, DictionaryThatFailsToLoadKnowsNoWord)
{
    const QString path = test::WriteTinyPackage(folder, QStringLiteral("a.oxt"), "en-US");
    ASSERT_TRUE(manager.ReadFolder(folder));
    ASSERT_TRUE(QFile::remove(path));
    DictionaryChoice choice = MakeChoice();
    choice.UpdateDicts();
    choice.Select(0);
    EXPECT_TRUE(manager.GetSpellDictionary(0)->Active());
    EXPECT_FALSE(manager.GetSpellDictionary(0)->Loaded());
    EXPECT_FALSE(choice.SpellCheckWord(QStringLiteral("apple")));
    EXPECT_EQ(saved, QStringList{"English (United States)"});
}

// The user's folder is read before the shipped one: a package of theirs with
// a shipped package's name takes its place, the others are listed together.
TEST_F(DictionaryChoiceTest, UsersFolderComesFirstAndOverridesShippedPackagesOfTheSameName)
{
    const QString user = dir.filePath(QStringLiteral("user"));
    ASSERT_TRUE(QDir().mkpath(user));
    const QString own = test::WriteTinyPackage(user, QStringLiteral("en_US.oxt"), "de-DE");
    test::WriteTinyPackage(folder, QStringLiteral("en_US.oxt"), "en-US");
    test::WriteTinyPackage(folder, QStringLiteral("fr_FR.oxt"), "fr-FR", "fr_FR");
    DictionaryChoice choice = MakeChoice();
    choice.LoadAtStartup(QStringList{user, dir.filePath(QStringLiteral("missing")), folder}, QStringLiteral("German"));
    EXPECT_EQ(choice.Items(), (QStringList{"French (France)", "German (Germany)"}));
    ASSERT_NE(choice.SelectedDictionary(), nullptr);
    EXPECT_EQ(choice.SelectedDictionary()->dictionaryFileName, own);
    EXPECT_TRUE(choice.SpellCheckWord(QStringLiteral("apple")));
}

}  // namespace
}  // namespace lexicrawl
