#include "crawl/crawl_control.h"

#include <algorithm>
#include <chrono>

#include "crawl/collector.h"
#include "crawl/page_sink.h"
#include "platform/text.h"
#include "store/project_database.h"

namespace lexicrawl {

namespace {

qint64 NowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

}  // namespace

qint64 UrlLimitFromText(const QString& text)
{
    bool ok = false;
    const qint64 value = text.toLongLong(&ok);
    return ok ? value : 1;
}

std::optional<int> TimeoutFromText(const QString& text)
{
    bool ok = false;
    const int value = StrToIntDef(text, 0, &ok);
    if (!ok)
        return std::nullopt;
    return value;
}

QString InvalidIntegerText(const QString& text)
{
    return QStringLiteral("'%1' is not a valid integer value").arg(text);
}

QString NormaliseStartUrl(const QString& text)
{
    QString url = text;
    if (StartsWithAZ(url, QStringLiteral("http://")))
        url.replace(0, 7, QStringLiteral("http://"));
    else if (StartsWithAZ(url, QStringLiteral("https://")))
        url.replace(0, 8, QStringLiteral("https://"));
    if (!url.startsWith(QLatin1String("http")))
        url.prepend(QStringLiteral("http://"));
    return url;
}

bool HasOtherScheme(const QString& url)
{
    const qsizetype sep = url.indexOf(QLatin1String("://"));
    if (sep <= 0)
        return false;
    const QString scheme = url.left(sep);
    for (QChar c : scheme)
        if (!c.isLetterOrNumber() && c != u'+' && c != u'-' && c != u'.')
            return false;  // not a scheme: "://" stands later in the text
    return scheme.compare(QLatin1String("http"), Qt::CaseInsensitive) != 0 &&
           scheme.compare(QLatin1String("https"), Qt::CaseInsensitive) != 0;
}

QString OtherSchemeText(const QString& url)
{
    return QStringLiteral("'%1' is not an http or https URL").arg(url);
}

CrawlControl::CrawlControl(ProjectDatabase& db, CrawlHost& host, PageSink& pages, FetchFunction fetch)
    : db_(db), host_(host), pages_(pages), fetch_(std::move(fetch))
{
}

CrawlControl::~CrawlControl()
{
    Stop();
    collector_.reset();
}

StartResult CrawlControl::Start(const CrawlOptions& options)
{
    if (phase_.load() != CrawlPhase::Idle)
        return {StartStatus::Busy, {}};
    // The previous collector has reported its end; let its thread go.
    collector_.reset();
    if (TrimCtl(options.StartUrl).isEmpty())
        return {StartStatus::EmptyUrl, {}};
    if (HasOtherScheme(options.StartUrl))
        return {StartStatus::OtherScheme, options.StartUrl};
    if (!db_.PrepareForCrawl(options.Location))
        return {StartStatus::DatabaseFailed, {}};
    pages_.BeginCrawl(options);
    state_.StopRequested = false;
    CaptureOptions(options);
    const QString url = NormaliseStartUrl(options.StartUrl);
    table_.Clear();
    state_.AddedCount = 0;
    state_.StartUrl = url;
    startedNs_ = NowNs();
    endedNs_ = -1;
    phase_ = CrawlPhase::Running;
    messages_.Open();
    const quint64 crawl = ++crawls_;
    collector_ = std::make_unique<Collector>(CollectorContext{
        db_, host_, pages_, table_, state_, fetch_, options.IgnoreUrls, options.FollowRedirects,
        [this] { return ElapsedMs(); }, [this](const CrawlSummary& summary) { OnFinished(summary); }, &messages_, crawl});
    collector_->Run();
    return {StartStatus::Started, url, crawl};
}

void CrawlControl::CaptureOptions(const CrawlOptions& options)
{
    state_.IgnoreExtensionsText = TrimCtl(options.IgnoreExtensions);
    state_.FetchSettings = FetchSettings{options.UserAgent, options.ConnectTimeoutMs, options.ReadTimeoutMs};
    state_.UrlLimit = options.UrlLimit;
    state_.Connections = std::clamp(options.Connections, 1, kMaxConnections);
    state_.DelayMs = std::max(0, options.DelayMs);
    state_.SubdomainScope = options.SubdomainScope;
    state_.Options.RemoveAnchors = options.RemoveAnchors;
    state_.Options.RemoveQueryString = options.RemoveQueryString;
    state_.Options.StripHtmlMarkup = options.StripHtmlMarkup;
}

bool CrawlControl::Stop()
{
    messages_.Release();
    CrawlPhase running = CrawlPhase::Running;
    if (!phase_.compare_exchange_strong(running, CrawlPhase::Stopping))
        return false;
    state_.StopRequested = true;
    return true;
}

void CrawlControl::LoadTable(const QStringList& pages)
{
    if (phase_.load() != CrawlPhase::Idle)
        return;
    table_.Clear();
    for (const QString& page : pages)
        table_.Append(page);
}

void CrawlControl::WaitUntilFinished()
{
    collector_.reset();
}

qint64 CrawlControl::ElapsedMs() const
{
    const qint64 started = startedNs_.load();
    if (started == 0)
        return 0;
    const qint64 ended = endedNs_.load();
    return ((ended >= 0 ? ended : NowNs()) - started) / 1'000'000;
}

CrawlSummary CrawlControl::LastSummary() const
{
    QMutexLocker lock(&summaryMutex_);
    return lastSummary_;
}

// On the collector thread, once every page is recorded.
void CrawlControl::OnFinished(const CrawlSummary& finished)
{
    endedNs_ = NowNs();
    CrawlSummary summary = finished;
    summary.elapsedMs = ElapsedMs();
    {
        QMutexLocker lock(&summaryMutex_);
        lastSummary_ = summary;
    }
    phase_ = CrawlPhase::Idle;
    messages_.Release();
    if (summary.outcome == CrawlOutcome::Failed)
        host_.Error(summary.failureText);
    host_.Finished(summary);
}

}  // namespace lexicrawl
