#pragma once
// The clock the spelling library reads while it works.
//
// The library stops parts of its suggestion search when the process's CPU
// clock (clock()) has advanced past fixed budgets: the related-character
// and the TRY searches after 50 ms, a pass after 100 ms, all of it after
// 250 ms; and its compound check after 50 ms. With the real clock the same
// word could get other suggestions, and so another verdict, depending on
// the machine, on what other threads of the process were doing, and on
// whether two engines ran side by side. This program defines clock()
// itself. On a thread inside an engine call (EngineClockScope) every
// reading advances a count of its own: by kEngineTicksPerReading for the
// suggestion search's readings (it reads once per step and once per 100
// candidates), by one for the compound check's (once per call and per level
// of recursion). So every budget becomes a fixed number of steps and every
// verdict a function of the dictionary and the word alone. Everywhere else
// clock() answers the process's CPU time, as the C library's does.
//
// The compound check is the only reader while the library checks a
// spelling; the places it reads from are learnt once per process from a
// small built-in dictionary (LearnCompoundClockSites), before any engine is
// made.
//
// When those places are not found (or LEXICRAWL_ENGINE_CLOCK=off), the
// engine clock is not in force: clock() answers the CPU time inside engine
// calls too, exactly as the stock library sees it, and the suggestion proof
// decides no "known" (a verdict then comes from the library's own search).
//
// Thread-safety: the counts are per thread; the learnt places are set once.
#include <cstdint>

namespace lexicrawl {

// 50 ms of the related-character search is then 10,099 candidates, about
// what it reaches in that time on current machines.
inline constexpr long kEngineTicksPerReading = 500;

enum class EngineCall { Spell, Suggest, Other };

// Marks the current thread as inside an engine call for its lifetime; nests
// (the outermost call decides).
class EngineClockScope {
public:
    explicit EngineClockScope(EngineCall call);
    ~EngineClockScope();
    EngineClockScope(const EngineClockScope&) = delete;
    EngineClockScope& operator=(const EngineClockScope&) = delete;
};

// How often the suggestion search (not the compound check) has read the
// clock inside engine calls on this thread.
uint64_t EngineClockReadings();
// How often the compound check has, on this thread.
uint64_t CompoundClockReadings();

// Learns where the compound check reads the clock; true when both of its
// places were found, so that the engine clock is in force. Runs once; the
// engine lifecycle lock must be held (it makes an engine).
bool LearnCompoundClockSites();
bool EngineClockInForce();

}  // namespace lexicrawl
