#include <gtest/gtest.h>

#include <algorithm>

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>

#include "platform/text.h"
#include "spelling/dictionary_manager.h"
#include "spelling/engine_clock.h"
#include "spelling/hunspell_engine.h"
#include "spelling/suggestion_proof.h"
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

TEST_F(WordVerdictTest, AnAddedWordChangesTheVerdictsOfTheWordsHoldingItAndOnlyThose)
{
    // Decided and kept before the word is added.
    EXPECT_FALSE(SpellCheckWord(dictionary, QStringLiteral("zorbix")));
    EXPECT_TRUE(SpellCheckWord(dictionary, QStringLiteral("apples")));
    ASSERT_TRUE(dictionary->Add(QStringLiteral("Zorbix")));
    ASSERT_TRUE(dictionary->Add(QString::fromUtf8("\xC3\xBC" "ber")));

    struct Case { const char* word; bool touches; };
    const Case cases[] = {
        {"zorbix", true},          // suggested as the added Zorbix
        {"Zorbix", true},          // the added word itself
        {"ZORBIX", true},          // all capitals of it
        {"zorbix-apples", true},   // a piece between hyphens
        {"applezorbix", true},     // a half of a split
        {"zorbi", false},          // shorter: holds no added word
        {"\xC3\x9C" "ber", true},     // Über, for the added über: capitals beyond A-Z count too
        {"apples", false},
        {"paris", false},
    };
    QStringList words;
    for (const Case& c : cases) {
        words << QString::fromUtf8(c.word);
        EXPECT_EQ(dictionary->TouchesAddedWord(words.back()), c.touches) << c.word;
    }
    const std::vector<bool> verdicts = SpellCheckWords(dictionary, words);
    for (qsizetype i = 0; i < words.size(); ++i) {
        EXPECT_EQ(verdicts[size_t(i)], SpellCheckWordPlain(*dictionary, words[i])) << words[i].toStdString();
        EXPECT_EQ(SpellCheckWord(dictionary, words[i]), verdicts[size_t(i)]) << words[i].toStdString() << " (again)";
    }
    EXPECT_TRUE(verdicts[0]) << "zorbix is known once Zorbix is added";
    // Only verdicts of words that touch no added word are kept (and stored).
    EXPECT_FALSE(dictionary->Verdicts().Find(QStringLiteral("zorbix")).has_value());
    EXPECT_TRUE(dictionary->Verdicts().Find(QStringLiteral("apples")).has_value());
}

// The replay is allowed by the library that is mapped, not by the version
// the build saw.
TEST(LoadedHunspellTest, TheMappedLibraryIsNamed)
{
    const QString library = LoadedHunspellLibrary();
    ASSERT_FALSE(library.isEmpty());
    EXPECT_TRUE(QFileInfo(library).fileName().startsWith(QLatin1String("libhunspell"))) << library.toStdString();
    EXPECT_TRUE(QFileInfo::exists(library));
    EXPECT_EQ(LoadedHunspellSeries(), HunspellVersion().section(u'.', 0, 1));
}

// The fast verdict must equal the plain one, on every shipped dictionary: a
// bounded sample of its word list (lower-cased stems that Spell rejects,
// stems as written, misspellings) and the words that the language's pages
// bring and that once went to Suggest every time. LEXICRAWL_FULL_DIFFERENTIAL=1
// takes every stem (bench/spelling's word_verdict_differential does more,
// on every core).
struct ShippedDictionary {
    const char* name;
    int lowerStep;
    int misspellStep;
    std::vector<const char*> pageWords;
};

void PrintTo(const ShippedDictionary& d, std::ostream* os)
{
    *os << d.name;
}

class WordVerdictDifferentialTest : public ::testing::TestWithParam<ShippedDictionary> {};

TEST_P(WordVerdictDifferentialTest, FastEqualsPlain)
{
    const ShippedDictionary& shipped = GetParam();
    const QString name = QString::fromUtf8(shipped.name);
    const QString package = QStringLiteral(LEXICRAWL_BIN_DIR "/Dictionaries/") + name + QStringLiteral(".oxt");
    if (!QFileInfo::exists(package))
        GTEST_SKIP() << package.toStdString() << " was not built (its hunspell package missing?)";
    test::RecordingPlatform platform;
    DictionaryManager manager;
    ASSERT_TRUE(manager.ReadOXT(package));
    SpellDictionary* d = manager.GetSpellDictionary(0);
    d->SetActive(true);
    manager.UpdateAndLoadDictionaries();
    ASSERT_TRUE(d->Loaded());
    ZipRead zip(package);
    const QStringList stems = bench::DictionaryStems(zip.UnZip(zip.NameToIndex(name.toUtf8() + ".dic")));
    ASSERT_GT(stems.size(), 40000);
    // The load-time check of the replay finds no difference here.
    EXPECT_EQ(d->ReplayNotice().toStdString(), "");

    // The fallbacks (LEXICRAWL_SPELL_REPLAY=off, LEXICRAWL_ENGINE_CLOCK=off)
    // send far more words to Suggest; LEXICRAWL_DIFFERENTIAL_SPARSE=N takes
    // every N-th word of the usual sample.
    if (qgetenv("LEXICRAWL_SPELL_REPLAY") == "off") {
        EXPECT_FALSE(ReplayFollowsLoadedLibrary());
    }
    if (qgetenv("LEXICRAWL_ENGINE_CLOCK") == "off") {
        EXPECT_FALSE(EngineClockInForce());
    }
    const bool full = qEnvironmentVariableIntValue("LEXICRAWL_FULL_DIFFERENTIAL") == 1;
    const int sparse = std::max(1, qEnvironmentVariableIntValue("LEXICRAWL_DIFFERENTIAL_SPARSE"));
    const int lowerStep = full ? 1 : shipped.lowerStep * sparse;
    const int misspellStep = full ? 1 : shipped.misspellStep * sparse;
    QStringList words = bench::AwkwardTokens();
    for (const char* w : shipped.pageWords)
        words << QString::fromUtf8(w);
    for (int i = 0; i < stems.size(); i += lowerStep) {
        const QString lower = LowerAZ(stems[i]);
        if (lower != stems[i] && !d->Spell(lower))
            words << lower;
    }
    for (int i = 0; i < stems.size(); i += misspellStep)
        words << bench::Misspell(stems[i], uint32_t(i)) << stems[i];
    words << bench::Compounds(stems, 20, 7);
    words.removeDuplicates();

    // The page path: kept verdicts, the proof and two engines at once.
    const std::vector<bool> fast = SpellCheckWords(d, words);
    int differing = 0;
    // On the real clock the library's time budgets make its own answer
    // depend on how busy the machine is: a word it answers both ways when
    // asked again is not a difference of ours.
    const auto libraryAlsoSays = [&](const QString& word, bool verdict) {
        if (EngineClockInForce())
            return false;
        for (int again = 0; again < 5; ++again)
            if (SpellCheckWordPlain(*d, word) == verdict)
                return true;
        return false;
    };
    for (qsizetype i = 0; i < words.size(); ++i) {
        const bool plain = SpellCheckWordPlain(*d, words[i]);
        if (fast[size_t(i)] != plain && !libraryAlsoSays(words[i], fast[size_t(i)])) {
            ++differing;
            ADD_FAILURE() << "verdicts differ for " << words[i].toStdString() << " (plain " << plain << ")";
        }
    }
    EXPECT_EQ(differing, 0) << "over " << words.size() << " words";
    EXPECT_TRUE(platform.messages.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Shipped, WordVerdictDifferentialTest,
    ::testing::Values(
        ShippedDictionary{"en_US", 250, 400, {"paris", "nasa", "iphone", "ebay", "colour", "teh", "mcdonald"}},
        ShippedDictionary{"en_GB", 250, 400, {"colour", "color", "organise", "london", "thames", "teh"}},
        // Nouns and names met lower-cased, compounds, sharp s.
        ShippedDictionary{"de_DE", 400, 600,
                          {"haus", "h\xC3\xA4user", "stra\xC3\x9F" "e", "strasse", "donaudampfschiff", "haust\xC3\xBCr",
                           "autobahnrastst\xC3\xA4tte", "zeitungsartikel", "kindergarten", "berlin", "m\xC3\xBCller",
                           "fu\xC3\x9F" "ball", "dass", "da\xC3\x9F", "schoen", "hauss", "teh"}},
        // The pieces of elisions and of words with œ, accents left off.
        ShippedDictionary{"fr_FR", 400, 600,
                          {"l", "homme", "qu", "aujourd", "hui", "jusqu", "presqu", "d", "abord", "c", "ur",
                           "paris", "fran\xC3\xA7ois", "\xC3\xA9l\xC3\xA8ve", "eleve", "gar\xC3\xA7on", "garcon",
                           "\xC3\xAEle", "ile", "na\xC3\xAFve", "teh"}}),
    [](const ::testing::TestParamInfo<ShippedDictionary>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace lexicrawl
