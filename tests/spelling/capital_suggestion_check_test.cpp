#include <gtest/gtest.h>

#include <QSet>

#include "spelling/capital_suggestion_check.h"

namespace lexicrawl {
namespace {

TEST(CapitalSuggestionCheckTest, DeclinesForOptionsThatChangeWhatIsOffered)
{
    struct Case { const char* what; QByteArray affix; QByteArray words; bool enabled; };
    const Case cases[] = {
        {"plain", "SET UTF-8\nTRY abc\nREP 1\nREP f ph\n", "2\nParis\nwalk/S\n", true},
        {"related characters", "MAP 1\nMAP aáà\n", "1\nParis\n", false},
        {"break points", "BREAK 1\nBREAK .\n", "1\nParis\n", false},
        {"forced capitals", "FORCEUCASE A\n", "1\nParis\n", false},
        {"compound flag", "COMPOUNDFLAG X\n", "1\nParis\n", false},
        {"long flags", "FLAG long\n", "1\nParis\n", false},
        {"flag aliases", "AF 1\nAF AB\n", "1\nParis\n", false},
        {"ASCII input conversion", "ICONV 1\nICONV ph f\n", "1\nParis\n", false},
        {"non-ASCII input conversion", "ICONV 1\nICONV \xE2\x80\x99 '\n", "1\nParis\n", true},
        {"no-suggest name", "NOSUGGEST !\n", "2\nParis/!\nshit/!\n", false},
        {"no-suggest lower-case word", "NOSUGGEST !\n", "2\nParis/S\nshit/!\n", true},
        {"compound rule on digits", "COMPOUNDRULE 1\nCOMPOUNDRULE n*1t\n", "3\n1/n1\n1st/t\nParis\n", true},
        {"compound rule on letters", "COMPOUNDRULE 1\nCOMPOUNDRULE n*1t\n", "2\nfoo/n\nParis\n", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CapitalSuggestionCheck(c.affix, c.words).Enabled(), c.enabled) << c.what;
}

TEST(CapitalSuggestionCheckTest, CountsEarlierCandidatesAgainstTheLimit)
{
    CapitalSuggestionCheck check("REP 1\nREP x y\n", "1\nAbcd\n");
    ASSERT_TRUE(check.Enabled());
    QSet<QString> accepted{QStringLiteral("Abcd")};
    auto spell = [&](const QString& w) { return accepted.contains(w); };
    EXPECT_TRUE(check.Check(QStringLiteral("abcd"), spell));
    EXPECT_FALSE(check.Check(QStringLiteral("abce"), spell));      // capital form not accepted
    EXPECT_FALSE(check.Check(QStringLiteral("ab-cd"), spell));     // not a plain word
    EXPECT_FALSE(check.Check(QStringLiteral("\u00e9abc"), spell)); // first letter not a-z
    // Every swap of "abcd" accepted: with the all-capitals form that makes
    // 1 + 7 earlier candidates, still below 15.
    for (const char* w : {"bacd", "cbad", "dbca", "acbd", "adcb", "abdc", "badc"})
        accepted.insert(QString::fromLatin1(w));
    EXPECT_TRUE(check.Check(QStringLiteral("abcd"), spell));
    // A long word whose transpositions are all accepted crowds it out.
    accepted = {QStringLiteral("Abcdef")};
    const QString word = QStringLiteral("abcdef");
    for (int i = 0; i < word.size(); ++i) {
        for (int j = i + 1; j < word.size(); ++j) {
            QString t = word;
            std::swap(t[i], t[j]);
            accepted.insert(t);
        }
    }
    EXPECT_FALSE(check.Check(word, spell));
}

// The engine offers a dictionary pair ("bolt-on") alone, dropping "Bolton".
TEST(CapitalSuggestionCheckTest, DeclinesWordsThatSplitIntoTwoWhereTheDictionaryHasPairs)
{
    // "on's" is no word, yet "bolt-on's" is one: the pieces need not be words.
    QSet<QString> accepted{QStringLiteral("Bolton"), QStringLiteral("Bolton's"), QStringLiteral("bolt-on"),
                           QStringLiteral("bolt-on's"), QStringLiteral("Paris")};
    auto spell = [&](const QString& w) { return accepted.contains(w); };
    const CapitalSuggestionCheck pairs("TRY abc\n", "3\nBolton\nbolt-on/S\nParis\n");
    ASSERT_TRUE(pairs.Enabled());
    EXPECT_FALSE(pairs.Check(QStringLiteral("bolton"), spell));
    EXPECT_FALSE(pairs.Check(QStringLiteral("bolton's"), spell));
    EXPECT_TRUE(pairs.Check(QStringLiteral("paris"), spell));  // no split into two words
    EXPECT_FALSE(CapitalSuggestionCheck("SFX S Y 1\nSFX S 0 -on .\n", "2\nBolton\nbolt/S\n")
                     .Check(QStringLiteral("bolton"), spell));
    // Without pairs in the dictionary the split does not matter.
    EXPECT_TRUE(CapitalSuggestionCheck("TRY abc\n", "2\nBolton\nbolt\n").Check(QStringLiteral("bolton"), spell));
    accepted.insert(QStringLiteral("a priori"));
    accepted.insert(QStringLiteral("Apriori"));
    EXPECT_FALSE(CapitalSuggestionCheck("TRY abc\n", "2\na priori\nApriori\n").Check(QStringLiteral("apriori"), spell));
}

}  // namespace
}  // namespace lexicrawl
