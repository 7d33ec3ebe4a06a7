// A crawl that obeys robots.txt and reads sitemaps, on a fake site: which
// pages are queued, fetched, left out or found only in a sitemap, and that
// a broken site file is a warning, never a failed crawl.
#include <gtest/gtest.h>

#include "test_printers.h"

#include <QElapsedTimer>
#include <QMutex>

#include "support/gzip.h"

#include "crawl/crawl_control.h"
#include "crawl/crawl_notes.h"
#include "crawl/page_sink.h"
#include "crawl/sitemap_walk.h"
#include "fake_site.h"
#include "recording_platform.h"
#include "store/project_database.h"

using namespace lexicrawl;

namespace {

using lexicrawl::testing::Gzip;

QString Urlset(const QStringList& urls)
{
    QString xml = u"<?xml version=\"1.0\"?><urlset xmlns=\"http://www.sitemaps.org/schemas/sitemap/0.9\">"_qs;
    for (const QString& url : urls)
        xml += u"<url><loc>"_qs + url + u"</loc></url>"_qs;
    return xml + u"</urlset>"_qs;
}

QString Index(const QStringList& urls)
{
    QString xml = u"<sitemapindex xmlns=\"http://www.sitemaps.org/schemas/sitemap/0.9\">"_qs;
    for (const QString& url : urls)
        xml += u"<sitemap><loc>"_qs + url + u"</loc></sitemap>"_qs;
    return xml + u"</sitemapindex>"_qs;
}

// Keeps what was handed over as a document.
class DocumentSink : public PageSink {
public:
    bool RecordPage(const QString&, const QString&) override { return true; }
    bool RecordDocument(const QString& url, const QByteArray& body, const QByteArray&) override
    {
        QMutexLocker lock(&mutex);
        documents << url.mid(url.lastIndexOf(u'/')) + u" "_qs + QString::fromLatin1(body);
        return true;
    }
    QString Finish() override { return QString(); }
    QMutex mutex;
    QStringList documents;
};

const QString kRoot = u"http://www.site.test"_qs;

class SiteFilesTest : public ::testing::Test {
protected:
    CrawlOptions Options()
    {
        CrawlOptions o;
        o.startUrl = kRoot + u"/"_qs;
        o.location = DatabaseLocation::Memory;
        o.urlLimit = 100;
        o.ignoreExtensions = u"css js png"_qs;
        o.followRedirects = false;
        o.connections = 1;
        o.userAgent = u"Mozilla/5.0 (compatible; lexicrawl/1.0)"_qs;
        return o;
    }
    CrawlSummary Crawl(const CrawlOptions& options)
    {
        EXPECT_TRUE(control_.Start(options).Started());
        control_.WaitUntilFinished();
        return control_.LastSummary();
    }
    QStringList Table() const
    {
        QStringList out;
        for (const InternalUrl& e : control_.Table().Snapshot())
            out << e.page.mid(kRoot.size());
        return out;
    }
    QStringList Fetched() const
    {
        QStringList out;
        for (const QString& url : site_.Fetched())
            out << url.mid(kRoot.size());
        return out;
    }
    static QStringList Paths(const QStringList& urls)
    {
        QStringList out;
        for (const QString& url : urls)
            out << url.mid(kRoot.size());
        return out;
    }

    test::RecordingPlatform platform_;
    ProjectDatabase db_{QString(), QString()};
    CrawlHost host_;
    DocumentSink sink_;
    test::FakeSite site_;
    CrawlControl control_{db_, host_, sink_, site_.Function()};
};

TEST_F(SiteFilesTest, RobotsRulesDecideWhatIsQueuedAndFetched)
{
    site_.Add(kRoot + u"/robots.txt"_qs,
              u"User-agent: *\nDisallow: /\n\n"
              "User-agent: lexicrawl\nDisallow: /private/\nAllow: /private/open*.html$\nDisallow: /*.pdf$\n"_qs);
    site_.Add(kRoot,
              u"<a href='/public.html'>P</a><a href='/private/secret.html'>S</a><a href='/private/open-1.html'>O</a>"
              "<a href='/private/open-1.html?x=1'>Q</a><a href='/doc.pdf'>D</a><a href='/doc.pdf?v=2'>D2</a>"_qs);
    site_.Add(kRoot + u"/public.html"_qs, u"<a href='/private/secret.html'>again</a>"_qs);
    site_.Add(kRoot + u"/private/open-1.html"_qs, u"open"_qs);
    site_.Add(kRoot + u"/doc.pdf?v=2"_qs, u"not matched by the $ rule"_qs);
    CrawlOptions o = Options();
    o.robots = true;
    const CrawlSummary summary = Crawl(o);
    EXPECT_EQ(summary.outcome, CrawlOutcome::Completed);
    // The group naming this crawler applies, not "*"; the longest rule wins.
    EXPECT_EQ(Table(), QStringList({QString(), u"/public.html"_qs, u"/private/open-1.html"_qs, u"/doc.pdf?v=2"_qs}));
    EXPECT_EQ(Fetched(), QStringList({u"/robots.txt"_qs, QString(), u"/public.html"_qs, u"/private/open-1.html"_qs,
                                      u"/doc.pdf?v=2"_qs}));
    // Left out once each, and not counted as failures.
    EXPECT_EQ(Paths(summary.notes.leftOutByRobots),
              QStringList({u"/private/secret.html"_qs, u"/private/open-1.html?x=1"_qs, u"/doc.pdf"_qs}));
    EXPECT_EQ(summary.pagesFailed, 0);
    EXPECT_TRUE(summary.notes.warnings.isEmpty());
    // The links themselves are still recorded.
    EXPECT_EQ(db_.QueryAll(u"SELECT COUNT(*) FROM LINKS WHERE LINK LIKE '%secret%'"_qs).at(0).at(0), u"2"_qs);
}

TEST_F(SiteFilesTest, RobotsFileAnswersDecideAsTheStandardSays)
{
    struct Case {
        const char* name;
        int status;  // of /robots.txt; 0: it redirects to /r.txt, which disallows /a
        QStringList table;
        bool warned;
    };
    const Case cases[] = {
        {"missing: everything allowed", 404, {QString(), u"/a"_qs}, false},
        {"server error: nothing allowed", 503, {}, true},
        {"no answer: nothing allowed", -1, {}, true},
        {"a redirect is followed", 0, {QString()}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::FakeSite site;
        if (c.status == 0) {
            site.AddRedirect(kRoot + u"/robots.txt"_qs, 301, kRoot + u"/r.txt"_qs);
            site.Add(kRoot + u"/r.txt"_qs, u"User-agent: *\nDisallow: /a\n"_qs);
        } else if (c.status > 0) {
            site.AddStatus(kRoot + u"/robots.txt"_qs, c.status);
        }
        site.Add(kRoot, u"<a href='/a'>A</a>"_qs);
        site.Add(kRoot + u"/a"_qs, u"a"_qs);
        CrawlControl control{db_, host_, sink_, site.Function()};
        CrawlOptions o = Options();
        o.robots = true;
        o.followRedirects = true;  // a start URL kept out is not even probed
        ASSERT_TRUE(control.Start(o).Started());
        control.WaitUntilFinished();
        QStringList table;
        for (const InternalUrl& e : control.Table().Snapshot())
            table << e.page.mid(kRoot.size());
        EXPECT_EQ(table, c.table);
        EXPECT_EQ(!control.LastSummary().notes.warnings.isEmpty(), c.warned);
        EXPECT_EQ(site.Fetched().contains(kRoot + u"/"_qs), !c.table.isEmpty());
    }
}

TEST_F(SiteFilesTest, CrawlDelayPacesTheHost)
{
    site_.Add(kRoot + u"/robots.txt"_qs, u"User-agent: *\nCrawl-delay: 0.3\n"_qs);
    site_.Add(kRoot, u"<a href='/a'>A</a>"_qs);
    site_.Add(kRoot + u"/a"_qs, u"a"_qs);
    CrawlOptions o = Options();
    o.robots = true;
    QElapsedTimer clock;
    clock.start();
    Crawl(o);
    // The delay is known once robots.txt is read: it falls between the two pages.
    EXPECT_GE(clock.elapsed(), 290);
    EXPECT_EQ(Table(), QStringList({QString(), u"/a"_qs}));
}

TEST_F(SiteFilesTest, SitemapsAddTheirPagesAfterTheStartPageUnderTheSameRules)
{
    site_.Add(kRoot + u"/robots.txt"_qs, u"Sitemap: "_qs + kRoot + u"/index.xml\nUser-agent: *\nDisallow: /hidden\n"_qs);
    site_.Add(kRoot + u"/index.xml"_qs, Index({kRoot + u"/pages.xml.gz"_qs, kRoot + u"/broken.xml"_qs,
                                               kRoot + u"/gone.xml"_qs}));
    site_.AddBytes(kRoot + u"/pages.xml.gz"_qs,
                   Gzip(Urlset({kRoot + u"/linked.html"_qs, kRoot + u"/orphan.html"_qs, kRoot + u"/style.css"_qs,
                                u"https://elsewhere.test/x"_qs, kRoot + u"/hidden/page.html"_qs,
                                kRoot + u"/later.html"_qs})
                            .toUtf8()));
    site_.Add(kRoot + u"/broken.xml"_qs, u"<urlset><url><loc>"_qs + kRoot + u"/half.html</loc></url><url>"_qs);
    site_.AddStatus(kRoot + u"/gone.xml"_qs, 404);
    site_.Add(kRoot + u"/sitemap.xml"_qs, Urlset({kRoot + u"/orphan.html"_qs, kRoot + u"/"_qs}));
    site_.Add(kRoot, u"<a href='/linked.html'>L</a>"_qs);
    site_.Add(kRoot + u"/linked.html"_qs, u"<a href='/later.html'>later</a>"_qs);
    site_.Add(kRoot + u"/orphan.html"_qs, u"nobody links here"_qs);
    site_.Add(kRoot + u"/later.html"_qs, u"linked, but found in the sitemap first"_qs);
    site_.Add(kRoot + u"/half.html"_qs, u"read before the break"_qs);

    for (const bool robots : {false, true}) {
        SCOPED_TRACE(robots ? "obeying robots.txt" : "not obeying robots.txt");
        CrawlOptions o = Options();
        o.sitemaps = true;
        o.robots = robots;
        const CrawlSummary summary = Crawl(o);
        EXPECT_EQ(summary.outcome, CrawlOutcome::Completed);
        QStringList expected{QString(), u"/linked.html"_qs, u"/orphan.html"_qs};
        if (!robots)
            expected << u"/hidden/page.html"_qs;
        expected << u"/later.html"_qs << u"/half.html"_qs;
        EXPECT_EQ(Table(), expected);
        QStringList only{u"/orphan.html"_qs};
        if (!robots)
            only << u"/hidden/page.html"_qs;
        only << u"/half.html"_qs;
        EXPECT_EQ(Paths(summary.notes.sitemapOnly), only);
        // The damaged file and the missing one that the index names warn; the crawl goes on.
        ASSERT_EQ(summary.notes.warnings.size(), 2) << summary.notes.warnings.join(u'\n').toStdString();
        EXPECT_TRUE(summary.notes.warnings[0].contains(u"broken.xml"_qs));
        EXPECT_TRUE(summary.notes.warnings[1].contains(u"gone.xml could not be read: status 404"_qs)) << summary.notes.warnings[1].toStdString();
        EXPECT_EQ(Paths(summary.notes.leftOutByRobots), robots ? QStringList{u"/hidden/page.html"_qs} : QStringList{});
        // Kept with the crawl for the report and an opened project.
        const CrawlNotes stored = LoadCrawlNotes(db_);
        EXPECT_EQ(stored.sitemapOnly, summary.notes.sitemapOnly);
        EXPECT_EQ(stored.leftOutByRobots, summary.notes.leftOutByRobots);
        EXPECT_EQ(stored.warnings, summary.notes.warnings);
        // Sitemap pages have PAGES rows but no LINKS rows.
        EXPECT_EQ(db_.QueryAll(u"SELECT COUNT(*) FROM LINKS WHERE LINK LIKE '%orphan%'"_qs).at(0).at(0), u"0"_qs);
        EXPECT_EQ(db_.QueryAll(u"SELECT COUNT(*) FROM PAGES WHERE URL LIKE '%orphan%'"_qs).at(0).at(0), u"1"_qs);
    }
}

TEST_F(SiteFilesTest, RelativeSitemapLinesAreReadAgainstRobotsTxt)
{
    site_.Add(kRoot + u"/robots.txt"_qs, u"\uFEFFSitemap: /maps/pages.xml\r\nSitemap: maps/more.xml\r\n"_qs);
    site_.Add(kRoot + u"/maps/pages.xml"_qs, Urlset({kRoot + u"/orphan.html"_qs}));
    site_.Add(kRoot + u"/maps/more.xml"_qs, Urlset({kRoot + u"/another.html"_qs}));
    site_.Add(kRoot, u"start"_qs);
    site_.Add(kRoot + u"/orphan.html"_qs, u"nobody links here"_qs);
    site_.Add(kRoot + u"/another.html"_qs, u"nor here"_qs);
    site_.AddStatus(kRoot + u"/sitemap.xml"_qs, 404);
    CrawlOptions o = Options();
    o.sitemaps = true;
    const CrawlSummary summary = Crawl(o);
    EXPECT_EQ(Table(), QStringList({QString(), u"/orphan.html"_qs, u"/another.html"_qs}));
    EXPECT_TRUE(summary.notes.warnings.isEmpty()) << summary.notes.warnings.join(u'\n').toStdString();
}

TEST_F(SiteFilesTest, SitemapPagesKeepToTheLimit)
{
    site_.Add(kRoot, u"<a href='/a'>A</a>"_qs);
    site_.Add(kRoot + u"/a"_qs, u"a"_qs);
    site_.Add(kRoot + u"/sitemap.xml"_qs, Urlset({kRoot + u"/s1"_qs, kRoot + u"/s2"_qs, kRoot + u"/s3"_qs}));
    CrawlOptions o = Options();
    o.sitemaps = true;
    o.urlLimit = 3;
    const CrawlSummary summary = Crawl(o);
    EXPECT_EQ(Table(), QStringList({QString(), u"/a"_qs, u"/s1"_qs}));
    EXPECT_EQ(Paths(summary.notes.sitemapOnly), QStringList{u"/s1"_qs});
    // No robots.txt and a missing /sitemap.xml are no warnings.
    EXPECT_TRUE(summary.notes.warnings.isEmpty());
}

TEST_F(SiteFilesTest, WithoutTheOptionsNoSiteFileIsAsked)
{
    site_.Add(kRoot + u"/robots.txt"_qs, u"User-agent: *\nDisallow: /\n"_qs);
    site_.Add(kRoot + u"/sitemap.xml"_qs, Urlset({kRoot + u"/orphan"_qs}));
    site_.Add(kRoot, u"<a href='/a'>A</a>"_qs);
    site_.Add(kRoot + u"/a"_qs, u"a"_qs);
    const CrawlSummary summary = Crawl(Options());
    EXPECT_EQ(Fetched(), QStringList({QString(), u"/a"_qs}));
    EXPECT_TRUE(summary.notes.Empty());
    EXPECT_TRUE(db_.QueryAll(u"SELECT name FROM sqlite_master WHERE name='CRAWLNOTES'"_qs).empty());
}

TEST_F(SiteFilesTest, DocumentsAreTakenWhateverTheIgnoredExtensionsSayOfThem)
{
    site_.Add(kRoot, u"<a href='/report.pdf'>R</a><a href='/letter.DOCX'>L</a><a href='/old.doc'>O</a>"
                     "<a href='/notes.odt?x=1'>N</a><a href='/style.css'>S</a><a href='/page.html'>P</a>"_qs);
    site_.AddBytes(kRoot + u"/report.pdf"_qs, "%PDF-1.4 report");
    site_.AddBytes(kRoot + u"/letter.DOCX"_qs, "PK letter");
    site_.Add(kRoot + u"/notes.odt?x=1"_qs, u"an HTML page after all"_qs);
    site_.Add(kRoot + u"/page.html"_qs, u"page"_qs);
    CrawlOptions o = Options();
    o.ignoreExtensions = u"css pdf doc docx"_qs;
    Crawl(o);
    EXPECT_EQ(Table(), QStringList({QString(), u"/notes.odt?x=1"_qs, u"/page.html"_qs}));
    EXPECT_TRUE(sink_.documents.isEmpty());

    o.documents = true;
    Crawl(o);
    // ".doc" is no document the crawl reads: the list still drops it, and "css" still holds.
    EXPECT_EQ(Table(), QStringList({QString(), u"/report.pdf"_qs, u"/letter.DOCX"_qs, u"/notes.odt?x=1"_qs,
                                    u"/page.html"_qs}));
    // Bodies that are text are pages, whatever the URL says.
    EXPECT_EQ(sink_.documents, QStringList({u"/report.pdf %PDF-1.4 report"_qs, u"/letter.DOCX PK letter"_qs}));
}

// The walk's own bounds: nesting, number of files, number of URLs.
TEST(SitemapWalk, StopsAtItsBounds)
{
    QMap<QString, QByteArray> files;
    files[u"http://s/i0"_qs] = Index({u"http://s/i1"_qs}).toUtf8();
    files[u"http://s/i1"_qs] = Index({u"http://s/i2"_qs}).toUtf8();
    files[u"http://s/i2"_qs] = Urlset({u"http://s/deep"_qs}).toUtf8();
    files[u"http://s/a"_qs] = Urlset({u"http://s/1"_qs, u"http://s/2"_qs, u"http://s/3"_qs}).toUtf8();
    files[u"http://s/b"_qs] = Urlset({u"http://s/4"_qs}).toUtf8();
    int fetches = 0;
    const BodyFetch fetch = [&](const QString& url) {
        ++fetches;
        PageFetch answer;
        answer.statusCode = files.contains(url) ? 200 : 404;
        answer.body = files.value(url);
        return answer;
    };
    SitemapBounds bounds;
    bounds.maxDepth = 1;
    SitemapPages nested = WalkSitemaps({u"http://s/i0"_qs}, QString(), fetch, bounds, nullptr);
    EXPECT_TRUE(nested.pages.isEmpty());
    ASSERT_EQ(nested.warnings.size(), 1);
    EXPECT_TRUE(nested.warnings[0].contains(u"nested deeper than 1"_qs));

    bounds = SitemapBounds{};
    bounds.maxUrls = 2;
    const SitemapPages many = WalkSitemaps({u"http://s/a"_qs, u"http://s/b"_qs}, QString(), fetch, bounds, nullptr);
    EXPECT_EQ(many.pages, QStringList({u"http://s/1"_qs, u"http://s/2"_qs}));
    EXPECT_EQ(many.warnings.size(), 1);

    bounds = SitemapBounds{};
    bounds.maxFiles = 1;
    fetches = 0;
    const SitemapPages few = WalkSitemaps({u"http://s/a"_qs, u"http://s/a"_qs, u"http://s/b"_qs}, QString(), fetch, bounds, nullptr);
    EXPECT_EQ(fetches, 1);
    EXPECT_EQ(few.pages.size(), 3);
    EXPECT_EQ(few.warnings.size(), 1);
}

}  // namespace
