#pragma once
// A thread of its own that runs tasks one after another, in the order they
// were posted. The crawl records pages on it while the collector fetches the
// next ones, and the spelling engine lives on it, since an engine instance
// must only ever be used from one thread.
//
// Some tasks are bounded: a producer that posts them faster than they run
// waits once that many are queued, so a fast collector cannot pile up pages.
// Other tasks (a change of dictionary, a word check for the window) never
// wait and keep their place in the order.
//
// A task must not throw; one that does ends only itself.
//
// Thread-safety: every member may be called from any thread. From a task,
// Wait returns at once and Call runs its function at once.
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <future>
#include <mutex>
#include <thread>

namespace lexicrawl {

class SerialWorker {
public:
    explicit SerialWorker(std::size_t boundedCapacity = 8);
    // Runs what is queued, then ends the thread.
    ~SerialWorker();
    SerialWorker(const SerialWorker&) = delete;
    SerialWorker& operator=(const SerialWorker&) = delete;

    // Queues a task; never waits.
    void Post(std::function<void()> task);
    // Queues a bounded task, waiting while boundedCapacity of them are queued.
    void PostBounded(std::function<void()> task);
    // Returns once every task posted before the call has run.
    void Wait();
    // Runs f on the worker after what is queued and answers its result.
    template <class F>
    auto Call(F f) -> decltype(f());
    // Runs what is queued and ends the thread; later posts run at once on
    // the caller's thread. Called by the destructor.
    void Shutdown();

    bool OnWorkerThread() const { return std::this_thread::get_id() == thread_.get_id(); }

private:
    struct Task {
        std::function<void()> run;
        bool bounded = false;
    };
    void Enqueue(Task task);
    void Run();

    const std::size_t capacity_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Task> queue_;
    std::size_t boundedQueued_ = 0;
    std::size_t posted_ = 0;    // tasks ever posted
    std::size_t finished_ = 0;  // tasks ever finished
    bool ending_ = false;
    bool stopped_ = false;  // the thread has ended: tasks run on the caller's thread
    std::thread thread_;
};

template <class F>
auto SerialWorker::Call(F f) -> decltype(f())
{
    using Result = decltype(f());
    if (OnWorkerThread())
        return f();
    std::packaged_task<Result()> task(std::move(f));
    std::future<Result> result = task.get_future();
    // packaged_task is move-only; std::function needs a copyable callable.
    auto shared = std::make_shared<std::packaged_task<Result()>>(std::move(task));
    Post([shared] { (*shared)(); });
    return result.get();
}

}  // namespace lexicrawl
