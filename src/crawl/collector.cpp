#include "crawl/collector.h"

#include <stdexcept>

#include "crawl/anchor_scanner.h"
#include "crawl/crawl_state.h"
#include "crawl/internal_urls.h"
#include "crawl/link_processor.h"
#include "crawl/page_sink.h"
#include "crawl/polite_fetch.h"
#include "crawl/prefetcher.h"
#include "crawl/renderer.h"
#include "crawl/robots_gate.h"
#include "crawl/sitemap_walk.h"
#include "crawl/url_resolver.h"
#include "crawl/url_text.h"
#include "crawl/wildcard_mask.h"
#include "store/project_database.h"

namespace lexicrawl {

Collector::Collector(CollectorContext context) : context_(std::move(context)) {}

void Collector::Run()
{
    if (!thread_.joinable())
        thread_ = std::thread([this] {
            const ScopedMessageReporter messages(context_.messages);
            Execute();
        });
}

Collector::~Collector()
{
    if (!thread_.joinable())
        return;
    // A host may start the next crawl from the end report, on this very
    // thread; the thread then finishes on its own.
    if (thread_.get_id() == std::this_thread::get_id())
        thread_.detach();
    else
        thread_.join();
}

void Collector::Execute()
{
    QString failure;
    try {
        CollectNow();
    } catch (const MaskError& e) {
        failure = e.Text();
    } catch (const std::exception& e) {
        failure = QString::fromUtf8(e.what());
    } catch (...) {
        failure = QStringLiteral("Unknown failure");
    }
    // The browser goes with the walk, before the end is reported.
    renderer_.reset();
    // Also after a failure: a new crawl must not find pages still being written.
    const QString recordingFailure = context_.pages.Finish();
    if (failure.isEmpty())
        failure = recordingFailure;

    CrawlSummary summary;
    summary.outcome = !failure.isEmpty() ? CrawlOutcome::Failed
                      : stopped_         ? CrawlOutcome::Stopped
                                         : CrawlOutcome::Completed;
    summary.failureText = failure;
    summary.tableLength = context_.table.Count();
    summary.pagesDone = pagesDone_;
    summary.pagesFailed = pagesFailed_;
    summary.elapsedMs = context_.elapsedMs();
    summary.crawl = context_.crawl;
    summary.notes = notes_;
    // Nothing of this object is touched from here on: the end report may
    // start a new crawl that deletes it.
    const auto finished = context_.finished;
    finished(summary);
}

// Takes over the start URL's first redirect. Only the status and the
// Location matter, so the fetch ends once the answer's head is in.
void Collector::ProbeStartUrl()
{
    CrawlState& state = context_.state;
    FetcherState& fetcher = ThisThreadFetcher();
    fetcher.redirectTarget.clear();
    Fetch(state.startUrl, true);
    if (!fetcher.redirectTarget.isEmpty() && fetcher.redirectTarget != state.startUrl) {
        state.startUrl = fetcher.redirectTarget;
        context_.host.StartUrlChanged(state.startUrl);
    }
}

// Pages fetched ahead and not yet taken: a few per connection, and not more
// bytes than a large page or two.
constexpr qsizetype kAheadPerConnection = 4;
constexpr qint64 kMaxBytesAhead = 64 * 1024 * 1024;

void Collector::CollectNow()
{
    CrawlState& state = context_.state;
    HostPacer pacer(state.delayMs);
    pacer_ = &pacer;
    // Each host's robots.txt is read when its first URL comes up, the start
    // URL's first of all; its Crawl-delay then paces the host.
    std::unique_ptr<RobotsGate> robots;
    if (state.robots) {
        robots = std::make_unique<RobotsGate>([this, &pacer](const QString& origin) {
            QString warning;
            RobotsRules rules = LoadRobotsRules([this](const QString& url) { return FetchBody(url); }, origin,
                                                context_.state.fetchSettings.userAgent, &warning);
            if (!warning.isEmpty())
                notes_.warnings << warning;
            pacer.SetHostDelay(HostOf(origin), rules.CrawlDelayMs());
            return rules;
        });
        robots_ = robots.get();
    }
    // A start URL that robots.txt keeps out is not asked for, not even for its redirect.
    if (context_.followRedirects && (!robots_ || robots_->Allows(state.startUrl)))
        ProbeStartUrl();
    // The browser starts once the start URL is settled.
    StartRenderer();
    LinkProcessor links(context_.database, context_.table, state, IgnoreUrlPatterns(context_.ignoreUrls));
    if (robots_)
        links.ObeyRobots(robots_);
    std::unique_ptr<Prefetcher> prefetcher;
    if (state.connections > 1)
        prefetcher = std::make_unique<Prefetcher>(context_.table, context_.fetch, state.fetchSettings,
                                                  &state.stopRequested, pacer, state.connections,
                                                  kAheadPerConnection * state.connections, kMaxBytesAhead,
                                                  [this](const QString& url, PageFetch& fetched) {
                                                      RenderPage(url, fetched);
                                                  });
    prefetcher_ = prefetcher.get();
    links.ProcessLink(state.startUrl, QString(), QString(), QString());
    NotifyRows();
    bool sitemapsRead = !state.sitemaps;
    qsizetype i = 0;
    // The length is read afresh for every test: the table grows as we walk it.
    for (;;) {
        // The sitemaps' pages come after the start page and its links.
        if (!sitemapsRead && (i >= 1 || context_.table.Count() == 0)) {
            sitemapsRead = true;
            ReadSitemaps(links);
        }
        if (i >= context_.table.Count())
            break;
        if (state.stopRequested.load()) {
            stopped_ = true;
            break;
        }
        if (!Visit(i, links))
            break;
    }
    NoteFindings(links);
    robots_ = nullptr;
    prefetcher_ = nullptr;
    pacer_ = nullptr;
}

// A fetch of a site file (robots.txt, a sitemap), paced like the pages.
PageFetch Collector::FetchBody(const QString& url)
{
    FetchSettings settings = context_.state.fetchSettings;
    settings.keepBody = true;
    return FetchPolitely(context_.fetch, url, settings, &context_.state.stopRequested, *pacer_);
}

void Collector::ReadSitemaps(LinkProcessor& links)
{
    const CrawlState& state = context_.state;
    if (state.stopRequested.load())
        return;
    // The Sitemap lines of robots.txt count even when its rules are not obeyed.
    QStringList named;
    if (robots_) {
        named = robots_->RulesFor(state.startUrl).Sitemaps();
    } else {
        QString ignored;
        named = LoadRobotsRules([this](const QString& url) { return FetchBody(url); }, OriginOf(state.startUrl),
                                state.fetchSettings.userAgent, &ignored)
                    .Sitemaps();
    }
    // A relative Sitemap line is read as robots.txt's own links would be.
    const QString robotsUrl = OriginOf(state.startUrl) + QStringLiteral("/robots.txt");
    for (QString& sitemap : named)
        sitemap = ResolveReference(robotsUrl, sitemap.trimmed());
    const SitemapPages found =
        WalkSitemaps(named, OriginOf(state.startUrl) + QStringLiteral("/sitemap.xml"),
                     [this](const QString& url) { return FetchBody(url); }, SitemapBounds{}, &state.stopRequested);
    notes_.warnings << found.warnings;
    {
        LinkBatch batch(links);
        for (const QString& page : found.pages)
            links.AddSitemapUrl(page, state.startUrl);
    }
    if (prefetcher_)
        prefetcher_->TableGrew();
    NotifyRows();
}

// Also kept with the crawl, when there is something to keep.
void Collector::NoteFindings(const LinkProcessor& links)
{
    notes_.leftOutByRobots = links.LeftOutByRobots();
    if (context_.state.sitemaps)
        for (const InternalUrl& entry : context_.table.Snapshot())
            if (links.FoundOnlyInSitemap(entry.page))
                notes_.sitemapOnly << entry.page;
    if (notes_.Empty())
        return;
    try {
        WriteCrawlNotes(context_.database, notes_);
    } catch (const DatabaseError& e) {
        ReportMessage(StatementFailureText(e.Text()));
    }
}

// Fetches, records and scans entry index and moves index on to the next
// entry to visit. Answers false when the walk ends here: a stop during the
// fetch (the entry then keeps no load time or status and is not recorded),
// or a failed recording.
bool Collector::Visit(qsizetype& index, LinkProcessor& links)
{
    CrawlState& state = context_.state;
    CrawlHost& host = context_.host;
    const QString sourcelink = context_.table.At(index).page;
    host.Progress(CrawlProgress{index + 1, context_.table.Count(), pagesDone_, pagesFailed_, context_.elapsedMs(),
                                sourcelink, context_.crawl});
    PageFetch fetched = FetchEntry(index);
    if (state.stopRequested.load()) {
        stopped_ = true;
        return false;
    }
    context_.table.SetVisit(index, fetched.loadTimeNs, fetched.statusCode, fetched.fetchError);
    if (!fetched.renderNote.isEmpty())
        context_.table.SetNote(index, fetched.renderNote);
    const InternalUrl visited = context_.table.At(index);
    ++pagesDone_;
    if (VisitFailed(visited))
        ++pagesFailed_;
    host.RowVisited(VisitedRow{context_.crawl, index, context_.table.Count(), visited});
    state.currentPageHtml = std::move(fetched.source);
    // A rendered page is read as its scripts left it: its words and links.
    const QString& page = fetched.rendered.isEmpty() ? state.currentPageHtml : fetched.rendered;
    const bool recorded = state.documents && fetched.notText && !fetched.body.isEmpty()
                              ? context_.pages.RecordDocument(sourcelink, fetched.body, fetched.contentType)
                              : context_.pages.RecordPage(sourcelink, page);
    if (!recorded)
        return false;
    ++index;
    if (!fetched.redirectTarget.isEmpty()) {
        // A redirect becomes an entry of its own; the answer's body has no links.
        links.ProcessLink(fetched.redirectTarget, QString(), QString(), QString());
    } else {
        LinkBatch batch(links);
        ScanAnchors(
            page, sourcelink,
            [&links](const QString& link, const QString& source, const QString& rel, const QString& anchor) {
                links.ProcessLink(link, source, rel, anchor);
            },
            &state.stopRequested);
    }
    if (prefetcher_)
        prefetcher_->TableGrew();
    NotifyRows();
    return true;
}

// The entry's page, taken from the fetches running ahead or fetched now.
PageFetch Collector::FetchEntry(qsizetype index)
{
    if (prefetcher_)
        return prefetcher_->Take(index);
    const QString url = context_.table.At(index).page;
    PageFetch fetched =
        FetchPolitely(context_.fetch, url, context_.state.fetchSettings, &context_.state.stopRequested, *pacer_);
    RenderPage(url, fetched);
    return fetched;
}

// A rendering crawl starts its browser before anything is fetched, and fails
// at once when there is none.
void Collector::StartRenderer()
{
    const CrawlState& state = context_.state;
    if (!state.render)
        return;
    RenderSettings settings;
    settings.userAgent = state.fetchSettings.userAgent;
    settings.insecure = state.fetchSettings.insecure;
    settings.pageTimeoutMs = state.renderTimeoutMs;
    // The page may ask the crawled site's hosts, whatever the scope says of
    // hosts without a registrable domain (addresses, "localhost"), and the
    // hosts the user allowed.
    const QString startHost = ScopeHost(state.startUrl);
    const QString startDomain = DomainOf(state.startUrl);
    const bool sameHostOnly = state.subdomainScope || startDomain.isEmpty();
    settings.mayRequest = [startHost, startDomain, sameHostOnly,
                           allowed = state.renderAllowedHosts](const QString& url) {
        const QString host = ScopeHost(url);
        if (allowed.contains(host, Qt::CaseInsensitive))
            return true;
        if (sameHostOnly)
            return host == startHost;
        return DomainOf(url) == startDomain;
    };
    QString error;
    renderer_ = Renderer::Start(std::move(settings), &error);
    if (!renderer_)
        throw std::runtime_error(error.toStdString());
}

// Renders a page the site sent whole: not a failure, a redirect or a body
// that is not text.
void Collector::RenderPage(const QString& url, PageFetch& fetched)
{
    if (!renderer_ || fetched.source.isEmpty() || !fetched.redirectTarget.isEmpty() || fetched.stopped ||
        fetched.statusCode < 200 || fetched.statusCode > 299)
        return;
    RenderResult result = renderer_->Render(url, fetched.source, &context_.state.stopRequested);
    fetched.rendered = std::move(result.html);
    fetched.renderNote = std::move(result.note);
}

// The page's source, or empty text when the fetch failed in any way.
QString Collector::Fetch(const QString& url, bool statusOnly)
{
    FetchSettings settings = context_.state.fetchSettings;
    settings.statusOnly = statusOnly;
    try {
        return context_.fetch(url, settings, &context_.state.stopRequested, {});
    } catch (...) {
        return QString();
    }
}

void Collector::NotifyRows()
{
    const qsizetype rows = context_.table.Count();
    if (rows != rowsNotified_) {
        rowsNotified_ = rows;
        context_.host.RowsAppended(rows);
    }
}

}  // namespace lexicrawl
