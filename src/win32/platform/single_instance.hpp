#pragma once

#include "win32/platform/unique_handle.hpp"

#include <windows.h>

namespace pal4::win32 {

// The mark of the one running tool in the user's session, wherever its exe lies: two tools would
// write the game's values against each other and append to the same files. The mark is a named
// mutex, held until the process ends (the system lets go of it even when the process is killed).
class RunningToolMark {
public:
    explicit RunningToolMark(const wchar_t* name);

    // False when another process held the mark first.
    bool first() const noexcept { return first_; }

private:
    UniqueKernelHandle mutex_;
    bool first_ = true;
};

// Brings the running tool's main window to the front, restored if it was minimised; the tool may
// still be making it, so it is looked for up to `waitMs`. False when none appeared.
bool bringRunningToolForward(const wchar_t* windowClass, DWORD waitMs);

} // namespace pal4::win32
