#pragma once

#include "ports/game_process_port.hpp"

namespace pal4::win32 {

// The game process through toolhelp and the process-memory calls, W forms only; names come
// back as GB2312. Game addresses become pointers here and nowhere else. In a 64-bit build the
// module snapshot also lists a 32-bit game's modules, and regions are clamped to the 32-bit
// address space the game lives in.
class GameProcessWin32 final : public GameProcessPort {
public:
    PortHandle createSnapshot(std::uint32_t flags, ProcessId processId) override;
    bool firstProcess(PortHandle snapshot, ProcessEntry& entry) override;
    bool nextProcess(PortHandle snapshot, ProcessEntry& entry) override;
    bool firstModule(PortHandle snapshot, ModuleEntry& entry) override;
    bool nextModule(PortHandle snapshot, ModuleEntry& entry) override;
    PortHandle openProcess(std::uint32_t access, ProcessId processId) override;
    bool readMemory(PortHandle process, GameAddress address, std::span<std::byte> buffer) override;
    bool writeMemory(PortHandle process, GameAddress address,
                     std::span<const std::byte> bytes) override;
    bool queryRegion(PortHandle process, GameAddress address, RegionInfo& region) override;
    std::optional<std::uint64_t> imageFileSize(ProcessId processId) override;
    void closeHandle(PortHandle handle) override;
};

} // namespace pal4::win32
