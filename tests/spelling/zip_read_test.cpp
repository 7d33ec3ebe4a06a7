#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "spelling/zip_read.h"
#include "spelling_test_support.h"

namespace lexicrawl {
namespace {

using test::RecordingPlatform;
using test::ZipBuilder;

QStringList Names(const ZipRead& zip)
{
    QStringList out;
    for (int i = 0; i < zip.Count(); ++i)
        out << QString::fromLatin1(zip.Entry(i).Name);
    return out;
}

class ZipReadTest : public ::testing::Test {
protected:
    QString Write(const QByteArray& bytes, const QString& name = QStringLiteral("a.zip"))
    {
        return test::WriteFile(dir.filePath(name), bytes);
    }
    RecordingPlatform platform;
    QTemporaryDir dir;
};

TEST_F(ZipReadTest, NamesUseBackslashesAndMatchLettersWithoutCase)
{
    const QByteArray zip = ZipBuilder().Add("a.txt", "A").Add("META-INF/manifest.xml", "<m/>").Build();
    ZipRead reader(Write(zip));
    ASSERT_EQ(reader.Count(), 2);
    EXPECT_EQ(reader.NameToIndex("META-INF\\manifest.xml"), 1);
    EXPECT_EQ(reader.NameToIndex("meta-inf\\MANIFEST.XML"), 1);
    EXPECT_EQ(reader.NameToIndex("META-INF/manifest.xml"), -1);
    EXPECT_EQ(reader.NameToIndex(""), -1);
    EXPECT_EQ(reader.UnZip(1), QByteArray("<m/>"));
    EXPECT_TRUE(platform.messages.isEmpty());
}

TEST_F(ZipReadTest, LongNamesAreCutAt118Bytes)
{
    const QByteArray name(200, 'n');
    ZipRead reader(Write(ZipBuilder().Add(name, "x").Build()));
    ASSERT_EQ(reader.Count(), 1);
    EXPECT_EQ(QByteArray(reader.Entry(0).Name), name.left(118));
    EXPECT_EQ(reader.NameToIndex(name), -1);
    EXPECT_EQ(reader.NameToIndex(name.left(118)), 0);
}

TEST_F(ZipReadTest, CommentUpTo31BytesIsTolerated)
{
    struct Case { int commentLength; int members; QStringList messages; };
    const Case cases[] = {
        {0, 1, {}},
        {31, 1, {}},
        {32, 0, {QStringLiteral("ZIP format")}},
    };
    for (const Case& c : cases) {
        platform.messages.clear();
        ZipRead reader(Write(ZipBuilder().Add("a", "abc").Comment(QByteArray(c.commentLength, 'c')).Build()));
        EXPECT_EQ(reader.Count(), c.members) << c.commentLength;
        EXPECT_EQ(platform.Texts(), c.messages) << c.commentLength;
    }
}

TEST_F(ZipReadTest, SelfExtractingPrefixIsSkippedAndReturned)
{
    const QByteArray prefix = "MZ\x90\0 some program bytes P K";
    ZipRead reader(Write(ZipBuilder().Prefix(prefix).Add("x.txt", "hello").Build()));
    ASSERT_EQ(reader.Count(), 1);
    EXPECT_EQ(reader.ZipStartOffset(), prefix.size());
    EXPECT_EQ(reader.GetInitialExeContent(), prefix);
    EXPECT_EQ(reader.UnZip(0), QByteArray("hello"));

    ZipRead plain(Write(ZipBuilder().Add("x.txt", "hello").Build(), QStringLiteral("b.zip")));
    EXPECT_EQ(plain.GetInitialExeContent(), QByteArray());
}

TEST_F(ZipReadTest, StoredAndDeflatedMembersReadBackAndFailTheirCrcWhenChanged)
{
    QByteArray text;
    for (int i = 0; i < 500; ++i)
        text += "line " + QByteArray::number(i) + "\n";
    for (uint16_t method : {uint16_t(0), uint16_t(8)}) {
        const QByteArray zip = ZipBuilder().Add("member.txt", text, method).Build();
        {
            platform.messages.clear();
            ZipRead reader(Write(zip));
            ASSERT_EQ(reader.Count(), 1);
            EXPECT_EQ(reader.UnZip(0), text) << method;
            EXPECT_TRUE(platform.messages.isEmpty());
        }
        QByteArray broken = zip;
        broken[30 + 10 + 40] = char(broken[30 + 10 + 40] ^ 0x20);  // inside the member's bytes
        ZipRead reader(Write(broken));
        ASSERT_EQ(reader.Count(), 1);
        EXPECT_EQ(reader.UnZip(0), QByteArray()) << method;
        ASSERT_EQ(platform.messages.size(), 1);
        EXPECT_EQ(platform.messages[0].text, QStringLiteral("CRC"));
        EXPECT_EQ(platform.messages[0].title, QStringLiteral("member.txt"));
    }
}

TEST_F(ZipReadTest, FoldersAndUnknownMethodsAreSkipped)
{
    const QByteArray zip = ZipBuilder()
                               .Add("dir/", "", 0)
                               .Add("a.txt", "A")
                               .Add("b.bin", "B", 12)
                               .Add("dir/c.txt", "C", 0)
                               .Build();
    ZipRead reader(Write(zip));
    EXPECT_EQ(Names(reader), (QStringList{"a.txt", "dir\\c.txt"}));
    EXPECT_EQ(reader.UnZip(1), QByteArray("C"));
    EXPECT_EQ(reader.UnZip(2), QByteArray());
    EXPECT_EQ(reader.UnZip(-1), QByteArray());
}

TEST_F(ZipReadTest, DataDescriptorMemberReadsEmptyWithoutMessage)
{
    test::ZipMember m{"dd.txt", "content", 8, true};
    ZipRead reader(Write(ZipBuilder().Add(m).Build()));
    ASSERT_EQ(reader.Count(), 1);
    EXPECT_EQ(reader.UnZip(0), QByteArray());
    EXPECT_TRUE(platform.messages.isEmpty());
}

TEST_F(ZipReadTest, FileProblemsGiveTheirMessages)
{
    struct Case { const char* name; QByteArray bytes; bool create; bool messagesOn; QStringList expected; };
    const QString emptyPath = dir.filePath(QStringLiteral("empty.zip"));
    const Case cases[] = {
        {"missing.zip", {}, false, true, {}},
        {"empty.zip", {}, true, true, {emptyPath}},
        {"empty.zip", {}, true, false, {}},
        {"text.zip", "just some text, no archive here", true, true, {QStringLiteral("No ZIP found")}},
        {"text.zip", "just some text, no archive here", true, false, {}},
        {"short.zip", "PK\x03\x04", true, true, {QStringLiteral("No ZIP found")}},
        {"noend.zip", QByteArray("PK\x03\x04", 4) + QByteArray(40, 'x'), true, false, {QStringLiteral("ZIP format")}},
    };
    for (const Case& c : cases) {
        platform.messages.clear();
        const QString path = dir.filePath(QString::fromLatin1(c.name));
        QFile::remove(path);
        if (c.create)
            test::WriteFile(path, c.bytes);
        ZipRead reader(path, 0, 0, c.messagesOn);
        EXPECT_EQ(reader.Count(), 0) << c.name;
        EXPECT_EQ(reader.NameToIndex("a"), -1);
        EXPECT_EQ(platform.Texts(), c.expected) << c.name;
    }
}

// Damaged and hostile archives must end in a message and no members, and
// never read outside the data (the fuzz targets run the same code under
// AddressSanitizer).
TEST_F(ZipReadTest, DamagedArchivesHaveNoMembers)
{
    const QByteArray good = ZipBuilder().Add("a.txt", QByteArray(300, 'a')).Add("b.txt", "bbb", 0).Build();
    const qsizetype cd = good.indexOf(QByteArray("PK\x01\x02", 4));
    const qsizetype localB = good.indexOf("b.txt") - 30;
    auto patched = [&](qsizetype at, QByteArray bytes) {
        QByteArray z = good;
        z.replace(at, bytes.size(), bytes);
        return z;
    };
    struct Case { const char* what; QByteArray zip; };
    const Case cases[] = {
        {"central offset past the end", patched(good.size() - 6, QByteArray("\xF0\xFF\xFF\x7F", 4))},
        {"central signature broken", patched(cd, "XX")},
        {"local offset past the end", patched(cd + 42, QByteArray("\xFF\xFF\xFF\x00", 4))},
        {"record count too high", patched(good.size() - 12, QByteArray("\xFF\xFF", 2))},
        {"stored size past the end", patched(localB + 22, QByteArray("\xFF\xFF\x00\x00", 4))},
        {"name length past the end", patched(26, QByteArray("\xFF\xFF", 2))},
    };
    for (const Case& c : cases) {
        platform.messages.clear();
        ZipRead reader(reinterpret_cast<const uint8_t*>(c.zip.constData()), c.zip.size());
        EXPECT_EQ(reader.Count(), 0) << c.what;
        for (const auto& m : platform.messages)
            EXPECT_EQ(m.text, QStringLiteral("ZIP format")) << c.what;
    }
    // Every truncation of the archive: no member may point past the data.
    for (qsizetype n = 0; n < good.size(); ++n) {
        const QByteArray cut = good.left(n);
        ZipRead reader(reinterpret_cast<const uint8_t*>(cut.constData()), cut.size());
        for (int i = 0; i < reader.Count(); ++i)
            reader.UnZip(i);
    }
}

TEST_F(ZipReadTest, DeflatedSizeClaimBeyondAnyRatioIsRefused)
{
    QByteArray zip = ZipBuilder().Add("bomb", "tiny").Build();
    zip.replace(22, 4, QByteArray("\x00\x00\x10\x00", 4));  // uncompressed size 1 MiB from a few bytes
    ZipRead reader(reinterpret_cast<const uint8_t*>(zip.constData()), zip.size());
    ASSERT_EQ(reader.Count(), 1);
    EXPECT_EQ(reader.UnZip(0), QByteArray());
    EXPECT_EQ(platform.Texts(), QStringList{QStringLiteral("CRC")});
}

// The archive with its one central directory record repeated copies times,
// every copy pointing at the same member.
QByteArray WithRepeatedDirectoryRecord(const QByteArray& zip, int copies)
{
    const qsizetype central = zip.indexOf("PK\x01\x02");
    const qsizetype end = zip.indexOf("PK\x05\x06");
    const QByteArray record = zip.mid(central, end - central);
    QByteArray out = zip.left(central) + record.repeated(copies) + zip.mid(end);
    const qsizetype newEnd = out.indexOf("PK\x05\x06", central + record.size() * copies);
    const auto u16 = [](int v) { return QByteArray(1, char(v & 0xFF)) + QByteArray(1, char((v >> 8) & 0xFF)); };
    out.replace(newEnd + 8, 2, u16(copies));
    out.replace(newEnd + 10, 2, u16(copies));
    const qint64 size = record.size() * copies;
    out.replace(newEnd + 12, 4, u16(int(size & 0xFFFF)) + u16(int(size >> 16)));
    return out;
}

TEST_F(ZipReadTest, OneMemberAndOneArchiveHaveBoundedCost)
{
    // A member that claims more than a member may hold is left out.
    QByteArray big = ZipBuilder().Add("big.dic", QByteArray(1024, 'x')).Build();
    const quint32 claimed = ZipRead::MaxMemberBytes + 1;
    big.replace(22, 4, QByteArray(reinterpret_cast<const char*>(&claimed), 4));
    EXPECT_EQ(ZipRead(reinterpret_cast<const uint8_t*>(big.constData()), big.size()).Count(), 0);

    // A thousand directory records of one well-compressed 1 MiB member: the
    // archive's budget admits 256 of them, and each reads back whole.
    const QByteArray member(1024 * 1024, '\0');
    const QByteArray zip = WithRepeatedDirectoryRecord(ZipBuilder().Add("zeros", member).Build(), 1000);
    ASSERT_LT(zip.size(), 64 * 1024);
    ZipRead reader(reinterpret_cast<const uint8_t*>(zip.constData()), zip.size());
    EXPECT_EQ(reader.Count(), int(ZipRead::MaxArchiveBytes / member.size()));
    EXPECT_EQ(reader.UnZip(reader.Count() - 1), member);
    EXPECT_TRUE(platform.Texts().isEmpty());
}

}  // namespace
}  // namespace lexicrawl
