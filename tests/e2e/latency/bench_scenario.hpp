#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace pal4bench {

struct ScenarioOptions {
    std::wstring toolExe; // Windows paths
    std::wstring gameExe;
    int latencyLines = 40;
    int warmUpCycles = 10;
    int measuredCycles = 150;
    DWORD cpuMs = 10000;
    std::uint32_t smallRegion = 64 * 1024;
    std::uint32_t largeRegion = 16 * 1024 * 1024;
};

// The whole measured session of the tool beside the simulated game, announcing each phase
// with a mark (phase_marks.hpp) so bench.sh can read the tool's CPU time and memory at its
// edges: the latency of new lines, CPU time while one line stays, memory over open/close
// cycles of the overlay, then CPU time again with the large text region. 0 when every phase
// ran; otherwise the phases that could not run are missing from the marks.
int runScenario(const ScenarioOptions& options);

} // namespace pal4bench
