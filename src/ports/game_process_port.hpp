#pragma once

#include "core/game_address.hpp"
#include "core/process_records.hpp"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace pal4 {

inline constexpr std::uint32_t TH32CS_SNAPPROCESS_FLAG = 0x2;
inline constexpr std::uint32_t TH32CS_SNAPMODULE_FLAG = 0x8;

// Every process-specific right with the standard rights and SYNCHRONIZE: the older, smaller
// value of PROCESS_ALL_ACCESS, which every Windows version accepts.
inline constexpr std::uint32_t GAME_PROCESS_ACCESS = 0x1F0FFF;

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

    // The size in bytes of the file the process was started from, found through its image path
    // (QueryFullProcessImageNameW under PROCESS_QUERY_LIMITED_INFORMATION, then the file's
    // attributes); nullopt when the process, its path or the file cannot be reached. Opens and
    // closes whatever it needs itself.
    virtual std::optional<std::uint64_t> imageFileSize(ProcessId processId) = 0;

    // CloseHandle, for snapshots and processes alike.
    virtual void closeHandle(PortHandle handle) = 0;
};

} // namespace pal4
