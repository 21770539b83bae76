// The end-to-end driver: runs every scenario against the real tool and the simulated game and
// prints one line per scenario, then "N passed, M failed".
#include "command_line_arguments.hpp"
#include "driver_options.hpp"
#include "keyboard_input.hpp"
#include "scenario_registry.hpp"
#include "window_text.hpp"

#include <windows.h>

#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>
#include <vector>

namespace {

// The driver measures windows and pixels in real screen pixels whatever the DPI.
void becomeDpiAware() {
    using SetContext = BOOL(WINAPI*)(HANDLE);
    const HMODULE user32 = GetModuleHandleW(L"user32.dll");
    const auto setContext = reinterpret_cast<SetContext>(
        reinterpret_cast<void (*)()>(GetProcAddress(user32, "SetProcessDpiAwarenessContext")));
    // DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2 is the handle value -4.
    if (setContext == nullptr || !setContext(reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4)))) {
        SetProcessDPIAware();
    }
}

std::string narrow(const std::wstring& text) {
    return e2e::toUtf8(text);
}

} // namespace

int main() {
    becomeDpiAware();
    // Before any window of a scenario appears under the pointer: see keyboard_input.hpp.
    e2e::parkPointer();
    std::wstring problem;
    const auto options = e2e::parseDriverOptions(e2e::commandLineArguments(), problem);
    if (!options) {
        std::fprintf(stderr, "%s\n", narrow(problem).c_str());
        return 2;
    }
    e2e::DriverContext context;
    context.toolExe = options->toolExe;
    context.gameExe = options->gameExe;
    context.lowerCaseModule =
        (std::filesystem::path(options->gameExe).parent_path() / L"lower" / L"oiramlook.dll")
            .wstring();
    context.renamedModule =
        (std::filesystem::path(options->gameExe).parent_path() / L"renamed" / L"DIALOGUE.DLL")
            .wstring();
    context.expectedDpi = options->dpi;
    context.browserPort = options->browserPort;

    int passed = 0;
    int failed = 0;
    for (const e2e::Scenario& scenario : e2e::scenarioRegistry()) {
        const std::string name = scenario.name;
        if (!options->only.empty() && name.find(narrow(options->only)) == std::string::npos) {
            continue;
        }
        const ULONGLONG started = GetTickCount64();
        std::string failure;
        try {
            scenario.body(context);
        } catch (const std::exception& error) {
            failure = error.what();
            if (failure.empty()) {
                failure = "failed";
            }
        } catch (...) {
            failure = "unknown exception";
        }
        const auto seconds = static_cast<double>(GetTickCount64() - started) / 1000.0;
        if (failure.empty()) {
            ++passed;
            std::printf("PASS %s (%.1f s)\n", name.c_str(), seconds);
        } else {
            ++failed;
            std::printf("FAIL %s: %s (%.1f s)\n", name.c_str(), failure.c_str(), seconds);
        }
        std::fflush(stdout);
    }
    std::printf("%d passed, %d failed\n", passed, failed);
    std::fflush(stdout);
    return failed == 0 && passed > 0 ? 0 : 1;
}
