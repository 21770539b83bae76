#pragma once

#include "win32/platform/unique_handle.hpp"

#include <windows.h>

namespace pal4::win32 {

// The mark of the one running tool in the user's session, wherever its exe lies: two tools would
// write the game's values against each other and append to the same files. The mark is a named
// mutex the running tool owns until its process ends; the system lets go of it even when the
// process is killed, so a start can wait for a closing tool to be gone.
class RunningToolMark {
public:
    explicit RunningToolMark(const wchar_t* name);

    // False when another process holds the mark, also when it may not even be opened (a tool run
    // elevated).
    bool first() const noexcept { return first_; }
    // Waits up to `waitMs` for the tool that holds the mark to end, then holds it; true when
    // this process holds it afterwards.
    bool waitForTheOther(DWORD waitMs);

private:
    void take();

    const wchar_t* name_;
    UniqueKernelHandle mutex_;
    bool first_ = true;
};

enum class RunningTool { BroughtForward, Ended, StillThere };

// What a start that is not first does: brings the running tool's panel forward (restored if
// minimised, without waiting on the tool, which may hang), or, while no panel shows (a tool
// starting or closing), waits up to `waitMs` for the other to end; Ended when it did, and this
// process holds the mark.
RunningTool meetTheRunningTool(RunningToolMark& mark, const wchar_t* panelClass, DWORD waitMs);

} // namespace pal4::win32
