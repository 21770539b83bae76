#pragma once

#include "latency_stats.hpp"

#include <windows.h>

#include <cstdint>

namespace pal4bench {

// The performance counter: the clock the simulated game stamps its writes with, so the probe's
// readings and the game's stamps compare directly.
inline std::int64_t counterNow() {
    LARGE_INTEGER now{};
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

inline std::int64_t counterFrequency() {
    LARGE_INTEGER frequency{};
    QueryPerformanceFrequency(&frequency);
    return frequency.QuadPart;
}

inline double msSince(std::int64_t start) {
    return ticksToMs(counterNow() - start, counterFrequency());
}

} // namespace pal4bench
