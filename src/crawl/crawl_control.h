#pragma once
// Crawl control: the Start sequence (database preparation, option capture,
// start-URL normalisation), the collector of the running crawl, the table of
// internal URLs, the crawl state and the crawl's phase. A front end calls
// Start and Stop and renders the events of its CrawlHost; the redirect
// probe, the walk and the recording all run off its thread.
//
// Thread-safety: Start, Stop, WaitUntilFinished and the destructor are called
// on the front end's own (UI) thread; Phase, ElapsedMs and LastSummary from
// any thread; the table and the state as their own classes document.
#include <QMutex>
#include <QString>
#include <QStringList>

#include <atomic>
#include <memory>

#include "crawl/crawl_host.h"
#include "crawl/crawl_message_gate.h"
#include "crawl/crawl_options.h"
#include "crawl/crawl_state.h"
#include "crawl/fetch_function.h"
#include "crawl/internal_urls.h"

namespace lexicrawl {

class Collector;
class PageSink;
class ProjectDatabase;

// The crawl's phase, which the Start button's caption shows.
enum class CrawlPhase { Idle, Running, Stopping };

enum class StartStatus {
    Started,
    EmptyUrl,        // nothing but blanks in the URL field ("Please enter Start URL!")
    OtherScheme,     // a scheme other than http or https: OtherSchemeText says so
    DatabaseFailed,  // the project database could not be prepared (already reported)
    Busy,            // a crawl is still running or stopping
};

struct StartResult {
    StartStatus status = StartStatus::Busy;
    QString url;  // the start URL as normalised (scheme lower-cased, "http://" added): the URL field shows it
    quint64 crawl = 0;  // a started crawl's number, which its events carry
    bool Started() const { return status == StartStatus::Started; }
};

class CrawlControl {
public:
    CrawlControl(ProjectDatabase& db, CrawlHost& host, PageSink& pages, FetchFunction fetch = FetchPage);
    // Stops a running crawl and waits until it has finished.
    ~CrawlControl();
    CrawlControl(const CrawlControl&) = delete;
    CrawlControl& operator=(const CrawlControl&) = delete;

    // The Start sequence; returns at once, the crawl runs on the collector
    // thread and ends with CrawlHost::Finished.
    StartResult Start(const CrawlOptions& options);
    // Asks the running crawl to stop (Running -> Stopping); the transfer in
    // progress is cut short and Finished follows once the pages already
    // fetched are recorded. Answers false when no crawl was running.
    bool Stop();

    CrawlPhase Phase() const { return phase_.load(); }
    // The front end has acknowledged a message it answered true for
    // (CrawlHost::Message); any thread.
    void AcknowledgeMessage() { messages_.Acknowledge(); }
    // Where the messages of a thread that works for the crawl go (the
    // collector's own are sent there already).
    MessageReporter& Messages() { return messages_; }
    // Waits until the crawl has finished and its end report has returned
    // (command line, tests).
    void WaitUntilFinished();

    // Milliseconds since the crawl started; frozen once it has finished.
    qint64 ElapsedMs() const;
    // The summary of the last finished crawl.
    CrawlSummary LastSummary() const;

    // Fills the table with the pages of an opened project, unvisited, in
    // their order. Ignored while a crawl runs.
    void LoadTable(const QStringList& pages);

    InternalUrls& Table() { return table_; }
    const InternalUrls& Table() const { return table_; }
    CrawlState& State() { return state_; }
    const CrawlState& State() const { return state_; }

private:
    void CaptureOptions(const CrawlOptions& options);
    void OnFinished(const CrawlSummary& summary);

    ProjectDatabase& db_;
    CrawlHost& host_;
    CrawlMessageGate messages_{host_};
    PageSink& pages_;
    FetchFunction fetch_;
    InternalUrls table_;
    CrawlState state_;
    std::atomic<CrawlPhase> phase_{CrawlPhase::Idle};
    quint64 crawls_ = 0;  // crawls started
    std::atomic<qint64> startedNs_{0};
    std::atomic<qint64> endedNs_{-1};
    mutable QMutex summaryMutex_;
    CrawlSummary lastSummary_;
    std::unique_ptr<Collector> collector_;
};

// The start URL as Start normalises it: a scheme written in capitals is
// lower-cased, and a text whose first four characters are not "http" gets
// "http://" in front (so a host named "httpbin.test" gets none).
QString NormaliseStartUrl(const QString& text);

// A start URL with a scheme other than http or https, in any case ("ftp://x"),
// which would be taken for a host name and crawled as "http://ftp://x".
bool HasOtherScheme(const QString& url);
// "'ftp://x' is not an http or https URL".
QString OtherSchemeText(const QString& url);

}  // namespace lexicrawl
