// A whole crawl through the real page fetcher, against a small site served on
// 127.0.0.1 by a server the test starts and stops itself.
#include <gtest/gtest.h>

#include "test_printers.h"

#include <httplib.h>

#include <QMutex>

#include <thread>

#include "crawl/crawl_control.h"
#include "crawl/crawl_host.h"
#include "crawl/page_sink.h"
#include "recording_platform.h"
#include "support/loopback_server.h"
#include "support/recording_host.h"
#include "store/project_database.h"

using namespace lexicrawl;

namespace {

class RecordingSink : public PageSink {
public:
    bool RecordPage(const QString& url, const QString& source) override
    {
        QMutexLocker lock(&mutex_);
        recorded << url + u" "_qs + QString::number(source.size());
        return true;
    }
    QString Finish() override { return QString(); }
    QStringList Recorded()
    {
        QMutexLocker lock(&mutex_);
        return recorded;
    }

private:
    QMutex mutex_;
    QStringList recorded;
};

class LoopbackSite {
public:
    LoopbackSite()
    {
        // The site is served on a port of its own: links from the site root
        // and redirects to "/..." or to a relative location must keep it.
        Page("/site/index.html",
             "<html><body><a href=\"a.html\">A</a>\n<a href=\"/site/b.html\" rel=\"nofollow\">B</a>\n"
             "<a href=\"http://www.other.test/\">Other</a>\n<a href=\"old.html\">Old</a>\n"
             "<a href=\"../site/moved.html\">Moved</a></body></html>\n");
        Page("/site/a.html", "<a href=\"index.html\">Home</a>\n");
        Page("/site/b.html", "<a href=\"missing.html\">Missing</a>\n");
        Page("/site/new.html", "<p>moved here</p>\n");
        Page("/site/landing.html", "<p>landed</p>\n");
        Redirect("/site/old.html", "/site/new.html");
        Redirect("/site/moved.html", "landing.html");
        Redirect("/start", "site/index.html");
        // The socket listens once bound: early connections wait in its backlog.
        server_.Start();
    }
    ~LoopbackSite()
    {
        server_.Stop();
    }
    std::string Root() const { return server_.Url().toStdString(); }
    QString Url(const char* path) const { return QString::fromStdString(Root()) + QString::fromUtf8(path); }

private:
    void Redirect(const char* path, std::string location)
    {
        server_.Routes().Get(path, [location](const httplib::Request&, httplib::Response& res) {
            res.status = 301;
            res.set_header("Location", location);
        });
    }
    void Page(const char* path, std::string body)
    {
        server_.Routes().Get(path, [body](const httplib::Request&, httplib::Response& res) {
            res.set_content(body, "text/html; charset=utf-8");
        });
    }

    lexicrawl::testing::LoopbackServer server_;
};

TEST(CrawlLoopback, CrawlsASiteOnItsOwnPortBreadthFirst)
{
    test::RecordingPlatform platform;
    LoopbackSite site;
    ProjectDatabase db{QString(), QString()};
    lexicrawl::testing::RecordingHost host;
    RecordingSink sink;
    CrawlControl control(db, host, sink);
    CrawlOptions options;
    options.startUrl = site.Url("/start");  // redirects to a relative location
    options.location = DatabaseLocation::Memory;
    options.connectTimeoutMs = 2000;
    options.readTimeoutMs = 2000;
    ASSERT_TRUE(control.Start(options).Started());
    control.WaitUntilFinished();

    QStringList table;
    for (const InternalUrl& e : control.Table().Snapshot()) {
        EXPECT_TRUE(e.visited) << e.page.toStdString();
        table << e.page + u" "_qs + QString::number(e.statusCode);
    }
    EXPECT_EQ(table, QStringList({site.Url("/site/index.html 200"), site.Url("/site/a.html 200"),
                                  site.Url("/site/b.html 200"), site.Url("/site/old.html 301"),
                                  site.Url("/site/moved.html 301"), site.Url("/site/missing.html 404"),
                                  site.Url("/site/new.html 200"), site.Url("/site/landing.html 200")}));
    const QStringList recorded = sink.Recorded();
    ASSERT_EQ(recorded.size(), 8);
    EXPECT_EQ(recorded[3], site.Url("/site/old.html 0"));
    EXPECT_EQ(recorded[6], site.Url("/site/new.html 19"));  // CR LF line ends
    const auto links = db.QueryAll(u"SELECT FOLLOW, TYPE FROM LINKS WHERE LINK = 'http://www.other.test'"_qs);
    ASSERT_EQ(links.size(), 1u);
    EXPECT_EQ(links[0], QStringList({u"dofollow"_qs, u"External"_qs}));
    EXPECT_EQ(db.QueryAll(u"SELECT COUNT(*) FROM LINKS"_qs)[0][0], u"10"_qs);
    EXPECT_EQ(control.LastSummary().pagesFailed, 1);
    EXPECT_TRUE((platform.Messages() + host.Messages()).isEmpty())
        << (platform.Messages() + host.Messages()).join(u'\n').toStdString();
}

}  // namespace
