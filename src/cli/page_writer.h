#pragma once
// Writes page records on a thread of its own, in the order they come, so
// that the collector fetches and reads the next page while the words of
// this one are checked and stored. The queue is short: a collector that
// runs ahead waits.
//
// A write that throws stops the writing: what is queued after it is
// dropped, and the failure is thrown once, by the next Push or Drain.
// Wait never throws and leaves the failure for them.
//
// Thread-safety: Push and Drain from any thread; the write function runs
// only on the writer's thread.
#include <QString>

#include <condition_variable>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>

#include "analysis/page_record.h"

namespace lexicrawl::cli {

class PageWriter {
public:
    using WriteFunction = std::function<void(const QString& url, const PageRecord& record)>;

    explicit PageWriter(WriteFunction write, std::size_t capacity = 8);
    // Writes what is queued, then ends the thread.
    ~PageWriter();
    PageWriter(const PageWriter&) = delete;
    PageWriter& operator=(const PageWriter&) = delete;

    // Queues a record, waiting while the queue is full.
    void Push(QString url, PageRecord record);
    // Returns when every queued record is written, or a write failed.
    void Wait();
    // Wait, then throws a failure not yet thrown.
    void Drain();

private:
    struct Item {
        QString url;
        PageRecord record;
    };
    void Run();
    // Throws a failure not yet thrown; the lock is held.
    void ThrowPendingFailure();

    const WriteFunction write_;
    const std::size_t capacity_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Item> queue_;
    bool writing_ = false;
    bool ending_ = false;
    std::exception_ptr failure_;
    bool failed_ = false;
    std::thread thread_;
};

}  // namespace lexicrawl::cli
