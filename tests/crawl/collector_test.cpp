#include <gtest/gtest.h>

#include "test_printers.h"

#include <QMutex>

#include <future>

#include "crawl/crawl_control.h"
#include "crawl/crawl_host.h"
#include "fake_site.h"
#include "recording_platform.h"
#include "platform/translation.h"
#include "store/project_database.h"

using namespace lexicrawl;

namespace {

// A host without a UI thread that keeps what it was told.
class TestHost : public CrawlHost {
public:
    void SetStatusText(int panel, const QString& text) override
    {
        QMutexLocker lock(&mutex_);
        status[panel] = text;
        if (panel == 3)
            panel3 << text;
    }
    void RecordPage(const QString& url, const QString& source) override
    {
        QMutexLocker lock(&mutex_);
        recorded << url + u" ("_qs + QString::number(source.size()) + u")"_qs;
        if (throwOnRecord)
            throw std::runtime_error("recorder failed");
    }
    void SetStartButton(const QString& caption, bool enabled) override
    {
        QMutexLocker lock(&mutex_);
        button = caption;
        buttonEnabled = enabled;
    }
    void SetOptionPanelsEnabled(bool enabled) override { panelsEnabled = enabled; }
    void SetUrlFieldText(const QString& text) override { urlField << text; }
    void FocusUrlField() override { focused = true; }
    void SetRowCount(qsizetype count) override { rowCount = count; }
    void CrawlEnded() override { ++ended; }

    QMutex mutex_;
    QString status[4];
    QStringList panel3, recorded, urlField;
    QString button;
    bool buttonEnabled = false, panelsEnabled = true, focused = false, throwOnRecord = false;
    std::atomic<qsizetype> rowCount{-1};
    std::atomic<int> ended{0};
};

class CrawlCollectorTest : public ::testing::Test {
protected:
    CrawlOptions Options(const QString& url)
    {
        CrawlOptions o;
        o.StartUrl = url;
        o.Location = DatabaseLocation::Memory;
        o.UrlLimitText = u"100"_qs;
        o.IgnoreExtensionsText = u"css js png"_qs;
        o.FollowRedirects = false;
        return o;
    }
    // Runs a whole crawl and waits for its end.
    void Crawl(const CrawlOptions& options)
    {
        ASSERT_TRUE(control_.Start(options));
        control_.WaitForCollector();
    }
    QStringList Table() const
    {
        QStringList out;
        for (const InternalUrl& e : control_.Table().Snapshot()) {
            out << e.page + u" "_qs + e.response + (e.time.isEmpty() ? u" -"_qs : u""_qs);
        }
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
    test::FakeSite site_;
    CrawlControl control_{db_, host_, site_.Function()};
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
    Crawl(Options(u"www.site.test/"_qs));  // no scheme: "http://" is put in front
    EXPECT_EQ(host_.urlField, QStringList({u"www.site.test/"_qs, u"http://www.site.test/"_qs}));
    EXPECT_EQ(control_.StartUrl(), u"http://www.site.test/"_qs);
    EXPECT_EQ(Table(), QStringList({kRoot + u" 200"_qs, kRoot + u"/a.html 200"_qs, kRoot + u"/b.html 200"_qs,
                                    kRoot + u"/c.html 200"_qs, kRoot + u"/d.html 404"_qs}));
    EXPECT_EQ(site_.Fetched(), QStringList({kRoot, kRoot + u"/a.html"_qs, kRoot + u"/b.html"_qs, kRoot + u"/c.html"_qs,
                                            kRoot + u"/d.html"_qs}));
    EXPECT_EQ(host_.recorded.last(), kRoot + u"/d.html (0)"_qs);  // a failed fetch is recorded with no source
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
    EXPECT_EQ(host_.status[0], u"Total URLs: 5"_qs);
    EXPECT_EQ(host_.status[1], u"5 / 5"_qs);
    EXPECT_EQ(host_.status[2], u"Time: 0 sec"_qs);
    EXPECT_EQ(host_.panel3.last(), u"Completed"_qs);
    EXPECT_TRUE(host_.panel3.contains(u"Loading: http://www.site.test/c.html"_qs));
    EXPECT_EQ(host_.button, u"Start"_qs);
    EXPECT_TRUE(host_.panelsEnabled);
    EXPECT_EQ(host_.rowCount.load(), 5);
    EXPECT_EQ(platform_.Beeps(), 1);
    EXPECT_EQ(control_.Phase(), CrawlPhase::Idle);
    EXPECT_TRUE(platform_.Messages().isEmpty());
    EXPECT_EQ(host_.ended.load(), 1);
}

TEST_F(CrawlCollectorTest, LimitOneFetchesOnlyTheStartPageButRecordsItsLinks)
{
    AddFixtureSite(site_);
    CrawlOptions o = Options(u"HTTP://www.site.test"_qs);  // only the scheme is lower-cased
    o.UrlLimitText = u"1"_qs;
    Crawl(o);
    EXPECT_EQ(Table(), QStringList({kRoot + u" 200"_qs}));
    EXPECT_EQ(Rows(u"SELECT TYPE, COUNT(*) FROM LINKS GROUP BY TYPE ORDER BY TYPE"_qs),
              QStringList({u"External|1"_qs, u"Internal|3"_qs}));
}

TEST_F(CrawlCollectorTest, ALimitThatIsNotANumberIsOne)
{
    AddFixtureSite(site_);
    CrawlOptions o = Options(kRoot);
    o.UrlLimitText = u"many"_qs;
    Crawl(o);
    EXPECT_EQ(control_.Table().Count(), 1);
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

TEST_F(CrawlCollectorTest, FollowRedirectsTakesOverTheFirstHopOnly)
{
    site_.AddRedirect(kRoot, 301, kRoot + u"/r1"_qs);
    site_.AddRedirect(kRoot + u"/r1"_qs, 302, kRoot + u"/final.html"_qs);
    site_.Add(kRoot + u"/final.html"_qs, u"done\r\n"_qs);
    CrawlOptions o = Options(kRoot);
    o.FollowRedirects = true;
    Crawl(o);
    EXPECT_EQ(host_.urlField.last(), kRoot + u"/r1"_qs);
    EXPECT_EQ(Table(), QStringList({kRoot + u"/r1 302"_qs, kRoot + u"/final.html 200"_qs}));
}

TEST_F(CrawlCollectorTest, StopDuringAFetchLeavesTheEntryUnvisited)
{
    AddFixtureSite(site_);
    site_.OnFetch([this](const QString& url, const std::atomic<bool>*, const StopHandler& onStop) {
        if (url.endsWith(u"/b.html"_qs)) {
            control_.Stop();  // as if pressed on the UI thread
            EXPECT_EQ(host_.button, u"Stopping..."_qs);
            EXPECT_FALSE(host_.buttonEnabled);
            onStop();  // the fetcher's progress handler sees the request
        }
    });
    Crawl(Options(kRoot));
    EXPECT_EQ(Table(), QStringList({kRoot + u" 200"_qs, kRoot + u"/a.html 200"_qs, kRoot + u"/b.html  -"_qs,
                                    kRoot + u"/c.html  -"_qs}));
    EXPECT_FALSE(host_.recorded.join(u' ').contains(u"b.html"_qs));
    EXPECT_EQ(host_.button, u"Start"_qs);
    EXPECT_EQ(host_.panel3.last(), u"Completed"_qs);
    EXPECT_EQ(platform_.Beeps(), 1);  // the early completion does not beep; the final one does
    EXPECT_EQ(control_.Phase(), CrawlPhase::Idle);
}

TEST_F(CrawlCollectorTest, AnInvalidMaskEndsTheCollectorWithItsText)
{
    AddFixtureSite(site_);
    CrawlOptions o = Options(kRoot);
    o.IgnoreUrlsText = u"*[abc"_qs;
    Crawl(o);
    EXPECT_EQ(platform_.Messages(), QStringList({u"ERROR: '*[abc' is an invalid mask at (6)"_qs}));
    EXPECT_TRUE(site_.Fetched().isEmpty());
    EXPECT_EQ(control_.Phase(), CrawlPhase::Idle);
    EXPECT_EQ(platform_.Beeps(), 0);
    EXPECT_EQ(host_.ended.load(), 1);
    EXPECT_EQ(host_.status[2], u"Time: 0 sec"_qs);  // the final time stays shown
}

TEST_F(CrawlCollectorTest, ARecorderFailureEndsTheCollector)
{
    AddFixtureSite(site_);
    host_.throwOnRecord = true;
    Crawl(Options(kRoot));
    EXPECT_EQ(platform_.Messages(), QStringList({u"ERROR: recorder failed"_qs}));
    EXPECT_EQ(site_.Fetched(), QStringList({kRoot}));
}

TEST_F(CrawlCollectorTest, StartRefusesAnEmptyUrlAndABadTimeout)
{
    EXPECT_FALSE(control_.Start(Options(u" \t"_qs)));
    EXPECT_TRUE(host_.focused);
    CrawlOptions o = Options(kRoot);
    o.ConnectTimeoutText = QString();
    EXPECT_FALSE(control_.Start(o));
    o.ConnectTimeoutText = u"10"_qs;
    o.ReadTimeoutText = u"99999999999"_qs;
    EXPECT_FALSE(control_.Start(o));
    EXPECT_EQ(platform_.Messages(), QStringList({u"Warning: Please enter Start URL!"_qs,
                                                 u"'' is not a valid integer value"_qs,
                                                 u"'99999999999' is not a valid integer value"_qs}));
    EXPECT_EQ(control_.Phase(), CrawlPhase::Idle);
    EXPECT_TRUE(site_.Fetched().isEmpty());
}

TEST_F(CrawlCollectorTest, ASecondStartBeginsAfreshAndNotWhileTheCollectorRuns)
{
    AddFixtureSite(site_);
    std::promise<void> fetching, tried;
    site_.OnFetch([&](const QString& url, const std::atomic<bool>*, const StopHandler&) {
        if (url == kRoot) {
            fetching.set_value();
            tried.get_future().wait();
        }
    });
    ASSERT_TRUE(control_.Start(Options(kRoot)));
    fetching.get_future().wait();
    EXPECT_TRUE(control_.CollectorRunning());
    EXPECT_FALSE(control_.Start(Options(kRoot)));  // two collectors never share the table
    tried.set_value();
    control_.WaitForCollector();
    EXPECT_EQ(control_.Table().Count(), 5);

    site_.OnFetch({});
    site_.Add(u"http://www.site2.test"_qs, u"<a href=\"x.html\">X</a>\r\n"_qs);
    Crawl(Options(u"http://www.site2.test"_qs));
    EXPECT_EQ(Table(), QStringList({u"http://www.site2.test 200"_qs, u"http://www.site2.test/x.html -1"_qs}));
    EXPECT_EQ(Rows(u"SELECT URL FROM PAGES ORDER BY ID"_qs),
              QStringList({u"http://www.site2.test"_qs, u"http://www.site2.test/x.html"_qs}));
}

TEST_F(CrawlCollectorTest, StatusTextsAndCaptionsAreTranslated)
{
    struct German : Translator {
        QString Translate(const QString& english) const override
        {
            static const QMap<QString, QString> texts{{u"Start"_qs, u"Starten"_qs},
                                                     {u"Completed"_qs, u"Fertig"_qs},
                                                     {u"Total URLs: %s"_qs, u"URLs gesamt: %s"_qs},
                                                     {u"Time: %s sec"_qs, u"Zeit: %s s"_qs}};
            return texts.value(english, english);
        }
    } german;
    SetTranslator(&german);
    AddFixtureSite(site_);
    Crawl(Options(kRoot));
    SetTranslator(nullptr);
    EXPECT_EQ(host_.button, u"Starten"_qs);
    EXPECT_EQ(host_.panel3.last(), u"Fertig"_qs);
    EXPECT_EQ(host_.status[0], u"URLs gesamt: 5"_qs);
    EXPECT_EQ(host_.status[2], u"Zeit: 0 s"_qs);
}

TEST_F(CrawlCollectorTest, AHostNameBeginningWithHttpGetsNoScheme)
{
    site_.Add(u"httpbin.test"_qs, u"x"_qs);
    Crawl(Options(u"httpbin.test"_qs));
    EXPECT_EQ(control_.StartUrl(), u"httpbin.test"_qs);
    // Not an http URL: no host, an empty domain like the start URL's, so internal.
    EXPECT_EQ(Table(), QStringList({u"httpbin.test 200"_qs}));
}

}  // namespace
