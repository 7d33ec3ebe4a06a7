#pragma once
// One fetch of a crawl, done politely: a request to a host waits its turn
// when a pause between requests to one host is asked for, and an answer 429
// or 503 with Retry-After is waited out (within bounds) and asked again. The
// outcome is taken out of the fetching thread's state, so that fetches may
// run on several threads and be handed over.
//
// Thread-safety: HostPacer may be shared by every fetching thread;
// FetchPolitely runs on the calling thread.
#include <QHash>
#include <QString>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>

#include "crawl/fetch_function.h"

namespace lexicrawl {

// What one page's fetch brought.
struct PageFetch {
    QString source;          // empty after a failure or a redirect
    int statusCode = 0;      // -1 without an answer
    QString redirectTarget;  // for a redirect answer
    QString fetchError;      // why it failed; empty after a whole answer
    qint64 loadTimeNs = 0;   // of the last request, from its start to its end
    bool stopped = false;    // the stop request came before it ended
    bool notText = false;    // a 2xx body that is not text (the source is empty)
    QByteArray body;         // with FetchSettings::keepBody: the 2xx body as it came
    QByteArray contentType;  // and its declared type
    // With rendering: the document as the page's scripts left it (empty when
    // the page was not rendered or fell back), and why it fell back.
    QString rendered;
    QString renderNote;
    qint64 bytes() const
    {
        return qint64(source.size() + rendered.size()) * qint64(sizeof(QChar)) + body.size();
    }
};

// Work done on a fetched page on the fetching thread, before it is handed
// over (the rendering of a page).
using PageFinish = std::function<void(const QString& url, PageFetch& fetch)>;

// Keeps the pause between the starts of two requests to one host.
class HostPacer {
public:
    explicit HostPacer(int delayMs) : delay_(std::max(0, delayMs)) {}
    // Waits for host's turn; false when the stop request came meanwhile.
    bool WaitTurn(const QString& host, const std::atomic<bool>* stop);
    // Holds the host's next turn back by at least ms (a server's Retry-After).
    void HoldBack(const QString& host, qint64 ms);
    // Makes the pause between two requests to host at least ms (a site's
    // robots.txt Crawl-delay); a shorter pause asked for stays as it is.
    void SetHostDelay(const QString& host, int ms);

private:
    using Clock = std::chrono::steady_clock;
    const std::chrono::milliseconds delay_;
    std::mutex mutex_;
    std::condition_variable wake_;
    QHash<QString, Clock::time_point> next_;
    QHash<QString, std::chrono::milliseconds> hostDelay_;
};

// The longest a Retry-After is waited out, and how often a page is asked again.
constexpr qint64 kMaxRetryAfterMs = 30'000;
constexpr int kMaxRetries = 3;

PageFetch FetchPolitely(const FetchFunction& fetch, const QString& url, const FetchSettings& settings,
                        const std::atomic<bool>* stop, HostPacer& pacer);

}  // namespace lexicrawl
