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
    return WholeNumber(text);
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
    if (TrimCtl(options.startUrl).isEmpty())
        return {StartStatus::EmptyUrl, {}};
    if (HasOtherScheme(options.startUrl))
        return {StartStatus::OtherScheme, options.startUrl};
    if (!db_.PrepareForCrawl(options.location))
        return {StartStatus::DatabaseFailed, {}};
    pages_.BeginCrawl(options);
    state_.stopRequested = false;
    CaptureOptions(options);
    const QString url = NormaliseStartUrl(options.startUrl);
    table_.Clear();
    state_.addedCount = 0;
    state_.startUrl = url;
    startedNs_ = NowNs();
    endedNs_ = -1;
    phase_ = CrawlPhase::Running;
    messages_.Open();
    const quint64 crawl = ++crawls_;
    collector_ = std::make_unique<Collector>(CollectorContext{
        db_, host_, pages_, table_, state_, fetch_, options.ignoreUrls, options.followRedirects,
        [this] { return ElapsedMs(); }, [this](const CrawlSummary& summary) { OnFinished(summary); }, &messages_, crawl});
    collector_->Run();
    return {StartStatus::Started, url, crawl};
}

void CrawlControl::CaptureOptions(const CrawlOptions& options)
{
    state_.ignoreExtensionsText = TrimCtl(options.ignoreExtensions);
    state_.fetchSettings = FetchSettings{options.userAgent, options.connectTimeoutMs, options.readTimeoutMs};
    state_.fetchSettings.insecure = options.insecure;
    state_.urlLimit = options.urlLimit;
    state_.connections = std::clamp(options.connections, 1, kMaxConnections);
    state_.delayMs = std::max(0, options.delayMs);
    state_.robots = options.robots;
    state_.sitemaps = options.sitemaps;
    state_.documents = options.documents;
    state_.fetchSettings.keepDocuments = options.documents;
    state_.subdomainScope = options.subdomainScope;
    state_.render = options.render;
    state_.renderTimeoutMs = options.renderTimeoutMs;
    state_.renderAllowedHosts = options.renderAllowedHosts;
    state_.options.removeAnchors = options.removeAnchors;
    state_.options.removeQueryString = options.removeQueryString;
    state_.options.stripHtmlMarkup = options.stripHtmlMarkup;
}

bool CrawlControl::Stop()
{
    messages_.Release();
    CrawlPhase running = CrawlPhase::Running;
    if (!phase_.compare_exchange_strong(running, CrawlPhase::Stopping))
        return false;
    state_.stopRequested = true;
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
