#pragma once
// The elapsed-time display of a crawl: "Time: %s sec" in status panel 2,
// shown at start, every 1000 ms while running, and once more at the end.
//
// Thread-safety: Start and Stop belong to one thread; the ticks come from a
// thread of its own and reach the host through CrawlHost::SetStatusText.
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace lexicrawl {

class CrawlHost;

class ElapsedTimer {
public:
    explicit ElapsedTimer(CrawlHost& host) : host_(host) {}
    ~ElapsedTimer();
    ElapsedTimer(const ElapsedTimer&) = delete;
    ElapsedTimer& operator=(const ElapsedTimer&) = delete;

    void Start();
    // Stops the ticks and shows the final time; safe to call twice.
    void Stop();
    // Whole seconds since Start, rounded.
    long long Seconds() const;

private:
    void Show();

    CrawlHost& host_;
    std::chrono::steady_clock::time_point start_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stopping_ = false;
    std::thread ticker_;
};

}  // namespace lexicrawl
