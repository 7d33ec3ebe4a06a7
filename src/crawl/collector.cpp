#include "crawl/collector.h"

#include <QElapsedTimer>

#include "crawl/anchor_scanner.h"
#include "crawl/crawl_host.h"
#include "crawl/crawl_state.h"
#include "crawl/elapsed_timer.h"
#include "crawl/internal_urls.h"
#include "crawl/link_processor.h"
#include "crawl/wildcard_mask.h"
#include "platform/platform.h"
#include "platform/translation.h"

namespace lexicrawl {

namespace {

// Seconds with one decimal, in the user's decimal separator.
QString LoadTimeText(qint64 nanoseconds)
{
    QString text = QString::number(double(nanoseconds) / 1e9, 'f', 1);
    text.replace(u'.', Platform::Current().DecimalSeparator());
    return text;
}

}  // namespace

Collector::Collector(CollectorContext context) : context_(std::move(context)) {}

void Collector::Run()
{
    if (!thread_.joinable() && !finished_.load())
        thread_ = std::thread([this] { Execute(); });
}

Collector::~Collector()
{
    if (!thread_.joinable())
        return;
    // A host without a UI thread runs the end report on this very thread;
    // a new Start from there frees the collector it is running on.
    if (thread_.get_id() == std::this_thread::get_id())
        thread_.detach();
    else
        thread_.join();
}

void Collector::Execute()
{
    bool failed = false;
    QString failure;
    {
        ElapsedTimer elapsed(context_.Host);
        elapsed.Start();
        try {
            CollectNow();
        } catch (const MaskError& e) {
            failed = true;
            failure = e.Text();
        } catch (const std::exception& e) {
            failed = true;
            failure = QString::fromUtf8(e.what());
        } catch (...) {
            failed = true;
            failure = QStringLiteral("Unknown failure");
        }
        elapsed.Stop();  // also when a failure ended the loop, so the time stays shown
    }
    auto terminated = context_.Terminated;
    CrawlHost& host = context_.Host;
    finished_ = true;
    // Nothing of this object is touched from here on: the end report may
    // start a new crawl that deletes it.
    if (terminated)
        host.PostToUiThread([terminated, failed, failure] { terminated(failed, failure); });
}

void Collector::CollectNow()
{
    CrawlState& state = context_.State;
    CrawlHost& host = context_.Host;
    LinkProcessor links(context_.Database, context_.Table, state, IgnoreUrlPatterns(context_.IgnoreUrlsText),
                        [&host](qsizetype count) { host.SetRowCount(count); });
    links.ProcessLink(state.StartUrl, QString(), QString(), QString());
    qsizetype i = 0;
    // The length is read afresh for every test: the table grows as we walk it.
    while (i < context_.Table.Count()) {
        Status(0, FormatS(Tr(QStringLiteral("Total URLs: %s")), QString::number(context_.Table.Count())));
        if (state.StopRequested.load() || !Visit(i, links))
            break;
    }
    if (context_.Completion) {
        auto completion = context_.Completion;
        host.RunOnUiThread([completion] { completion(true); });
    }
}

// Fetches, records and scans entry index and moves index on to the next
// entry to visit. Answers false when a stop during the fetch ends the walk:
// the entry then keeps its empty load time and status, and is not recorded.
bool Collector::Visit(qsizetype& index, LinkProcessor& links)
{
    CrawlState& state = context_.State;
    CrawlHost& host = context_.Host;
    QElapsedTimer stopwatch;
    stopwatch.start();
    const QString sourcelink = context_.Table.At(index).page;
    FetcherState& fetcher = ThisThreadFetcher();
    fetcher.RedirectTarget.clear();
    Status(1, QString::number(index + 1) + QStringLiteral(" / ") + QString::number(context_.Table.Count()));
    Status(3, FormatS(Tr(QStringLiteral("Loading: %s")), sourcelink));
    state.CurrentPageHtml = Fetch(sourcelink);
    if (state.StopRequested.load())
        return false;
    context_.Table.SetVisit(index, LoadTimeText(stopwatch.nsecsElapsed()), QString::number(fetcher.LastStatusCode));
    host.RepaintRow(index);
    host.RecordPage(sourcelink, state.CurrentPageHtml);
    ++index;
    const QString redirect = fetcher.RedirectTarget;
    if (!redirect.isEmpty()) {
        // A redirect becomes an entry of its own; the answer's body has no links.
        links.ProcessLink(redirect, QString(), QString(), QString());
        return true;
    }
    {
        LinkBatch batch(links);
        ScanAnchors(
            state.CurrentPageHtml, sourcelink,
            [&links](const QString& link, const QString& source, const QString& rel, const QString& anchor) {
                links.ProcessLink(link, source, rel, anchor);
            },
            &state.StopRequested);
    }
    Status(0, FormatS(Tr(QStringLiteral("Total URLs: %s")), QString::number(context_.Table.Count())));
    return true;
}

// The page's source, or empty text when the fetch failed in any way. A stop
// that cuts the transfer short returns the front end to idle at once.
QString Collector::Fetch(const QString& url)
{
    CrawlHost& host = context_.Host;
    auto completion = context_.Completion;
    try {
        return context_.Fetch(url, context_.State.FetchSettings, &context_.State.StopRequested, [&host, completion] {
            if (completion)
                host.PostToUiThread([completion] { completion(false); });
        });
    } catch (...) {
        return QString();
    }
}

void Collector::Status(int panel, const QString& text)
{
    context_.Host.SetStatusText(panel, text);
}

}  // namespace lexicrawl
