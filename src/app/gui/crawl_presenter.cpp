#include "app/gui/crawl_presenter.h"

#include "app/core/crawl_session.h"
#include "app/gui/crawl_events.h"

namespace lexicrawl::gui {

CrawlPresenter::CrawlPresenter(QObject* parent) : QObject(parent), events_(new CrawlEvents(this))
{
    connect(events_, &CrawlEvents::startUrlChanged, this, &CrawlPresenter::startUrlChanged);
    connect(events_, &CrawlEvents::message, this, &CrawlPresenter::message);
    connect(events_, &CrawlEvents::crawlError, this, &CrawlPresenter::crawlError);
    connect(events_, &CrawlEvents::finished, this, &CrawlPresenter::OnFinished);
    syncTimer_.setInterval(200);
    connect(&syncTimer_, &QTimer::timeout, this, &CrawlPresenter::ShowProgress);
    elapsedTimer_.setInterval(1000);
    connect(&elapsedTimer_, &QTimer::timeout, this, [this] { emit elapsedDue(session_->ElapsedMs()); });
    refreshTimer_.setInterval(5000);
    refreshTimer_.setSingleShot(true);
    connect(&refreshTimer_, &QTimer::timeout, this, &CrawlPresenter::refreshDue);
}

CrawlHost& CrawlPresenter::Host()
{
    return *events_;
}

void CrawlPresenter::Attach(CrawlSession& session)
{
    session_ = &session;
}

StartResult CrawlPresenter::Start(const CrawlOptions& options)
{
    events_->Reset();
    const StartResult started = session_->Start(options);
    if (!started.Started())
        return started;
    runningCrawl_ = started.crawl;
    emit phaseChanged(CrawlPhase::Running);
    emit refreshDue();
    emit elapsedDue(session_->ElapsedMs());
    elapsedTimer_.start();
    syncTimer_.start();
    return started;
}

void CrawlPresenter::Stop()
{
    if (session_->Stop())
        emit phaseChanged(CrawlPhase::Stopping);
}

CrawlPhase CrawlPresenter::Phase() const
{
    return session_->Phase();
}

void CrawlPresenter::RefreshLater(bool follow)
{
    if (Running() && follow)
        refreshTimer_.start();
}

void CrawlPresenter::Acknowledge()
{
    session_->AcknowledgeMessage();
}

void CrawlPresenter::ShowProgress()
{
    emit progressDue(events_->LatestProgress(), events_->TableLength(), events_->LastVisitedRow());
}

void CrawlPresenter::OnFinished(const CrawlSummary& summary)
{
    if (summary.crawl != runningCrawl_)
        return;
    runningCrawl_ = 0;
    syncTimer_.stop();
    elapsedTimer_.stop();
    refreshTimer_.stop();
    ShowProgress();
    emit elapsedDue(session_->ElapsedMs());
    emit refreshDue();
    emit phaseChanged(CrawlPhase::Idle);
    emit finished(summary);
}

}  // namespace lexicrawl::gui
