#pragma once
// Passes the messages of a crawl's threads (a failed statement of link
// processing or of the recorder) to the front end as CrawlHost::Message
// events. When the front end will acknowledge a message, the thread that
// reported it waits until it has, so the crawl pauses as it would behind a
// message box; the wait is on this gate's own condition, which Stop and the
// end of the session release as well, never on a front end's thread.
//
// Thread-safety: Report and Acknowledge may be called from any thread; Open
// and Release by the crawl's control.
#include <condition_variable>
#include <mutex>

#include "crawl/crawl_host.h"
#include "platform/user_message.h"

namespace lexicrawl {

class CrawlMessageGate : public MessageReporter {
public:
    explicit CrawlMessageGate(CrawlHost& host) : host_(host) {}

    void Report(const UserMessage& message) override;
    // The front end has acknowledged the oldest message it was shown.
    void Acknowledge();
    // A crawl starts: messages the front end acknowledges pause it again.
    void Open();
    // Stop, the end of a crawl or of the session: every waiting thread goes
    // on, and later messages no longer wait.
    void Release();

private:
    CrawlHost& host_;
    std::mutex mutex_;
    std::condition_variable changed_;
    quint64 shown_ = 0;         // messages the host will acknowledge
    quint64 acknowledged_ = 0;  // of those, the ones it has
    bool released_ = true;
};

}  // namespace lexicrawl
