#include <gtest/gtest.h>

#include <QString>

#include <unordered_set>

#include "platform/text_hash.h"

using namespace lexicrawl;

TEST(TextHash, SetsFindByViewAndTellApartTextsThatDifferAnywhere)
{
    TextSet set;
    const QString buffer = QStringLiteral("xxcolourxx");
    set.insert(QStringLiteral("colour"));
    EXPECT_NE(set.find(QStringView(buffer).mid(2, 6)), set.end());
    // Differences in the first block, at a block's edge, in the tail, and
    // in length only: each a different key.
    for (const char* other : {"", "c", "color", "colours", "Colour", "colouR", "colour\u00AD"})
        EXPECT_EQ(set.find(QStringView(QString::fromUtf8(other))), set.end()) << other;
}

TEST(TextHash, HashUsesEveryCodeUnit)
{
    // Words of 1 to 20 code units that differ in a single position: a hash
    // that skipped a block or its tail would give equal values.
    for (int length = 1; length <= 20; ++length) {
        std::unordered_set<std::size_t> hashes;
        int words = 0;
        for (int position = 0; position < length; ++position) {
            for (char16_t letter : {u'a', u'b', u'\u00E9', u'\u4E2D'}) {
                QString word(length, QLatin1Char('z'));
                word[position] = QChar(letter);
                hashes.insert(HashText(word, 42));
                ++words;
            }
        }
        EXPECT_EQ(int(hashes.size()), words) << "length " << length;
    }
    EXPECT_EQ(HashText(QStringLiteral("same"), 7), HashText(QString(QStringLiteral("sa")) + "me", 7));
    EXPECT_NE(HashText(QStringLiteral("same"), 7), HashText(QStringLiteral("same"), 8));
}
