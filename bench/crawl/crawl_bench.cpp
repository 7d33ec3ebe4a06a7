// Throughput of the two per-link hot paths of a crawl: scanning a page for
// anchors, and processing links into the table and the project database.
#include <benchmark/benchmark.h>

#include <optional>

#include <QDir>
#include <QTemporaryDir>

#include "crawl/anchor_scanner.h"
#include "crawl/crawl_state.h"
#include "crawl/internal_urls.h"
#include "crawl/link_processor.h"
#include "platform/headless_platform.h"
#include "store/project_database.h"

using namespace lexicrawl;

namespace {

// About 100 characters of page per anchor, with mixed-case tags, rel values
// and references in the anchor text.
QString GeneratePage(int anchors)
{
    QString page;
    page.reserve(qsizetype(anchors) * 104);
    for (int i = 0; i < anchors; ++i) {
        const QString n = QString::number(i);
        page += (i % 2 ? u"<p>text <A class=\"x\" href=\"/dir/page"_qs : u"<p>Some <a rel=\"nofollow\" href=\"page"_qs)
                + n + u".html\">Anchor &amp; text "_qs + n + u"</a> more words here.</p>\r\n"_qs;
    }
    return page;
}

void BM_ScanAnchors(benchmark::State& state)
{
    const QString page = GeneratePage(int(state.range(0)));
    std::int64_t links = 0;
    for (auto _ : state) {
        ScanAnchors(page, u"http://www.bench.test/dir/index.html"_qs,
                    [&](const QString& link, const QString&, const QString&, const QString& anchor) {
                        benchmark::DoNotOptimize(link.size() + anchor.size());
                        ++links;
                    });
    }
    state.counters["page_MB"] = double(page.size()) / 1e6;
    state.counters["links"] = double(links) / double(state.iterations());
}
BENCHMARK(BM_ScanAnchors)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond);

// A file database made from the template, as a crawl in location "File" has.
void BM_ProcessLink(benchmark::State& state)
{
    HeadlessPlatform platform;
    Platform::SetCurrent(&platform);
    const int count = int(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        QTemporaryDir dataFolder;
        ProjectDatabase db(dataFolder.path() + u"/"_qs, QStringLiteral(LEXICRAWL_BIN_DIR "/"));
        db.ChooseWorkingFile();
        if (!db.PrepareForCrawl(DatabaseLocation::File)) {
            state.SkipWithError("no template database");
            break;
        }
        InternalUrls table;
        CrawlState crawl;
        crawl.startUrl = u"http://www.bench.test/"_qs;
        crawl.urlLimit = count + 1;
        crawl.ignoreExtensionsText = u"ico jpg jpeg png gif bmp svg css js exe zip rar 7z apk pdf doc docx"_qs;
        LinkProcessor links(db, table, crawl, QStringList{u"*/private/*"_qs});
        const QString source = u"http://www.bench.test/dir/index.html"_qs;
        const int perPage = int(state.range(1));  // 0: one link at a time, outside a page scan
        state.ResumeTiming();
        for (int i = 0; i < count;) {
            std::optional<LinkBatch> page;
            if (perPage > 0)
                page.emplace(links);
            const int end = perPage > 0 ? std::min(count, i + perPage) : i + 1;
            for (; i < end; ++i)
                links.ProcessLink(u"page"_qs + QString::number(i) + u".html"_qs, source, u"dofollow"_qs,
                                  u"Anchor"_qs);
        }
        state.PauseTiming();
        if (table.Count() != count)
            state.SkipWithError("not every URL was appended");
        state.ResumeTiming();
    }
    Platform::SetCurrent(nullptr);
    state.SetItemsProcessed(state.iterations() * count);
}
// Arguments: distinct URLs, links per scanned page (0: each link on its own,
// as the start URL and redirect targets are processed).
BENCHMARK(BM_ProcessLink)
    ->Args({10'000, 100})
    ->Args({100'000, 100})
    ->Args({10'000, 0})
    ->Args({100'000, 0})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2);

}  // namespace
