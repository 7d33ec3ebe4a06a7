#include "crawl/collector.h"

#include "crawl/anchor_scanner.h"
#include "crawl/crawl_state.h"
#include "crawl/internal_urls.h"
#include "crawl/link_processor.h"
#include "crawl/page_sink.h"
#include "crawl/polite_fetch.h"
#include "crawl/prefetcher.h"
#include "crawl/wildcard_mask.h"

namespace lexicrawl {

Collector::Collector(CollectorContext context) : context_(std::move(context)) {}

void Collector::Run()
{
    if (!thread_.joinable())
        thread_ = std::thread([this] {
            const ScopedMessageReporter messages(context_.Messages);
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
        if (context_.FollowRedirects)
            ProbeStartUrl();
        CollectNow();
    } catch (const MaskError& e) {
        failure = e.Text();
    } catch (const std::exception& e) {
        failure = QString::fromUtf8(e.what());
    } catch (...) {
        failure = QStringLiteral("Unknown failure");
    }
    // Also after a failure: a new crawl must not find pages still being written.
    const QString recordingFailure = context_.Pages.Finish();
    if (failure.isEmpty())
        failure = recordingFailure;

    CrawlSummary summary;
    summary.outcome = !failure.isEmpty() ? CrawlOutcome::Failed
                      : stopped_         ? CrawlOutcome::Stopped
                                         : CrawlOutcome::Completed;
    summary.failureText = failure;
    summary.tableLength = context_.Table.Count();
    summary.pagesDone = pagesDone_;
    summary.pagesFailed = pagesFailed_;
    summary.elapsedMs = context_.ElapsedMs();
    summary.crawl = context_.Crawl;
    // Nothing of this object is touched from here on: the end report may
    // start a new crawl that deletes it.
    const auto finished = context_.Finished;
    finished(summary);
}

// Takes over the start URL's first redirect. Only the status and the
// Location matter, so the fetch ends once the answer's head is in.
void Collector::ProbeStartUrl()
{
    CrawlState& state = context_.State;
    FetcherState& fetcher = ThisThreadFetcher();
    fetcher.RedirectTarget.clear();
    Fetch(state.StartUrl, true);
    if (!fetcher.RedirectTarget.isEmpty() && fetcher.RedirectTarget != state.StartUrl) {
        state.StartUrl = fetcher.RedirectTarget;
        context_.Host.StartUrlChanged(state.StartUrl);
    }
}

// Pages fetched ahead and not yet taken: a few per connection, and not more
// bytes than a large page or two.
constexpr qsizetype kAheadPerConnection = 4;
constexpr qint64 kMaxBytesAhead = 64 * 1024 * 1024;

void Collector::CollectNow()
{
    CrawlState& state = context_.State;
    LinkProcessor links(context_.Database, context_.Table, state, IgnoreUrlPatterns(context_.IgnoreUrls));
    HostPacer pacer(state.DelayMs);
    pacer_ = &pacer;
    std::unique_ptr<Prefetcher> prefetcher;
    if (state.Connections > 1)
        prefetcher = std::make_unique<Prefetcher>(context_.Table, context_.Fetch, state.FetchSettings,
                                                  &state.StopRequested, pacer, state.Connections,
                                                  kAheadPerConnection * state.Connections, kMaxBytesAhead);
    prefetcher_ = prefetcher.get();
    links.ProcessLink(state.StartUrl, QString(), QString(), QString());
    NotifyRows();
    qsizetype i = 0;
    // The length is read afresh for every test: the table grows as we walk it.
    while (i < context_.Table.Count()) {
        if (state.StopRequested.load()) {
            stopped_ = true;
            break;
        }
        if (!Visit(i, links))
            break;
    }
    prefetcher_ = nullptr;
    pacer_ = nullptr;
}

// Fetches, records and scans entry index and moves index on to the next
// entry to visit. Answers false when the walk ends here: a stop during the
// fetch (the entry then keeps no load time or status and is not recorded),
// or a failed recording.
bool Collector::Visit(qsizetype& index, LinkProcessor& links)
{
    CrawlState& state = context_.State;
    CrawlHost& host = context_.Host;
    const QString sourcelink = context_.Table.At(index).page;
    host.Progress(CrawlProgress{index + 1, context_.Table.Count(), pagesDone_, pagesFailed_, context_.ElapsedMs(),
                                sourcelink, context_.Crawl});
    PageFetch fetched = FetchEntry(index);
    if (state.StopRequested.load()) {
        stopped_ = true;
        return false;
    }
    context_.Table.SetVisit(index, fetched.loadTimeNs, fetched.statusCode, fetched.fetchError);
    const InternalUrl visited = context_.Table.At(index);
    ++pagesDone_;
    if (VisitFailed(visited))
        ++pagesFailed_;
    host.RowVisited(VisitedRow{context_.Crawl, index, context_.Table.Count(), visited});
    state.CurrentPageHtml = std::move(fetched.source);
    if (!context_.Pages.RecordPage(sourcelink, state.CurrentPageHtml))
        return false;
    ++index;
    if (!fetched.redirectTarget.isEmpty()) {
        // A redirect becomes an entry of its own; the answer's body has no links.
        links.ProcessLink(fetched.redirectTarget, QString(), QString(), QString());
    } else {
        LinkBatch batch(links);
        ScanAnchors(
            state.CurrentPageHtml, sourcelink,
            [&links](const QString& link, const QString& source, const QString& rel, const QString& anchor) {
                links.ProcessLink(link, source, rel, anchor);
            },
            &state.StopRequested);
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
    return FetchPolitely(context_.Fetch, context_.Table.At(index).page, context_.State.FetchSettings,
                         &context_.State.StopRequested, *pacer_);
}

// The page's source, or empty text when the fetch failed in any way.
QString Collector::Fetch(const QString& url, bool statusOnly)
{
    FetchSettings settings = context_.State.FetchSettings;
    settings.StatusOnly = statusOnly;
    try {
        return context_.Fetch(url, settings, &context_.State.StopRequested, {});
    } catch (...) {
        return QString();
    }
}

void Collector::NotifyRows()
{
    const qsizetype rows = context_.Table.Count();
    if (rows != rowsNotified_) {
        rowsNotified_ = rows;
        context_.Host.RowsAppended(rows);
    }
}

}  // namespace lexicrawl
