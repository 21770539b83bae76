#include "bench_scenario.hpp"

#include "backlog_phases.hpp"
#include "latency_phase.hpp"
#include "phase_marks.hpp"
#include "simgame_client.hpp"
#include "tool_process.hpp"
#include "wait_until.hpp"

#include <cstdio>
#include <memory>

namespace pal4bench {

namespace {

constexpr float IN_GAME_MARKER = 474.0f;
constexpr DWORD WINDOW_TIMEOUT_MS = 15000;
constexpr DWORD OVERLAY_TIMEOUT_MS = 5000;
// Long enough for a poll tick to read and draw the line after the overlay opens.
constexpr DWORD FIRST_TICK_MS = 120;
constexpr DWORD SETTLE_MS = 500;
constexpr int HISTORY_BOX_ID = 120;
// One new line per poll tick: the most lines the tool can take.
constexpr ULONGLONG LINE_PERIOD_MS = 100;
// The throughput lines are numbered after the latency lines, so none repeats one of them.
constexpr int FIRST_THROUGHPUT_LINE = 100000;
constexpr int LINES_BEFORE_KILL = 30;

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

std::wstring widened(const std::string& gb2312) {
    wchar_t wide[256] = {};
    MultiByteToWideChar(936, 0, gb2312.data(), static_cast<int>(gb2312.size()), wide, 255);
    return wide;
}

// Plays `count` new lines from number `first`, one per tick, each kept until the tool has
// taken it (its edit box shows it), so a line the log lacks is the log's fault and not one the
// poll never saw. Returns the number of lines the tool did not take within a second.
int playLines(pal4sim::SimGame& game, const ToolProcess& tool, int first, int count) {
    int untaken = 0;
    const ULONGLONG start = GetTickCount64();
    for (int i = 0; i < count; ++i) {
        const std::string line = dialogueLine(first + i);
        game.setText(line);
        const ULONGLONG due = start + static_cast<ULONGLONG>(i + 1) * LINE_PERIOD_MS;
        const ULONGLONG now = GetTickCount64();
        Sleep(now < due ? static_cast<DWORD>(due - now) : 0);
        const std::wstring wanted = widened(line);
        untaken += e2e::waitUntil([&] { return tool.editText() == wanted; }, 1000, 5) ? 0 : 1;
    }
    return untaken;
}

// The game blanks its line: the tool has nothing to draw, with the outline off and on, and an
// outlined label that is painted again and again would show here.
void measureBlankedLine(pal4sim::SimGame& game, const ToolProcess& tool, DWORD ms) {
    game.setBlankFlag(1);
    Sleep(SETTLE_MS);
    for (const char* phase : {"blank-plain", "blank-outline"}) {
        mark("cpu-begin", phase);
        Sleep(ms);
        mark("cpu-end", phase);
        tool.clickOutline();
        Sleep(SETTLE_MS);
    }
    game.setBlankFlag(0);
    Sleep(SETTLE_MS);
}

void measureThroughput(pal4sim::SimGame& game, const ToolProcess& tool, int seconds) {
    const int count = seconds * static_cast<int>(1000 / LINE_PERIOD_MS);
    int first = FIRST_THROUGHPUT_LINE;
    mark("cpu-begin", "lines-off");
    int untaken = playLines(game, tool, first, count);
    mark("cpu-end", "lines-off");
    tool.click(HISTORY_BOX_ID);
    Sleep(SETTLE_MS);
    first += count;
    mark("cpu-begin", "lines-on");
    untaken += playLines(game, tool, first, count);
    mark("cpu-end", "lines-on");
    mark("lines-on", std::to_string(first) + " " + std::to_string(first + count - 1) + " " +
                         std::to_string(untaken));
    tool.click(HISTORY_BOX_ID); // off for the phases after
    Sleep(SETTLE_MS);
}

// Lines numbered after the throughput's, then the tool killed somewhere in the tick that may be
// writing the last one.
void killWhileLogging(pal4sim::SimGame& game, ToolProcess& tool, int first) {
    tool.click(HISTORY_BOX_ID);
    Sleep(SETTLE_MS);
    mark("kill-begin");
    playLines(game, tool, first, LINES_BEFORE_KILL);
    game.setText(dialogueLine(first + LINES_BEFORE_KILL));
    Sleep(static_cast<DWORD>(GetTickCount64() % (2 * LINE_PERIOD_MS)));
    tool.kill();
    mark("killed", std::to_string(first) + " " + std::to_string(first + LINES_BEFORE_KILL));
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
    Sleep(SETTLE_MS);
    // Stepping back through the lines just shown, then the backlog over the longest lines.
    measureStepLatency(*game, tool, options.stepTimes);
    Sleep(SETTLE_MS);
    mark("backlog-begin");
    fillBacklog(*game, tool, options.backlogLines);
    game->setText(dialogueLine(0));
    Sleep(SETTLE_MS);

    holdForCpu("small", options.smallRegion, options.cpuMs);
    measureBlankedLine(*game, tool, options.cpuMs);
    measureThroughput(*game, tool, options.throughputSeconds);

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

    killWhileLogging(*game, tool, FIRST_THROUGHPUT_LINE + 2 * 10 * options.throughputSeconds);
    mark("done");
    return 0;
}

} // namespace

int runScenario(const ScenarioOptions& options) {
    return complainingOfExceptions([&] { return runPhases(options); });
}

} // namespace pal4bench
