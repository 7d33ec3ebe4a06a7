#include "crawl/crawl_control.h"

#include "crawl/collector.h"
#include "crawl/crawl_host.h"
#include "platform/platform.h"
#include "platform/text.h"
#include "platform/translation.h"
#include "store/project_database.h"

namespace lexicrawl {

qint64 UrlLimitOf(const QString& text)
{
    bool ok = false;
    const qint64 value = text.toLongLong(&ok);
    return ok ? value : 1;
}

CrawlControl::CrawlControl(ProjectDatabase& db, CrawlHost& host, FetchFunction fetch)
    : db_(db), host_(host), fetch_(std::move(fetch))
{
}

CrawlControl::~CrawlControl()
{
    state_.StopRequested = true;
    collector_.reset();
}

void CrawlControl::StartStop(const CrawlOptions& options)
{
    switch (phase_.load()) {
    case CrawlPhase::Idle:
        Start(options);
        break;
    case CrawlPhase::Running:
        Stop();
        break;
    case CrawlPhase::Stopping:
        break;
    }
}

bool CrawlControl::CollectorRunning() const
{
    return collector_ && !collector_->Finished();
}

void CrawlControl::WaitForCollector()
{
    collector_.reset();
}

bool CrawlControl::Start(const CrawlOptions& options)
{
    // A stop that cut a fetch short returns the front end to idle before the
    // collector has ended; two collectors must never share the table.
    if (CollectorRunning())
        return false;
    collector_.reset();
    if (TrimCtl(options.StartUrl).isEmpty()) {
        Platform::Current().MessageBox(QStringLiteral("Warning"), QStringLiteral("Please enter Start URL!"),
                                       MessageIcon::Warning);
        host_.FocusUrlField();
        return false;
    }
    if (!db_.PrepareForCrawl(options.Location))
        return false;
    host_.SetBusyCursor(true);
    state_.StopRequested = false;
    if (!CaptureOptions(options)) {
        host_.SetBusyCursor(false);
        return false;
    }
    phase_ = CrawlPhase::Running;
    host_.SetStartButton(Tr(QStringLiteral("STOP")), true);
    host_.SetOptionPanelsEnabled(false);
    const QString url = NormaliseStartUrl(options);
    state_.StartUrl = url;
    state_.SubdomainScope = options.SubdomainScope;
    collectorFailed_ = false;
    collector_ = std::make_unique<Collector>(CollectorContext{
        db_, host_, table_, state_, fetch_, options.IgnoreUrlsText,
        [this](bool beep) { Complete(beep); },
        [this](bool failed, const QString& text) { OnCollectorEnded(failed, text); }});
    collector_->Run();
    return true;
}

bool CrawlControl::CaptureOptions(const CrawlOptions& options)
{
    bool connectOk = false, readOk = false;
    const int connectMs = StrToIntDef(options.ConnectTimeoutText, 0, &connectOk);
    const int readMs = StrToIntDef(options.ReadTimeoutText, 0, &readOk);
    if (!connectOk || !readOk) {
        const QString bad = connectOk ? options.ReadTimeoutText : options.ConnectTimeoutText;
        Platform::Current().ShowMessage(QStringLiteral("'%1' is not a valid integer value").arg(bad));
        return false;
    }
    state_.IgnoreExtensionsText = TrimCtl(options.IgnoreExtensionsText);
    state_.FetchSettings = FetchSettings{options.UserAgent, connectMs, readMs};
    state_.Options.RemoveAnchors = options.RemoveAnchors;
    state_.Options.RemoveQueryString = options.RemoveQueryString;
    state_.Options.StripHtmlMarkup = options.StripHtmlMarkup;
    return true;
}

// Lower-cases the scheme, empties the table, refreshes the unknown words,
// puts "http://" in front of a text without it and takes over the start
// URL's first redirect; the URL field shows each change.
QString CrawlControl::NormaliseStartUrl(const CrawlOptions& options)
{
    QString url = options.StartUrl;
    if (StartsWithAZ(url, QStringLiteral("http://")))
        url.replace(0, 7, QStringLiteral("http://"));
    else if (StartsWithAZ(url, QStringLiteral("https://")))
        url.replace(0, 8, QStringLiteral("https://"));
    host_.SetUrlFieldText(url);
    table_.Clear();
    host_.SetRowCount(0);
    state_.AddedCount = 0;
    state_.UrlLimit = UrlLimitOf(options.UrlLimitText);
    host_.RefreshUnknownWords();
    if (options.DisplayUnfinishedResults)
        host_.SetUnknownWordTimer(true);
    if (!url.startsWith(QLatin1String("http"))) {
        url.prepend(QStringLiteral("http://"));
        host_.SetUrlFieldText(url);
    }
    if (options.FollowRedirects) {
        FetcherState& fetcher = ThisThreadFetcher();
        fetcher.RedirectTarget.clear();
        try {
            fetch_(url, state_.FetchSettings, nullptr, {});
        } catch (...) {
            // A failed probe leaves the start URL as it is.
        }
        if (!fetcher.RedirectTarget.isEmpty() && fetcher.RedirectTarget != url) {
            url = fetcher.RedirectTarget;
            host_.SetUrlFieldText(url);
        }
    }
    return url;
}

void CrawlControl::Stop()
{
    if (phase_.load() != CrawlPhase::Running)
        return;
    state_.StopRequested = true;
    phase_ = CrawlPhase::Stopping;
    host_.SetStartButton(Tr(QStringLiteral("Stopping...")), false);
}

void CrawlControl::Complete(bool beep)
{
    host_.RefreshUnknownWords();
    host_.SetUnknownWordTimer(false);
    if (beep)
        Platform::Current().Beep();
    phase_ = CrawlPhase::Idle;
    host_.SetStartButton(Tr(QStringLiteral("Start")), true);
    host_.SetStatusText(3, Tr(QStringLiteral("Completed")));
    host_.SetOptionPanelsEnabled(true);
    host_.SetBusyCursor(false);
}

// A failure that ended the collector is shown, and the front end returns to
// idle rather than staying in the running state with nothing running.
void CrawlControl::OnCollectorEnded(bool failed, const QString& text)
{
    collectorFailed_ = failed;
    if (failed) {
        Platform::Current().MessageBox(QStringLiteral("ERROR"), text, MessageIcon::Error);
        Complete(false);
    }
    host_.CrawlEnded();
}

}  // namespace lexicrawl
