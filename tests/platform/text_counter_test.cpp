#include <gtest/gtest.h>

#include <QString>
#include <QStringList>

#include <map>

#include "platform/text_counter.h"

using namespace lexicrawl;

// Against an ordered map as the oracle, across several growths of the table:
// texts that are prefixes of one another, differ in one code unit or in
// length only, the empty text, a NUL, a lone surrogate; each text added
// from a buffer of its own, so nothing may lean on the caller's storage.
TEST(TextCounter, CountsAsAMapWouldAcrossGrowth)
{
    std::map<QString, qint64> expected;
    TextCounter counter;
    auto add = [&](const QString& text, qint64 n) {
        counter.Add(QString(text), n);
        expected[text] += n;
    };
    const QStringList special = {QString(), QStringLiteral("a"), QStringLiteral("ab"), QStringLiteral("abc"),
                                 QStringLiteral("a") + QChar(u'\0') + "b", QString(QChar(0xD800)) + "x",
                                 QStringLiteral("\u00C9l\u00E0n \U0001F600")};
    for (int round = 0; round < 3; ++round) {
        for (const QString& text : special)
            add(text, round + 1);
        for (int i = 0; i < 5000; ++i)
            add(QStringLiteral("word") + QString::number(i * 7919 % 3001), 1);
    }
    add(QStringLiteral("x").repeated(40000), 2);

    EXPECT_EQ(counter.size(), qsizetype(expected.size()));
    std::map<QString, qint64> seen;
    counter.ForEach([&](QStringView text, qint64 count) {
        EXPECT_TRUE(seen.emplace(text.toString(), count).second) << "listed twice: " << text.toString().toStdString();
    });
    EXPECT_EQ(seen, expected);
    for (const auto& [text, count] : expected)
        EXPECT_EQ(counter.Count(text), count) << text.toStdString();
    EXPECT_EQ(counter.Count(QStringLiteral("abcd")), 0);
    EXPECT_EQ(counter.Count(QStringLiteral("word3001")), 0);

    counter.clear();
    EXPECT_TRUE(counter.empty());
    EXPECT_EQ(counter.Count(QStringLiteral("a")), 0);
    counter.Add(QStringLiteral("a"));
    EXPECT_EQ(counter.Count(QStringLiteral("a")), 1);
}
