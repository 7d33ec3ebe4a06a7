#pragma once
// The collector of one crawl: a worker thread that walks the table of
// internal URLs in table order, fetches each page, has it recorded by the
// host, scans it for links and hands every link to link processing, which
// appends new internal URLs to the same table (so the walk is breadth-first).
//
// Thread-safety: Run starts the thread; Finished() and the destructor (which
// waits for the thread) may be called from any other thread. Everything else
// runs on the collector's own thread.
#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>
#include <thread>

#include "crawl/fetch_function.h"

namespace lexicrawl {

class CrawlHost;
class InternalUrls;
class ProjectDatabase;
struct CrawlState;

// What the collector works on and whom it tells.
struct CollectorContext {
    ProjectDatabase& Database;
    CrawlHost& Host;
    InternalUrls& Table;
    CrawlState& State;
    FetchFunction Fetch;
    QString IgnoreUrlsText;  // the Ignore URLs box's text
    // The completion routine, run on the UI thread: true after the loop
    // (waited for), false when a stop cut a fetch short (posted).
    std::function<void(bool beep)> Completion;
    // Posted to the UI thread when the thread ends: failed, failure text.
    std::function<void(bool failed, const QString& text)> Terminated;
};

class Collector {
public:
    explicit Collector(CollectorContext context);
    ~Collector();
    // Starts the thread, once; the owner keeps the collector from here on.
    void Run();
    Collector(const Collector&) = delete;
    Collector& operator=(const Collector&) = delete;

    // True once the thread body has ended (its end report may still be on its way).
    bool Finished() const { return finished_.load(); }

private:
    void Execute();
    void CollectNow();
    bool Visit(qsizetype& index, class LinkProcessor& links);
    QString Fetch(const QString& url);
    void Status(int panel, const QString& text);

    CollectorContext context_;
    std::atomic<bool> finished_{false};
    std::thread thread_;
};

}  // namespace lexicrawl
