#pragma once

#include <windows.h>

#include <string>

namespace pal4bench {

struct WindowOptions {
    std::wstring toolExe; // Windows paths
    std::wstring gameExe;
    std::wstring baselineExe; // another build to hold the CPU figure against; empty for none
    int times = 30;
    DWORD cpuMs = 10000;
};

// The tool over the simulated game with its window, as the player moves the game's window
// about: how soon the subtitle is above the game again after the game came to the front (a click
// into it, its own call to the top of the topmost band), how soon it stands where the moved
// window takes it, how soon it goes with the minimised game and comes back, how many clicks on
// its text reach the game locked and unlocked, and the CPU phases over the idle game, for the
// baseline build too. Marks each figure (phase_marks.hpp); 0 when every phase ran.
int runWindowScenario(const WindowOptions& options);

} // namespace pal4bench
