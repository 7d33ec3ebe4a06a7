// What a crawl records from a small site of prose with code, numbers, URLs,
// other languages and hidden text around it, with the dictionaries the build
// ships. The standard reading's rows are fixed in a file: they must never
// change, whatever is added beside them.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>

#include "app/core/app_environment.h"
#include "analysis/text_mode_record.h"
#include "app/core/crawl_session.h"
#include "crawl/fake_site.h"
#include "support/qt_printers.h"
#include "support/recording_host.h"
#include "support/recording_platform.h"

using namespace lexicrawl;

namespace {

const QString kRoot = QStringLiteral("http://www.site.test/");
const QString kSite = QStringLiteral(LEXICRAWL_TEST_DATA "/app/prose_site/");
const QString kDictionaries = QStringLiteral(LEXICRAWL_BIN_DIR "/Dictionaries");

class TestPlatform : public lexicrawl::testing::RecordingPlatform {
public:
    QString ProgramFolder() const override { return QStringLiteral(LEXICRAWL_BIN_DIR "/"); }
};

QString ReadText(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

class TextModeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!QFile::exists(kDictionaries + QStringLiteral("/en_US.oxt")))
            GTEST_SKIP() << "en_US.oxt was not built (hunspell-en-us or zip missing)";
        // The word order of a page follows the user's collation.
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        for (const QString& name : QDir(kSite).entryList({QStringLiteral("*.html")}, QDir::Files))
            site.Add(kRoot + name, ReadText(kSite + name));
    }
    void TearDown() override { QLocale::setDefault(QLocale::system()); }

    // Crawls the site from index.html and answers every row of the four
    // tables, in the order they were written, one line per row.
    QStringList Crawl(CrawlSession& session, const CrawlOptions& base)
    {
        session.LoadDictionariesNow(kDictionaries, QStringLiteral("English (United States)"));
        CrawlOptions options = base;
        options.startUrl = kRoot + QStringLiteral("index.html");
        options.followRedirects = false;
        EXPECT_TRUE(session.Start(options).Started());
        session.WaitUntilFinished();
        QStringList rows;
        for (const char* table : {"PAGES", "LINKS", "MISSPELLED", "TAGS"}) {
            for (const QStringList& row :
                 session.Database().QueryAll(QStringLiteral("SELECT * FROM %1 ORDER BY ID;").arg(table)))
                rows << QString::fromLatin1(table) + QLatin1Char('|') + row.join(QLatin1Char('|'));
        }
        return rows;
    }

    TestPlatform platform;
    QTemporaryDir data;
    test::FakeSite site;
};

TEST_F(TextModeTest, TheStandardReadingRecordsExactlyTheRowsItAlwaysHas)
{
    AppEnvironment env(platform, data.path());
    lexicrawl::testing::RecordingHost host;
    CrawlSession session(env, host, site.Function());
    const QStringList rows = Crawl(session, CrawlOptions());
    QString expected = ReadText(QStringLiteral(LEXICRAWL_TEST_DATA "/app/prose_site.standard.rows"));
    ASSERT_FALSE(expected.isEmpty());
    EXPECT_EQ(rows.join(QLatin1Char('\n')) + QLatin1Char('\n'), expected);
    EXPECT_TRUE((platform.Messages() + host.Messages()).isEmpty())
        << (platform.Messages() + host.Messages()).join('\n').toStdString();
}

// The prose reading on the same site: the typos in its prose, as written,
// and nothing of its code, numbers, addresses and identifiers; German text
// goes to the German dictionary, Latin (no dictionary) is counted. A saved
// project says so when it is opened again.
TEST_F(TextModeTest, TheProseReadingFindsTheTyposOfTheProseAndSaysSoInTheProject)
{
    AppEnvironment env(platform, data.path());
    lexicrawl::testing::RecordingHost host;
    const QString saved = data.filePath(QStringLiteral("prose.db"));
    {
        CrawlSession session(env, host, site.Function());
        CrawlOptions options;
        options.text = TextOptions{TextMode::Prose, true};
        Crawl(session, options);
        const auto misspelled = session.Database().QueryAll(QStringLiteral("SELECT WORD, URL FROM MISSPELLED ORDER BY ID;"));
        QStringList rows;
        for (const QStringList& row : misspelled)
            rows << row[0] + QLatin1Char(' ') + row[1].mid(kRoot.size());
        EXPECT_EQ(rows, QStringList({"respones index.html", "recieves index.html", "teh index.html",
                                     "mispelled languages.html", "Fehlr languages.html",
                                     "sentense attributes.html", "definately attributes.html",
                                     "tomatos attributes.html", "gardn attributes.html", "begining attributes.html",
                                     "paris case.html", "Javascript case.html", "javascript case.html",
                                     "Teh case.html", "Gardn case.html"}));
        QString error;
        ASSERT_TRUE(session.SaveProjectAs(saved, &error)) << error.toStdString();
    }
    CrawlSession reopened(env, host);
    ASSERT_TRUE(reopened.OpenProject(saved));
    const TextModeRecord record = reopened.ProjectTextMode();
    EXPECT_TRUE(record.options.Prose() && record.options.checkAltAndTitle);
    ASSERT_EQ(record.skipped.size(), 1u);
    EXPECT_EQ(record.skipped[0].language, QStringLiteral("la"));
    EXPECT_EQ(record.skipped[0].words, 6);
    std::vector<UnknownWord> words;
    ASSERT_TRUE(reopened.UnknownWords(words, nullptr));
    QStringList list;
    for (const UnknownWord& w : words)
        list << QStringLiteral("%1 %2").arg(w.word).arg(w.occurrence);
    EXPECT_EQ(list, QStringList({"teh 2", "gardn 2", "respones 1", "recieves 1", "mispelled 1", "Fehlr 1",
                                 "sentense 1", "definately 1", "tomatos 1", "begining 1", "paris 1", "Javascript 1"}));
    EXPECT_TRUE((platform.Messages() + host.Messages()).isEmpty())
        << (platform.Messages() + host.Messages()).join('\n').toStdString();
}

}  // namespace
