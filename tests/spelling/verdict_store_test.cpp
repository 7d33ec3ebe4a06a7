#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "spelling/verdict_cache.h"
#include "spelling/verdict_file.h"
#include "spelling/verdict_store.h"
#include "spelling_test_support.h"

namespace lexicrawl {
namespace {

class VerdictStoreTest : public ::testing::Test {
protected:
    QString Path() const { return dir.filePath(QStringLiteral("en_US.verdicts")); }
    // A store with two verdicts, saved to the file.
    void WriteTwo()
    {
        VerdictStore store;
        EXPECT_FALSE(store.Open(Path(), key));  // nothing there yet
        store.Insert(QStringList{QStringLiteral("colour"), QString::fromUtf8("\xC3\xA9lan")}, {false, true});
        ASSERT_TRUE(store.Save());
    }
    QTemporaryDir dir;
    const QByteArray key = VerdictKey("SET UTF-8\n", "1\ncolor\n");
};

TEST_F(VerdictStoreTest, VerdictsOutliveTheRunForTheSameDictionaryOnly)
{
    WriteTwo();
    VerdictStore again;
    ASSERT_TRUE(again.Open(Path(), key));
    EXPECT_EQ(again.Find(QStringLiteral("colour")), std::optional<bool>(false));
    EXPECT_EQ(again.Find(QString::fromUtf8("\xC3\xA9lan")), std::optional<bool>(true));
    EXPECT_EQ(again.Find(QStringLiteral("other")), std::nullopt);

    // Another word list, another affix file: the file is not read, and the
    // next save replaces it.
    for (const QByteArray& other : {VerdictKey("SET UTF-8\n", "1\ncolour\n"), VerdictKey("SET ISO8859-1\n", "1\ncolor\n")}) {
        VerdictStore changed;
        EXPECT_FALSE(changed.Open(Path(), other));
        EXPECT_EQ(changed.Size(), 0);
    }
}

TEST_F(VerdictStoreTest, ADamagedOrShortFileIsNotReadAndIsReplaced)
{
    WriteTwo();
    const QByteArray good = test::ReadFile(Path());
    QByteArray flipped = good;
    flipped[50] = char(flipped[50] ^ 0x01);
    const QByteArray damaged[] = {flipped, good.left(good.size() - 1), good.left(20), QByteArray()};
    for (const QByteArray& bytes : damaged) {
        test::WriteFile(Path(), bytes);
        VerdictStore store;
        EXPECT_FALSE(store.Open(Path(), key)) << bytes.size() << " bytes";
        EXPECT_EQ(store.Size(), 0);
        store.Insert(QStringLiteral("new"), true);
        ASSERT_TRUE(store.Save());
        VerdictStore reread;
        ASSERT_TRUE(reread.Open(Path(), key));
        EXPECT_EQ(reread.Size(), 1);
    }
}

TEST_F(VerdictStoreTest, ForgettingAWordsHoldersReachesTheFile)
{
    WriteTwo();
    VerdictStore store;
    ASSERT_TRUE(store.Open(Path(), key));
    store.EraseHolding(QStringLiteral("olo"));  // "colour" holds it
    EXPECT_EQ(store.Find(QStringLiteral("colour")), std::nullopt);
    ASSERT_TRUE(store.Save());
    VerdictStore reread;
    ASSERT_TRUE(reread.Open(Path(), key));
    EXPECT_EQ(reread.Size(), 1);
}

}  // namespace
}  // namespace lexicrawl
