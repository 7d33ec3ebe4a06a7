#include "cli/page_writer.h"

namespace lexicrawl::cli {

PageWriter::PageWriter(WriteFunction write, std::size_t capacity)
    : write_(std::move(write)), capacity_(capacity > 0 ? capacity : 1), thread_([this] { Run(); })
{
}

PageWriter::~PageWriter()
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        ending_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

void PageWriter::Push(QString url, PageRecord record)
{
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this] { return queue_.size() < capacity_ || failed_; });
    ThrowPendingFailure();
    if (failed_)
        return;  // the failure was thrown before: nothing more is written
    queue_.push_back({std::move(url), std::move(record)});
    changed_.notify_all();
}

void PageWriter::Wait()
{
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this] { return (queue_.empty() && !writing_) || failed_; });
}

void PageWriter::Drain()
{
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this] { return (queue_.empty() && !writing_) || failed_; });
    ThrowPendingFailure();
}

void PageWriter::ThrowPendingFailure()
{
    if (failure_) {
        std::exception_ptr failure = failure_;
        failure_ = nullptr;
        std::rethrow_exception(failure);
    }
}

void PageWriter::Run()
{
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return !queue_.empty() || ending_; });
        if (queue_.empty())
            return;  // ending, and all is written
        Item item = std::move(queue_.front());
        queue_.pop_front();
        writing_ = true;
        changed_.notify_all();
        lock.unlock();
        std::exception_ptr failure;
        try {
            write_(item.url, item.record);
        } catch (...) {
            failure = std::current_exception();
        }
        lock.lock();
        writing_ = false;
        if (failure) {
            failure_ = failure;
            failed_ = true;
            queue_.clear();
        }
        changed_.notify_all();
    }
}

}  // namespace lexicrawl::cli
