#pragma once

#include <windows.h>

namespace pal4bench {

// An idle Wine program, the baseline for the tool's resident memory. Bare, it only sleeps; with
// a window it also brings up what every windowed Wine program carries (the display driver, its
// connection, fonts), as the tool does, and pumps its messages until the time is over.
int idleFor(DWORD seconds, bool withWindow);

} // namespace pal4bench
