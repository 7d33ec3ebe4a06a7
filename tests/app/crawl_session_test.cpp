// A crawl as every front end runs it: the application layer's session over a
// site served from memory, with dictionaries built by the test.
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include <map>
#include <thread>

#include "app/core/app_environment.h"
#include "app/core/crawl_session.h"
#include "app/core/crawl_settings.h"
#include "app/core/word_groups_loader.h"
#include "crawl/fake_site.h"
#include "spelling_test_support.h"
#include "support/recording_host.h"
#include "support/recording_platform.h"

using namespace lexicrawl;

namespace {

// The program's folder is the build's bin folder, where empty.db lies.
class TestPlatform : public lexicrawl::testing::RecordingPlatform {
public:
    QString ProgramFolder() const override { return QStringLiteral(LEXICRAWL_BIN_DIR "/"); }
};

// A package whose dictionary knows only the given words.
void WritePackage(const QString& folder, const QString& fileName, const QByteArray& locale, const QByteArray& words)
{
    const QByteArray xcu = test::Xcu({test::XcuEntry("DICT_SPELL", "%origin%/d.aff %origin%/d.dic", locale)});
    const QByteArray zip = test::ZipBuilder()
                               .Add("description.xml", test::Description("<name lang=\"en\">Test</name>"))
                               .Add("META-INF/manifest.xml", test::Manifest("dictionaries.xcu"))
                               .Add("dictionaries.xcu", xcu)
                               .Add("d.aff", "SET UTF-8\n")
                               .Add("d.dic", "1\n" + words + "\n")
                               .Build();
    QFile file(folder + QLatin1Char('/') + fileName);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(zip);
}

class CrawlSessionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dictionaries = data.filePath(QStringLiteral("dicts"));
        ASSERT_TRUE(QDir().mkpath(dictionaries));
        WritePackage(dictionaries, QStringLiteral("en.oxt"), "en-US", "apple");
        WritePackage(dictionaries, QStringLiteral("de.oxt"), "de-DE", "banana");
    }
    QStringList Rows(CrawlSession& session, const QString& sql)
    {
        QStringList out;
        for (const QStringList& row : session.Database().QueryAll(sql))
            out << row.join(u'|');
        return out;
    }

    TestPlatform platform;
    QTemporaryDir data;
    QString dictionaries;
    test::FakeSite site;
};

const QString kRoot = QStringLiteral("http://www.site.test");

TEST_F(CrawlSessionTest, ADictionaryChangedDuringTheCrawlAppliesFromTheNextPageOn)
{
    AppEnvironment env(platform, data.path());
    lexicrawl::testing::RecordingHost host;
    CrawlSession session(env, host, site.Function());
    const DictionaryList list = session.LoadDictionariesNow(dictionaries, QStringLiteral("English"));
    ASSERT_EQ(list.items, (QStringList{"English (United States)", "German (Germany)"}));
    ASSERT_EQ(list.selected, 0);

    site.Add(kRoot, QStringLiteral("<p>apple banana</p><a href=\"p1\">1</a><a href=\"p2\">2</a>\r\n"));
    site.Add(kRoot + QStringLiteral("/p1"), QStringLiteral("<p>apple banana</p>\r\n"));
    site.Add(kRoot + QStringLiteral("/p2"), QStringLiteral("<p>apple banana</p>\r\n"));
    std::atomic<bool> selectedOnWorker{false};
    const std::thread::id main = std::this_thread::get_id();
    site.OnFetch([&](const QString& url, const FetchSettings&, const std::atomic<bool>*) {
        // Pressed while the second page is written: it waits its turn on the worker.
        if (url.endsWith(QLatin1String("/p2")))
            session.SelectDictionary(1, [&](const DictionaryList& l) {
                selectedOnWorker = l.selected == 1 && std::this_thread::get_id() != main;
            });
    });
    CrawlOptions options;
    options.startUrl = kRoot;
    options.followRedirects = false;
    options.connections = 1;  // the second page is fetched after the first is handed over
    ASSERT_TRUE(session.Start(options).Started());
    session.WaitUntilFinished();

    EXPECT_TRUE(selectedOnWorker.load());
    EXPECT_EQ(Rows(session, QStringLiteral("SELECT URL, WORD FROM MISSPELLED ORDER BY ID")),
              QStringList({kRoot + "|banana", kRoot + "/p1|banana", kRoot + "/p2|apple"}));
    std::vector<UnknownWord> words;
    ASSERT_TRUE(session.UnknownWords(words, nullptr, true));
    ASSERT_EQ(words.size(), 2u);
    EXPECT_EQ(words[0].word, QStringLiteral("banana"));
    EXPECT_EQ(words[0].pages, (QStringList{kRoot, kRoot + "/p1"}));
    EXPECT_TRUE((platform.Messages() + host.Messages()).isEmpty())
        << (platform.Messages() + host.Messages()).join('\n').toStdString();
}

// The recorder's failures (on the worker) and link processing's (on the
// collector) reach the host, and the crawl waits for the front end to
// acknowledge them; closing the session while it waits ends the crawl.
TEST_F(CrawlSessionTest, ClosingTheSessionReleasesACrawlHeldByAMessage)
{
    AppEnvironment env(platform, data.path());
    lexicrawl::testing::RecordingHost host;
    host.pauseOnMessages = true;
    {
        CrawlSession session(env, host, site.Function());
        session.LoadDictionariesNow(dictionaries, QString());
        site.Add(kRoot, QStringLiteral("<p>cherry</p><a href=\"p1\">1</a>\r\n"));
        site.Add(kRoot + QStringLiteral("/p1"), QStringLiteral("<p>plum</p>\r\n"));
        site.OnFetch([&](const QString& url, const FetchSettings&, const std::atomic<bool>*) {
            if (url == kRoot) {
                for (const char* table : {"PAGES", "LINKS", "MISSPELLED"})
                    session.Database().Execute(QStringLiteral("DROP TABLE %1").arg(QLatin1String(table)));
            }
        });
        CrawlOptions options;
        options.startUrl = kRoot;
        options.followRedirects = false;
        options.location = DatabaseLocation::Memory;
        ASSERT_TRUE(session.Start(options).Started());
        for (int i = 0; i < 2000 && host.Messages().size() < 2; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        // The collector holds at its first message, so a second one came from the worker.
        ASSERT_GE(host.Messages().size(), 2) << host.Messages().join('\n').toStdString();
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        EXPECT_EQ(session.Phase(), CrawlPhase::Running);
        EXPECT_EQ(host.finished.load(), 0);
    }  // the window closes
    EXPECT_EQ(host.finished.load(), 1);
    for (const QString& message : host.Messages())
        EXPECT_TRUE(message.contains(QLatin1String("Exception raised with message: no such table: "))) << message.toStdString();
}

TEST_F(CrawlSessionTest, AProjectSavedDuringACrawlOpensAgainWithItsPages)
{
    AppEnvironment env(platform, data.path());
    lexicrawl::testing::RecordingHost host;
    const QString saved = data.filePath(QStringLiteral("saved.db"));
    {
        CrawlSession session(env, host, site.Function());
        session.LoadDictionariesNow(dictionaries, QString());
        site.Add(kRoot, QStringLiteral("<p>cherry</p><a href=\"p1\">1</a>\r\n"));
        site.Add(kRoot + QStringLiteral("/p1"), QStringLiteral("<p>plum</p>\r\n"));
        QString error;
        bool savedDuringCrawl = false;
        site.OnFetch([&](const QString& url, const FetchSettings&, const std::atomic<bool>*) {
            if (url.endsWith(QLatin1String("/p1")))
                savedDuringCrawl = session.SaveProjectAs(saved, &error);  // while pages are written
        });
        CrawlOptions options;
        options.startUrl = kRoot;
        options.followRedirects = false;
        ASSERT_TRUE(session.Start(options).Started());
        session.WaitUntilFinished();
        EXPECT_TRUE(savedDuringCrawl) << error.toStdString();
    }
    CrawlSession reopened(env, host);
    ASSERT_TRUE(reopened.OpenProject(saved));
    const std::vector<InternalUrl> pages = reopened.Pages();
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(pages[1].page, kRoot + "/p1");
    EXPECT_TRUE(pages[0].visited);  // as it stood at the save
    EXPECT_EQ(pages[0].statusCode, 200);
    EXPECT_EQ(reopened.ProjectStartUrl(), pages[0].page);
    EXPECT_FALSE(pages[1].visited);
    EXPECT_EQ(Rows(reopened, QStringLiteral("PRAGMA integrity_check")), QStringList{"ok"});
    EXPECT_FALSE(reopened.OpenProject(data.filePath(QStringLiteral("missing.db"))));
}

// Words taken off the list: for the site (kept in the project, and carried
// into the next crawl), for the session only, counted apart from the rest.
TEST_F(CrawlSessionTest, ApprovedWordsLeaveTheListAndStayWithTheSavedProject)
{
    AppEnvironment env(platform, data.path());
    lexicrawl::testing::RecordingHost host;
    const QString saved = data.filePath(QStringLiteral("saved.db"));
    site.Add(kRoot, QStringLiteral("<p>apple banana cherry</p><a href=\"p1\">1</a>\r\n"));
    site.Add(kRoot + QStringLiteral("/p1"), QStringLiteral("<h1>Cherry banana</h1>\r\n"));
    CrawlOptions options;
    options.startUrl = kRoot;
    options.followRedirects = false;
    {
        CrawlSession session(env, host, site.Function());
        session.LoadDictionariesNow(dictionaries, QStringLiteral("English"));
        ASSERT_TRUE(session.Start(options).Started());
        session.WaitUntilFinished();
        ASSERT_TRUE(session.Approve(QStringLiteral("banana"), ApprovalKind::Site));
        ASSERT_TRUE(session.Approve(QStringLiteral("cherry"), ApprovalKind::Ignored));
        std::vector<UnknownWord> words;
        qsizetype approved = 0;
        ASSERT_TRUE(session.UnknownWords(words, nullptr, false, &approved));
        EXPECT_TRUE(words.empty());
        EXPECT_EQ(approved, 2);
        QString error;
        ASSERT_TRUE(session.SaveProjectAs(saved, &error)) << error.toStdString();
        // The crawl's rows are as the crawl wrote them; the contexts beside them.
        EXPECT_EQ(Rows(session, QStringLiteral("SELECT WORD FROM MISSPELLED ORDER BY ID")),
                  QStringList({"banana", "cherry", "banana", "cherry"}));
        EXPECT_EQ(Rows(session, QStringLiteral("SELECT WORD, PLACE FROM CONTEXTS ORDER BY ID")),
                  QStringList({"banana|body", "cherry|body", "cherry|heading", "banana|heading"}));
    }
    CrawlSession reopened(env, host, site.Function());
    reopened.LoadDictionariesNow(dictionaries, QStringLiteral("English"));
    ASSERT_TRUE(reopened.OpenProject(saved));
    std::vector<UnknownWord> words;
    qsizetype approved = 0;
    ASSERT_TRUE(reopened.UnknownWords(words, nullptr, false, &approved));
    ASSERT_EQ(words.size(), 1u);  // the ignored word is back, the approved one is not
    EXPECT_EQ(words[0].word, QStringLiteral("cherry"));
    EXPECT_EQ(approved, 1);

    ASSERT_TRUE(reopened.Start(options).Started());  // a fresh database keeps the site's words
    reopened.WaitUntilFinished();
    ASSERT_TRUE(reopened.UnknownWords(words, nullptr, false, &approved));
    EXPECT_EQ(words.size(), 1u);
    EXPECT_EQ(Rows(reopened, QStringLiteral("SELECT WORD FROM APPROVED")), QStringList{"banana"});
    EXPECT_TRUE((platform.Messages() + host.Messages()).isEmpty())
        << (platform.Messages() + host.Messages()).join('\n').toStdString();
}

// The user's own dictionary: read at start and given to the engine, so its
// words are known; a word added to it is written to the file at once.
TEST_F(CrawlSessionTest, ThePersonalWordListIsReadAtStartAndGivenToTheEngine)
{
    AppEnvironment env(platform, data.path());
    lexicrawl::testing::RecordingHost host;
    QFile personal(data.filePath(QStringLiteral("personal-words.txt")));
    ASSERT_TRUE(personal.open(QIODevice::WriteOnly));
    personal.write("cherry\r\n\r\n  banana \n");
    personal.close();
    site.Add(kRoot, QStringLiteral("<p>apple banana cherry plum</p>\r\n"));
    CrawlSession session(env, host, site.Function());
    session.LoadDictionariesNow(dictionaries, QStringLiteral("English"));
    EXPECT_TRUE(session.Spelling().CheckNow(QStringLiteral("cherry")));
    CrawlOptions options;
    options.startUrl = kRoot;
    options.followRedirects = false;
    ASSERT_TRUE(session.Start(options).Started());
    session.WaitUntilFinished();
    EXPECT_EQ(Rows(session, QStringLiteral("SELECT WORD FROM MISSPELLED")), QStringList{"plum"});

    ASSERT_TRUE(session.Approve(QStringLiteral("plum"), ApprovalKind::Personal));
    std::vector<UnknownWord> words;
    ASSERT_TRUE(session.UnknownWords(words, nullptr));
    EXPECT_TRUE(words.empty());
    EXPECT_TRUE(session.Spelling().CheckNow(QStringLiteral("plum")));
    EXPECT_TRUE(test::ReadFile(personal.fileName()).endsWith("plum\r\n"));
}

TEST(CrawlSettings, CrawlOptionsComeFromTheStoredValues)
{
    QTemporaryDir dir;
    Settings settings(dir.path());
    settings.SetPageLimit(7);
    settings.SetSubdomainScope(true);
    settings.SetMemoryDatabase(true);
    settings.SetIgnoreUrls(QStringLiteral("*/a/*\r\n*/b/*"));
    QString error;
    std::optional<CrawlOptions> options = CrawlOptionsFromSettings(settings, {}, &error);
    ASSERT_TRUE(options);
    EXPECT_EQ(options->urlLimit, 7);
    EXPECT_TRUE(options->subdomainScope);
    EXPECT_EQ(options->location, DatabaseLocation::Memory);
    EXPECT_EQ(options->ignoreUrls, QStringLiteral("*/a/*\r\n*/b/*"));
    EXPECT_EQ(options->connectTimeoutMs, 10000);
    EXPECT_TRUE(options->followRedirects);
    EXPECT_FALSE(options->text.Prose());
    settings.SetText(TextMode::Prose);
    settings.SetCheckAltAndTitle(true);
    options = CrawlOptionsFromSettings(settings, {}, &error);
    EXPECT_TRUE(options->text.Prose() && options->text.checkAltAndTitle);
    // The alt and title texts go with the prose reading only, whoever asks.
    settings.SetText(TextMode::Standard);
    EXPECT_FALSE(CrawlOptionsFromSettings(settings, {}, &error)->text.checkAltAndTitle);
    CrawlOverrides asked;
    asked.checkAltAndTitle = true;
    EXPECT_FALSE(CrawlOptionsFromSettings(settings, asked, &error)->text.checkAltAndTitle);

    // The site-file and document options: off unless stored or asked for.
    EXPECT_FALSE(options->robots || options->sitemaps || options->documents);
    settings.SetRobots(true);
    settings.SetDocuments(true);
    CrawlOverrides sitemaps;
    sitemaps.sitemaps = true;
    sitemaps.documents = false;
    options = CrawlOptionsFromSettings(settings, sitemaps, &error);
    EXPECT_TRUE(options->robots && options->sitemaps);
    EXPECT_FALSE(options->documents);

    settings.SetResponseTimeout(QStringLiteral("99999999999"));
    EXPECT_FALSE(CrawlOptionsFromSettings(settings, {}, &error));
    EXPECT_EQ(error, QStringLiteral("'99999999999' is not a valid integer value"));
    // Overrides stand over the stored values, a broken one included.
    CrawlOverrides overrides;
    overrides.startUrl = QStringLiteral("site.test");
    overrides.urlLimit = 3;
    overrides.readTimeoutMs = 250;
    overrides.followRedirects = false;
    overrides.location = DatabaseLocation::File;
    options = CrawlOptionsFromSettings(settings, overrides, &error);
    ASSERT_TRUE(options);
    EXPECT_EQ(options->startUrl, QStringLiteral("site.test"));
    EXPECT_EQ(options->urlLimit, 3);
    EXPECT_EQ(options->readTimeoutMs, 250);
    EXPECT_FALSE(options->followRedirects);
    EXPECT_EQ(options->location, DatabaseLocation::File);
    EXPECT_TRUE(options->subdomainScope);  // not overridden: stored
}

}  // namespace

// The groups of the unknown words come from what the project stored, so an
// opened project is grouped as the crawl that made it was, whether or not
// what the groups ask of the dictionaries was made ahead.
TEST_F(CrawlSessionTest, AnOpenedProjectIsGroupedAsTheCrawlWas)
{
    const QString folder = data.filePath(QStringLiteral("english"));
    ASSERT_TRUE(QDir().mkpath(folder));
    WritePackage(folder, QStringLiteral("us.oxt"), "en-US", "install\nthe\npackage");
    WritePackage(folder, QStringLiteral("gb.oxt"), "en-GB", "install\nthe\npackage\ncolour");
    AppEnvironment env(platform, data.path());
    lexicrawl::testing::RecordingHost host;
    const QString saved = data.filePath(QStringLiteral("grouped.db"));
    site.Add(kRoot, QStringLiteral("<p>install the package colour</p><a href=\"p1\">1</a><a href=\"p2\">2</a>\r\n"));
    site.Add(kRoot + QStringLiteral("/p1"), QStringLiteral("<p>isntall the package frobnicate</p>\r\n"));
    site.Add(kRoot + QStringLiteral("/p2"), QStringLiteral("<p>install the frobnicate</p>\r\n"));
    CrawlOptions options;
    options.startUrl = kRoot;
    options.followRedirects = false;

    auto groupsOf = [](CrawlSession& session) {
        GroupedWords grouped;
        EXPECT_TRUE(LoadGroupedWords(session, grouped));
        EXPECT_TRUE(grouped.siteCounts);
        std::map<QString, QString> out;
        for (std::size_t i = 0; i < grouped.words.size(); ++i)
            out[grouped.words[i].word] = WordGroupKey(grouped.groups[i].group) + u'|' + grouped.groups[i].ReasonText();
        return out;
    };
    std::map<QString, QString> crawled;
    {
        CrawlSession session(env, host, site.Function());
        session.LoadDictionariesNow(folder, QStringLiteral("English (United States)"));
        // As the front ends do: the British engine and the forms are made
        // beside the crawl; the reopened project below makes its own.
        session.Spelling().PrepareWordGroups();
        ASSERT_TRUE(session.Start(options).Started());
        session.WaitUntilFinished();
        crawled = groupsOf(session);
        QString error;
        ASSERT_TRUE(session.SaveProjectAs(saved, &error)) << error.toStdString();
        EXPECT_EQ(crawled, (std::map<QString, QString>{
                               {"isntall", "likely typo|1 letter from 'install', on 2 pages of this site"},
                               {"colour", "vocabulary|British spelling"},
                               {"frobnicate", "vocabulary|on 2 pages"},
                           }));
        // The session keeps each crawl's counts for its own project only: a
        // second crawl counts afresh, and an opened project is grouped from
        // what it stored, not from the crawl before it.
        site.Add(kRoot, QStringLiteral("<p>the package colour</p><a href=\"p1\">1</a><a href=\"p2\">2</a>\r\n"));
        site.Add(kRoot + QStringLiteral("/p2"), QStringLiteral("<p>the frobnicate</p>\r\n"));
        ASSERT_TRUE(session.Start(options).Started());
        session.WaitUntilFinished();
        const std::map<QString, QString> again = groupsOf(session);
        EXPECT_NE(again.at(QStringLiteral("isntall")), crawled.at(QStringLiteral("isntall")));
        ASSERT_TRUE(session.OpenProject(saved));
        EXPECT_EQ(groupsOf(session), crawled);
    }
    CrawlSession reopened(env, host, site.Function());
    reopened.LoadDictionariesNow(folder, QStringLiteral("English (United States)"));
    ASSERT_TRUE(reopened.OpenProject(saved));
    EXPECT_EQ(groupsOf(reopened), crawled);
}
