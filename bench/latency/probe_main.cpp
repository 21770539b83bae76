// The benchmark's probe, run by scripts/bench.sh under Wine beside the subtitle tool:
//
//   latency_probe --run TOOL.exe GAME.exe [--lines N] [--cycles N] [--cpu-seconds S]
//                 [--throughput-seconds S] [--backlog-lines N]
//                 [--web-port N [--browser-port N] [--web-seconds S]]
//       starts the simulated game and the tool, measures what needs a Windows program (latency
//       of new lines on screen) and marks the phases in which bench.sh reads the tool's CPU
//       time and memory from /proc (phase_marks.hpp); with a web port, then the web feeds'
//       phases (web_phases.hpp)
//   latency_probe --window TOOL.exe GAME.exe [--baseline OTHER.exe] [--times N] [--cpu-seconds S]
//       the tool over the game's window moving about (window_phases.hpp)
//   latency_probe --fullscreen TOOL.exe GAME.exe [--cycles N] [--cpu-seconds S] [--picture 1]
//       the game's window at full screen and back (fullscreen_phases.hpp)
//   latency_probe --idle SECONDS | --idle-window SECONDS
//       does nothing for that long (with a window: shows one and waits): the resident memory
//       of an idle Wine program of this width
//
// Paths are Unix paths (as the script has them) or Windows paths.
#include "bench_scenario.hpp"
#include "fullscreen_phases.hpp"
#include "idle_program.hpp"
#include "phase_marks.hpp"
#include "simgame_client.hpp"
#include "web_phases.hpp"
#include "window_phases.hpp"

#include <windows.h>

#include <cstdlib>
#include <string>
#include <string_view>

namespace {

std::wstring windowsPath(const char* path) {
    return pal4sim::windowsPath(std::string_view(path));
}

int usage() {
    pal4bench::complain("usage: latency_probe --run TOOL.exe GAME.exe [--lines N] "
                        "[--cycles N] [--cpu-seconds S] [--throughput-seconds S] "
                        "[--backlog-lines N] [--web-port N "
                        "[--browser-port N] [--web-seconds S]] | --window TOOL.exe GAME.exe "
                        "[--baseline OTHER.exe] [--times N] [--cpu-seconds S] | --fullscreen "
                        "TOOL.exe GAME.exe [--cycles N] [--cpu-seconds S] [--picture 1] | --idle "
                        "SECONDS | --idle-window SECONDS");
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 3 &&
        (std::string_view(argv[1]) == "--idle" || std::string_view(argv[1]) == "--idle-window")) {
        return pal4bench::idleFor(static_cast<DWORD>(std::atoi(argv[2])),
                                  std::string_view(argv[1]) == "--idle-window");
    }
    if (argc >= 4 && (argc - 4) % 2 == 0 && std::string_view(argv[1]) == "--window") {
        pal4bench::WindowOptions options;
        options.toolExe = windowsPath(argv[2]);
        options.gameExe = windowsPath(argv[3]);
        for (int i = 4; i + 1 < argc; i += 2) {
            const std::string_view name = argv[i];
            if (name == "--baseline") {
                options.baselineExe = windowsPath(argv[i + 1]);
            } else if (name == "--times" && std::atoi(argv[i + 1]) > 0) {
                options.times = std::atoi(argv[i + 1]);
            } else if (name == "--cpu-seconds" && std::atoi(argv[i + 1]) > 0) {
                options.cpuMs = static_cast<DWORD>(std::atoi(argv[i + 1])) * 1000u;
            } else {
                return usage();
            }
        }
        return pal4bench::runWindowScenario(options);
    }
    if (argc >= 4 && (argc - 4) % 2 == 0 && std::string_view(argv[1]) == "--fullscreen") {
        pal4bench::FullScreenOptions options;
        options.toolExe = windowsPath(argv[2]);
        options.gameExe = windowsPath(argv[3]);
        for (int i = 4; i + 1 < argc; i += 2) {
            const std::string_view name = argv[i];
            const int value = std::atoi(argv[i + 1]);
            if (name == "--cycles" && value > 0) {
                options.cycles = value;
            } else if (name == "--cpu-seconds" && value > 0) {
                options.cpuMs = static_cast<DWORD>(value) * 1000u;
            } else if (name == "--picture") {
                options.picture = value != 0;
            } else {
                return usage();
            }
        }
        return pal4bench::runFullScreenScenario(options);
    }
    if (argc < 4 || (argc - 4) % 2 != 0 || std::string_view(argv[1]) != "--run") {
        return usage();
    }
    pal4bench::ScenarioOptions options;
    pal4bench::WebOptions web;
    options.toolExe = windowsPath(argv[2]);
    options.gameExe = windowsPath(argv[3]);
    for (int i = 4; i + 1 < argc; i += 2) {
        const std::string_view name = argv[i];
        const int value = std::atoi(argv[i + 1]);
        if (value <= 0) {
            return usage();
        }
        if (name == "--lines") {
            options.latencyLines = value;
        } else if (name == "--cycles") {
            options.measuredCycles = value;
        } else if (name == "--backlog-lines") {
            options.backlogLines = value;
        } else if (name == "--throughput-seconds") {
            options.throughputSeconds = value;
        } else if (name == "--web-port") {
            web.port = value;
        } else if (name == "--browser-port") {
            web.browserPort = value;
        } else if (name == "--web-seconds") {
            web.seconds = value;
        } else if (name == "--cpu-seconds") {
            options.cpuMs = static_cast<DWORD>(value) * 1000u;
        } else {
            return usage();
        }
    }
    const int status = pal4bench::runScenario(options);
    const int webStatus = web.port != 0 ? pal4bench::runWebPhases(options, web) : 0;
    return status != 0 ? status : webStatus;
}
