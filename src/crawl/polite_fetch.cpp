#include "crawl/polite_fetch.h"

#include <QElapsedTimer>

#include <thread>

#include "crawl/url_text.h"

namespace lexicrawl {

namespace {

bool Stopped(const std::atomic<bool>* stop)
{
    return stop && stop->load();
}

// Sleeps ms, waking early for a stop; false when stopped.
bool SleepUnlessStopped(qint64 ms, const std::atomic<bool>* stop)
{
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (std::chrono::steady_clock::now() < until) {
        if (Stopped(stop))
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return !Stopped(stop);
}

PageFetch FetchOnce(const FetchFunction& fetch, const QString& url, const FetchSettings& settings,
                    const std::atomic<bool>* stop)
{
    FetcherState& state = ThisThreadFetcher();
    state.redirectTarget.clear();
    state.lastFetchError.clear();
    state.notText = false;
    state.body = QByteArray();
    PageFetch result;
    QElapsedTimer stopwatch;
    stopwatch.start();
    try {
        result.source = fetch(url, settings, stop, {});
    } catch (...) {
        result.source.clear();
    }
    result.loadTimeNs = stopwatch.nsecsElapsed();
    result.statusCode = state.lastStatusCode;
    result.redirectTarget = state.redirectTarget;
    result.fetchError = state.lastFetchError;
    result.stopped = Stopped(stop);
    result.notText = state.notText;
    result.body = std::move(state.body);
    result.contentType = std::move(state.contentType);
    state.body = QByteArray();
    state.contentType = QByteArray();
    return result;
}

}  // namespace

bool HostPacer::WaitTurn(const QString& host, const std::atomic<bool>* stop)
{
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        if (Stopped(stop))
            return false;
        const Clock::time_point now = Clock::now();
        const auto due = next_.value(host, now);
        if (due <= now) {
            next_.insert(host, now + std::max(delay_, hostDelay_.value(host, delay_)));
            return true;
        }
        wake_.wait_until(lock, std::min(due, now + std::chrono::milliseconds(50)));
    }
}

void HostPacer::HoldBack(const QString& host, qint64 ms)
{
    std::lock_guard<std::mutex> lock(mutex_);
    const Clock::time_point until = Clock::now() + std::chrono::milliseconds(ms);
    if (next_.value(host) < until)
        next_.insert(host, until);
}

void HostPacer::SetHostDelay(const QString& host, int ms)
{
    std::lock_guard<std::mutex> lock(mutex_);
    const std::chrono::milliseconds delay(std::max(0, ms));
    if (hostDelay_.value(host) < delay)
        hostDelay_.insert(host, delay);
}

PageFetch FetchPolitely(const FetchFunction& fetch, const QString& url, const FetchSettings& settings,
                        const std::atomic<bool>* stop, HostPacer& pacer)
{
    const QString host = HostOf(url);
    PageFetch result;
    for (int attempt = 0;; ++attempt) {
        if (!pacer.WaitTurn(host, stop)) {
            result = PageFetch{};
            result.statusCode = -1;
            result.stopped = true;
            return result;
        }
        result = FetchOnce(fetch, url, settings, stop);
        const qint64 wait = ThisThreadFetcher().retryAfterMs;
        if (result.stopped || wait < 0 || attempt >= kMaxRetries)
            return result;
        // The server asked to be left alone for a while: the others wait too.
        const qint64 held = std::min(wait, kMaxRetryAfterMs);
        pacer.HoldBack(host, held);
        if (!SleepUnlessStopped(held, stop))
            return result;
    }
}

}  // namespace lexicrawl
