#include "platform/task_pool.h"

namespace lexicrawl {

TaskPool::TaskPool(int threads)
{
    for (int i = 0; i < std::max(1, threads); ++i)
        threads_.emplace_back([this] { Run(); });
}

TaskPool::~TaskPool()
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        ending_ = true;
    }
    changed_.notify_all();
    for (std::thread& thread : threads_)
        thread.join();
}

void TaskPool::Post(std::function<void()> task)
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        queue_.push_back(std::move(task));
    }
    changed_.notify_one();
}

int TaskPool::MachineThreads()
{
    return int(std::max(1u, std::thread::hardware_concurrency()));
}

void TaskPool::Run()
{
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return !queue_.empty() || ending_; });
        if (queue_.empty())
            return;
        std::function<void()> task = std::move(queue_.front());
        queue_.pop_front();
        lock.unlock();
        try {
            task();
        } catch (...) {
        }
        task = nullptr;
        lock.lock();
    }
}

}  // namespace lexicrawl
