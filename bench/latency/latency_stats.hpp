#pragma once

#include <cstdint>
#include <vector>

namespace pal4bench {

// The nearest-rank percentile of the values: the smallest value that at least `fraction` of
// them do not exceed. 0 for no values. Nearest-rank never invents a value between two samples,
// so a reported figure is always one that was measured.
double percentile(std::vector<double> values, double fraction);

// Performance-counter ticks as milliseconds.
double ticksToMs(std::int64_t ticks, std::int64_t frequency);

} // namespace pal4bench
