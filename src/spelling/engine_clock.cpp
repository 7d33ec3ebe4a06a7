#include "spelling/engine_clock.h"

#include <ctime>

namespace lexicrawl {

namespace {

thread_local int t_depth = 0;
thread_local long t_ticks = 0;
thread_local uint64_t t_readings = 0;

}  // namespace

EngineClockScope::EngineClockScope()
{
    if (t_depth++ == 0)
        t_ticks = 0;
}

EngineClockScope::~EngineClockScope()
{
    --t_depth;
}

uint64_t EngineClockReadings()
{
    return t_readings;
}

}  // namespace lexicrawl

// Takes the place of the C library's clock() for the whole program; the
// spelling library resolves its calls to this definition.
extern "C" clock_t clock() noexcept
{
    using namespace lexicrawl;
    if (t_depth > 0) {
        ++t_readings;
        t_ticks += kEngineTicksPerReading;
        return clock_t(t_ticks);
    }
    timespec ts{};
    if (clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts) != 0)
        return clock_t(-1);
    return clock_t(ts.tv_sec * CLOCKS_PER_SEC + ts.tv_nsec / (1000000000L / CLOCKS_PER_SEC));
}
