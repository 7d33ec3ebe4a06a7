#include "crawl/prefetcher.h"

#include "crawl/internal_urls.h"

namespace lexicrawl {

Prefetcher::Prefetcher(const InternalUrls& table, FetchFunction fetch, FetchSettings settings,
                       const std::atomic<bool>* stop, HostPacer& pacer, int connections, qsizetype maxAhead,
                       qint64 maxBytesAhead, PageFinish finish)
    : table_(table),
      fetch_(std::move(fetch)),
      finish_(std::move(finish)),
      settings_(std::move(settings)),
      stop_(stop),
      pacer_(pacer),
      maxAhead_(std::max<qsizetype>(1, maxAhead)),
      maxBytesAhead_(maxBytesAhead),
      tableLength_(table.Count())
{
    for (int i = 0; i < std::max(1, connections); ++i)
        threads_.emplace_back([this] { Run(); });
}

Prefetcher::~Prefetcher()
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        ending_ = true;
    }
    changed_.notify_all();
    for (std::thread& thread : threads_)
        thread.join();
}

void Prefetcher::TableGrew()
{
    const qsizetype length = table_.Count();
    {
        std::lock_guard<std::mutex> lock(mutex_);
        tableLength_ = length;
    }
    changed_.notify_all();
}

// An entry may start when it is in the table, not too far ahead of the
// collector, and what waits to be taken is not too large. The entry the
// collector waits for always may.
bool Prefetcher::MayStart() const
{
    if (next_ >= tableLength_)
        return false;
    if (next_ <= wanted_)
        return true;
    return next_ < wanted_ + maxAhead_ && bytesAhead_ < maxBytesAhead_;
}

void Prefetcher::Run()
{
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return ending_ || MayStart(); });
        if (ending_)
            return;
        const qsizetype index = next_++;
        const QString url = table_.At(index).page;
        lock.unlock();
        PageFetch result = FetchPolitely(fetch_, url, settings_, stop_, pacer_);
        if (finish_)
            finish_(url, result);
        lock.lock();
        bytesAhead_ += result.bytes();
        done_.insert(index, std::move(result));
        changed_.notify_all();
    }
}

PageFetch Prefetcher::Take(qsizetype index)
{
    std::unique_lock<std::mutex> lock(mutex_);
    wanted_ = index;
    tableLength_ = std::max(tableLength_, table_.Count());
    changed_.notify_all();
    changed_.wait(lock, [this, index] { return done_.contains(index); });
    PageFetch result = done_.take(index);
    bytesAhead_ -= result.bytes();
    wanted_ = index + 1;
    changed_.notify_all();
    return result;
}

}  // namespace lexicrawl
