#include "app/gui/crawl_events.h"

namespace lexicrawl::gui {

void CrawlEvents::StartUrlChanged(const QString& url)
{
    QMetaObject::invokeMethod(this, [this, url] { emit startUrlChanged(url); }, Qt::QueuedConnection);
}

void CrawlEvents::Progress(const CrawlProgress& progress)
{
    QMutexLocker lock(&mutex_);
    progress_ = progress;
}

void CrawlEvents::RowsAppended(qsizetype tableLength)
{
    tableLength_ = tableLength;
}

void CrawlEvents::RowVisited(const VisitedRow& visited)
{
    lastVisited_ = visited.row;
}

bool CrawlEvents::Message(const UserMessage& shown)
{
    QMetaObject::invokeMethod(this, [this, shown] { emit message(shown); }, Qt::QueuedConnection);
    return true;
}

void CrawlEvents::Error(const QString& text)
{
    QMetaObject::invokeMethod(this, [this, text] { emit crawlError(text); }, Qt::QueuedConnection);
}

void CrawlEvents::Finished(const CrawlSummary& summary)
{
    QMetaObject::invokeMethod(this, [this, summary] { emit finished(summary); }, Qt::QueuedConnection);
}

CrawlProgress CrawlEvents::LatestProgress() const
{
    QMutexLocker lock(&mutex_);
    return progress_;
}

void CrawlEvents::Reset()
{
    QMutexLocker lock(&mutex_);
    progress_ = CrawlProgress();
    tableLength_ = 0;
    lastVisited_ = -1;
}

}  // namespace lexicrawl::gui
