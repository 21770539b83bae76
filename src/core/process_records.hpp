#pragma once

#include "core/game_address.hpp"

#include <array>
#include <cstdint>

namespace pal4 {

// The records of the game process's Win32 calls, in portable form. They live here, below the
// ports, because AppState keeps the module walk's handle and entry between calls.

// An opaque handle handed out by a port. kNoHandle means the platform could not give one:
// adapters map both NULL (OpenProcess) and INVALID_HANDLE_VALUE (CreateToolhelp32Snapshot) to it.
using PortHandle = std::uintptr_t;
inline constexpr PortHandle kNoHandle = 0;

// The fields of PROCESSENTRY32 (ANSI form) that the tool looks at.
struct ProcessEntry {
    std::uint32_t size = 0;          // dwSize: 296 in a 32-bit build
    ProcessId processId = 0;         // th32ProcessID
    std::array<char, 260> exeFile{}; // szExeFile, GB2312, zero-terminated
};

// A portable copy of MODULEENTRY32 (ANSI form): the module walk's working record.
struct ModuleEntry {
    std::uint32_t size = 0; // dwSize: 548 in a 32-bit build
    std::uint32_t moduleId = 0;
    ProcessId processId = 0;
    std::uint32_t globalUsage = 0;
    std::uint32_t processUsage = 0;
    GameAddress baseAddress = 0;
    std::uint32_t baseSize = 0;
    std::uint32_t moduleHandle = 0;
    std::array<char, 256> moduleName{}; // szModule, GB2312, zero-terminated
    std::array<char, 260> exePath{};    // szExePath, GB2312, zero-terminated
};

inline constexpr std::uint32_t PROCESS_ENTRY_SIZE = 296;
inline constexpr std::uint32_t MODULE_ENTRY_SIZE = 548;

// The two fields of MEMORY_BASIC_INFORMATION that the tool looks at.
struct RegionInfo {
    GameAddress baseAddress = 0;
    std::uint32_t regionSize = 0;
};

} // namespace pal4
