#pragma once
// Fetches the next entries of the table of internal URLs ahead of the
// collector, in table order, on a few threads of its own, so that a page's
// round trip overlaps the reading of the ones before it. The collector still
// takes the pages one by one in table order, so the table, its limits and
// every row come out as with a single connection. What is fetched ahead and
// not yet taken is bounded in number and in bytes.
//
// Thread-safety: Take and TableGrew are called on the collector thread;
// the fetches run on the prefetcher's threads.
#include <QHash>

#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

#include "crawl/polite_fetch.h"

namespace lexicrawl {

class InternalUrls;

class Prefetcher {
public:
    Prefetcher(const InternalUrls& table, FetchFunction fetch, FetchSettings settings, const std::atomic<bool>* stop,
               HostPacer& pacer, int connections, qsizetype maxAhead, qint64 maxBytesAhead,
               PageFinish finish = {});
    // Lets the fetches in flight end (a stop ends them at once) and the threads go.
    ~Prefetcher();
    Prefetcher(const Prefetcher&) = delete;
    Prefetcher& operator=(const Prefetcher&) = delete;

    // The fetch of entry index, waiting for it when it is still on its way;
    // the entries after it start while the caller works on this one.
    PageFetch Take(qsizetype index);
    // The table has grown: entries that were not there can be fetched now.
    void TableGrew();

private:
    void Run();
    bool MayStart() const;

    const InternalUrls& table_;
    const FetchFunction fetch_;
    const PageFinish finish_;
    const FetchSettings settings_;
    const std::atomic<bool>* stop_;
    HostPacer& pacer_;
    const qsizetype maxAhead_;
    const qint64 maxBytesAhead_;

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    qsizetype next_ = 0;       // the first entry no thread has started
    qsizetype wanted_ = 0;     // the entry the collector takes next
    qsizetype tableLength_ = 0;
    qint64 bytesAhead_ = 0;
    QHash<qsizetype, PageFetch> done_;
    bool ending_ = false;
    std::vector<std::thread> threads_;
};

}  // namespace lexicrawl
