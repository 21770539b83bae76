#pragma once

#include "child_process.hpp"
#include "scratch_folder.hpp"

#include <windows.h>

#include <filesystem>
#include <optional>

namespace pal4::e2e {

// A copy of the tool's exe in a fresh folder of its own, started as a child process from
// another working folder (the system's temporary folder); the copy is ended (if still running)
// and removed when this goes away.
class StartedProgram {
public:
    // Copies `exe` into a new temporary folder and starts it there.
    explicit StartedProgram(const std::filesystem::path& exe);
    StartedProgram(const StartedProgram&) = delete;
    StartedProgram& operator=(const StartedProgram&) = delete;

    bool started() const { return process_ && process_->started(); }
    DWORD processId() const { return process_ ? process_->id() : 0; }
    const std::filesystem::path& folder() const { return folder_.path(); }

    // The process's visible top-level window of the given class, waiting for it up to the time.
    HWND waitForWindow(const wchar_t* className, DWORD timeoutMs) const;
    // Waits for the end of the process; its exit code, or nothing on a timeout.
    bool waitForExit(DWORD timeoutMs, DWORD& exitCode) const;

private:
    // Declared first, so the copy is ended before its folder goes.
    ::e2e::ScratchFolder folder_;
    std::optional<::e2e::ChildProcess> process_;
};

// The Windows path of the exe named by the environment variable: CTest gives Unix paths, which
// Wine translates with its own kernel32 export.
std::filesystem::path exeFromEnvironment(const wchar_t* variable);

} // namespace pal4::e2e
