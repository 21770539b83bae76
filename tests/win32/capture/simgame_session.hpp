#pragma once

// Starting the simulated game for the Win32 tests, and the tool's capture classes wired to the
// real process port with fakes for the windows.

#include "capture/game_memory_map.hpp"
#include "capture/subtitle_poller.hpp"
#include "fakes/fake_overlay.hpp"
#include "fakes/fake_panel.hpp"
#include "game_layout.hpp"
#include "gameproc/process_memory.hpp"
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

// The tool's reading side, as the overlay's creation leaves it: the game memory map over the
// real process port, and the poller writing to a fake overlay label and a fake edit box.
struct CaptureRig {
    AppState state;
    RealGameProcessPort port;
    ProcessMemory memory{port};
    GameMemoryMap game{state, port, memory};
    testing::FakeOverlay overlay;
    testing::FakePanel panel;
    SubtitlePoller poller{state, game, overlay, panel};

    // What onOverlayCreated resolves before the first tick.
    void attach(ProcessId pid) {
        state.gamePid = pid;
        state.lastText.clear();
        game.locateTextAddress(pid);
        state.blankFlagAddress = game.blankFlagAddressOf(pid);
        overlay.setLabelText(" ");
    }
};

} // namespace pal4::win32test
