#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>

#include "spelling/dictionary_choice.h"
#include "spelling/dictionary_manager.h"
#include "spelling_test_support.h"

namespace lexicrawl {
namespace {

// The packages the build makes from the system's dictionaries: a fresh build
// lists them and checks English out of the box.
TEST(ShippedDictionariesTest, EnglishIsChosenAndChecksWords)
{
    const QString folder = QStringLiteral(LEXICRAWL_BIN_DIR "/Dictionaries");
    if (!QFileInfo::exists(folder + QStringLiteral("/en_US.oxt")))
        GTEST_SKIP() << "en_US.oxt was not built (hunspell-en-us or zip missing)";
    test::RecordingPlatform platform;
    DictionaryManager manager;
    QStringList saved;
    DictionaryChoice choice(manager, [&](const QString& text) { saved << text; });
    choice.LoadAtStartup(folder, kDefaultDictionaryLanguage);
    EXPECT_TRUE(choice.Items().contains(QStringLiteral("English (United States)")));
    EXPECT_EQ(choice.Items().size(), QDir(folder).entryList({QStringLiteral("*.oxt")}, QDir::Files).size());
    EXPECT_EQ(saved, QStringList{QStringLiteral("English (United States)")});
    ASSERT_NE(choice.SelectedDictionary(), nullptr);
    EXPECT_TRUE(choice.SelectedDictionary()->Loaded());
    struct Case { const char* word; bool known; };
    const Case cases[] = {
        {"hello", true}, {"websites", true}, {"paris", true}, {"london", true},
        {"helo", false}, {"recieve", false}, {"qwzxv", false}, {"Hello", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(choice.SpellCheckWord(QString::fromUtf8(c.word)), c.known) << c.word;
    EXPECT_TRUE(platform.messages.isEmpty());
}

}  // namespace
}  // namespace lexicrawl
