#include <gtest/gtest.h>

#include "platform/text.h"
#include "spelling/hunspell_engine.h"
#include "spelling/mixed_case_root_index.h"
#include "spelling_test_support.h"

namespace lexicrawl {
namespace {

const QByteArray kAffix =
    "SET UTF-8\n"
    "TRY esiarntolcdugmphbyfvkwzxjq'-\n"
    "ICONV 1\n"
    "ICONV \xE2\x80\x99 '\n"
    "PFX R Y 1\n"
    "PFX R 0 re .\n"
    "SFX S Y 2\n"
    "SFX S 0 s [^y]\n"
    "SFX S y ies y\n"
    "SFX M Y 1\n"
    "SFX M 0 's .\n";
const QByteArray kWords = "7\nCOBOL/RSM\niPhone/S\nSONY/S\nParis/M\nCwm-hir/S\nwalk/S\nold\n";

TEST(MixedCaseRootIndexTest, HoldsEveryFormOfRootsWithInnerCapitals)
{
    const MixedCaseRootIndex index(kAffix, kWords);
    struct Case { const char* word; bool may; };
    const Case cases[] = {
        {"cobol", true}, {"cobols", true}, {"cobol's", true}, {"recobol", true}, {"recobols", true},
        {"iphones", true}, {"sonys", true},   // the condition [^y] is not checked
        {"sonies", false},                   // strips match case as the engine's do
        {"old-cobols", true}, {"cobols-old", true}, {"cobols.", true}, {"x-iphones-y", true},
        {"iphone's", true},  // pieces are cut at every non-letter, more than the engine does
        {"cobol\u2019s", true},                                     // converted as the engine does
        {"cobolss", false}, {"xcobols", false}, {"cobolsx", false}, {"iphonex", false},
        {"paris", false}, {"paris's", false},                     // only a first capital
        {"cwm-hir", true}, {"cwm-hirs", true},  // a first capital and a hyphen: "CWM-HIRS" is rejected
        {"walks", false}, {"hosue", false}, {"", false}, {"s", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(index.MayMatch(QString::fromUtf8(c.word)), c.may) << c.word;
}

TEST(MixedCaseRootIndexTest, SaysMayForAffixRulesBeyondItsModel)
{
    struct Case { const char* what; QByteArray affix; QByteArray words; };
    const Case cases[] = {
        {"long flags", "FLAG long\n", "1\nCOBOL\n"},
        {"flag aliases", "AF 1\nAF S\n", "1\nCOBOL\n"},
        {"continuation classes", "SFX S Y 1\nSFX S 0 s/M .\n", "1\nCOBOL/S\n"},
        {"affix with capitals", "SFX S Y 1\nSFX S 0 S .\n", "1\nCOBOL/S\n"},
        {"affix with a capital beyond ASCII", "SFX S Y 1\nSFX S 0 \xC3\x89 .\n", "1\nCOBOL/S\n"},
        {"ignored characters", "IGNORE -\n", "1\nCOBOL\n"},
        {"conversion of letters", "ICONV 1\nICONV ph f\n", "1\nCOBOL\n"},
        {"break at letters", "BREAK 1\nBREAK x\n", "1\nCOBOL\n"},
        {"compound flag", "COMPOUNDFLAG X\n", "1\nCOBOL\n"},
        {"compounding root with capitals", "COMPOUNDRULE 1\nCOMPOUNDRULE n*1t\n", "2\nNATO/n\n1st/t\n"},
    };
    for (const Case& c : cases)
        EXPECT_TRUE(MixedCaseRootIndex(c.affix, c.words).MayMatch(QStringLiteral("hosue"))) << c.what;
    // Compounds of digits and lower-case pieces keep the index.
    EXPECT_FALSE(MixedCaseRootIndex("COMPOUNDRULE 1\nCOMPOUNDRULE n*1t\n", "3\n1/n1\n1st/t\nNATO\n")
                     .MayMatch(QStringLiteral("hosue")));
}

// Against the engine itself: whenever a suggestion makes a lower-case word
// known while its all-capitals form is rejected, the index must say "may".
TEST(MixedCaseRootIndexTest, CoversEverySuggestedFormTheCapitalsCheckMisses)
{
    test::RecordingPlatform platform;
    const auto engine = HunspellEngine::Init(kAffix, kWords);
    ASSERT_TRUE(engine);
    const MixedCaseRootIndex index(kAffix, kWords);
    const char* const words[] = {"cobols", "recobols", "cobol's", "iphones", "sonys", "old-cobols", "cobols.",
                                 "cobol\u2019s", "cobolz", "iphonez", "paris's", "walkz", "re-cobols", "cwm-hirs"};
    int covered = 0;
    for (const char* raw : words) {
        const QString w = QString::fromUtf8(raw);
        bool suggested = false;
        for (const QString& s : engine->Suggest(w))
            suggested = suggested || LowerAZ(s) == w;
        if (suggested && !engine->Spell(w.toUpper())) {
            ++covered;
            EXPECT_TRUE(index.MayMatch(w)) << raw;
        }
    }
    EXPECT_GT(covered, 2);  // the fixture does reach such words
}

}  // namespace
}  // namespace lexicrawl
