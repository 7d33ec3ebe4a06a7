#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <stdexcept>
#include <thread>
#include <vector>

#include "platform/serial_worker.h"

using namespace lexicrawl;

namespace {

TEST(SerialWorker, RunsTasksInOrderOnOneThreadOfItsOwn)
{
    std::vector<int> order;
    std::thread::id ranOn;
    {
        SerialWorker worker(2);
        for (int i = 0; i < 20; ++i) {
            auto task = [&, i] {
                std::this_thread::sleep_for(std::chrono::microseconds(200));
                order.push_back(i);
                ranOn = std::this_thread::get_id();
            };
            // Bounded and unbounded tasks keep one order.
            if (i % 3 == 0)
                worker.Post(task);
            else
                worker.PostBounded(task);
        }
        worker.Wait();
        ASSERT_EQ(order.size(), 20u);
        EXPECT_NE(ranOn, std::this_thread::get_id());
        worker.Post([&] { order.push_back(99); });
    }
    // Going away runs what is still queued.
    EXPECT_EQ(order.back(), 99);
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(order[size_t(i)], i);
}

TEST(SerialWorker, BoundedTasksMakeAFastProducerWait)
{
    SerialWorker worker(2);
    std::mutex gate;
    gate.lock();
    std::atomic<int> posted{0};
    std::thread producer([&] {
        for (int i = 0; i < 5; ++i) {
            worker.PostBounded([&] { std::lock_guard<std::mutex> wait(gate); });
            ++posted;
        }
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    // One task runs (blocked on the gate), two wait in the queue: the fourth post waits.
    EXPECT_EQ(posted.load(), 3);
    gate.unlock();
    producer.join();
    worker.Wait();
    EXPECT_EQ(posted.load(), 5);
}

TEST(SerialWorker, CallAnswersAndAThrowingTaskEndsOnlyItself)
{
    SerialWorker worker;
    worker.Post([] { throw std::runtime_error("lost"); });
    EXPECT_EQ(worker.Call([] { return 42; }), 42);
    // From a task, Call runs at once instead of waiting for itself.
    EXPECT_EQ(worker.Call([&worker] { return worker.Call([] { return 7; }); }), 7);
    worker.Shutdown();
    EXPECT_EQ(worker.Call([] { return 5; }), 5);  // after the end, on the caller's thread
}

}  // namespace
