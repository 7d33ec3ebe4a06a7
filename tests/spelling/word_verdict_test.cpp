#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>

#include "platform/text.h"
#include "spelling/dictionary_manager.h"
#include "spelling/word_verdict.h"
#include "spelling/zip_read.h"
#include "spelling_test_support.h"
#include "word_corpus.h"

namespace lexicrawl {
namespace {

class WordVerdictTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(manager.ReadOXT(test::WriteTinyPackage(dir.path(), QStringLiteral("tiny.oxt"), "en-US")));
        dictionary = manager.GetSpellDictionary(0);
        dictionary->SetActive(true);
        manager.UpdateAndLoadDictionaries();
        ASSERT_TRUE(dictionary->Loaded());
    }
    test::RecordingPlatform platform;
    QTemporaryDir dir;
    DictionaryManager manager;
    SpellDictionary* dictionary = nullptr;
};

TEST_F(WordVerdictTest, KnownWhenAcceptedOrSuggestedInOtherCase)
{
    struct Case { const char* word; bool known; };
    const Case cases[] = {
        {"apples", true},      // accepted
        {"paris", true},       // suggested as Paris
        {"nasa", true},        // suggested as NASA
        {"mcdonald", true},    // suggested as McDonald
        {"aple", false},       // suggestions differ in letters
        {"Aple", false},       // a capital can never match a lower-cased suggestion
        {"cafe", false},       // café differs in an accent
        {"zzzzzz", false},     // nothing suggested
    };
    for (const Case& c : cases) {
        const QString w = QString::fromUtf8(c.word);
        EXPECT_EQ(SpellCheckWordPlain(*dictionary, w), c.known) << c.word;
        EXPECT_EQ(SpellCheckWord(dictionary, w), c.known) << c.word;
        EXPECT_EQ(SpellCheckWord(dictionary, w), c.known) << c.word << " (cached)";
    }
    EXPECT_FALSE(SpellCheckWord(nullptr, QStringLiteral("apples")));
}

TEST_F(WordVerdictTest, VerdictsAreDroppedWhenTheEngineChanges)
{
    EXPECT_FALSE(SpellCheckWord(dictionary, QStringLiteral("zorp")));
    ASSERT_TRUE(dictionary->Add(QStringLiteral("zorp")));
    EXPECT_TRUE(SpellCheckWord(dictionary, QStringLiteral("zorp")));
    dictionary->Unload();
    EXPECT_FALSE(SpellCheckWord(dictionary, QStringLiteral("zorp")));
    ASSERT_TRUE(dictionary->Load());
    EXPECT_FALSE(SpellCheckWord(dictionary, QStringLiteral("zorp")));
}

// The fast verdict must equal the plain one. This runs a bounded sample of
// the shipped English list; LEXICRAWL_FULL_DIFFERENTIAL=1 runs all of it
// (bench/spelling's word_verdict_bench does the same, on every core).
TEST(WordVerdictDifferentialTest, FastEqualsPlainOnShippedEnglish)
{
    const QString package = QStringLiteral(LEXICRAWL_BIN_DIR "/Dictionaries/en_US.oxt");
    if (!QFileInfo::exists(package))
        GTEST_SKIP() << package.toStdString() << " was not built (hunspell-en-us missing?)";
    test::RecordingPlatform platform;
    DictionaryManager manager;
    ASSERT_TRUE(manager.ReadOXT(package));
    SpellDictionary* d = manager.GetSpellDictionary(0);
    d->SetActive(true);
    manager.UpdateAndLoadDictionaries();
    ASSERT_TRUE(d->Loaded());
    ZipRead zip(package);
    const QStringList stems = bench::DictionaryStems(zip.UnZip(zip.NameToIndex("en_US.dic")));
    ASSERT_GT(stems.size(), 40000);

    const bool full = qEnvironmentVariableIntValue("LEXICRAWL_FULL_DIFFERENTIAL") == 1;
    const int lowerStep = full ? 1 : 250;
    const int misspellStep = full ? 1 : 400;
    QStringList words = bench::AwkwardTokens();
    for (int i = 0; i < stems.size(); i += lowerStep) {
        const QString lower = LowerAZ(stems[i]);
        if (lower != stems[i] && !d->Spell(lower))
            words << lower;
    }
    for (int i = 0; i < stems.size(); i += misspellStep)
        words << bench::Misspell(stems[i], uint32_t(i)) << stems[i];
    int differing = 0;
    for (const QString& w : words) {
        const bool plain = SpellCheckWordPlain(*d, w);
        if (SpellCheckWordFast(*d, w) != plain) {
            ++differing;
            ADD_FAILURE() << "verdicts differ for " << w.toStdString() << " (plain " << plain << ")";
        }
    }
    EXPECT_EQ(differing, 0) << "over " << words.size() << " words";
    EXPECT_TRUE(platform.messages.isEmpty());
}

}  // namespace
}  // namespace lexicrawl
