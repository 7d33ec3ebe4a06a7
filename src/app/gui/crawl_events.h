#pragma once
// The window's side of a crawl's events. They come on the collector thread;
// the rare ones (a new start URL, an error, the end) are posted on to the UI
// thread as signals, while the frequent ones (progress, rows appended, rows
// visited) only leave their latest values here, which the window reads a few
// times a second. A crawl of thousands of pages a second therefore costs the
// UI thread a few repaints a second, never one queued call per link.
//
// Thread-safety: the CrawlHost members are called on the collector thread;
// the readers and the signals belong to the UI thread.
#include <QMutex>
#include <QObject>

#include <atomic>

#include "crawl/crawl_host.h"

namespace lexicrawl::gui {

class CrawlEvents : public QObject, public CrawlHost {
    Q_OBJECT
public:
    using QObject::QObject;

    void StartUrlChanged(const QString& url) override;
    void Progress(const CrawlProgress& progress) override;
    void RowsAppended(qsizetype tableLength) override;
    void RowVisited(const VisitedRow& visited) override;
    // Shown on the UI thread; the crawl waits until messageAcknowledged.
    bool Message(const UserMessage& message) override;
    void Error(const QString& text) override;
    void Finished(const CrawlSummary& summary) override;

    // UI thread: the latest values, and forgetting them at a new Start.
    CrawlProgress LatestProgress() const;
    qsizetype TableLength() const { return tableLength_.load(); }
    qsizetype LastVisitedRow() const { return lastVisited_.load(); }
    void Reset();

signals:
    void startUrlChanged(const QString& url);
    void crawlError(const QString& text);
    void message(const lexicrawl::UserMessage& message);
    void finished(const lexicrawl::CrawlSummary& summary);

private:
    mutable QMutex mutex_;
    CrawlProgress progress_;
    std::atomic<qsizetype> tableLength_{0};
    std::atomic<qsizetype> lastVisited_{-1};
};

}  // namespace lexicrawl::gui
