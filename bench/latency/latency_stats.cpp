#include "latency_stats.hpp"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace pal4bench {

double percentile(std::vector<double> values, double fraction) {
    if (values.empty()) {
        return 0.0;
    }
    std::sort(values.begin(), values.end());
    const double rank = std::ceil(fraction * static_cast<double>(values.size()));
    const auto index = static_cast<std::size_t>(std::max(rank, 1.0)) - 1;
    return values[std::min(index, values.size() - 1)];
}

double ticksToMs(std::int64_t ticks, std::int64_t frequency) {
    return frequency > 0 ? static_cast<double>(ticks) * 1000.0 / static_cast<double>(frequency)
                         : 0.0;
}

} // namespace pal4bench
