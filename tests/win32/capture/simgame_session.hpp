#pragma once

// Starting the simulated game for the Win32 tests, and the tool over the real process port
// with fakes for the windows.

#include "capture/game_memory_map.hpp"
#include "game_layout.hpp"
#include "gameproc/process_memory.hpp"
#include "harness/tool_harness.hpp"
#include "real_game_process.hpp"
#include "simgame_client.hpp"

#include <cstdlib>
#include <memory>
#include <string>

namespace pal4::win32test {

// Where the build put Pal4.exe and the lower-case copy of its module; PAL4_SIMGAME_DIR in the
// environment overrides the build's own path.
inline std::string simgameDirectory() {
    if (const char* fromEnvironment = std::getenv("PAL4_SIMGAME_DIR")) {
        return fromEnvironment;
    }
    return PAL4_SIMGAME_BUILD_DIR;
}

inline pal4sim::SimGameLaunch simgameLaunch() {
    pal4sim::SimGameLaunch launch;
    launch.exePath = pal4sim::windowsPath(simgameDirectory() + "/Pal4.exe");
    return launch;
}

inline std::wstring lowerCaseModulePath() {
    return pal4sim::windowsPath(simgameDirectory() + "/lower/oiramlook.dll");
}

// The game memory map over the real process port, for the tests of the map itself.
struct RealGameMap {
    AppState state;
    RealGameProcessPort port;
    ProcessMemory memory{port};
    GameMemoryMap game{state, port, memory};
};

// What outlives one run of the tool: the real process port, the shell and the files.
struct RunningGameMachine {
    RealGameProcessPort port;
    testing::FakeShell shell;
    testing::FakeFileStore files;
};

// The whole tool over the running simulated game, its panel made as at start-up.
struct ToolOverRunningGame : RunningGameMachine, testing::ToolHarness {
    ToolOverRunningGame() : ToolHarness(port, shell, files) { panel.create(); }

    // The user presses the toggle; over a game in progress the overlay opens.
    bool openOverlay() {
        panel.userClicksToggle();
        return overlay.exists();
    }
};

} // namespace pal4::win32test
