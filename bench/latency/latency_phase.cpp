#include "latency_phase.hpp"

#include "frame_change.hpp"
#include "latency_stats.hpp"
#include "perf_counter.hpp"
#include "screen_sampler.hpp"

#include <cstdint>
#include <vector>

namespace pal4bench {

namespace {

// A glyph changes hundreds of pixels; a few stray ones are no new subtitle.
constexpr std::size_t MIN_CHANGED_PIXELS = 20;
constexpr double LINE_TIMEOUT_MS = 2000;

// A fixed sequence of pauses, so two runs are alike, spread over more than one timer period.
class PauseSequence {
public:
    DWORD next() {
        state_ = state_ * 1664525u + 1013904223u;
        return 80 + (state_ >> 16) % 150;
    }

private:
    std::uint32_t state_ = 12345;
};

} // namespace

RECT onScreen(HWND window) {
    RECT bounds{};
    GetWindowRect(window, &bounds);
    const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    RECT visible{};
    IntersectRect(&visible, &bounds, &screen);
    return visible;
}

std::string dialogueLine(int n) {
    return "甲：第" + std::to_string(n) + "句";
}

LatencyReport measureLatency(pal4sim::SimGame& game, const RECT& area, int lines) {
    LatencyReport report;
    ScreenSampler sampler(area);
    if (!sampler.ready()) {
        return report;
    }
    const std::int64_t frequency = counterFrequency();
    PauseSequence pauses;
    std::vector<double> latencies;
    std::int64_t sampleTicks = 0;
    std::int64_t samples = 0;
    const auto grabbed = [&] {
        const auto frame = sampler.grab();
        return std::vector<std::uint32_t>(frame.begin(), frame.end());
    };
    std::vector<std::uint32_t> baseline = grabbed();
    for (int n = 1; n <= lines; ++n) {
        const std::int64_t before = counterNow();
        const auto stored = game.setTextStamped(dialogueLine(n));
        const std::int64_t after = counterNow();
        if (!stored) {
            ++report.missed;
            continue;
        }
        if (stored->counter < before || stored->counter > after) {
            report.clockShared = false;
        }
        bool seen = false;
        for (;;) {
            const std::int64_t start = counterNow();
            const auto frame = sampler.grab();
            const std::int64_t end = counterNow();
            sampleTicks += end - start;
            ++samples;
            if (countChangedPixels(baseline, frame) >= MIN_CHANGED_PIXELS) {
                // The change happened while this sample was being taken, or before it.
                latencies.push_back(ticksToMs((start + end) / 2 - stored->counter, frequency));
                seen = true;
                break;
            }
            if (ticksToMs(end - stored->counter, frequency) > LINE_TIMEOUT_MS) {
                break;
            }
            Sleep(1);
        }
        if (!seen) {
            ++report.missed;
        }
        Sleep(pauses.next());
        baseline = grabbed(); // the finished subtitle, whatever partial frame was seen first
    }
    report.measured = latencies.size();
    report.minMs = percentile(latencies, 0.0);
    report.medianMs = percentile(latencies, 0.5);
    report.p95Ms = percentile(latencies, 0.95);
    report.maxMs = percentile(latencies, 1.0);
    report.meanSampleMs =
        samples > 0 ? ticksToMs(sampleTicks, frequency) / static_cast<double>(samples) : 0.0;
    return report;
}

} // namespace pal4bench
