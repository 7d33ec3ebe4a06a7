#include <gtest/gtest.h>

#include "test_printers.h"

#include <QElapsedTimer>
#include <QMutex>

#include <chrono>
#include <future>
#include <set>
#include <thread>

#include "crawl/crawl_control.h"
#include "crawl/crawl_host.h"
#include "crawl/page_sink.h"
#include "fake_site.h"
#include "recording_platform.h"
#include "store/project_database.h"

using namespace lexicrawl;

namespace {

// A host that keeps every event, with the thread it came on.
class TestHost : public CrawlHost {
public:
    void StartUrlChanged(const QString& url) override { Note(u"start "_qs + url); }
    void Progress(const CrawlProgress& p) override
    {
        QMutexLocker lock(&mutex_);
        progress.push_back(p);
        threads.insert(std::this_thread::get_id());
    }
    void RowsAppended(qsizetype length) override { Note(u"rows "_qs + QString::number(length)); }
    void RowVisited(const VisitedRow& visited) override { Note(u"visited "_qs + QString::number(visited.row)); }
    void Error(const QString& text) override { Note(u"error "_qs + text); }
    bool Message(const UserMessage& message) override
    {
        Note(u"message "_qs + message.text);
        return holdMessages.load();
    }
    void Finished(const CrawlSummary& summary) override
    {
        Note(u"finished"_qs);
        QMutexLocker lock(&mutex_);
        summaries.push_back(summary);
        if (onFinished)
            onFinished();
    }

    QStringList Events()
    {
        QMutexLocker lock(&mutex_);
        return events;
    }
    QStringList Only(const QString& prefix)
    {
        QStringList out;
        for (const QString& e : Events())
            if (e.startsWith(prefix))
                out << e;
        return out;
    }

    QMutex mutex_;
    QStringList events;
    std::vector<CrawlProgress> progress;
    std::vector<CrawlSummary> summaries;
    std::set<std::thread::id> threads;
    std::function<void()> onFinished;
    std::atomic<bool> holdMessages{false};  // the crawl waits for each message to be acknowledged

private:
    void Note(const QString& event)
    {
        QMutexLocker lock(&mutex_);
        events << event;
        threads.insert(std::this_thread::get_id());
    }
};

// Records which pages were handed over, and can fail on demand.
class TestSink : public PageSink {
public:
    bool RecordPage(const QString& url, const QString& source) override
    {
        QMutexLocker lock(&mutex_);
        recorded << url + u" ("_qs + QString::number(source.size()) + u")"_qs;
        if (failOnRecord)
            failure = u"recorder failed"_qs;
        return failure.isEmpty();
    }
    QString Finish() override
    {
        QMutexLocker lock(&mutex_);
        ++finishes;
        return std::exchange(failure, QString());
    }

    QMutex mutex_;
    QStringList recorded;
    QString failure;
    bool failOnRecord = false;
    int finishes = 0;
};

class CrawlCollectorTest : public ::testing::Test {
protected:
    CrawlOptions Options(const QString& url)
    {
        CrawlOptions o;
        o.startUrl = url;
        o.location = DatabaseLocation::Memory;
        o.urlLimit = 100;
        o.ignoreExtensions = u"css js png"_qs;
        o.followRedirects = false;
        o.connections = 1;  // one page at a time: the timing of a stop is exact
        return o;
    }
    // Runs a whole crawl and waits for its end.
    StartResult Crawl(const CrawlOptions& options)
    {
        const StartResult started = control_.Start(options);
        EXPECT_TRUE(started.Started());
        control_.WaitUntilFinished();
        return started;
    }
    QStringList Table() const
    {
        QStringList out;
        for (const InternalUrl& e : control_.Table().Snapshot())
            out << e.page + u" "_qs + (e.visited ? QString::number(e.statusCode) : u"-"_qs);
        return out;
    }
    QStringList Rows(const QString& sql)
    {
        QStringList out;
        for (const QStringList& row : db_.QueryAll(sql))
            out << row.join(u'|');
        return out;
    }

    test::RecordingPlatform platform_;
    ProjectDatabase db_{QString(), QString()};
    TestHost host_;
    TestSink sink_;
    test::FakeSite site_;
    CrawlControl control_{db_, host_, sink_, site_.Function()};
};

const QString kRoot = u"http://www.site.test"_qs;

void AddFixtureSite(test::FakeSite& site)
{
    site.Add(kRoot, u"<a href=\"a.html\">A</a> <a href=\"/b.html\">B</a> <a href=\"https://other.test/\">X</a>\r\n"_qs);
    site.Add(kRoot + u"/a.html"_qs, u"<a href='c.html'>C</a><a href='b.html'>B again</a><a href='style.css'>S</a>\r\n"_qs);
    site.Add(kRoot + u"/b.html"_qs, u"<a rel=\"nofollow\" href=\"d.html\">D</a><a href=\"a.html\">A</a>\r\n"_qs);
    site.Add(kRoot + u"/c.html"_qs, u"no links\r\n"_qs);
    site.AddStatus(kRoot + u"/d.html"_qs, 404);
}

TEST_F(CrawlCollectorTest, WalksTheSiteBreadthFirst)
{
    AddFixtureSite(site_);
    const StartResult started = Crawl(Options(u"www.site.test/"_qs));  // no scheme: "http://" is put in front
    EXPECT_EQ(started.url, u"http://www.site.test/"_qs);
    EXPECT_EQ(Table(), QStringList({kRoot + u" 200"_qs, kRoot + u"/a.html 200"_qs, kRoot + u"/b.html 200"_qs,
                                    kRoot + u"/c.html 200"_qs, kRoot + u"/d.html 404"_qs}));
    EXPECT_EQ(site_.Fetched(), QStringList({kRoot, kRoot + u"/a.html"_qs, kRoot + u"/b.html"_qs, kRoot + u"/c.html"_qs,
                                            kRoot + u"/d.html"_qs}));
    EXPECT_EQ(sink_.recorded.last(), kRoot + u"/d.html (0)"_qs);  // a failed fetch is recorded with no source
    EXPECT_EQ(Rows(u"SELECT URL FROM PAGES ORDER BY ID"_qs).size(), 5);
    // One LINKS row per occurrence: the start URL, 3 + 2 + 2 links (the .css one is dropped).
    EXPECT_EQ(Rows(u"SELECT URL,LINK,FOLLOW,TYPE,ANCHOR FROM LINKS ORDER BY ID"_qs),
              QStringList({u"|http://www.site.test||Internal|"_qs,
                           kRoot + u"|"_qs + kRoot + u"/a.html|dofollow|Internal|A"_qs,
                           kRoot + u"|"_qs + kRoot + u"/b.html|dofollow|Internal|B"_qs,
                           kRoot + u"|https://other.test|dofollow|External|X"_qs,
                           kRoot + u"/a.html|"_qs + kRoot + u"/c.html|dofollow|Internal|C"_qs,
                           kRoot + u"/a.html|"_qs + kRoot + u"/b.html|dofollow|Internal|B again"_qs,
                           kRoot + u"/b.html|"_qs + kRoot + u"/d.html|NOFOLLOW|Internal|D"_qs,
                           kRoot + u"/b.html|"_qs + kRoot + u"/a.html|dofollow|Internal|A"_qs}));

    // Rows arrive once per page that added some, never once per link.
    EXPECT_EQ(host_.Only(u"rows"_qs), QStringList({u"rows 1"_qs, u"rows 3"_qs, u"rows 4"_qs, u"rows 5"_qs}));
    EXPECT_EQ(host_.Only(u"visited"_qs).size(), 5);
    ASSERT_EQ(host_.progress.size(), 5u);
    EXPECT_EQ(host_.progress[2].position, 3);
    EXPECT_EQ(host_.progress[2].tableLength, 4);
    EXPECT_EQ(host_.progress[2].pagesDone, 2);
    EXPECT_EQ(host_.progress[2].currentUrl, kRoot + u"/b.html"_qs);
    EXPECT_EQ(host_.Events().last(), u"finished"_qs);
    ASSERT_EQ(host_.summaries.size(), 1u);
    const CrawlSummary& summary = host_.summaries[0];
    EXPECT_EQ(summary.outcome, CrawlOutcome::Completed);
    EXPECT_EQ(summary.pagesDone, 5);
    EXPECT_EQ(summary.pagesFailed, 1);  // the 404
    EXPECT_EQ(summary.tableLength, 5);
    EXPECT_EQ(control_.Phase(), CrawlPhase::Idle);
    EXPECT_EQ(sink_.finishes, 1);
    EXPECT_TRUE(platform_.Messages().isEmpty());
    EXPECT_TRUE(host_.Only(u"message"_qs).isEmpty());
    // Every event came from the collector's thread, none from the caller's.
    EXPECT_EQ(host_.threads.size(), 1u);
    EXPECT_EQ(host_.threads.count(std::this_thread::get_id()), 0u);
}

TEST_F(CrawlCollectorTest, StartUrlNormalisationAndLimits)
{
    struct Case {
        QString typed;
        qint64 limit;
        QString startUrl;
        QStringList table;
    } cases[] = {
        // Only the scheme is lower-cased; limit 1 fetches the start page alone.
        {u"HTTP://www.site.test"_qs, 1, kRoot, {kRoot + u" 200"_qs}},
        // A host name beginning with "http" gets no scheme: not an http URL,
        // no host, an empty domain like the start URL's, so internal.
        {u"httpbin.test"_qs, 100, u"httpbin.test"_qs, {u"httpbin.test 200"_qs}},
    };
    AddFixtureSite(site_);
    site_.Add(u"httpbin.test"_qs, u"x"_qs);
    for (const Case& c : cases) {
        CrawlOptions o = Options(c.typed);
        o.urlLimit = c.limit;
        EXPECT_EQ(Crawl(o).url, c.startUrl);
        EXPECT_EQ(Table(), c.table);
        if (c.limit == 1) {  // the links of the start page are still recorded
            EXPECT_EQ(Rows(u"SELECT TYPE, COUNT(*) FROM LINKS GROUP BY TYPE ORDER BY TYPE"_qs),
                      QStringList({u"External|1"_qs, u"Internal|3"_qs}));
        }
    }
    EXPECT_EQ(UrlLimitFromText(u"many"_qs), 1);
    EXPECT_EQ(UrlLimitFromText(u"25"_qs), 25);
}

TEST_F(CrawlCollectorTest, RedirectChainsBecomeEntries)
{
    site_.AddRedirect(kRoot, 301, kRoot + u"/r1"_qs);
    site_.AddRedirect(kRoot + u"/r1"_qs, 302, kRoot + u"/final.html"_qs);
    site_.Add(kRoot + u"/final.html"_qs, u"<a href=\"/r1\">loop</a>\r\n"_qs);
    Crawl(Options(kRoot));
    EXPECT_EQ(Table(), QStringList({kRoot + u" 301"_qs, kRoot + u"/r1 302"_qs, kRoot + u"/final.html 200"_qs}));
    EXPECT_EQ(Rows(u"SELECT URL,LINK,TYPE FROM LINKS ORDER BY ID"_qs),
              QStringList({u"|http://www.site.test|Internal"_qs, u"|http://www.site.test/r1|Internal"_qs,
                           u"|http://www.site.test/final.html|Internal"_qs,
                           u"http://www.site.test/final.html|http://www.site.test/r1|Internal"_qs}));
}

TEST_F(CrawlCollectorTest, TheRedirectProbeRunsOffTheCallersThreadAndAsksForTheHeadOnly)
{
    site_.AddRedirect(kRoot, 301, kRoot + u"/r1"_qs);
    site_.AddRedirect(kRoot + u"/r1"_qs, 302, kRoot + u"/final.html"_qs);
    site_.Add(kRoot + u"/final.html"_qs, u"done\r\n"_qs);
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    std::atomic<bool> probeStatusOnly{false};
    site_.OnFetch([&](const QString& url, const FetchSettings& settings, const std::atomic<bool>*) {
        if (url == kRoot && site_.Fetched().size() == 1) {
            probeStatusOnly = settings.statusOnly;
            released.wait();  // a start URL that takes its time to answer
        }
    });
    CrawlOptions o = Options(kRoot);
    o.followRedirects = true;
    const StartResult started = control_.Start(o);  // returns while the probe still waits
    ASSERT_TRUE(started.Started());
    EXPECT_EQ(started.url, kRoot);
    EXPECT_EQ(control_.Phase(), CrawlPhase::Running);
    release.set_value();
    control_.WaitUntilFinished();
    EXPECT_TRUE(probeStatusOnly.load());
    EXPECT_EQ(host_.Events().first(), u"start http://www.site.test/r1"_qs);
    EXPECT_EQ(Table(), QStringList({kRoot + u"/r1 302"_qs, kRoot + u"/final.html 200"_qs}));
}

// A failed statement of link processing reaches the host as a message. While
// the host holds it, the crawl waits on its own gate; acknowledging it lets
// the crawl go on, and Stop ends the wait as well.
TEST_F(CrawlCollectorTest, AHeldMessagePausesTheCrawlUntilAcknowledgedOrStopped)
{
    for (const bool acknowledge : {true, false}) {
        SCOPED_TRACE(acknowledge ? "acknowledged" : "stopped");
        site_.Add(kRoot, u"<a href=\"a.html\">A</a>\r\n"_qs);
        site_.Add(kRoot + u"/a.html"_qs, u"<a href=\"b.html\">B</a>\r\n"_qs);
        site_.Add(kRoot + u"/b.html"_qs, u"end\r\n"_qs);
        site_.OnFetch([this](const QString& url, const FetchSettings&, const std::atomic<bool>*) {
            if (url == kRoot)
                db_.Execute(u"DROP TABLE LINKS"_qs);
        });
        host_.holdMessages = true;
        const size_t finishedBefore = host_.summaries.size();
        const qsizetype fetchedBefore = site_.Fetched().size();
        const qsizetype messagesBefore = host_.Only(u"message"_qs).size();
        ASSERT_TRUE(control_.Start(Options(kRoot)).Started());
        QElapsedTimer waited;
        waited.start();
        while (host_.Only(u"message"_qs).size() == messagesBefore && waited.elapsed() < 10'000)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        ASSERT_EQ(host_.Only(u"message"_qs).size(), messagesBefore + 1);
        EXPECT_EQ(host_.Only(u"message"_qs).last(), u"message Exception raised with message: no such table: LINKS"_qs);
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        EXPECT_EQ(control_.Phase(), CrawlPhase::Running);  // held, not finished
        EXPECT_EQ(site_.Fetched().size(), fetchedBefore + 1);  // nothing fetched after the root

        if (acknowledge) {
            host_.holdMessages = false;  // the later pages' failures no longer wait
            control_.AcknowledgeMessage();
        } else {
            control_.Stop();
        }
        control_.WaitUntilFinished();
        ASSERT_EQ(host_.summaries.size(), finishedBefore + 1);
        EXPECT_EQ(host_.summaries.back().outcome, acknowledge ? CrawlOutcome::Completed : CrawlOutcome::Stopped);
        EXPECT_EQ(host_.summaries.back().pagesDone, acknowledge ? 3 : 1);
        site_.OnFetch({});
    }
}

TEST_F(CrawlCollectorTest, StopDuringAFetchFinishesOnceAndANewStartWorksAtOnce)
{
    AddFixtureSite(site_);
    site_.OnFetch([this](const QString& url, const FetchSettings&, const std::atomic<bool>* stop) {
        if (url.endsWith(u"/b.html"_qs)) {
            EXPECT_TRUE(control_.Stop());  // as if pressed on the UI thread
            EXPECT_EQ(control_.Phase(), CrawlPhase::Stopping);
            EXPECT_FALSE(control_.Stop());
            EXPECT_TRUE(stop->load());  // the transfer sees the request
        }
    });
    host_.onFinished = [this] { EXPECT_EQ(control_.Phase(), CrawlPhase::Idle); };
    Crawl(Options(kRoot));
    EXPECT_EQ(Table(), QStringList({kRoot + u" 200"_qs, kRoot + u"/a.html 200"_qs, kRoot + u"/b.html -"_qs,
                                    kRoot + u"/c.html -"_qs}));
    EXPECT_FALSE(sink_.recorded.join(u' ').contains(u"b.html"_qs));
    ASSERT_EQ(host_.summaries.size(), 1u);
    EXPECT_EQ(host_.summaries[0].outcome, CrawlOutcome::Stopped);
    EXPECT_EQ(host_.summaries[0].pagesDone, 2);

    site_.OnFetch({});
    EXPECT_TRUE(Crawl(Options(kRoot)).Started());
    EXPECT_EQ(host_.summaries.size(), 2u);
    EXPECT_EQ(host_.summaries[1].outcome, CrawlOutcome::Completed);
    EXPECT_EQ(control_.Table().Count(), 5);
}

TEST_F(CrawlCollectorTest, FailuresEndTheCrawlWithTheirText)
{
    AddFixtureSite(site_);
    CrawlOptions o = Options(kRoot);
    o.ignoreUrls = u"*[abc"_qs;
    Crawl(o);
    EXPECT_TRUE(site_.Fetched().isEmpty());
    EXPECT_EQ(host_.Events(), QStringList({u"error '*[abc' is an invalid mask at (6)"_qs, u"finished"_qs}));
    EXPECT_EQ(host_.summaries.back().outcome, CrawlOutcome::Failed);
    EXPECT_EQ(control_.Phase(), CrawlPhase::Idle);

    sink_.failOnRecord = true;
    Crawl(Options(kRoot));
    EXPECT_EQ(site_.Fetched(), QStringList({kRoot}));
    EXPECT_EQ(host_.Events().mid(2).filter(u"error"_qs), QStringList({u"error recorder failed"_qs}));
    EXPECT_EQ(host_.summaries.back().failureText, u"recorder failed"_qs);
}

TEST_F(CrawlCollectorTest, StartRefusesAnEmptyUrlAndASecondCrawl)
{
    EXPECT_EQ(control_.Start(Options(u" \t"_qs)).status, StartStatus::EmptyUrl);
    EXPECT_FALSE(db_.IsOpen());  // nothing was prepared
    AddFixtureSite(site_);
    std::promise<void> fetching, tried;
    site_.OnFetch([&](const QString& url, const FetchSettings&, const std::atomic<bool>*) {
        if (url == kRoot) {
            fetching.set_value();
            tried.get_future().wait();
        }
    });
    ASSERT_TRUE(control_.Start(Options(kRoot)).Started());
    fetching.get_future().wait();
    EXPECT_EQ(control_.Start(Options(kRoot)).status, StartStatus::Busy);  // two collectors never share the table
    tried.set_value();
    control_.WaitUntilFinished();
    EXPECT_EQ(control_.Table().Count(), 5);
    EXPECT_TRUE(platform_.Messages().isEmpty());
    EXPECT_TRUE(host_.Only(u"message"_qs).isEmpty());
}

TEST_F(CrawlCollectorTest, DestroyingTheControlDuringACrawlStopsItWithoutDeadlock)
{
    AddFixtureSite(site_);
    std::promise<void> fetching;
    site_.OnFetch([&](const QString& url, const FetchSettings&, const std::atomic<bool>* stop) {
        if (url == kRoot + u"/a.html"_qs) {
            fetching.set_value();
            while (!stop->load())  // a transfer that only a stop ends
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    });
    auto control = std::make_unique<CrawlControl>(db_, host_, sink_, site_.Function());
    ASSERT_TRUE(control->Start(Options(kRoot)).Started());
    fetching.get_future().wait();
    auto closed = std::async(std::launch::async, [&control] { control.reset(); });
    ASSERT_EQ(closed.wait_for(std::chrono::seconds(10)), std::future_status::ready);
    ASSERT_EQ(host_.summaries.size(), 1u);
    EXPECT_EQ(host_.summaries[0].outcome, CrawlOutcome::Stopped);
}

}  // namespace
