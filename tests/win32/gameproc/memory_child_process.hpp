#pragma once

#include "core/game_address.hpp"
#include "memory_child_layout.hpp"
#include "win32/platform/unique_handle.hpp"

#include <string>

namespace pal4::win32test {

// The memory child, copied into a folder of its own under the given file name (Pal4.exe,
// PAL4.EXE) and started from there, so toolhelp lists it under that name. Stopping closes its
// standard input; the destructor stops it, waits and removes the copy.
class MemoryChildProcess {
public:
    explicit MemoryChildProcess(const std::wstring& exeName);
    MemoryChildProcess(const MemoryChildProcess&) = delete;
    MemoryChildProcess& operator=(const MemoryChildProcess&) = delete;
    ~MemoryChildProcess();

    bool started() const { return started_; }
    ProcessId pid() const { return pid_; }
    const MemoryChildAddresses& addresses() const { return addresses_; }

    // Ends the child at once, as a game that quits, and waits until it is gone.
    void terminate();

private:
    void stop();

    std::wstring folder_;
    std::wstring exePath_;
    win32::UniqueProcessHandle process_;
    win32::UniqueKernelHandle input_;
    ProcessId pid_ = 0;
    MemoryChildAddresses addresses_;
    bool started_ = false;
};

} // namespace pal4::win32test
