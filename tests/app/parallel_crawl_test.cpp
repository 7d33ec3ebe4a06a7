// Reading several pages at once and fetching ahead on several connections
// must give exactly the crawl of one page at a time: the same table, and the
// same rows in the same order in every table.
#include <gtest/gtest.h>

#include <QRandomGenerator>
#include <QSet>

#include <random>
#include <thread>

#include "analysis/page_recorder.h"
#include "analysis/recording_pipeline.h"
#include "crawl/crawl_control.h"
#include "crawl/fake_site.h"
#include "platform/serial_worker.h"
#include "spelling_test_support.h"
#include "store/project_database.h"
#include "support/recording_host.h"

using namespace lexicrawl;

namespace {

const QString kRoot = QStringLiteral("http://www.site.test");

// A site of n pages: prose from a small vocabulary with a share of typos,
// headings, links forward and back, a few redirects and missing pages.
void BuildSite(test::FakeSite& site, int n)
{
    const QStringList vocabulary{"garden", "roses", "summer", "water", "tomatoes", "beens", "parsely", "thyme",
                                 "Paris",  "sun",   "grew",   "well",  "teh",      "spring", "prune", "basil"};
    std::mt19937 random(7);
    for (int i = 0; i < n; ++i) {
        QString body = QStringLiteral("<html><head><title>Page %1</title></head><body><h1>Heading %1</h1>").arg(i);
        body += QStringLiteral("<h2>%1</h2><p>").arg(vocabulary.at(int(random() % vocabulary.size())));
        for (int w = 0; w < 40; ++w)
            body += vocabulary.at(int(random() % vocabulary.size())) + QLatin1Char(' ');
        body += QStringLiteral("</p>");
        for (int l = 0; l < 4; ++l)
            body += QStringLiteral("<a href=\"p%1.html\">link %2</a>\r\n").arg(random() % (n + 5)).arg(l);
        body += QStringLiteral("<a href=\"p%1.html\">next</a></body></html>\r\n").arg(i + 1);
        const QString url = i == 0 ? kRoot : kRoot + QStringLiteral("/p%1.html").arg(i);
        if (i % 17 == 5)
            site.AddRedirect(url, 301, kRoot + QStringLiteral("/p%1.html").arg((i * 7) % n));
        else if (i % 23 == 9)
            site.AddStatus(url, 404);
        else
            site.Add(url, body);
    }
}

struct CrawlResult {
    QStringList table;
    QStringList rows;
};

CrawlResult Crawl(test::FakeSite& site, int connections, int readers)
{
    ProjectDatabase db{QString(), QString()};
    SerialWorker worker;
    const QSet<QString> known{"garden", "roses", "summer", "water", "tomatoes", "thyme", "sun", "grew",
                              "well",   "spring", "prune", "basil", "page", "heading", "link", "next"};
    PageRecorder recorder(db, [&known](const QString& word) { return known.contains(word); });
    RecordingPipeline pipeline(worker, recorder, readers);
    lexicrawl::testing::RecordingHost host;
    CrawlControl control(db, host, pipeline, site.Function());
    CrawlOptions options;
    options.startUrl = kRoot;
    options.location = DatabaseLocation::Memory;
    options.urlLimit = 150;
    options.followRedirects = false;
    options.connections = connections;
    EXPECT_TRUE(control.Start(options).Started());
    control.WaitUntilFinished();
    EXPECT_TRUE(host.Messages().isEmpty()) << host.Messages().join(u'\n').toStdString();

    CrawlResult result;
    for (const InternalUrl& e : control.Table().Snapshot())
        result.table << e.page + QLatin1Char(' ') + (e.visited ? QString::number(e.statusCode) : QStringLiteral("-"));
    for (const char* table : {"PAGES", "LINKS", "TAGS", "MISSPELLED"})
        for (const QStringList& row : db.QueryAll(QStringLiteral("SELECT * FROM %1 ORDER BY ID").arg(table)))
            result.rows << QString::fromLatin1(table) + QLatin1Char('|') + row.join(u'|');
    return result;
}

TEST(ParallelCrawl, ReadingAndFetchingAheadGiveTheRowsOfOnePageAtATime)
{
    test::RecordingPlatform platform;
    test::FakeSite site;
    BuildSite(site, 200);
    const CrawlResult one = Crawl(site, 1, 0);
    ASSERT_EQ(one.table.size(), 150);  // the limit, reached
    // Answers that take a little and come back out of order.
    std::atomic<unsigned> seed{1};
    site.OnFetch([&seed](const QString&, const FetchSettings&, const std::atomic<bool>*) {
        std::this_thread::sleep_for(std::chrono::microseconds((seed.fetch_add(7919) * 2654435761u) % 3000));
    });
    for (const auto& [connections, readers] : {std::pair{4, 2}, std::pair{2, 1}, std::pair{16, 3}}) {
        const CrawlResult parallel = Crawl(site, connections, readers);
        EXPECT_EQ(parallel.table, one.table) << connections << " connections";
        EXPECT_EQ(parallel.rows, one.rows) << connections << " connections";
    }
    EXPECT_TRUE(platform.Texts().isEmpty());
}

}  // namespace
