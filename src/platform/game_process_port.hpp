#pragma once

#include "platform/game_address.hpp"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace pal4 {

// An opaque handle handed out by a port. kNoHandle means the platform could not give one:
// adapters map both NULL (OpenProcess) and INVALID_HANDLE_VALUE (CreateToolhelp32Snapshot) to it.
using PortHandle = std::uintptr_t;
inline constexpr PortHandle kNoHandle = 0;

inline constexpr std::uint32_t TH32CS_SNAPPROCESS_FLAG = 0x2;
inline constexpr std::uint32_t TH32CS_SNAPMODULE_FLAG = 0x8;

// Every process-specific right with the standard rights and SYNCHRONIZE: the older, smaller
// value of PROCESS_ALL_ACCESS, which every Windows version accepts.
inline constexpr std::uint32_t GAME_PROCESS_ACCESS = 0x1F0FFF;

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

// The game process as the tool reaches it: toolhelp snapshots walked first to next, and a
// process opened, used for one operation and closed. Mirrors the Win32 calls one for one.
class GameProcessPort {
public:
    GameProcessPort() = default;
    GameProcessPort(const GameProcessPort&) = delete;
    GameProcessPort& operator=(const GameProcessPort&) = delete;
    virtual ~GameProcessPort() = default;

    // CreateToolhelp32Snapshot(flags, processId); kNoHandle on failure.
    virtual PortHandle createSnapshot(std::uint32_t flags, ProcessId processId) = 0;
    // Process32First / Process32Next: false at the end of the list or on any error.
    virtual bool firstProcess(PortHandle snapshot, ProcessEntry& entry) = 0;
    virtual bool nextProcess(PortHandle snapshot, ProcessEntry& entry) = 0;
    // Module32First / Module32Next.
    virtual bool firstModule(PortHandle snapshot, ModuleEntry& entry) = 0;
    virtual bool nextModule(PortHandle snapshot, ModuleEntry& entry) = 0;

    // OpenProcess(access, FALSE, processId); kNoHandle on failure.
    virtual PortHandle openProcess(std::uint32_t access, ProcessId processId) = 0;
    // ReadProcessMemory: true only when every byte of the buffer was copied.
    virtual bool readMemory(PortHandle process, GameAddress address,
                            std::span<std::byte> buffer) = 0;
    // WriteProcessMemory: true only when every byte was written.
    virtual bool writeMemory(PortHandle process, GameAddress address,
                             std::span<const std::byte> bytes) = 0;
    // VirtualQueryEx: the region that holds the address; false when it cannot tell.
    virtual bool queryRegion(PortHandle process, GameAddress address, RegionInfo& region) = 0;

    // CloseHandle, for snapshots and processes alike.
    virtual void closeHandle(PortHandle handle) = 0;
};

} // namespace pal4
