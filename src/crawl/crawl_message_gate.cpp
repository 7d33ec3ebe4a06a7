#include "crawl/crawl_message_gate.h"

namespace lexicrawl {

void CrawlMessageGate::Report(const UserMessage& message)
{
    std::unique_lock lock(mutex_);
    const bool pausing = !released_;
    const quint64 ticket = pausing ? ++shown_ : 0;
    lock.unlock();
    // The host is told outside the lock: it may acknowledge at once.
    const bool willAcknowledge = host_.Message(message);
    lock.lock();
    if (!pausing)
        return;
    if (!willAcknowledge) {
        ++acknowledged_;
        changed_.notify_all();
        return;
    }
    changed_.wait(lock, [&] { return released_ || acknowledged_ >= ticket; });
}

void CrawlMessageGate::Acknowledge()
{
    std::lock_guard lock(mutex_);
    if (acknowledged_ < shown_)
        ++acknowledged_;
    changed_.notify_all();
}

void CrawlMessageGate::Open()
{
    std::lock_guard lock(mutex_);
    released_ = false;
    acknowledged_ = shown_;
}

void CrawlMessageGate::Release()
{
    std::lock_guard lock(mutex_);
    released_ = true;
    acknowledged_ = shown_;
    changed_.notify_all();
}

}  // namespace lexicrawl
