// The simulated game: a stand-in for Pal4.exe with the same memory layout, for the subtitle
// tool's Win32 and end-to-end tests and its demonstration.
//
//   Pal4.exe                        plays its dialogue script in its window (title screen
//                                   first, marker 0, then lines with the marker at 474.0)
//   Pal4.exe --control NAME         waits for commands on the pipe \\.\pipe\pal4sim-NAME
//                                   (simgame_client.hpp speaks it)
//   --script                        play the script under --control too
//   --dll PATH                      load the dialogue module from PATH (e.g. lower/oiramlook.dll)
//   --text-region-size BYTES        size of the text's memory region (default 64 KiB)
//   --title-ms, --line-ms, --break-ms   script timing
//   --no-window                     no scene, for runs without a display
//   --bright                        a snowfield under a white sky instead of the landscape
//   --exit-with PID                 end when process PID ends
//
// Exit codes: 0 normal, 2 bad options, 3 image not at its fixed base, 4 dialogue module
// unusable, 5 no text region below 2 GiB, 6 control channel name taken.
#include "command_line_arguments.hpp"
#include "control_server.hpp"
#include "game_image.hpp"
#include "game_state.hpp"
#include "scene_window.hpp"
#include "script_player.hpp"
#include "sim_options.hpp"
#include "text_region.hpp"

#include <windows.h>

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace {

enum ExitCode : int {
    EXIT_BAD_OPTIONS = 2,
    EXIT_BAD_LAYOUT = 3,
    EXIT_NO_MODULE = 4,
    EXIT_NO_TEXT_REGION = 5,
    EXIT_NO_CONTROL_CHANNEL = 6,
};

constexpr UINT_PTR FRAME_TIMER = 1;
constexpr UINT FRAME_MS = 50;

int fail(int code, const std::wstring& why) {
    std::fwprintf(stderr, L"Pal4 (simulated): %ls\n", why.c_str());
    return code;
}

struct ExitWatch {
    HANDLE process;
    DWORD mainThread;
};

// Waits for the watched process to end, then ends the game's message loop.
DWORD WINAPI watchForExit(LPVOID parameter) {
    const auto* watch = static_cast<const ExitWatch*>(parameter);
    WaitForSingleObject(watch->process, INFINITE);
    PostThreadMessageW(watch->mainThread, WM_QUIT, 0, 0);
    return 0;
}

// The dialogue module's text pointer slot, which must be a 32-bit game address.
std::uint32_t* loadTextPointerSlot(const std::wstring& file) {
    HMODULE module = LoadLibraryW(file.c_str());
    if (module == nullptr) {
        return nullptr;
    }
    using SlotFunction = std::uint32_t* (*)();
    const auto slotOf = reinterpret_cast<SlotFunction>(
        reinterpret_cast<void*>(GetProcAddress(module, "simgameTextPointerSlot")));
    std::uint32_t* slot = slotOf == nullptr ? nullptr : slotOf();
    if (slot == nullptr || reinterpret_cast<std::uintptr_t>(slot) > 0xFFFFFFFCu) {
        return nullptr;
    }
    return slot;
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int showCommand) {
    using namespace pal4sim;
    std::wstring problem;
    const std::optional<SimOptions> options = parseSimOptions(e2e::commandLineArguments(), problem);
    if (!options) {
        return fail(EXIT_BAD_OPTIONS, problem);
    }
    if (const std::string layout = GameImage::checkLayout(); !layout.empty()) {
        return fail(EXIT_BAD_LAYOUT, std::wstring(layout.begin(), layout.end()));
    }
    std::uint32_t* slot = loadTextPointerSlot(options->dialogueModule);
    if (slot == nullptr) {
        return fail(EXIT_NO_MODULE, L"cannot use the dialogue module " + options->dialogueModule);
    }
    TextRegion region(options->textRegionSize);
    if (!region.valid()) {
        return fail(EXIT_NO_TEXT_REGION, L"no text region below 2 GiB");
    }
    GameState game(region, slot);
    game.reset();

    // The thread's message queue must exist before the control thread posts WM_QUIT to it.
    MSG message;
    PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);
    const DWORD mainThread = GetCurrentThreadId();

    ExitWatch watch{nullptr, mainThread};
    if (options->exitWithPid != 0) {
        watch.process = OpenProcess(SYNCHRONIZE, FALSE, options->exitWithPid);
        if (watch.process == nullptr) {
            return fail(EXIT_BAD_OPTIONS, L"no process to exit with");
        }
        CloseHandle(CreateThread(nullptr, 0, &watchForExit, &watch, 0, nullptr));
    }

    std::optional<ControlServer> server;
    if (!options->controlName.empty()) {
        server.emplace(game, options->controlName,
                       [mainThread] { PostThreadMessageW(mainThread, WM_QUIT, 0, 0); });
        if (!server->start()) {
            return fail(EXIT_NO_CONTROL_CHANNEL, L"cannot open the control channel");
        }
    }
    std::optional<ScriptPlayer> player;
    if (options->playsScript()) {
        player.emplace(game, options->timing);
    }

    SceneWindow scene(game, options->bright);
    if (options->window && !scene.create(instance, showCommand)) {
        std::fwprintf(stderr, L"Pal4 (simulated): no window, running without a scene\n");
    }
    if (server) {
        server->setScene(&scene);
    }
    SetTimer(nullptr, FRAME_TIMER, FRAME_MS, nullptr);
    const ULONGLONG started = GetTickCount64();
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (message.message == WM_TIMER && message.hwnd == nullptr) {
            if (player) {
                player->advanceTo(GetTickCount64() - started);
            }
            scene.refresh();
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
