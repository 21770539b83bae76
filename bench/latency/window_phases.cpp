#include "window_phases.hpp"

#include "latency_stats.hpp"
#include "perf_counter.hpp"
#include "phase_marks.hpp"
#include "pointer_input.hpp"
#include "screen_sampler.hpp"
#include "simgame_client.hpp"
#include "tool_process.hpp"
#include "wait_until.hpp"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace pal4bench {

namespace {

using pal4sim::control::WindowAction;

constexpr float IN_GAME_MARKER = 474.0f;
constexpr DWORD WINDOW_TIMEOUT_MS = 15000;
constexpr DWORD SETTLE_MS = 500;
constexpr double GIVE_UP_MS = 2000;
constexpr int LOCK_BOX_ID = 121;
constexpr int LOCK_CLICKS = 20;
// Magenta, found nowhere in the game's scene: a pixel of it is a pixel of the subtitle's text.
constexpr std::uint32_t TEXT_PIXEL = 0xFF00FF;
constexpr const char* SETTINGS = "[config]\r\ncolor=16711935\r\n";
constexpr const char* LINE = "甲：山上的花都开了";

std::optional<double> timeUntil(std::int64_t start, const std::function<bool()>& reached) {
    return pal4bench::timeUntil(start, reached, GIVE_UP_MS);
}

std::size_t textPixels(ScreenSampler& sampler) {
    std::size_t count = 0;
    for (const std::uint32_t pixel : sampler.grab()) {
        count += (pixel & 0xFFFFFF) == TEXT_PIXEL ? 1 : 0;
    }
    return count;
}

struct Session {
    std::unique_ptr<pal4sim::SimGame> game;
    std::unique_ptr<ToolProcess> tool;
    HWND overlay = nullptr;

    std::uint32_t window(WindowAction action, int left = 0, int top = 0) {
        return game->window(action, left, top).value_or(0);
    }
};

// The tool started beside its settings (the text in magenta), its overlay open over the line.
bool startTool(Session& session, const std::wstring& exe) {
    std::ofstream(std::filesystem::path(exe).parent_path() / L"Pal4_Corvel.ini", std::ios::binary)
        << SETTINGS;
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
    session.overlay = session.tool->overlay();
    RECT area{};
    GetWindowRect(session.overlay, &area);
    ScreenSampler sampler(area);
    return e2e::waitUntil([&] { return textPixels(sampler) > 0; }, 5000);
}

void holdForCpu(const char* phase, DWORD ms) {
    Sleep(SETTLE_MS);
    mark("cpu-begin", phase);
    Sleep(ms);
    mark("cpu-end", phase);
}

RECT overlayArea(const Session& session) {
    RECT area{};
    GetWindowRect(session.overlay, &area);
    return area;
}

// Alternately a click into the game through the see-through background, after the panel took
// the front, and the game's own call to the top of the topmost band: how soon the text is on the
// screen again, and how often it was gone at the first look.
void measureAbove(Session& session, int times) {
    const RECT area = overlayArea(session);
    ScreenSampler sampler(area);
    const POINT background{area.right - 60, area.bottom - 20};
    std::vector<double> back;
    int missed = 0;
    int buried = 0;
    for (int i = 0; i < times; ++i) {
        std::int64_t start = 0;
        if (i % 2 == 0) {
            SetForegroundWindow(session.tool->panel());
            const std::uint32_t clicks = session.window(pal4sim::control::COUNT);
            if (!e2e::clickAt(background)) {
                ++missed;
                continue;
            }
            // From the moment the game has the click.
            e2e::waitUntil([&] { return session.window(pal4sim::control::COUNT) > clicks; }, 1000,
                           1);
            start = counterNow();
        } else {
            session.window(pal4sim::control::TOPMOST);
            start = counterNow();
        }
        buried += textPixels(sampler) == 0 ? 1 : 0;
        const auto ms = timeUntil(start, [&] { return textPixels(sampler) > 0; });
        if (ms) {
            back.push_back(*ms);
        } else {
            ++missed;
        }
        Sleep(150);
    }
    mark("above", seriesSummary(back, missed) + " " + std::to_string(buried));
}

// The game's window moved back and forth by (40, -20): how soon the overlay stands at its new
// place, and whether every place is exact.
void measureFollow(Session& session, int times) {
    const RECT start = overlayArea(session);
    std::vector<double> followed;
    int missed = 0;
    int exact = 0;
    for (int i = 0; i < times; ++i) {
        const bool away = i % 2 == 0;
        session.window(pal4sim::control::MOVE, away ? 40 : 0, away ? -20 : 0);
        const std::int64_t moved = counterNow();
        const LONG left = start.left + (away ? 40 : 0);
        const LONG top = start.top + (away ? -20 : 0);
        const auto ms = timeUntil(moved, [&] {
            const RECT now = overlayArea(session);
            return now.left == left && now.top == top;
        });
        if (ms) {
            followed.push_back(*ms);
        } else {
            ++missed;
        }
        Sleep(300);
        const RECT settled = overlayArea(session);
        exact += settled.left == left && settled.top == top ? 1 : 0;
    }
    mark("follow", seriesSummary(followed, missed) + " " + std::to_string(exact));
}

// Minimised and restored: how soon the overlay is hidden, and its text back on the screen. Hidden
// is told by Windows: without a window manager, a minimised window's pixels stay on the X
// screen, and so do those of a window hidden over it.
void measureHide(Session& session, int times) {
    ScreenSampler sampler(overlayArea(session));
    std::vector<double> gone;
    std::vector<double> back;
    int missed = 0;
    for (int i = 0; i < times; ++i) {
        session.window(pal4sim::control::MINIMISE);
        std::int64_t start = counterNow();
        if (const auto ms = timeUntil(start, [&] { return !IsWindowVisible(session.overlay); })) {
            gone.push_back(*ms);
        } else {
            ++missed;
        }
        Sleep(200);
        session.window(pal4sim::control::RESTORE);
        start = counterNow();
        if (const auto ms = timeUntil(start, [&] {
                return IsWindowVisible(session.overlay) && textPixels(sampler) > 0;
            })) {
            back.push_back(*ms);
        } else {
            ++missed;
        }
        Sleep(200);
    }
    mark("hide", seriesSummary(gone, missed) + " " + seriesSummary(back, 0));
}

// Clicks on a pixel of the text, unlocked and locked: how many reach the game.
void measureLock(Session& session) {
    const RECT area = overlayArea(session);
    ScreenSampler sampler(area);
    POINT text{-1, -1};
    const auto pixels = sampler.grab();
    const LONG width = area.right - area.left;
    for (std::size_t i = 0; i < pixels.size() && text.x < 0; ++i) {
        if ((pixels[i] & 0xFFFFFF) == TEXT_PIXEL) {
            text = {area.left + static_cast<LONG>(i) % width,
                    area.top + static_cast<LONG>(i) / width};
        }
    }
    const auto reaching = [&] {
        const std::uint32_t before = session.window(pal4sim::control::COUNT);
        e2e::clickAt(text, LOCK_CLICKS);
        Sleep(300);
        return session.window(pal4sim::control::COUNT) - before;
    };
    const std::uint32_t unlocked = reaching();
    session.tool->click(LOCK_BOX_ID);
    Sleep(SETTLE_MS);
    const std::uint32_t locked = reaching();
    session.tool->click(LOCK_BOX_ID);
    Sleep(SETTLE_MS);
    mark("lock", std::to_string(locked) + " " + std::to_string(unlocked) + " " +
                     std::to_string(LOCK_CLICKS));
}

int runPhases(const WindowOptions& options) {
    Session session;
    pal4sim::SimGameLaunch launch;
    launch.exePath = options.gameExe;
    launch.window = true;
    session.game = std::make_unique<pal4sim::SimGame>(launch);
    session.game->setMarker(IN_GAME_MARKER);
    session.game->setText(LINE);
    session.window(pal4sim::control::MOVE, 0, 0);
    if (!startTool(session, options.toolExe)) {
        return 1;
    }
    holdForCpu("idle-window", options.cpuMs);
    measureAbove(session, options.times);
    measureFollow(session, options.times);
    measureHide(session, options.times / 3);
    measureLock(session);
    session.tool.reset();
    if (!options.baselineExe.empty()) {
        // The baseline between two runs of this build, so a drift of the machine's load shows.
        Sleep(SETTLE_MS);
        if (!startTool(session, options.baselineExe)) {
            return 1;
        }
        holdForCpu("idle-window-baseline", options.cpuMs);
        session.tool.reset();
        if (!startTool(session, options.toolExe)) {
            return 1;
        }
        holdForCpu("idle-window-again", options.cpuMs);
    }
    mark("done");
    return 0;
}

} // namespace

int runWindowScenario(const WindowOptions& options) {
    return complainingOfExceptions([&] { return runPhases(options); });
}

} // namespace pal4bench
