#include "phase_marks.hpp"

#include <cstdio>

namespace pal4bench {

void mark(const std::string& name, const std::string& values) {
    std::printf("@@ %s %s\n", name.c_str(), values.c_str());
    std::fflush(stdout);
}

void complain(const std::string& what) {
    std::fprintf(stderr, "latency_probe: %s\n", what.c_str());
    std::fflush(stderr);
}

} // namespace pal4bench
