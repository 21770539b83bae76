#pragma once

#include <string>

namespace pal4bench {

// One line "@@ NAME VALUES" on standard output, flushed at once: bench.sh reads the tool's
// figures from /proc the moment a mark arrives, so marks are the probe's half of the clock.
void mark(const std::string& name, const std::string& values = {});

// A problem, on standard error.
void complain(const std::string& what);

} // namespace pal4bench
