#pragma once
// The clock the spelling library reads while it searches for suggestions.
//
// The library stops parts of its suggestion search when the process's CPU
// clock (clock()) has advanced past fixed budgets: the related-character
// search after 50 ms, a whole pass after 100 ms, all of it after 250 ms. With
// the real clock the same word could get other suggestions, and so another
// verdict, depending on the machine, on what other threads of the process
// were doing, and on whether two engines ran side by side. This program
// defines clock() itself: on a thread that is inside an engine call
// (EngineClockScope) every reading advances by kEngineTicksPerReading, so
// the budgets become fixed numbers of steps and every verdict is a function
// of the dictionary and the word alone. Everywhere else clock() answers the
// process's CPU time, as the C library's does.
//
// The library reads the clock every 100 candidates in its longer searches;
// at 500 ticks (0.5 ms) per reading the related-character search checks at
// most 10,099 candidates, about what it reaches in 50 ms on current machines.
//
// Thread-safety: the reading counters are per thread.
#include <cstdint>

namespace lexicrawl {

inline constexpr long kEngineTicksPerReading = 500;

// Marks the current thread as inside an engine call for its lifetime; nests.
class EngineClockScope {
public:
    EngineClockScope();
    ~EngineClockScope();
    EngineClockScope(const EngineClockScope&) = delete;
    EngineClockScope& operator=(const EngineClockScope&) = delete;
};

// How often the spelling library has read the clock inside engine calls on
// this thread; zero after a suggestion search means the library does not see
// this clock (a static build, say), and the budgets are real time again.
uint64_t EngineClockReadings();

}  // namespace lexicrawl
