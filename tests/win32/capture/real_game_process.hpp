#pragma once

// The program's own Win32 process port: these tests check it together with the capture classes.
#include "win32/platform/game_process_win32.hpp"

namespace pal4::win32test {

using RealGameProcessPort = pal4::win32::GameProcessWin32;

} // namespace pal4::win32test
