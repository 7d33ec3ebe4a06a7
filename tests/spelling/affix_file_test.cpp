// Flags read the way the library reads them: a table of FLAG lines, the flag
// of a suffix rule and the flags of a word, what the affix model decodes,
// and the verdict on the word with the suffix from the library itself, from
// the proof's form index and from the suggestion engine's word forms.
#include <gtest/gtest.h>

#include <cctype>

#include "spelling/affix_file.h"
#include "spelling/affix_rules.h"
#include "spelling/dictionary_words.h"
#include "spelling/form_index.h"
#include "spelling/hunspell_engine.h"
#include "spelling_test_support.h"

using namespace lexicrawl;

namespace {

QByteArray Fixture(const char* name)
{
    return test::ReadFile(QStringLiteral(LEXICRAWL_TEST_DATA "/spelling/") + QString::fromLatin1(name));
}

struct FlagCase {
    const char* what;
    QByteArray flagLine;    // above the rules
    QByteArray ruleFlag;    // the suffix's flag
    QByteArray wordFlags;   // the word's flag field
    Flags wordDecoded;      // what the word's field decodes to
    uint16_t ruleDecoded;   // what the suffix's flag decodes to
    bool booksKnown;        // the suffix applies to "book"
    QByteArray afterRules = {};
};

constexpr uint16_t Long(char a, char b) { return uint16_t((uchar(a) << 8) | uchar(b)); }

const FlagCase kCases[] = {
    {"one byte each", "", "A", "BA", {'B', 'A'}, 'A', true},
    {"one byte each, of a UTF-8 letter", "", "\xC3\xA9", "\xC3\xA0", {0xC3, 0xA0}, 0xC3, true},
    {"two bytes each", "FLAG long", "Aa", "BbAa", {Long('B', 'b'), Long('A', 'a')}, Long('A', 'a'), true},
    {"a lone last byte is no flag", "FLAG long", "A", "BbA", {Long('B', 'b')}, uint16_t('A' << 8), false},
    {"a lone byte is the high byte of one flag", "FLAG long", "A", "Bb", {Long('B', 'b')}, uint16_t('A' << 8),
     false},
    {"numbers", "FLAG num", "12", "7,12", {7, 12}, 12, true},
    {"a number's leading digits", "FLAG num", "12", "12x,7", {12, 7}, 12, true},
    {"no number in the run of digits", "FLAG num", "12", "712", {712}, 12, false},
    {"a rule's first number", "FLAG num", "12,7", "7", {7}, 12, false},
    {"UTF-8 characters", "FLAG UTF-8", "\xC3\xA9", "\xC3\xA0\xC3\xA9", {0xE0, 0xE9}, 0xE9, true},
    {"a UTF-8 character is not its first byte", "FLAG UTF-8", "\xC3\xA9", "\xC3\xA0", {0xE0}, 0xE9, false},
    {"utf-8 in lower case is one byte each", "FLAG utf-8", "\xC3\xA9", "\xC3\xA0", {0xC3, 0xA0}, 0xC3, true},
    {"the type anywhere on the line", "FLAG  # long", "Aa", "Aa", {Long('A', 'a')}, Long('A', 'a'), true},
    {"FLAG only at the start of its line", " FLAG long", "A", "BA", {'B', 'A'}, 'A', true},
    {"FLAG after the rules counts as well", "", "A", "BA", {Long('B', 'A')}, uint16_t('A' << 8), false, "FLAG long"},
    {"AF after the rules counts as well", "", "A", "1", {'B', 'A'}, 'A', true, "AF 1\nAF BA"},
    {"an alias list is read with the FLAG above it", "AF 1\nAF BbAa\nFLAG long", "Aa", "1", {'B', 'b', 'A', 'a'},
     Long('A', 'a'), false},
    {"an alias number", "AF 2\nAF C\nAF BA", "A", "2", {'B', 'A'}, 'A', true},
    {"an alias out of range", "AF 1\nAF BA", "A", "2", {}, 'A', false},
    {"no alias number", "AF 1\nAF BA", "A", "BA", {}, 'A', false},
};

QByteArray Affix(const FlagCase& c)
{
    QByteArray affix = Fixture("flags.aff");
    return affix.replace("FLAGLINE", c.flagLine).replace("RULEFLAG", c.ruleFlag).replace("AFTERRULES", c.afterRules);
}

class FlagDecodingTest : public ::testing::TestWithParam<FlagCase> {};

TEST_P(FlagDecodingTest, AsTheLibraryReadsThem)
{
    const FlagCase& c = GetParam();
    const QByteArray affix = Affix(c);
    const QByteArray words = Fixture("flags.dic").replace("WORDFLAGS", c.wordFlags);

    const AffixFile file(affix);
    EXPECT_EQ(file.flags.DecodeField(c.wordFlags), c.wordDecoded);
    ASSERT_EQ(file.rules.size(), 1u);
    EXPECT_EQ(file.rules[0].flag, c.ruleDecoded);

    const std::unique_ptr<HunspellEngine> engine = HunspellEngine::Init(affix, words);
    ASSERT_TRUE(engine);
    EXPECT_TRUE(engine->Spell(QStringLiteral("book")));
    EXPECT_EQ(engine->Spell(QStringLiteral("books")), c.booksKnown) << "the library";

    const FormIndex index(file, words);
    EXPECT_EQ(index.MarksOf(u"books") >= 0, c.booksKnown) << "the form index";
    const AffixRules rules(affix);
    const DictionaryWords forms(rules, words);
    EXPECT_EQ(forms.Accepts(u"books"), c.booksKnown) << "the suggestion engine's forms";
    EXPECT_FALSE(forms.Accepts(u"cats"));
}

INSTANTIATE_TEST_SUITE_P(Modes, FlagDecodingTest, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<FlagCase>& info) {
                             std::string name;
                             for (const char* c = info.param.what; *c; ++c)
                                 name += std::isalnum(uchar(*c)) ? *c : '_';
                             return name;
                         });

// The options that carry one flag are decoded like a rule's flag; a file
// without SET is read as ISO8859-1, as the library reads it.
TEST(AffixFileTest, OptionFlagsAndTheDefaultCharacterSet)
{
    const AffixFile longFlags("FLAG long\nFORBIDDENWORD !\nNOSUGGEST 12\nKEY ab\n");
    EXPECT_EQ(longFlags.forbidden, uint16_t('!' << 8));
    EXPECT_EQ(longFlags.noSuggest, Long('1', '2'));
    const AffixFile numbers("FLAG num\nFORBIDDENWORD 17,3\n");
    EXPECT_EQ(numbers.forbidden, 17);
    const AffixFile latin("TRY \xE9" "a\n");
    EXPECT_FALSE(latin.Utf8());
    EXPECT_EQ(latin.tryChars, QStringLiteral("\u00E9a"));
    EXPECT_EQ(latin.Text("caf\xE9"), QStringLiteral("caf\u00E9"));
}

}  // namespace
