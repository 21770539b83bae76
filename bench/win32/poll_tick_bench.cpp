// The cost of one poll tick against the simulated game running as a real process: with the
// text unchanged, with it changed, and with the blank flag set, for several sizes of the memory
// region that holds the text (the tick reads from the text to the region's end).
#include "simgame_session.hpp"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

// <chrono> does not compile with a GB2312 execution charset; the performance counter serves.
double nowUs() {
    LARGE_INTEGER count;
    LARGE_INTEGER frequency;
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(count.QuadPart) * 1e6 / static_cast<double>(frequency.QuadPart);
}

struct Figures {
    double minUs = 0; // the least disturbed by other load on the machine
    double meanUs = 0;
    double medianUs = 0;
    double p95Us = 0;
};

// Times `tick` alone; `prepare` runs untimed before each.
Figures measure(int rounds, const std::function<void()>& prepare,
                const std::function<void()>& tick) {
    std::vector<double> samples;
    samples.reserve(static_cast<std::size_t>(rounds));
    for (int i = 0; i < rounds; ++i) {
        prepare();
        const double start = nowUs();
        tick();
        samples.push_back(nowUs() - start);
    }
    std::sort(samples.begin(), samples.end());
    Figures figures;
    for (double sample : samples) {
        figures.meanUs += sample;
    }
    figures.meanUs /= static_cast<double>(samples.size());
    figures.minUs = samples.front();
    figures.medianUs = samples[samples.size() / 2];
    figures.p95Us = samples[samples.size() * 95 / 100];
    return figures;
}

void print(const char* what, std::uint32_t regionSize, const Figures& figures) {
    std::printf("%-24s region %8u B  min %8.1f us  median %8.1f us  mean %8.1f us  p95 %8.1f us\n",
                what, regionSize, figures.minUs, figures.medianUs, figures.meanUs, figures.p95Us);
}

} // namespace

int main() {
    using namespace pal4::win32test;
    for (const std::uint32_t regionSize : {4096u, 65536u, 1048576u, 16777216u}) {
        pal4sim::SimGameLaunch launch = simgameLaunch();
        launch.textRegionSize = regionSize;
        pal4sim::SimGame game{launch};
        ToolOverRunningGame rig;
        game.setMarker(474.0f);
        game.setText("张三：是啊，<c1>山上</c>的花都开了。");
        rig.openOverlay();
        rig.overlay.timerFires();
        const int rounds = regionSize >= 16777216u ? 20 : regionSize >= 1048576u ? 50 : 300;

        const auto nothing = [] {};
        const auto tick = [&] { rig.overlay.timerFires(); };
        print("tick, text unchanged", regionSize, measure(rounds, nothing, tick));
        print("tick, text changed", regionSize,
              measure(
                  rounds, [&] { rig.state.lastText.clear(); }, tick));
        game.setBlankFlag(1);
        print("tick, blank flag set", regionSize, measure(rounds, nothing, tick));

        // The text read alone: in growing chunks up to the terminator, and in one read of the
        // whole rest of the region.
        const pal4::ProcessId pid = game.processId();
        const pal4::GameAddress text = rig.state.textAddress;
        pal4::ProcessMemory memory{rig.port};
        print("read text, chunks", regionSize,
              measure(rounds, nothing, [&] { memory.readText(pid, text); }));
        print("read text, whole region", regionSize,
              measure(rounds, nothing, [&] { memory.readTextWholeRegion(pid, text); }));
    }
    return 0;
}
