#pragma once
// A few threads that run tasks as they come, in no particular order, for
// work that may run side by side (reading several pages at once). Whoever
// needs the results in order keeps the order itself.
//
// A task must not throw; one that does ends only itself.
//
// Thread-safety: Post may be called from any thread; the destructor runs
// what is queued and waits for the threads.
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace lexicrawl {

class TaskPool {
public:
    explicit TaskPool(int threads);
    ~TaskPool();
    TaskPool(const TaskPool&) = delete;
    TaskPool& operator=(const TaskPool&) = delete;

    void Post(std::function<void()> task);
    int Size() const { return int(threads_.size()); }

    // The number of threads that suits this machine for CPU-bound work.
    static int MachineThreads();

private:
    void Run();

    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::function<void()>> queue_;
    bool ending_ = false;
    std::vector<std::thread> threads_;
};

}  // namespace lexicrawl
