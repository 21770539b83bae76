// Cost of the memory primitives against a real child process under the platform: one readByte,
// and one readText of a 40-byte line at 4 KiB, 64 KiB, 1 MiB and 16 MiB before its region's end,
// chunked and by the whole-region reference, side by side. Prints a table.
#include "memory_child_process.hpp"

#include "gameproc/process_memory.hpp"
#include "win32/platform/game_process_win32.hpp"

#include <windows.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <functional>

namespace {

using namespace pal4;
using namespace pal4::win32test;

double microsecondsPerCall(int calls, const std::function<bool()>& call) {
    LARGE_INTEGER frequency;
    LARGE_INTEGER start;
    LARGE_INTEGER stop;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    bool ok = true;
    for (int i = 0; i < calls; ++i) {
        ok = call() && ok;
    }
    QueryPerformanceCounter(&stop);
    if (!ok) {
        std::printf("  (a call returned a wrong result)\n");
    }
    return 1e6 * static_cast<double>(stop.QuadPart - start.QuadPart) /
           static_cast<double>(frequency.QuadPart) / calls;
}

} // namespace

int main() {
    MemoryChildProcess child(L"Pal4.exe");
    if (!child.started()) {
        std::printf("the memory child did not start\n");
        return 1;
    }
    win32::GameProcessWin32 port;
    ProcessMemory memory(port);
    const ProcessId pid = child.pid();
    const GameAddress data = child.addresses().data;

    // The machine is shared: each figure is the best of several rounds, measured interleaved.
    constexpr int ROUNDS = 5;
    const std::string line(LINE_LENGTH, 'L');
    double byte = 1e300;
    double query = 1e300;
    std::array<double, LINE_RESTS.size()> chunked;
    std::array<double, LINE_RESTS.size()> whole;
    chunked.fill(1e300);
    whole.fill(1e300);
    for (int round = 0; round < ROUNDS; ++round) {
        byte = std::min(byte, microsecondsPerCall(500, [&] {
                            return memory.readByte(pid, data + BYTE_FF_OFFSET, 1) == 255;
                        }));
        // The region query alone, the one step readText adds to a read.
        query = std::min(query, microsecondsPerCall(500, [&] {
                             const PortHandle process = port.openProcess(GAME_PROCESS_ACCESS, pid);
                             RegionInfo region;
                             const bool ok = port.queryRegion(process, data, region);
                             port.closeHandle(process);
                             return ok;
                         }));
        for (std::size_t i = 0; i < LINE_RESTS.size(); ++i) {
            const std::uint32_t rest = LINE_RESTS[i];
            const GameAddress at = child.addresses().big + BIG_REGION_SIZE - rest;
            chunked[i] = std::min(chunked[i], microsecondsPerCall(200, [&] {
                                      return memory.readText(pid, at) == line;
                                  }));
            const int wholeCalls = rest >= (1u << 20) ? 3 : 100;
            whole[i] = std::min(whole[i], microsecondsPerCall(wholeCalls, [&] {
                                    return memory.readTextWholeRegion(pid, at) == line;
                                }));
        }
    }
    std::printf("readByte: %.1f us; open + region query + close: %.1f us (best of %d rounds)\n",
                byte, query, ROUNDS);
    std::printf("%-10s %14s %14s %14s\n", "rest", "chunked us", "whole us", "chunked/byte");
    for (std::size_t i = 0; i < LINE_RESTS.size(); ++i) {
        std::printf("%-10u %14.1f %14.1f %14.2f\n", LINE_RESTS[i], chunked[i], whole[i],
                    chunked[i] / byte);
    }
    return 0;
}
