#include <gtest/gtest.h>

#include <QDir>

#include "spelling/dictionary_choice.h"
#include "spelling/dictionary_manager.h"
#include "spelling/language_dictionaries.h"
#include "spelling/locale_lang_ids.h"
#include "spelling_test_support.h"

namespace lexicrawl {
namespace {

class LanguageDictionariesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder = dir.filePath(QStringLiteral("Dictionaries"));
        ASSERT_TRUE(QDir().mkpath(folder));
        test::WriteTinyPackage(folder, QStringLiteral("us.oxt"), "en-US");
        test::WriteTinyPackage(folder, QStringLiteral("gb.oxt"), "en-GB");
        test::WriteTinyPackage(folder, QStringLiteral("at.oxt"), "de-AT");
        test::WriteTinyPackage(folder, QStringLiteral("de.oxt"), "de-DE");
        // A French package whose word list is missing: it cannot be loaded.
        const QByteArray zip =
            test::ZipBuilder()
                .Add("description.xml", test::Description("<name lang=\"en\">Broken</name>"))
                .Add("META-INF/manifest.xml", test::Manifest("dictionaries.xcu"))
                .Add("dictionaries.xcu", test::Xcu({test::XcuEntry("DICT_SPELL", "%origin%/fr.aff %origin%/fr.dic",
                                                                    "fr-FR")}))
                .Add("fr.aff", "SET UTF-8\n")
                .Build();
        test::WriteFile(folder + QStringLiteral("/fr.oxt"), zip);
        choice.LoadAtStartup(folder, QStringLiteral("English (United States)"));
        ASSERT_NE(choice.SelectedDictionary(), nullptr);
    }
    SpellDictionary* ByLangId(uint16_t id)
    {
        for (int i = 0; i < manager.SpellDictionaryCount(); ++i)
            if (manager.GetSpellDictionary(i)->LangID() == id)
                return manager.GetSpellDictionary(i);
        return nullptr;
    }

    test::RecordingPlatform platform;
    QTemporaryDir dir;
    QString folder;
    DictionaryManager manager;
    DictionaryChoice choice{manager, DictionaryChoice::SaveLanguage()};
    LanguageDictionaries languages{manager};
};

TEST(LanguageCodes, ComeFromTheLanguageIdentifier)
{
    EXPECT_EQ(LanguageCodeOf(0x0409), QStringLiteral("en"));
    EXPECT_EQ(LanguageCodeOf(0x0809), QStringLiteral("en"));
    EXPECT_EQ(LanguageCodeOf(0x0C07), QStringLiteral("de"));
    EXPECT_EQ(LanguageCodeOf(0x0000), QString());
    EXPECT_EQ(PrimaryLanguage(QStringLiteral("de-at")), QStringLiteral("de"));
    EXPECT_EQ(PrimaryLanguage(QStringLiteral("la")), QStringLiteral("la"));
}

TEST_F(LanguageDictionariesTest, TextGoesToTheDictionaryOfItsLanguage)
{
    SpellDictionary* chosen = choice.SelectedDictionary();
    SpellDictionary* german = ByLangId(0x0407);
    SpellDictionary* austrian = ByLangId(0x0C07);
    ASSERT_TRUE(german && austrian);
    EXPECT_FALSE(german->Loaded());
    struct Case {
        const char* language;
        SpellDictionary* expected;
    } cases[] = {
        {"", chosen},
        {"en", chosen},
        {"en-gb", chosen},  // the chosen dictionary covers its whole language
        {"de", german},     // the best match of the locale table, then the first of the language
        {"de-at", austrian},
        {"de-ch", german},
        {"la", nullptr},
        {"fr", nullptr},  // its only dictionary cannot be loaded
    };
    for (const Case& c : cases)
        EXPECT_EQ(languages.For(QString::fromLatin1(c.language), chosen), c.expected) << c.language;
    EXPECT_TRUE(german->Loaded() && austrian->Loaded());
    EXPECT_EQ(languages.For(QString(), nullptr), nullptr);
}

TEST_F(LanguageDictionariesTest, ADictionaryUnloadedByAnotherChoiceIsLoadedAgain)
{
    SpellDictionary* german = languages.For(QStringLiteral("de-de"), choice.SelectedDictionary());
    ASSERT_NE(german, nullptr);
    choice.Select(choice.ItemIndex());  // the manager unloads every dictionary but the chosen one
    EXPECT_FALSE(german->Loaded());
    EXPECT_EQ(languages.For(QStringLiteral("de-de"), choice.SelectedDictionary()), german);
    EXPECT_TRUE(german->Loaded());
    EXPECT_EQ(languages.Spell(german, {QStringLiteral("Paris")}), std::vector<bool>{true});
}

TEST_F(LanguageDictionariesTest, WordsAreCheckedAsWritten)
{
    SpellDictionary* chosen = choice.SelectedDictionary();
    const QStringList words{"Paris", "paris", "PARIS", "The", "the", "tHe", "NASA", "nasa", "it's", "apples", "xyzzy"};
    const std::vector<bool> expected{true, false, true, true, true, false, true, false, true, true, false};
    EXPECT_EQ(languages.Spell(chosen, words), expected);
    EXPECT_EQ(languages.Spell(chosen, words), expected);  // from the kept answers
    EXPECT_EQ(languages.Spell(nullptr, {QStringLiteral("the")}), std::vector<bool>{false});
}

}  // namespace
}  // namespace lexicrawl
