#include <gtest/gtest.h>

#include "platform/text.h"

using namespace lexicrawl;

TEST(Text, LowerAZTouchesOnlyAsciiLetters)
{
    EXPECT_EQ(LowerAZ(QStringLiteral("ABC xyz \u00C9LAN \u0130")), QStringLiteral("abc xyz \u00C9lan \u0130"));
    EXPECT_TRUE(SameTextAZ(QStringLiteral("HTTP"), QStringLiteral("http")));
    EXPECT_FALSE(SameTextAZ(QStringLiteral("\u00C9"), QStringLiteral("\u00E9")));
    EXPECT_TRUE(StartsWithAZ(QStringLiteral("HtTpS://x"), QStringLiteral("https://")));
    EXPECT_EQ(IndexOfAZ(QStringLiteral("abc<A HREF"), QStringLiteral("<a href")), 3);
    EXPECT_EQ(IndexOfAZ(QStringLiteral("abc"), QStringLiteral("x")), -1);
}

TEST(Text, TrimRemovesControlsAndSpaces)
{
    EXPECT_EQ(TrimCtl(QStringLiteral("\t\r\n x y\x01 ")), QStringLiteral("x y"));
    EXPECT_EQ(TrimCtl(QStringLiteral("\u00A0x\u00A0")), QStringLiteral("\u00A0x\u00A0"));  // NBSP is above U+0020
    EXPECT_EQ(TrimCtl(QStringLiteral("   ")), QString());
}

TEST(Text, LineListsSplitAtEveryBreakAndJoinWithCrLf)
{
    struct Case {
        QString text;
        QStringList lines;
    } cases[] = {
        {QString(), {}},
        {QStringLiteral("a"), {QStringLiteral("a")}},
        {QStringLiteral("a\r\nb"), {QStringLiteral("a"), QStringLiteral("b")}},
        {QStringLiteral("a\rb\nc\r\n"), {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}},
        {QStringLiteral("a\n\nb"), {QStringLiteral("a"), QString(), QStringLiteral("b")}},
        {QStringLiteral("\r\n"), {QString()}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SplitLines(c.text), c.lines) << c.text.toStdString();
    EXPECT_EQ(JoinLines({QStringLiteral("a"), QStringLiteral("b")}), QStringLiteral("a\r\nb\r\n"));
    EXPECT_EQ(JoinLines({}), QString());
}

TEST(Text, WholeNumberAcceptsOnlyWholeNumbers)
{
    EXPECT_EQ(WholeNumber(QStringLiteral("42")), 42);
    EXPECT_EQ(WholeNumber(QStringLiteral("-3")), -3);
    for (const QString& text : {QStringLiteral("4x"), QString(), QStringLiteral(" 5"), QStringLiteral("5 "),
                                QStringLiteral("99999999999")})
        EXPECT_EQ(WholeNumber(text), std::nullopt) << text.toStdString();
}
