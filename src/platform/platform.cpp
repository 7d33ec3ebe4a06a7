#include "platform/platform.h"

#include <atomic>

#include "platform/headless_platform.h"

namespace lexicrawl {

namespace {
std::atomic<Platform*> g_current{nullptr};

Platform& DefaultPlatform()
{
    static HeadlessPlatform instance;
    return instance;
}
}  // namespace

Platform& Platform::Current()
{
    Platform* p = g_current.load(std::memory_order_acquire);
    return p ? *p : DefaultPlatform();
}

void Platform::SetCurrent(Platform* p)
{
    g_current.store(p, std::memory_order_release);
}

QChar ListSeparatorFor(QChar decimalSeparator)
{
    return decimalSeparator == QLatin1Char(',') ? QLatin1Char(';') : QLatin1Char(',');
}

}  // namespace lexicrawl
