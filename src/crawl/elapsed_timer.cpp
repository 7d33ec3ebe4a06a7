#include "crawl/elapsed_timer.h"

#include <cmath>

#include "crawl/crawl_host.h"
#include "platform/translation.h"

namespace lexicrawl {

ElapsedTimer::~ElapsedTimer()
{
    Stop();
}

void ElapsedTimer::Start()
{
    start_ = std::chrono::steady_clock::now();
    stopping_ = false;
    Show();
    ticker_ = std::thread([this] {
        std::unique_lock lock(mutex_);
        auto next = start_ + std::chrono::seconds(1);
        while (!wake_.wait_until(lock, next, [this] { return stopping_; })) {
            Show();
            next += std::chrono::seconds(1);
        }
    });
}

void ElapsedTimer::Stop()
{
    if (!ticker_.joinable())
        return;
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    ticker_.join();
    Show();
}

long long ElapsedTimer::Seconds() const
{
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start_);
    return std::llround(double(ms.count()) / 1000.0);
}

void ElapsedTimer::Show()
{
    host_.SetStatusText(2, FormatS(Tr(QStringLiteral("Time: %s sec")), QString::number(Seconds())));
}

}  // namespace lexicrawl
