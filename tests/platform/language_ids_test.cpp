#include <gtest/gtest.h>

#include "platform/language_ids.h"
#include "platform/platform.h"

using namespace lexicrawl;

TEST(LanguageIds, PosixLocalesMapToWindowsIdentifiers)
{
    struct Case {
        const char* locale;
        int id;
    } cases[] = {
        {"en_US.UTF-8", 0x0409}, {"de_DE", 1031},   {"de_AT.UTF-8@euro", 0x0C07}, {"tr_TR.UTF-8", 1055},
        {"pt-BR", 0x0416},       {"de_BE", 0x0407}, {"fr", 0x040C},               {"C", 0},
        {"POSIX", 0},            {"", 0},           {"xx_YY", 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LangIdForPosixLocale(QString::fromLatin1(c.locale)), c.id) << c.locale;
}

TEST(LanguageIds, DisplayNamesUseLanguageAndRegion)
{
    EXPECT_EQ(LanguageDisplayName(0x0409), QStringLiteral("English (United States)"));
    EXPECT_EQ(LanguageDisplayName(0x0407), QStringLiteral("German (Germany)"));
    EXPECT_EQ(LanguageDisplayName(0x7777), QString());
}

TEST(Platform, ListSeparatorFollowsDecimalSeparator)
{
    EXPECT_EQ(ListSeparatorFor(QLatin1Char(',')), QLatin1Char(';'));
    EXPECT_EQ(ListSeparatorFor(QLatin1Char('.')), QLatin1Char(','));
}
