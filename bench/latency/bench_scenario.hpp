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
    int stepTimes = 30;      // presses of the back hot key
    int backlogLines = 1000; // of the longest text, for the backlog's memory
    DWORD cpuMs = 10000;
    int throughputSeconds = 60; // of new lines at the poller's ceiling, per state of the switch
    std::uint32_t smallRegion = 64 * 1024;
    std::uint32_t largeRegion = 16 * 1024 * 1024;
};

// The whole measured session of the tool beside the simulated game, announcing each phase
// with a mark (phase_marks.hpp) so bench.sh can read the tool's CPU time and memory at its
// edges: the latency of new lines, CPU time while one line stays, memory over open/close
// cycles of the overlay, then CPU time again with the large text region.
// With the switch 记录对白 off and then on: CPU time while ten new lines a second come, and
// which lines the story log kept. Last, the tool killed halfway through more lines. 0 when every
// phase ran; otherwise the phases that could not run are missing from the marks.
int runScenario(const ScenarioOptions& options);

} // namespace pal4bench
