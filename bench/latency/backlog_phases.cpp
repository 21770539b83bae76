#include "backlog_phases.hpp"

#include "frame_change.hpp"
#include "keyboard_input.hpp"
#include "latency_phase.hpp"
#include "latency_stats.hpp"
#include "perf_counter.hpp"
#include "phase_marks.hpp"
#include "screen_sampler.hpp"
#include "wait_until.hpp"

#include <cstdio>
#include <vector>

namespace pal4bench {

namespace {

constexpr std::size_t MIN_CHANGED_PIXELS = 20;
constexpr double STEP_TIMEOUT_MS = 2000;
constexpr DWORD BETWEEN_STEPS_MS = 150;
// The tool keeps this many lines.
constexpr int KEPT_LINES = 100;
// More than one poll tick, so no line is passed over.
constexpr DWORD LINE_PERIOD_MS = 120;
// Twice what the tool keeps of a line, in words: a long run without a blank keeps the tool busy
// for about a second at 8 KiB and over ten at 64 KiB (most likely its panel's edit box
// wrapping it), far beyond one tick.
constexpr std::size_t LONG_LINE_BYTES = 8192;
// Numbered apart from the session's other lines.
constexpr int FIRST_STEP_LINE = 500000;

RECT overlayArea(const ToolProcess& tool) {
    RECT bounds{};
    GetWindowRect(tool.overlay(), &bounds);
    return bounds;
}

} // namespace

void measureStepLatency(pal4sim::SimGame& game, const ToolProcess& tool, int steps) {
    ScreenSampler sampler(overlayArea(tool));
    if (!sampler.ready()) {
        return;
    }
    // Fresh lines first, so every step has an earlier line to show.
    for (int i = 0; i <= steps; ++i) {
        game.setText(dialogueLine(FIRST_STEP_LINE + i));
        Sleep(LINE_PERIOD_MS);
    }
    Sleep(BETWEEN_STEPS_MS);
    e2e::parkPointer();
    const std::int64_t frequency = counterFrequency();
    std::vector<double> latencies;
    std::size_t missed = 0;
    for (int i = 0; i < steps; ++i) {
        const auto first = sampler.grab();
        const std::vector<std::uint32_t> before(first.begin(), first.end());
        const std::int64_t pressed = counterNow();
        if (!e2e::pressAndRelease({VK_CONTROL, VK_MENU, VK_UP})) {
            ++missed;
            continue;
        }
        for (;;) {
            const std::int64_t start = counterNow();
            const auto frame = sampler.grab();
            const std::int64_t end = counterNow();
            if (countChangedPixels(before, frame) >= MIN_CHANGED_PIXELS) {
                latencies.push_back(ticksToMs((start + end) / 2 - pressed, frequency));
                break;
            }
            if (ticksToMs(end - pressed, frequency) > STEP_TIMEOUT_MS) {
                ++missed;
                break;
            }
            Sleep(1);
        }
        Sleep(BETWEEN_STEPS_MS);
    }
    char figures[120];
    std::snprintf(figures, sizeof figures, "%zu %zu %.1f %.1f %.1f %.1f", latencies.size(), missed,
                  percentile(latencies, 0.0), percentile(latencies, 0.5),
                  percentile(latencies, 0.95), percentile(latencies, 1.0));
    mark("step-latency", figures);
    game.setText(dialogueLine(0));
}

void fillBacklog(pal4sim::SimGame& game, const ToolProcess& tool, int lines) {
    int untaken = 0;
    for (int n = 0; n < lines; ++n) {
        const std::string head = dialogueLine(n);
        std::string line = head;
        while (line.size() < LONG_LINE_BYTES) {
            line += " xxxxxxx";
        }
        line.resize(LONG_LINE_BYTES);
        game.setText(line);
        Sleep(LINE_PERIOD_MS);
        wchar_t wide[64] = {};
        MultiByteToWideChar(936, 0, head.data(), static_cast<int>(head.size()), wide, 63);
        const std::wstring wanted(wide); // the head of the edit box's raw line
        untaken +=
            e2e::waitUntil([&] { return tool.editText().starts_with(wanted); }, 3000, 5) ? 0 : 1;
        if (n + 1 == KEPT_LINES) {
            mark("backlog-full", std::to_string(LONG_LINE_BYTES));
        } else if ((n + 1) % KEPT_LINES == 0) {
            mark("backlog-at", std::to_string(n + 1));
        }
    }
    mark("backlog-end", std::to_string(lines) + " " + std::to_string(untaken));
}

} // namespace pal4bench
