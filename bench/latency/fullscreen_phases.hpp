#pragma once

#include <windows.h>

#include <string>

namespace pal4bench {

struct FullScreenOptions {
    std::wstring toolExe; // Windows paths
    std::wstring gameExe;
    int cycles = 30;
    DWORD cpuMs = 10000;
    bool picture = false; // hold still at full screen once, for bench.sh's screenshot
};

// The tool's full screen over the simulated game on whatever screen this runs on: how soon a
// click on 全屏 puts the picture in its place with the black window under it, and a click off
// gives the window back; whether it comes back bit for bit; the subtitle's place at full screen
// against the picture's scale for fit, stretch and none; how soon a start after the tool was
// killed at full screen gives the window back; the CPU over the idle game windowed and at full
// screen. Marks each figure (phase_marks.hpp) with the screen's size; 0 when every phase ran.
int runFullScreenScenario(const FullScreenOptions& options);

} // namespace pal4bench
