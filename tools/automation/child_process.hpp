#pragma once

#include <windows.h>

#include <string>

namespace e2e {

// A program started by the driver inside a job object that kills it, and anything it started,
// when this goes away: a failing scenario leaves no process behind.
class ChildProcess {
public:
    ChildProcess(const std::wstring& exe, const std::wstring& arguments,
                 const std::wstring& workingFolder);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool started() const { return process_ != nullptr; }
    DWORD id() const { return id_; }
    bool running() const;
    // True when the process ended within the time; its exit code then in `exitCode`.
    bool waitForExit(DWORD timeoutMs, DWORD& exitCode) const;
    void kill();

private:
    HANDLE job_ = nullptr;
    HANDLE process_ = nullptr;
    DWORD id_ = 0;
};

// Ends another process by id (one the driver did not start itself, such as the game).
bool terminateProcessById(DWORD processId);

} // namespace e2e
