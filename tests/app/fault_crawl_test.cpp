// A whole crawl of a site that misbehaves in every way a crawler meets on the
// open web: it must end within its time-outs, give every page it visited a
// status, show the pages that broke off as failed, and keep its memory
// bounded.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTemporaryDir>

#include "app/core/app_environment.h"
#include "app/core/crawl_session.h"
#include "fault_server.h"
#include "support/process_memory.h"
#include "support/recording_host.h"
#include "support/recording_platform.h"

using namespace lexicrawl;
using lexicrawl::testing::PeakMiB;

namespace {

class TestPlatform : public lexicrawl::testing::RecordingPlatform {
public:
    QString ProgramFolder() const override { return QStringLiteral(LEXICRAWL_BIN_DIR "/"); }
};

TEST(FaultCrawl, EndsCleanlyWithARowForEveryPage)
{
    TestPlatform platform;
    platform.SetQuiet(true);
    test::FaultServer server;
    QTemporaryDir data;
    AppEnvironment environment(platform, data.path());
    lexicrawl::testing::RecordingHost host;
    // The fetcher's own whole-fetch bound is a minute; the endless body need not take it.
    CrawlSession session(environment, host,
                         [](const QString& url, const FetchSettings& settings, const std::atomic<bool>* stop,
                            const StopHandler& onStop) {
                             FetchSettings bounded = settings;
                             bounded.wholeFetchTimeoutMs = 8000;
                             return FetchPage(url, bounded, stop, onStop);
                         });
    session.LoadDictionariesNow(environment.DictionariesFolder(), QStringLiteral("English (United States)"));
    CrawlOptions options;
    options.startUrl = QString::fromStdString(server.Url("/"));
    options.location = DatabaseLocation::Memory;
    options.urlLimit = 120;
    options.connectTimeoutMs = 2000;
    options.readTimeoutMs = 1500;
    options.connections = 4;
    QElapsedTimer clock;
    clock.start();
    ASSERT_TRUE(session.Start(options).Started());
    session.WaitUntilFinished();
    const qint64 seconds = clock.elapsed() / 1000;

    const CrawlSummary summary = session.LastSummary();
    EXPECT_EQ(summary.outcome, CrawlOutcome::Completed) << summary.failureText.toStdString();
    EXPECT_LT(seconds, 120);
    const std::vector<InternalUrl> table = session.Pages();
    ASSERT_EQ(qsizetype(table.size()), summary.tableLength);
    EXPECT_EQ(summary.pagesDone, summary.tableLength);
    QStringList failed;
    for (const InternalUrl& entry : table) {
        EXPECT_TRUE(entry.visited) << entry.page.left(200).toStdString();
        EXPECT_NE(entry.statusCode, 0) << entry.page.left(200).toStdString();
        if (VisitFailed(entry))
            failed << entry.page.mid(entry.page.lastIndexOf(u'/'));
    }
    // A body that broke off after its status line counts as failed, with its reason.
    for (const char* path : {"/reset-mid-body", "/stall-mid-body", "/huge-body", "/gzip-bomb", "/endless"})
        EXPECT_TRUE(failed.contains(QString::fromLatin1(path))) << path << " in " << failed.join(' ').toStdString();
    EXPECT_EQ(summary.pagesFailed, failed.size());
    const auto pages = session.Database().QueryAll(QStringLiteral("SELECT COUNT(*) FROM PAGES"));
    EXPECT_EQ(pages.at(0).at(0).toLongLong(), summary.tableLength);
    EXPECT_LT(PeakMiB(), 1500);
    std::printf("fault crawl: %lld pages, %lld failed, %lld s, peak %ld MiB\n", (long long)summary.tableLength,
                (long long)summary.pagesFailed, (long long)seconds, PeakMiB());
}

}  // namespace
