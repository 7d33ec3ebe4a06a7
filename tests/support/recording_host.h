#pragma once
// A crawl host for tests: keeps every message the crawl sends ("title: text",
// or the text of a plain one) and lets the crawl go on, or, with
// pauseOnMessages, holds it until the test acknowledges.
#include <QMutex>
#include <QStringList>

#include <atomic>

#include "crawl/crawl_host.h"

namespace lexicrawl::testing {

class RecordingHost : public CrawlHost {
public:
    bool Message(const UserMessage& message) override
    {
        QMutexLocker lock(&m_);
        messages_ << (message.title.isEmpty() ? message.text : message.title + QStringLiteral(": ") + message.text);
        return pauseOnMessages.load();
    }
    void Finished(const CrawlSummary&) override { finished.fetch_add(1); }
    QStringList Messages() const
    {
        QMutexLocker lock(&m_);
        return messages_;
    }

    std::atomic<bool> pauseOnMessages{false};
    std::atomic<int> finished{0};

private:
    mutable QMutex m_;
    QStringList messages_;
};

}  // namespace lexicrawl::testing
