#include <gtest/gtest.h>

#include <QDir>

#include "spelling/dictionary_manager.h"
#include "spelling_test_support.h"

namespace lexicrawl {
namespace {

class DictionaryManagerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder = dir.filePath(QStringLiteral("Dictionaries"));
        ASSERT_TRUE(QDir().mkpath(folder));
    }
    QStringList Keys(const DictionaryManager& m) const
    {
        QStringList keys;
        for (int i = 0; i < m.SpellDictionaryCount(); ++i)
            keys << m.SpellDictionaryKey(i);
        return keys;
    }
    test::RecordingPlatform platform;
    QTemporaryDir dir;
    QString folder;
};

TEST_F(DictionaryManagerTest, ReadFolderSortsByLanguageThenId)
{
    test::WriteTinyPackage(folder, QStringLiteral("b.oxt"), "en-US");
    test::WriteTinyPackage(folder, QStringLiteral("de.OXT"), "de-DE", "de_DE");
    test::WriteTinyPackage(folder, QStringLiteral("a.oxt"), "en-US");
    test::WriteTinyPackage(folder, QStringLiteral("fr.oxt"), "fr-FR", "fr_FR");
    test::WriteFile(folder + QStringLiteral("/notes.txt"), "not a package");
    DictionaryManager m;
    ASSERT_TRUE(m.ReadFolder(folder));
    EXPECT_EQ(Keys(m), (QStringList{
                           "English (United States) a.oxt::en_US.aff::en_US.dic",
                           "English (United States) b.oxt::en_US.aff::en_US.dic",
                           "French (France) fr.oxt::fr_FR.aff::fr_FR.dic",
                           "German (Germany) de.OXT::de_DE.aff::de_DE.dic",
                       }));
    // With a trailing separator, and a second time: nothing new, still true.
    ASSERT_TRUE(m.ReadFolder(folder + QStringLiteral("/")));
    EXPECT_EQ(m.SpellDictionaryCount(), 4);
    EXPECT_NE(m.FindSpellDictionary(QStringLiteral("a.oxt::en_US.aff::en_US.dic")), nullptr);
    EXPECT_EQ(m.FindSpellDictionary(QStringLiteral("A.oxt::en_US.aff::en_US.dic")), nullptr);
    EXPECT_TRUE(platform.messages.isEmpty());
}

TEST_F(DictionaryManagerTest, FoldersWithoutPackages)
{
    DictionaryManager m;
    EXPECT_FALSE(m.ReadFolder(folder));
    EXPECT_FALSE(m.ReadFolder(dir.filePath(QStringLiteral("missing"))));
    EXPECT_FALSE(m.ReadFolder(QString()));
    EXPECT_EQ(m.SpellDictionaryCount(), 0);
}

TEST_F(DictionaryManagerTest, UpdateAndLoadFollowsTheActiveFlags)
{
    test::WriteTinyPackage(folder, QStringLiteral("a.oxt"), "en-US");
    test::WriteTinyPackage(folder, QStringLiteral("b.oxt"), "en-US");
    DictionaryManager m;
    ASSERT_TRUE(m.ReadFolder(folder));
    SpellDictionary* a = m.GetSpellDictionary(0);
    SpellDictionary* b = m.GetSpellDictionary(1);
    a->SetActive(true);
    m.UpdateAndLoadDictionaries();
    EXPECT_TRUE(a->Loaded());
    EXPECT_FALSE(b->Loaded());
    a->SetActive(false);
    b->SetActive(true);
    m.UpdateAndLoadDictionaries();
    EXPECT_FALSE(a->Loaded());
    EXPECT_TRUE(b->Loaded());
    m.UpdateAndLoadDictionaries();
    EXPECT_FALSE(a->Loaded());
    EXPECT_TRUE(b->Loaded());
    EXPECT_TRUE(b->Spell(QStringLiteral("apples")));
}

TEST_F(DictionaryManagerTest, AddrefAndRelease)
{
    test::WriteTinyPackage(folder, QStringLiteral("a.oxt"), "en-US");
    test::WriteTinyPackage(folder, QStringLiteral("b.oxt"), "en-US");
    DictionaryManager m;
    ASSERT_TRUE(m.ReadFolder(folder));
    const QString a = QStringLiteral("a.oxt::en_US.aff::en_US.dic");
    const QString b = QStringLiteral("b.oxt::en_US.aff::en_US.dic");
    m.Dictionary_Addref(a);
    m.Dictionary_Addref(a);
    m.Dictionary_Addref(QStringLiteral("unknown"));
    m.Dictionary_Release(a);
    EXPECT_NE(m.FindSpellDictionary(a), nullptr);
    m.Dictionary_Release(a);
    EXPECT_EQ(m.FindSpellDictionary(a), nullptr);
    EXPECT_EQ(m.SpellDictionaryCount(), 1);
    m.Dictionary_Release(b);  // count 0: destroyed at once
    EXPECT_EQ(m.SpellDictionaryCount(), 0);
    m.Dictionary_Release(QStringLiteral("unknown"));
}

TEST_F(DictionaryManagerTest, ClearAndRemove)
{
    test::WriteTinyPackage(folder, QStringLiteral("a.oxt"), "en-US");
    test::WriteTinyPackage(folder, QStringLiteral("b.oxt"), "de-DE");
    DictionaryManager m;
    ASSERT_TRUE(m.ReadFolder(folder));
    m.RemoveSpellDictionary(0);
    EXPECT_EQ(Keys(m), QStringList{"German (Germany) b.oxt::en_US.aff::en_US.dic"});
    m.RemoveSpellDictionary(7);
    m.ClearDictionaries();
    EXPECT_EQ(m.SpellDictionaryCount(), 0);
}

}  // namespace
}  // namespace lexicrawl
