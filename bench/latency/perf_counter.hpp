#pragma once

#include "latency_stats.hpp"

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <vector>

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

// Milliseconds from `start` until `reached` holds, polled every millisecond or two; nothing when
// it does not within `giveUpMs`.
inline std::optional<double> timeUntil(std::int64_t start, const std::function<bool()>& reached,
                                       double giveUpMs) {
    for (;;) {
        if (reached()) {
            return msSince(start);
        }
        if (msSince(start) > giveUpMs) {
            return std::nullopt;
        }
        Sleep(1);
    }
}

// "measured missed median p95 max" of a series of times.
inline std::string seriesSummary(const std::vector<double>& times, int missed) {
    char text[96];
    std::snprintf(text, sizeof text, "%zu %d %.1f %.1f %.1f", times.size(), missed,
                  percentile(times, 0.5), percentile(times, 0.95), percentile(times, 1.0));
    return text;
}

} // namespace pal4bench
