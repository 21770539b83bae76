#include "bench_scenario.hpp"

#include "latency_phase.hpp"
#include "phase_marks.hpp"
#include "simgame_client.hpp"
#include "tool_process.hpp"

#include <cstdio>
#include <exception>
#include <memory>

namespace pal4bench {

namespace {

constexpr float IN_GAME_MARKER = 474.0f;
constexpr DWORD WINDOW_TIMEOUT_MS = 15000;
constexpr DWORD OVERLAY_TIMEOUT_MS = 5000;
// Long enough for a poll tick to read and draw the line after the overlay opens.
constexpr DWORD FIRST_TICK_MS = 120;
constexpr DWORD SETTLE_MS = 500;

std::unique_ptr<pal4sim::SimGame> startGame(const ScenarioOptions& options,
                                            std::uint32_t regionSize) {
    pal4sim::SimGameLaunch launch;
    launch.exePath = options.gameExe;
    launch.textRegionSize = regionSize;
    auto game = std::make_unique<pal4sim::SimGame>(launch);
    game->setMarker(IN_GAME_MARKER);
    game->setText(dialogueLine(0));
    return game;
}

bool openOverlay(const ToolProcess& tool) {
    tool.pressToggle();
    return tool.waitForOverlay(true, OVERLAY_TIMEOUT_MS);
}

bool closeOverlay(const ToolProcess& tool) {
    tool.pressToggle();
    return tool.waitForOverlay(false, OVERLAY_TIMEOUT_MS);
}

RECT onScreen(HWND window) {
    RECT bounds{};
    GetWindowRect(window, &bounds);
    const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    RECT visible{};
    IntersectRect(&visible, &bounds, &screen);
    return visible;
}

void measureAndMark(pal4sim::SimGame& game, const ToolProcess& tool, int lines, const char* name) {
    const LatencyReport latency = measureLatency(game, onScreen(tool.overlay()), lines);
    char figures[160];
    std::snprintf(figures, sizeof figures, "%zu %zu %.1f %.1f %.1f %.1f %.2f %s", latency.measured,
                  latency.missed, latency.minMs, latency.medianMs, latency.p95Ms, latency.maxMs,
                  latency.meanSampleMs, latency.clockShared ? "shared" : "not-shared");
    mark(name, figures);
}

void holdForCpu(const char* what, std::uint32_t regionSize, DWORD ms) {
    mark("cpu-begin", what + std::string(" ") + std::to_string(regionSize));
    Sleep(ms);
    mark("cpu-end", std::to_string(regionSize));
}

bool cycleOverlay(const ToolProcess& tool, int cycles) {
    for (int i = 0; i < cycles; ++i) {
        if (!closeOverlay(tool) || !openOverlay(tool)) {
            complain("the overlay did not close and open again in cycle " + std::to_string(i));
            return false;
        }
        Sleep(FIRST_TICK_MS);
    }
    return true;
}

int runPhases(const ScenarioOptions& options) {
    auto game = startGame(options, options.smallRegion);
    ToolProcess tool(options.toolExe);
    if (!tool.waitForPanel(WINDOW_TIMEOUT_MS)) {
        complain("the tool's panel did not appear");
        return 1;
    }
    mark("tool-started");
    if (!openOverlay(tool)) {
        complain("the overlay did not open");
        return 1;
    }
    Sleep(SETTLE_MS);

    measureAndMark(*game, tool, options.latencyLines, "latency");
    // The same with the outline on, which draws each line through more work.
    tool.clickOutline();
    Sleep(SETTLE_MS);
    measureAndMark(*game, tool, options.latencyLines, "latency-outline");
    tool.clickOutline();

    holdForCpu("small", options.smallRegion, options.cpuMs);

    Sleep(SETTLE_MS);
    mark("memory-open");
    if (!cycleOverlay(tool, options.warmUpCycles)) {
        return 1;
    }
    Sleep(SETTLE_MS);
    mark("cycles-warm", std::to_string(options.warmUpCycles));
    if (!cycleOverlay(tool, options.measuredCycles)) {
        return 1;
    }
    Sleep(SETTLE_MS);
    mark("cycles-end", std::to_string(options.measuredCycles));

    // The tool looks the game up again on every press, so the new game is found by name.
    closeOverlay(tool);
    game.reset();
    game = startGame(options, options.largeRegion);
    if (!openOverlay(tool)) {
        complain("the overlay did not open over the game with the large text region");
        return 1;
    }
    Sleep(SETTLE_MS);
    holdForCpu("large", options.largeRegion, options.cpuMs);

    closeOverlay(tool);
    tool.close();
    mark("done");
    return 0;
}

} // namespace

int runScenario(const ScenarioOptions& options) {
    try {
        return runPhases(options);
    } catch (const std::exception& problem) {
        complain(problem.what());
        return 1;
    }
}

} // namespace pal4bench
