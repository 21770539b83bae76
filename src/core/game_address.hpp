#pragma once

#include <cstdint>

namespace pal4 {

// An address inside the 32-bit game process. Offsets are added with unsigned 32-bit
// arithmetic, so a pointer at or above 0x80000000 plus an offset wraps as it does in the game.
using GameAddress = std::uint32_t;

// A Win32 process id; 0 names no process.
using ProcessId = std::uint32_t;

// A COLORREF: 0x00BBGGRR, red in the low byte.
using ColorRef = std::uint32_t;

} // namespace pal4
