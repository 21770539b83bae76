#pragma once

#include <exception>
#include <string>

namespace pal4bench {

// One line "@@ NAME VALUES" on standard output, flushed at once: bench.sh reads the tool's
// figures from /proc the moment a mark arrives, so marks are the probe's half of the clock.
void mark(const std::string& name, const std::string& values = {});

// A problem, on standard error.
void complain(const std::string& what);

// Runs a session's phases and returns their status; an exception is complained of and ends
// the session with 1.
template <typename Phases> int complainingOfExceptions(Phases phases) {
    try {
        return phases();
    } catch (const std::exception& problem) {
        complain(problem.what());
        return 1;
    }
}

} // namespace pal4bench
