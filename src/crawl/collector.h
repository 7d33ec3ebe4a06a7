#pragma once
// The collector of one crawl: a worker thread that takes over the start
// URL's first redirect when asked, then walks the table of internal URLs in
// table order, fetches each page, hands it to the page sink for recording,
// scans it for links and hands every link to link processing, which appends
// new internal URLs to the same table (so the walk is breadth-first). When
// the walk ends it waits until every page is recorded and reports the
// crawl's summary.
//
// Thread-safety: Run starts the thread; the destructor (which waits for the
// thread, or lets it go when called on it) may be called from any other
// thread. Everything else runs on the collector's own thread.
#include <QString>

#include <functional>
#include <memory>
#include <thread>

#include "crawl/crawl_host.h"
#include "crawl/crawl_notes.h"
#include "crawl/fetch_function.h"

namespace lexicrawl {

class HostPacer;
class InternalUrls;
class RobotsGate;
class LinkProcessor;
class Prefetcher;
class Renderer;
struct PageFetch;
class PageSink;
class ProjectDatabase;
struct CrawlState;

// What the collector works on and whom it tells.
struct CollectorContext {
    ProjectDatabase& database;
    CrawlHost& host;
    PageSink& pages;
    InternalUrls& table;
    CrawlState& state;
    FetchFunction fetch;
    QString ignoreUrls;            // the Ignore URLs text
    bool followRedirects = false;  // probe the start URL for a redirect first
    std::function<qint64()> elapsedMs;
    // Called last, on the collector thread, once every page is recorded;
    // the collector touches nothing of its own afterwards.
    std::function<void(const CrawlSummary&)> finished;
    // Where the collector thread's messages for the user go.
    MessageReporter* messages = nullptr;
    quint64 crawl = 0;  // stamped on every event
};

class Collector {
public:
    explicit Collector(CollectorContext context);
    ~Collector();
    Collector(const Collector&) = delete;
    Collector& operator=(const Collector&) = delete;

    // Starts the thread, once.
    void Run();

private:
    void Execute();
    void ProbeStartUrl();
    void CollectNow();
    bool Visit(qsizetype& index, LinkProcessor& links);
    PageFetch FetchEntry(qsizetype index);
    void StartRenderer();
    void RenderPage(const QString& url, PageFetch& fetched);
    QString Fetch(const QString& url, bool statusOnly);
    PageFetch FetchBody(const QString& url);
    void ReadSitemaps(LinkProcessor& links);
    void NoteFindings(const LinkProcessor& links);
    void NotifyRows();

    CollectorContext context_;
    std::thread thread_;
    HostPacer* pacer_ = nullptr;          // during the walk
    Prefetcher* prefetcher_ = nullptr;    // during the walk, with more than one connection
    RobotsGate* robots_ = nullptr;        // during the walk, when robots.txt is obeyed
    CrawlNotes notes_;
    std::unique_ptr<Renderer> renderer_;  // a rendering crawl's browser
    bool stopped_ = false;
    qsizetype pagesDone_ = 0;
    qsizetype pagesFailed_ = 0;
    qsizetype rowsNotified_ = 0;
};

}  // namespace lexicrawl
