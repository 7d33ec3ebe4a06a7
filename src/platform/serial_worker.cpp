#include "platform/serial_worker.h"

namespace lexicrawl {

SerialWorker::SerialWorker(std::size_t boundedCapacity)
    : capacity_(boundedCapacity > 0 ? boundedCapacity : 1), thread_([this] { Run(); })
{
}

SerialWorker::~SerialWorker()
{
    Shutdown();
}

void SerialWorker::Shutdown()
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (ending_)
            return;
        ending_ = true;
    }
    changed_.notify_all();
    if (thread_.joinable() && !OnWorkerThread()) {
        thread_.join();
        std::lock_guard<std::mutex> lock(mutex_);
        stopped_ = true;
    }
}

void SerialWorker::Post(std::function<void()> task)
{
    Enqueue(Task{std::move(task), false});
}

void SerialWorker::PostBounded(std::function<void()> task)
{
    Enqueue(Task{std::move(task), true});
}

void SerialWorker::Enqueue(Task task)
{
    std::unique_lock<std::mutex> lock(mutex_);
    if (stopped_) {
        lock.unlock();
        try {
            task.run();
        } catch (...) {
        }
        return;
    }
    if (task.bounded && !OnWorkerThread())
        changed_.wait(lock, [this] { return boundedQueued_ < capacity_ || ending_; });
    if (task.bounded)
        ++boundedQueued_;
    ++posted_;
    queue_.push_back(std::move(task));
    changed_.notify_all();
}

void SerialWorker::Wait()
{
    if (OnWorkerThread())
        return;
    std::unique_lock<std::mutex> lock(mutex_);
    const std::size_t target = posted_;
    changed_.wait(lock, [this, target] { return finished_ >= target; });
}

void SerialWorker::Run()
{
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return !queue_.empty() || ending_; });
        if (queue_.empty())
            return;  // ending, and everything ran
        Task task = std::move(queue_.front());
        queue_.pop_front();
        if (task.bounded)
            --boundedQueued_;
        changed_.notify_all();
        lock.unlock();
        try {
            task.run();
        } catch (...) {
            // A task that throws ends only itself.
        }
        task.run = nullptr;  // let what it holds go before the next one
        lock.lock();
        ++finished_;
        changed_.notify_all();
    }
}

}  // namespace lexicrawl
