#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <functional>

#include "app/core/settings.h"
#include "support/qt_printers.h"
#include "support/recording_platform.h"

using namespace lexicrawl;

namespace {

void WriteIni(const QTemporaryDir& dir, const QByteArray& body)
{
    QFile f(dir.filePath(QStringLiteral("settings.ini")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(body);
}

QByteArray ReadIni(const QTemporaryDir& dir)
{
    QFile f(dir.filePath(QStringLiteral("settings.ini")));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

// Each row: the key's stored text (nullptr = key absent) and what the getter reads.
TEST(Settings, ReadingRules)
{
    struct Case {
        const char* key;
        const char* stored;
        std::function<QString(const Settings&)> read;
        QString expected;
    };
    auto b = [](bool v) { return v ? QStringLiteral("on") : QStringLiteral("off"); };
    auto n = [](int v) { return QString::number(v); };
    const Case cases[] = {
        {"RemoveAnchors", nullptr, [&](const Settings& s) { return b(s.RemoveAnchors()); }, "on"},
        {"RemoveAnchors", "0", [&](const Settings& s) { return b(s.RemoveAnchors()); }, "off"},
        {"RemoveAnchors", "false", [&](const Settings& s) { return b(s.RemoveAnchors()); }, "on"},
        {"RemoveAnchors", "", [&](const Settings& s) { return b(s.RemoveAnchors()); }, "on"},
        {"RemoveQueryString", nullptr, [&](const Settings& s) { return b(s.RemoveQueryString()); }, "off"},
        {"RemoveQueryString", "1", [&](const Settings& s) { return b(s.RemoveQueryString()); }, "on"},
        {"RemoveQueryString", "true", [&](const Settings& s) { return b(s.RemoveQueryString()); }, "off"},
        {"PageLimit", nullptr, [&](const Settings& s) { return n(s.PageLimit()); }, "50"},
        {"PageLimit", "0", [&](const Settings& s) { return n(s.PageLimit()); }, "1"},
        {"PageLimit", "", [&](const Settings& s) { return n(s.PageLimit()); }, "100"},
        {"PageLimit", "abc", [&](const Settings& s) { return n(s.PageLimit()); }, "100"},
        {"PageLimit", "-5", [&](const Settings& s) { return n(s.PageLimit()); }, "1"},
        {"PageLimit", "2000000000", [&](const Settings& s) { return n(s.PageLimit()); }, "999999999"},
        {"PageLimit", "250", [&](const Settings& s) { return n(s.PageLimit()); }, "250"},
        {"DisplayUnfinishedResults", "off", [&](const Settings& s) { return b(s.DisplayUnfinishedResults()); }, "on"},
        {"DisplayUnfinishedResults", "OFF", [&](const Settings& s) { return b(s.DisplayUnfinishedResults()); }, "off"},
        {"StripHtmlMarkup", "OFF", [&](const Settings& s) { return b(s.StripHtmlMarkup()); }, "off"},
        {"StripHtmlMarkup", "no", [&](const Settings& s) { return b(s.StripHtmlMarkup()); }, "on"},
        {"ShowOptions", "1", [&](const Settings& s) { return b(s.ShowOptions()); }, "on"},
        {"ShowOptions", "yes", [&](const Settings& s) { return b(s.ShowOptions()); }, "off"},
        {"Domain", "Subdomain", [&](const Settings& s) { return b(s.SubdomainScope()); }, "on"},
        {"Domain", "subdomain", [&](const Settings& s) { return b(s.SubdomainScope()); }, "off"},
        {"DefaultDatabaseLocation", "Memory", [&](const Settings& s) { return b(s.MemoryDatabase()); }, "on"},
        {"DefaultDatabaseLocation", "memory", [&](const Settings& s) { return b(s.MemoryDatabase()); }, "off"},
        {"WindowState", "Normal", [&](const Settings& s) { return b(s.Maximized()); }, "off"},
        {"WindowState", "normal", [&](const Settings& s) { return b(s.Maximized()); }, "on"},
        {"ConnectionTimeout", "", [&](const Settings& s) { return s.ConnectionTimeout(); }, "10000"},
        {"ResponseTimeout", "2500", [&](const Settings& s) { return s.ResponseTimeout(); }, "2500"},
        {"Agent", "", [&](const Settings& s) { return s.Agent(); }, Settings::DefaultAgent()},
        {"StartURL", "http://x.test/", [&](const Settings& s) { return s.StartUrl(); }, "http://x.test/"},
        {"DictionaryLanguage", "", [&](const Settings& s) { return s.DictionaryLanguage(); }, "English (United States)"},
        {"IgnoreExtensions", nullptr, [&](const Settings& s) { return s.IgnoreExtensions(); },
         Settings::DefaultIgnoreExtensions()},
        {"TextMode", nullptr, [&](const Settings& s) { return TextModeName(s.Text()); }, "Standard"},
        {"TextMode", "Prose", [&](const Settings& s) { return TextModeName(s.Text()); }, "Prose"},
        {"TextMode", "prose", [&](const Settings& s) { return TextModeName(s.Text()); }, "Standard"},
        {"CheckAltAndTitle", nullptr, [&](const Settings& s) { return b(s.CheckAltAndTitle()); }, "off"},
        {"CheckAltAndTitle", "ON", [&](const Settings& s) { return b(s.CheckAltAndTitle()); }, "on"},
        {"CheckAltAndTitle", "1", [&](const Settings& s) { return b(s.CheckAltAndTitle()); }, "off"},
    };
    for (const Case& c : cases) {
        QTemporaryDir dir;
        QByteArray body = "\xEF\xBB\xBF[Settings]\r\n";
        if (c.stored)
            body += QByteArray(c.key) + '=' + c.stored + "\r\n";
        WriteIni(dir, body);
        Settings s(dir.path());
        EXPECT_EQ(c.read(s), c.expected) << c.key << "=" << (c.stored ? c.stored : "(absent)");
    }
}

TEST(Settings, KeysAndSectionIgnoreCase)
{
    QTemporaryDir dir;
    WriteIni(dir, "[settings]\nremoveanchors=0\nPAGELIMIT=7\n");
    Settings s(dir.path());
    EXPECT_FALSE(s.RemoveAnchors());
    EXPECT_EQ(s.PageLimit(), 7);
}

TEST(Settings, WindowGeometryRules)
{
    QTemporaryDir dir;
    const QSize screen(1920, 1080);
    {
        Settings s(dir.path());
        EXPECT_FALSE(s.HasPosition());
        EXPECT_EQ(s.Width(screen), 1080);                // the screen's height
        EXPECT_EQ(s.Height(screen), 835);                // 1920 / 2.3 = 834.78
        EXPECT_EQ(s.Height(QSize(1150, 800)), 500);      // exact
        EXPECT_EQ(s.Height(QSize(23, 800)), 10);         // 10.0
        EXPECT_EQ(s.Height(QSize(1201, 800)), 522);      // 522.17
    }
    WriteIni(dir, "[Settings]\r\nLeft=40\r\nWidth=3000\r\nHeight=x\r\n");
    {
        Settings s(dir.path());
        EXPECT_FALSE(s.HasPosition());  // Left without Top is ignored
        EXPECT_EQ(s.Width(screen), 1080);
        EXPECT_EQ(s.Height(screen), 835);
    }
    WriteIni(dir, "[Settings]\r\nLeft=40\r\nTop=oops\r\nWidth=800\r\nHeight=600\r\n");
    Settings s(dir.path());
    EXPECT_TRUE(s.HasPosition());
    EXPECT_EQ(s.Left(), 40);
    EXPECT_EQ(s.Top(), 0);
    EXPECT_EQ(s.Width(screen), 800);
    EXPECT_EQ(s.Height(screen), 600);
}

TEST(Settings, IgnoreUrlsRoundTripThroughLineBreakToken)
{
    QTemporaryDir dir;
    {
        Settings s(dir.path());
        EXPECT_EQ(s.IgnoreUrls(), Settings::DefaultIgnoreUrls());
        ASSERT_TRUE(s.SetIgnoreUrls(QStringLiteral("https://a.test/x/*\r\n*/tmp/*")));
    }
    EXPECT_TRUE(ReadIni(dir).contains("IgnoreURLs=https://a.test/x/*#13#10*/tmp/*\r\n"));
    Settings s(dir.path());
    EXPECT_EQ(s.IgnoreUrls(), QStringLiteral("https://a.test/x/*\r\n*/tmp/*"));
}

TEST(Settings, EveryChangeRewritesTheWholeFileAtOnce)
{
    QTemporaryDir dir;
    WriteIni(dir, "[Other]\r\nkeep=me\r\n[Settings]\r\nStartURL=http://old.test/\r\n");
    Settings s(dir.path());
    ASSERT_TRUE(s.SetPageLimit(12));
    ASSERT_TRUE(s.SetStartUrl(QStringLiteral("http://caf\u00E9.test/")));
    const QByteArray ini = ReadIni(dir);
    EXPECT_TRUE(ini.startsWith("\xEF\xBB\xBF"));
    EXPECT_TRUE(ini.contains("[Settings]\r\nStartURL=http://caf\xC3\xA9.test/\r\nPageLimit=12\r\n"));
    EXPECT_TRUE(ini.contains("[Other]\r\nkeep=me\r\n"));  // other sections survive
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("settings.ini.tmp"))));
    Settings again(dir.path());
    EXPECT_EQ(again.PageLimit(), 12);
    EXPECT_EQ(again.StartUrl(), QStringLiteral("http://caf\u00E9.test/"));
}

TEST(Settings, UnreadableFileIsReplacedAndDefaultsApply)
{
    lexicrawl::testing::RecordingPlatform platform;
    QTemporaryDir dir;
    // One byte that is not UTF-8 in an otherwise good file.
    const QByteArray damaged = "[Settings]\r\nPageLimit=7\r\nAgent=caf\xE9\r\n";
    WriteIni(dir, damaged);
    Settings s(dir.path());
    EXPECT_EQ(s.PageLimit(), 50);
    EXPECT_EQ(s.Agent(), Settings::DefaultAgent());
    EXPECT_EQ(ReadIni(dir), QByteArray("\xEF\xBB\xBF"));
    // The damaged file is kept beside the new one, and the user told once.
    QFile kept(dir.filePath(QStringLiteral("settings.ini.damaged")));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), damaged);
    ASSERT_EQ(platform.Messages().size(), 1);
    EXPECT_TRUE(platform.Messages()[0].contains(QStringLiteral("settings.ini.damaged"))) << platform.Messages()[0].toStdString();
    Settings again(dir.path());
    EXPECT_EQ(platform.Messages().size(), 1);
}

TEST(Settings, DeleteFileResetsToDefaults)
{
    QTemporaryDir dir;
    Settings s(dir.path());
    ASSERT_TRUE(s.SetRemoveAnchors(false));
    ASSERT_TRUE(s.DeleteFile());
    EXPECT_FALSE(QFile::exists(s.FilePath()));
    EXPECT_TRUE(s.RemoveAnchors());
}

TEST(Settings, AValueWithALineBreakStaysOneKey)
{
    QTemporaryDir dir;
    Settings(dir.path()).SetStartUrl(QStringLiteral("http://x.test/\rLeft=5\nTop=7"));
    const Settings reread(dir.path());
    EXPECT_FALSE(reread.HasPosition());
    EXPECT_EQ(reread.StartUrl(), QStringLiteral("http://x.test/Left=5Top=7"));
}
