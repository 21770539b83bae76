#include "fullscreen_phases.hpp"

#include "full_screen_geometry.hpp"
#include "latency_stats.hpp"
#include "perf_counter.hpp"
#include "phase_marks.hpp"
#include "screen_sampler.hpp"
#include "simgame_client.hpp"
#include "tool_process.hpp"
#include "wait_until.hpp"
#include "window_search.hpp"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace pal4bench {

namespace {

using e2e::FullScreenScale;
using pal4sim::SimWindowState;

constexpr float IN_GAME_MARKER = 474.0f;
constexpr DWORD WINDOW_TIMEOUT_MS = 15000;
constexpr DWORD SETTLE_MS = 500;
constexpr double GIVE_UP_MS = 3000;
constexpr int FULLSCREEN_BOX_ID = 122;
constexpr const char* LINE = "甲：山上的花都开了";
constexpr DWORD FRAME_BITS = WS_CAPTION | WS_THICKFRAME;

struct Session {
    pal4sim::SimGame* game = nullptr;
    std::unique_ptr<ToolProcess> tool;
    SimWindowState windowed;
    RECT subtitle{}; // the overlay over the windowed game
    RECT screen{};
    std::string label; // the screen's size, "WxH"

    std::optional<SimWindowState> state() const { return game->windowState(); }
    RECT overlay() const {
        RECT area{};
        GetWindowRect(tool->overlay(), &area);
        return area;
    }
};

// The picture at its place with the tool's black window directly under it, and black on the
// screen's middle row beside the picture.
bool atFullScreen(const Session& session, FullScreenScale scale, ScreenSampler& row) {
    const auto now = session.state();
    const RECT wanted = e2e::fullScreenClient(session.windowed.client, session.screen, scale);
    if (!now || (now->style & FRAME_BITS) != 0 || e2e::farthestSide(now->client, wanted) > 1) {
        return false;
    }
    bool black = false;
    for (const HWND window : e2e::topLevelWindows(session.tool->processId())) {
        RECT area{};
        black = black || (GetWindowRect(window, &area) && EqualRect(&area, &session.screen));
    }
    if (!black) {
        return false;
    }
    const auto pixels = row.grab();
    const auto dark = [&](LONG x) {
        return x < 0 || x >= session.screen.right ||
               (pixels[static_cast<std::size_t>(x)] & 0xFFFFFF) == 0;
    };
    return dark(now->client.left - 2) && dark(now->client.right + 1) &&
           !dark(now->client.left + 2) && !dark(now->client.right - 3);
}

// In Win32's z-order, the black window directly below the picture.
bool blackDirectlyBelow(const Session& session) {
    const auto now = session.state();
    DWORD owner = 0;
    if (now) {
        GetWindowThreadProcessId(
            GetWindow(reinterpret_cast<HWND>(static_cast<UINT_PTR>(now->window)), GW_HWNDNEXT),
            &owner);
    }
    return owner == session.tool->processId();
}

bool givenBack(const Session& session) {
    const auto now = session.state();
    return now && *now == session.windowed &&
           e2e::farthestSide(session.overlay(), session.subtitle) == 0;
}

// Milliseconds from now until `reached` holds.
std::optional<double> timeUntil(const std::function<bool()>& reached) {
    return pal4bench::timeUntil(counterNow(), reached, GIVE_UP_MS);
}

bool startTool(Session& session, const std::wstring& exe, FullScreenScale scale) {
    std::ofstream(std::filesystem::path(exe).parent_path() / L"Pal4_Corvel.ini", std::ios::binary)
        << "[config]\r\nsize=36\r\noutline=on\r\nfullscreenscale=" << e2e::scaleName(scale)
        << "\r\n";
    session.tool = std::make_unique<ToolProcess>(exe);
    if (!session.tool->waitForPanel(WINDOW_TIMEOUT_MS)) {
        complain("the tool's panel did not appear");
        return false;
    }
    mark("tool-started");
    session.tool->pressToggle();
    if (!session.tool->waitForOverlay(true, 5000)) {
        complain("the overlay did not open");
        return false;
    }
    Sleep(SETTLE_MS);
    session.subtitle = session.overlay();
    return true;
}

void holdForCpu(const std::string& phase, DWORD ms) {
    Sleep(SETTLE_MS);
    mark("cpu-begin", phase);
    Sleep(ms);
    mark("cpu-end", phase);
}

// Clicks on and off `cycles` times: how soon each is done, and how often everything came back
// bit for bit once settled.
void measureCycles(Session& session, int cycles) {
    ScreenSampler row(
        {0, session.screen.bottom / 2, session.screen.right, session.screen.bottom / 2 + 1});
    std::vector<double> on;
    std::vector<double> off;
    int missed = 0;
    int exact = 0;
    int ordered = 0;
    for (int i = 0; i < cycles; ++i) {
        session.tool->click(FULLSCREEN_BOX_ID);
        const auto in = timeUntil([&] { return atFullScreen(session, FullScreenScale::Fit, row); });
        in ? on.push_back(*in) : void(++missed);
        Sleep(200);
        ordered += blackDirectlyBelow(session) ? 1 : 0;
        session.tool->click(FULLSCREEN_BOX_ID);
        const auto out = timeUntil([&] { return givenBack(session); });
        out ? off.push_back(*out) : void(++missed);
        Sleep(200);
        exact += givenBack(session) ? 1 : 0;
    }
    mark("fs-cycles", session.label + " " + seriesSummary(on, missed) + " " +
                          seriesSummary(off, 0) + " " + std::to_string(exact) + " " +
                          std::to_string(ordered));
}

// One round of the scale: the subtitle's largest distance from its scaled place, and whether it
// all came back exactly.
void measureScale(Session& session, FullScreenScale scale, bool picture) {
    ScreenSampler row(
        {0, session.screen.bottom / 2, session.screen.right, session.screen.bottom / 2 + 1});
    session.tool->click(FULLSCREEN_BOX_ID);
    const bool reached = e2e::waitUntil([&] { return atFullScreen(session, scale, row); }, 3000);
    Sleep(SETTLE_MS);
    const auto full = session.state();
    LONG distance = -1;
    if (reached && full) {
        distance = e2e::farthestSide(
            session.overlay(),
            e2e::scaledWith(session.subtitle, session.windowed.client, full->client));
    }
    if (picture) {
        mark("fs-picture", session.label);
        Sleep(2000);
    }
    session.tool->click(FULLSCREEN_BOX_ID);
    const bool back = e2e::waitUntil([&] { return givenBack(session); }, 3000);
    mark("fs-scale", session.label + " " + e2e::scaleName(scale) + " " + std::to_string(distance) +
                         " " + (back ? "yes" : "no"));
}

// Full screen on, the tool killed: how soon its next start gives the window back.
void measureKill(Session& session, const std::wstring& exe) {
    session.tool->click(FULLSCREEN_BOX_ID);
    e2e::waitUntil([&] { return session.state() && !(*session.state() == session.windowed); },
                   3000);
    Sleep(SETTLE_MS);
    session.tool->kill();
    session.tool.reset();
    const std::int64_t start = counterNow();
    session.tool = std::make_unique<ToolProcess>(exe);
    const bool back = e2e::waitUntil(
        [&] {
            const auto now = session.state();
            return now && *now == session.windowed;
        },
        5000, 1);
    char ms[32];
    std::snprintf(ms, sizeof ms, "%.0f", back ? msSince(start) : -1.0);
    mark("fs-kill", session.label + " " + ms);
    session.tool->waitForPanel(WINDOW_TIMEOUT_MS);
}

int runPhases(const FullScreenOptions& options) {
    pal4sim::SimGameLaunch launch;
    launch.exePath = options.gameExe;
    launch.window = true;
    pal4sim::SimGame game(launch);
    game.setMarker(IN_GAME_MARKER);
    game.setText(LINE);
    game.window(pal4sim::control::MOVE, 0, 0);
    Session session;
    session.game = &game;
    session.screen = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    session.label =
        std::to_string(session.screen.right) + "x" + std::to_string(session.screen.bottom);
    Sleep(SETTLE_MS);
    const auto windowed = game.windowState();
    if (!windowed) {
        complain("the simulated game did not tell its window's state");
        return 1;
    }
    session.windowed = *windowed;
    for (const FullScreenScale scale :
         {FullScreenScale::Fit, FullScreenScale::Stretch, FullScreenScale::None}) {
        if (!startTool(session, options.toolExe, scale)) {
            return 1;
        }
        if (scale == FullScreenScale::Fit) {
            holdForCpu("fs-windowed-" + session.label, options.cpuMs);
            session.tool->click(FULLSCREEN_BOX_ID);
            holdForCpu("fs-full-" + session.label, options.cpuMs);
            session.tool->click(FULLSCREEN_BOX_ID);
            Sleep(SETTLE_MS);
            measureCycles(session, options.cycles);
        }
        measureScale(session, scale, options.picture && scale == FullScreenScale::Fit);
        if (scale == FullScreenScale::None) {
            measureKill(session, options.toolExe);
        }
        session.tool.reset();
    }
    mark("done");
    return 0;
}

} // namespace

int runFullScreenScenario(const FullScreenOptions& options) {
    return complainingOfExceptions([&] { return runPhases(options); });
}

} // namespace pal4bench
