#pragma once
// The crawl's life in the main window, in one place: it owns the window's
// CrawlEvents, the timers that show a running crawl and the number of the
// crawl the window started, and turns them into a few signals the window
// shows. The window builds the options and shows what it is told; whether a
// crawl is running is asked here and nowhere else.
//
// A late end of an earlier crawl (queued behind the next Start) is ignored:
// only the crawl started last ends the running state and its timers.
//
// Thread-safety: UI thread only; the CrawlEvents it owns take the crawl's
// events on the crawl's threads.
#include <QObject>
#include <QTimer>

#include "crawl/crawl_control.h"
#include "platform/user_message.h"

namespace lexicrawl {
class CrawlSession;
}

namespace lexicrawl::gui {

class CrawlEvents;

class CrawlPresenter : public QObject {
    Q_OBJECT
public:
    explicit CrawlPresenter(QObject* parent = nullptr);

    // The host a session is made with, and the session it then serves.
    CrawlHost& Host();
    void Attach(CrawlSession& session);

    // Starts a crawl; a refused Start (StartResult::status) changes nothing.
    StartResult Start(const CrawlOptions& options);
    // Asks the running crawl to stop; phaseChanged(Stopping) follows.
    void Stop();
    bool Running() const { return runningCrawl_ != 0; }
    CrawlPhase Phase() const;
    // After a refresh of the unknown-word list: the next one in 5 s while
    // the crawl runs, when follow is on ("Display Unfinished Results").
    void RefreshLater(bool follow);
    // A refresh has begun: the one that was due later is not needed.
    void RefreshStarted() { refreshTimer_.stop(); }
    bool RefreshScheduled() const { return refreshTimer_.isActive(); }

signals:
    void phaseChanged(lexicrawl::CrawlPhase phase);
    // Every 200 ms while a crawl runs, and once at its end.
    void progressDue(const lexicrawl::CrawlProgress& progress, qsizetype tableLength, qsizetype lastVisitedRow);
    // Every second while a crawl runs, and at its start and end.
    void elapsedDue(qint64 elapsedMs);
    // The unknown-word list is due: at the start, when RefreshLater's time has come, at the end.
    void refreshDue();
    void startUrlChanged(const QString& url);
    // Shown to the user; the crawl waits until it is acknowledged (Acknowledge).
    void message(const lexicrawl::UserMessage& message);
    void crawlError(const QString& text);
    void finished(const lexicrawl::CrawlSummary& summary);

public slots:
    void Acknowledge();

private:
    void ShowProgress();
    void OnFinished(const CrawlSummary& summary);

    CrawlEvents* events_ = nullptr;
    CrawlSession* session_ = nullptr;
    QTimer syncTimer_;     // progress and rows, a few times a second
    QTimer elapsedTimer_;  // the elapsed time, every second
    QTimer refreshTimer_;  // the unknown-word list during a crawl, every 5 s
    quint64 runningCrawl_ = 0;  // the crawl started last and not yet seen to finish; 0: none
};

}  // namespace lexicrawl::gui
