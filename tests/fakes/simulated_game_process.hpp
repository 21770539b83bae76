#pragma once

#include "ports/game_process_port.hpp"

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace pal4::testing {

// How a simulated memory region behaves, after the page states and protections of Windows.
enum class RegionState {
    Committed, // readable and writable
    ReadOnly,  // readable; writes are refused
    Reserved,  // address space taken but no memory behind it: reads and writes fail
    NoAccess,  // committed with PAGE_NOACCESS: reads and writes fail
};

struct SimulatedModule {
    std::string name; // szModule, GB2312, as the platform lists it (letter case kept)
    GameAddress base = 0;
    std::uint32_t size = 0;
    std::string exePath; // szExePath; empty gives the bare name
};

// One call of CreateToolhelp32Snapshot or OpenProcess, as the program made it.
struct SnapshotRequest {
    std::uint32_t flags = 0;
    ProcessId processId = 0;
};
struct OpenRequest {
    std::uint32_t access = 0;
    ProcessId processId = 0;
};

// One ReadProcessMemory or WriteProcessMemory call of the program.
struct ReadRecord {
    ProcessId processId = 0; // 0 when the handle was not a live process handle
    GameAddress address = 0;
    std::size_t size = 0;
    bool succeeded = false;
};
struct WriteRecord {
    ProcessId processId = 0; // 0 when the handle was not a live process handle
    GameAddress address = 0;
    std::vector<std::byte> bytes;
};

// A fake GameProcessPort: a list of running processes with their memory and modules, served
// with the semantics of the Win32 calls it stands for.
//
// Processes
//   addProcess(pid, exeName) appends to the process list; the snapshot lists processes in the
//   order they were added. exitProcess(pid) ends one: it leaves later snapshots, opening it
//   fails, and handles opened before fail every operation. exitAfterOpens(pid, n) lets n more
//   opens succeed and ends the process at the next one (a game that quits mid-sequence).
//
// Memory (per process)
//   addRegion(pid, base, size, state) declares a region [base, base + size). Regions must not
//   overlap; base + size may reach 2^32. A region may be far larger than the bytes stored in it
//   (a 512 MiB region is cheap): bytes never poked read as the region's fill byte, zero unless
//   given (a non-zero fill models a long stretch of memory without a terminator). Addresses between
//   regions are free memory: queryRegion reports the gap as a region (as VirtualQueryEx does for
//   free memory), and reads and writes there fail. Free addresses at or above userSpaceEnd()
//   (default 0x7FFF0000, set with setUserSpaceEnd) cannot be queried at all; declared regions
//   can be placed anywhere below 2^32.
//   A read or write succeeds only when every byte lies in regions that allow it; it may span
//   adjacent regions. poke*/peek* let tests set and inspect memory directly, ignoring region
//   states; they throw std::out_of_range outside declared regions.
//
// Modules
//   addModule(pid, module) appends to the process's module list (snapshot order). A module
//   snapshot (TH32CS_SNAPMODULE) of pid 0 stands for the tool's own process and lists nothing.
//   A module snapshot of a process that does not run fails.
//
// Records and counters
//   Every snapshot and open request is recorded with its flags/access mask. Opens, closes,
//   snapshots created and closed, reads, region queries and writes are counted; every write
//   the program makes is logged, and refused writes are logged apart. closeHandle on a handle
//   that is not open (twice, kNoHandle, a made-up value) is counted as a bad close.
//   allHandlesClosed() is true when no handle is open and no bad close happened.
//
// Failure injection
//   failSnapshots(true): CreateToolhelp32Snapshot fails. failProcessWalkAfter(n): the process
//   walk of a snapshot delivers n entries and then fails (n = 0: the first call fails); the
//   same for modules with failModuleWalkAfter(n). failOpens(true) / failOpen(pid): OpenProcess
//   fails (for every process / for one). failRegionQueries(true): VirtualQueryEx fails.
//
// Image file
//   setImageFileSize(pid, size) gives the size imageFileSize reports for a running process;
//   unset, or nullopt, it reports nullopt (no path, or no file behind it). A process that does
//   not run reports nullopt. Calls are counted.
//
// Entry records must carry their dwSize (PROCESS_ENTRY_SIZE / MODULE_ENTRY_SIZE or more), as
// the platform requires; with a smaller size the walk call fails.
class SimulatedGameProcess final : public GameProcessPort {
public:
    static constexpr GameAddress DEFAULT_USER_SPACE_END = 0x7FFF0000;

    // --- processes ---
    void addProcess(ProcessId pid, std::string exeName);
    void exitProcess(ProcessId pid);
    void exitAfterOpens(ProcessId pid, std::size_t opens);
    bool isRunning(ProcessId pid) const;

    // --- memory ---
    void addRegion(ProcessId pid, GameAddress base, std::uint32_t size,
                   RegionState state = RegionState::Committed, std::uint8_t fillByte = 0);
    void setUserSpaceEnd(GameAddress end) { userSpaceEnd_ = end; }
    GameAddress userSpaceEnd() const { return userSpaceEnd_; }

    void poke(ProcessId pid, GameAddress address, std::span<const std::byte> bytes);
    void poke(ProcessId pid, GameAddress address, std::string_view bytes);
    void pokeByte(ProcessId pid, GameAddress address, std::uint8_t value);
    void pokeInt32(ProcessId pid, GameAddress address, std::int32_t value); // little-endian
    void pokeFloat32(ProcessId pid, GameAddress address, float value);      // little-endian
    std::vector<std::byte> peek(ProcessId pid, GameAddress address, std::size_t size) const;
    std::string peekText(ProcessId pid, GameAddress address, std::size_t size) const;
    std::uint8_t peekByte(ProcessId pid, GameAddress address) const;
    std::int32_t peekInt32(ProcessId pid, GameAddress address) const;
    float peekFloat32(ProcessId pid, GameAddress address) const;

    // --- modules ---
    void addModule(ProcessId pid, SimulatedModule module);

    // --- image file ---
    void setImageFileSize(ProcessId pid, std::optional<std::uint64_t> size);

    // --- failure injection ---
    void failSnapshots(bool fail) { failSnapshots_ = fail; }
    void failProcessWalkAfter(std::optional<std::size_t> entries) { processWalkLimit_ = entries; }
    void failModuleWalkAfter(std::optional<std::size_t> entries) { moduleWalkLimit_ = entries; }
    void failOpens(bool fail) { failOpens_ = fail; }
    void failOpen(ProcessId pid) { failingOpens_.insert(pid); }
    void failRegionQueries(bool fail) { failRegionQueries_ = fail; }

    // --- records and counters ---
    const std::vector<SnapshotRequest>& snapshotRequests() const { return snapshotRequests_; }
    const std::vector<OpenRequest>& openRequests() const { return openRequests_; }
    const std::vector<ReadRecord>& reads() const { return reads_; }
    const std::vector<WriteRecord>& writes() const { return writes_; }
    const std::vector<WriteRecord>& failedWrites() const { return failedWrites_; }
    // The read log grows with every read; benchmarks that make millions of reads turn it off.
    void keepReadLog(bool keep) { keepReadLog_ = keep; }
    void clearRecords();

    std::size_t processOpens() const { return processOpens_; } // successful opens
    std::size_t processCloses() const { return processCloses_; }
    std::size_t snapshotsCreated() const { return snapshotsCreated_; }
    std::size_t snapshotsClosed() const { return snapshotsClosed_; }
    std::size_t readCalls() const { return readCalls_; }
    std::size_t regionQueries() const { return regionQueries_; }
    std::size_t writeCalls() const { return writeCalls_; }
    std::size_t badCloses() const { return badCloses_; }
    std::size_t imageFileSizeQueries() const { return imageFileSizeQueries_; }
    std::size_t openHandleCount() const { return handles_.size(); }
    bool allHandlesClosed() const { return handles_.empty() && badCloses_ == 0; }

    // --- GameProcessPort ---
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

private:
    static constexpr std::uint32_t PAGE_SIZE = 4096;

    struct Region {
        std::uint64_t base = 0;
        std::uint64_t end = 0; // one past the last byte; up to 2^32
        RegionState state = RegionState::Committed;
        std::byte fill{0};
    };
    struct Process {
        ProcessId pid = 0;
        std::string exeName;
        bool running = true;
        std::optional<std::size_t> opensBeforeExit;
        std::map<std::uint64_t, Region> regions;               // by base
        std::map<std::uint64_t, std::vector<std::byte>> pages; // stored bytes, by page base
        std::vector<SimulatedModule> modules;
        std::optional<std::uint64_t> imageFileSize;
    };
    struct Snapshot {
        std::vector<std::pair<ProcessId, std::string>> processes;
        std::vector<SimulatedModule> modules;
        ProcessId modulesOf = 0;
        std::size_t processCursor = 0;
        std::size_t moduleCursor = 0;
    };
    struct Handle {
        bool isSnapshot = false;
        ProcessId pid = 0;
        Snapshot snapshot;
    };

    Process* findProcess(ProcessId pid);
    const Process* findProcess(ProcessId pid) const;
    Process& requireProcess(ProcessId pid);
    const Process& requireProcess(ProcessId pid) const;
    Snapshot* findSnapshot(PortHandle handle);
    Process* liveProcessOf(PortHandle handle);
    static const Region* regionAt(const Process& process, std::uint64_t address);
    // True when [address, address + size) lies in declared regions whose state passes `allows`.
    template <typename Allows>
    static bool rangeAllows(const Process& process, GameAddress address, std::size_t size,
                            Allows allows);
    static void requireDeclared(const Process& process, GameAddress address, std::size_t size);
    static void fillFromRegions(const Process& process, std::uint64_t address,
                                std::span<std::byte> out);
    static void copyOut(const Process& process, GameAddress address, std::span<std::byte> out);
    static void copyIn(Process& process, GameAddress address, std::span<const std::byte> bytes);
    bool deliverProcess(Snapshot& snapshot, ProcessEntry& entry) const;
    bool deliverModule(Snapshot& snapshot, ModuleEntry& entry) const;

    std::vector<Process> processes_;
    std::map<PortHandle, Handle> handles_;
    PortHandle nextHandle_ = 0x100;
    GameAddress userSpaceEnd_ = DEFAULT_USER_SPACE_END;

    bool failSnapshots_ = false;
    std::optional<std::size_t> processWalkLimit_;
    std::optional<std::size_t> moduleWalkLimit_;
    bool failOpens_ = false;
    std::set<ProcessId> failingOpens_;
    bool failRegionQueries_ = false;

    std::vector<SnapshotRequest> snapshotRequests_;
    std::vector<OpenRequest> openRequests_;
    std::vector<ReadRecord> reads_;
    std::vector<WriteRecord> writes_;
    std::vector<WriteRecord> failedWrites_;
    bool keepReadLog_ = true;

    std::size_t processOpens_ = 0;
    std::size_t processCloses_ = 0;
    std::size_t snapshotsCreated_ = 0;
    std::size_t snapshotsClosed_ = 0;
    std::size_t readCalls_ = 0;
    std::size_t regionQueries_ = 0;
    std::size_t writeCalls_ = 0;
    std::size_t badCloses_ = 0;
    std::size_t imageFileSizeQueries_ = 0;
};

} // namespace pal4::testing
