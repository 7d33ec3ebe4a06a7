#pragma once
// Crawl control: the Start/Stop command, the Start sequence (database
// preparation, option capture, start-URL normalisation, redirect probe), the
// collector of the running crawl, the table of internal URLs and the crawl
// state, and the completion routine that returns the front end to idle.
//
// Thread-safety: Start, Stop, StartStop and the destructor are called on the
// front end's UI thread; the table and the state may be read from any thread
// as their own classes document. The completion routine runs where the host
// runs UI work.
#include <QString>

#include <atomic>
#include <memory>

#include "crawl/crawl_options.h"
#include "crawl/crawl_state.h"
#include "crawl/fetch_function.h"
#include "crawl/internal_urls.h"

namespace lexicrawl {

class CrawlHost;
class ProjectDatabase;
class Collector;

// The crawl's phase, shown by the Start button's caption.
enum class CrawlPhase { Idle, Running, Stopping };

class CrawlControl {
public:
    CrawlControl(ProjectDatabase& db, CrawlHost& host, FetchFunction fetch = FetchPage);
    // Asks a running collector to stop and waits for its thread. The host
    // must not need this thread to answer the collector's UI hand-offs then.
    ~CrawlControl();
    CrawlControl(const CrawlControl&) = delete;
    CrawlControl& operator=(const CrawlControl&) = delete;

    // The Start/Stop command: starts when idle, stops when running, does
    // nothing while stopping.
    void StartStop(const CrawlOptions& options);
    // The Start sequence. Answers false when no crawl started: empty URL,
    // failed database preparation, an invalid time-out, or the previous
    // collector still finishing after a stop.
    bool Start(const CrawlOptions& options);
    // Asks the running crawl to stop.
    void Stop();

    // The completion routine (on the UI thread): refresh the unknown words,
    // beep when asked, and return the front end to idle.
    void Complete(bool beep);

    CrawlPhase Phase() const { return phase_.load(); }
    // True from Start until the collector's thread body has ended.
    bool CollectorRunning() const;
    // Waits until the collector's thread has ended (command line, tests).
    void WaitForCollector();

    // Whether the last collector was ended by a failure (an invalid ignore
    // pattern, a failing page recorder) rather than by the end of the table
    // or a stop.
    bool CollectorFailed() const { return collectorFailed_.load(); }

    InternalUrls& Table() { return table_; }
    const InternalUrls& Table() const { return table_; }
    CrawlState& State() { return state_; }
    // The start URL after normalisation and the redirect probe.
    QString StartUrl() const { return state_.StartUrl; }

private:
    bool CaptureOptions(const CrawlOptions& options);
    QString NormaliseStartUrl(const CrawlOptions& options);
    void OnCollectorEnded(bool failed, const QString& text);

    ProjectDatabase& db_;
    CrawlHost& host_;
    FetchFunction fetch_;
    InternalUrls table_;
    CrawlState state_;
    std::atomic<CrawlPhase> phase_{CrawlPhase::Idle};
    std::atomic<bool> collectorFailed_{false};
    std::unique_ptr<Collector> collector_;
};

// The whole number of a limit text (64-bit); 1 when it is not one.
qint64 UrlLimitOf(const QString& text);

}  // namespace lexicrawl
