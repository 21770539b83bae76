#include "fakes/simulated_game_process.hpp"

#include <algorithm>
#include <bit>
#include <cstring>
#include <stdexcept>

namespace pal4::testing {

namespace {

constexpr std::uint64_t ADDRESS_SPACE_END = std::uint64_t{1} << 32;

template <std::size_t N> void copyName(std::array<char, N>& field, std::string_view name) {
    field.fill('\0');
    const std::size_t length = std::min(name.size(), N - 1);
    std::memcpy(field.data(), name.data(), length);
}

std::array<std::byte, 4> littleEndian(std::uint32_t value) {
    return {std::byte(value & 0xFFu), std::byte((value >> 8) & 0xFFu),
            std::byte((value >> 16) & 0xFFu), std::byte((value >> 24) & 0xFFu)};
}

std::uint32_t fromLittleEndian(std::span<const std::byte> bytes) {
    return std::to_integer<std::uint32_t>(bytes[0]) |
           (std::to_integer<std::uint32_t>(bytes[1]) << 8) |
           (std::to_integer<std::uint32_t>(bytes[2]) << 16) |
           (std::to_integer<std::uint32_t>(bytes[3]) << 24);
}

} // namespace

// --- processes ---

void SimulatedGameProcess::addProcess(ProcessId pid, std::string exeName) {
    if (findProcess(pid) != nullptr) {
        throw std::invalid_argument("simulated process id already in use");
    }
    Process process;
    process.pid = pid;
    process.exeName = std::move(exeName);
    processes_.push_back(std::move(process));
}

void SimulatedGameProcess::exitProcess(ProcessId pid) {
    requireProcess(pid).running = false;
}

void SimulatedGameProcess::exitAfterOpens(ProcessId pid, std::size_t opens) {
    requireProcess(pid).opensBeforeExit = opens;
}

bool SimulatedGameProcess::isRunning(ProcessId pid) const {
    const Process* process = findProcess(pid);
    return process != nullptr && process->running;
}

SimulatedGameProcess::Process* SimulatedGameProcess::findProcess(ProcessId pid) {
    for (Process& process : processes_) {
        if (process.pid == pid) {
            return &process;
        }
    }
    return nullptr;
}

const SimulatedGameProcess::Process* SimulatedGameProcess::findProcess(ProcessId pid) const {
    for (const Process& process : processes_) {
        if (process.pid == pid) {
            return &process;
        }
    }
    return nullptr;
}

SimulatedGameProcess::Process& SimulatedGameProcess::requireProcess(ProcessId pid) {
    Process* process = findProcess(pid);
    if (process == nullptr) {
        throw std::out_of_range("no simulated process with this id");
    }
    return *process;
}

const SimulatedGameProcess::Process& SimulatedGameProcess::requireProcess(ProcessId pid) const {
    const Process* process = findProcess(pid);
    if (process == nullptr) {
        throw std::out_of_range("no simulated process with this id");
    }
    return *process;
}

// --- memory ---

void SimulatedGameProcess::addRegion(ProcessId pid, GameAddress base, std::uint32_t size,
                                     RegionState state, std::uint8_t fillByte) {
    Process& process = requireProcess(pid);
    const std::uint64_t start = base;
    const std::uint64_t end = start + size;
    if (size == 0) {
        throw std::invalid_argument("a simulated region needs at least one byte");
    }
    auto next = process.regions.lower_bound(start);
    if (next != process.regions.end() && next->second.base < end) {
        throw std::invalid_argument("simulated regions overlap");
    }
    if (next != process.regions.begin() && std::prev(next)->second.end > start) {
        throw std::invalid_argument("simulated regions overlap");
    }
    process.regions.emplace(start, Region{start, end, state, std::byte{fillByte}});
}

const SimulatedGameProcess::Region* SimulatedGameProcess::regionAt(const Process& process,
                                                                   std::uint64_t address) {
    auto after = process.regions.upper_bound(address);
    if (after == process.regions.begin()) {
        return nullptr;
    }
    const Region& region = std::prev(after)->second;
    return address < region.end ? &region : nullptr;
}

template <typename Allows>
bool SimulatedGameProcess::rangeAllows(const Process& process, GameAddress address,
                                       std::size_t size, Allows allows) {
    std::uint64_t cursor = address;
    const std::uint64_t end = cursor + size;
    if (end > ADDRESS_SPACE_END) {
        return false;
    }
    while (cursor < end) {
        const Region* region = regionAt(process, cursor);
        if (region == nullptr || !allows(region->state)) {
            return false;
        }
        cursor = region->end;
    }
    return true;
}

void SimulatedGameProcess::requireDeclared(const Process& process, GameAddress address,
                                           std::size_t size) {
    if (!rangeAllows(process, address, size, [](RegionState) { return true; })) {
        throw std::out_of_range("simulated memory access outside the declared regions");
    }
}

void SimulatedGameProcess::fillFromRegions(const Process& process, std::uint64_t address,
                                           std::span<std::byte> out) {
    std::uint64_t cursor = address;
    const std::uint64_t end = address + out.size();
    while (cursor < end) {
        const Region* region = regionAt(process, cursor);
        auto next = process.regions.upper_bound(cursor);
        const std::uint64_t stop = std::min(
            end, region != nullptr ? region->end
                                   : (next != process.regions.end() ? next->second.base : end));
        std::fill(out.begin() + static_cast<std::ptrdiff_t>(cursor - address),
                  out.begin() + static_cast<std::ptrdiff_t>(stop - address),
                  region != nullptr ? region->fill : std::byte{0});
        cursor = stop;
    }
}

void SimulatedGameProcess::copyOut(const Process& process, GameAddress address,
                                   std::span<std::byte> out) {
    fillFromRegions(process, address, out);
    const std::uint64_t start = address;
    const std::uint64_t end = start + out.size();
    auto page = process.pages.upper_bound(start);
    if (page != process.pages.begin()) {
        --page;
    }
    for (; page != process.pages.end() && page->first < end; ++page) {
        const std::uint64_t pageEnd = page->first + PAGE_SIZE;
        const std::uint64_t from = std::max(start, page->first);
        const std::uint64_t to = std::min(end, pageEnd);
        if (from >= to) {
            continue;
        }
        std::memcpy(out.data() + (from - start), page->second.data() + (from - page->first),
                    static_cast<std::size_t>(to - from));
    }
}

void SimulatedGameProcess::copyIn(Process& process, GameAddress address,
                                  std::span<const std::byte> bytes) {
    std::uint64_t cursor = address;
    std::size_t done = 0;
    while (done < bytes.size()) {
        const std::uint64_t pageBase = cursor - cursor % PAGE_SIZE;
        std::vector<std::byte>& page = process.pages[pageBase];
        if (page.empty()) {
            page.resize(PAGE_SIZE);
            fillFromRegions(process, pageBase, page);
        }
        const std::size_t offset = static_cast<std::size_t>(cursor - pageBase);
        const std::size_t count = std::min<std::size_t>(PAGE_SIZE - offset, bytes.size() - done);
        std::memcpy(page.data() + offset, bytes.data() + done, count);
        done += count;
        cursor += count;
    }
}

void SimulatedGameProcess::poke(ProcessId pid, GameAddress address,
                                std::span<const std::byte> bytes) {
    Process& process = requireProcess(pid);
    requireDeclared(process, address, bytes.size());
    copyIn(process, address, bytes);
}

void SimulatedGameProcess::poke(ProcessId pid, GameAddress address, std::string_view bytes) {
    poke(pid, address, std::as_bytes(std::span(bytes.data(), bytes.size())));
}

void SimulatedGameProcess::pokeByte(ProcessId pid, GameAddress address, std::uint8_t value) {
    const std::byte byte{value};
    poke(pid, address, std::span(&byte, 1));
}

void SimulatedGameProcess::pokeInt32(ProcessId pid, GameAddress address, std::int32_t value) {
    poke(pid, address, littleEndian(static_cast<std::uint32_t>(value)));
}

void SimulatedGameProcess::pokeFloat32(ProcessId pid, GameAddress address, float value) {
    poke(pid, address, littleEndian(std::bit_cast<std::uint32_t>(value)));
}

std::vector<std::byte> SimulatedGameProcess::peek(ProcessId pid, GameAddress address,
                                                  std::size_t size) const {
    const Process& process = requireProcess(pid);
    requireDeclared(process, address, size);
    std::vector<std::byte> bytes(size);
    copyOut(process, address, bytes);
    return bytes;
}

std::string SimulatedGameProcess::peekText(ProcessId pid, GameAddress address,
                                           std::size_t size) const {
    const std::vector<std::byte> bytes = peek(pid, address, size);
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

std::uint8_t SimulatedGameProcess::peekByte(ProcessId pid, GameAddress address) const {
    return std::to_integer<std::uint8_t>(peek(pid, address, 1)[0]);
}

std::int32_t SimulatedGameProcess::peekInt32(ProcessId pid, GameAddress address) const {
    return static_cast<std::int32_t>(fromLittleEndian(peek(pid, address, 4)));
}

float SimulatedGameProcess::peekFloat32(ProcessId pid, GameAddress address) const {
    return std::bit_cast<float>(fromLittleEndian(peek(pid, address, 4)));
}

// --- modules ---

void SimulatedGameProcess::addModule(ProcessId pid, SimulatedModule module) {
    requireProcess(pid).modules.push_back(std::move(module));
}

// --- image file ---

void SimulatedGameProcess::setImageFileSize(ProcessId pid, std::optional<std::uint64_t> size) {
    requireProcess(pid).imageFileSize = size;
}

// --- records ---

void SimulatedGameProcess::clearRecords() {
    snapshotRequests_.clear();
    openRequests_.clear();
    reads_.clear();
    writes_.clear();
    failedWrites_.clear();
}

// --- GameProcessPort ---

PortHandle SimulatedGameProcess::createSnapshot(std::uint32_t flags, ProcessId processId) {
    snapshotRequests_.push_back({flags, processId});
    if (failSnapshots_) {
        return kNoHandle;
    }
    Handle handle;
    handle.isSnapshot = true;
    if ((flags & TH32CS_SNAPPROCESS_FLAG) != 0) {
        for (const Process& process : processes_) {
            if (process.running) {
                handle.snapshot.processes.emplace_back(process.pid, process.exeName);
            }
        }
    }
    if ((flags & TH32CS_SNAPMODULE_FLAG) != 0 && processId != 0) {
        const Process* process = findProcess(processId);
        if (process == nullptr || !process->running) {
            return kNoHandle;
        }
        handle.snapshot.modules = process->modules;
        handle.snapshot.modulesOf = processId;
    }
    const PortHandle id = nextHandle_;
    nextHandle_ += 4;
    handles_.emplace(id, std::move(handle));
    ++snapshotsCreated_;
    return id;
}

SimulatedGameProcess::Snapshot* SimulatedGameProcess::findSnapshot(PortHandle handle) {
    auto found = handles_.find(handle);
    if (found == handles_.end() || !found->second.isSnapshot) {
        return nullptr;
    }
    return &found->second.snapshot;
}

bool SimulatedGameProcess::deliverProcess(Snapshot& snapshot, ProcessEntry& entry) const {
    if (entry.size < PROCESS_ENTRY_SIZE) {
        return false;
    }
    if (processWalkLimit_ && snapshot.processCursor >= *processWalkLimit_) {
        return false;
    }
    if (snapshot.processCursor >= snapshot.processes.size()) {
        return false;
    }
    const auto& [pid, exeName] = snapshot.processes[snapshot.processCursor++];
    entry.processId = pid;
    copyName(entry.exeFile, exeName);
    return true;
}

bool SimulatedGameProcess::firstProcess(PortHandle snapshot, ProcessEntry& entry) {
    Snapshot* found = findSnapshot(snapshot);
    if (found == nullptr) {
        return false;
    }
    found->processCursor = 0;
    return deliverProcess(*found, entry);
}

bool SimulatedGameProcess::nextProcess(PortHandle snapshot, ProcessEntry& entry) {
    Snapshot* found = findSnapshot(snapshot);
    return found != nullptr && deliverProcess(*found, entry);
}

bool SimulatedGameProcess::deliverModule(Snapshot& snapshot, ModuleEntry& entry) const {
    if (entry.size < MODULE_ENTRY_SIZE) {
        return false;
    }
    if (moduleWalkLimit_ && snapshot.moduleCursor >= *moduleWalkLimit_) {
        return false;
    }
    if (snapshot.moduleCursor >= snapshot.modules.size()) {
        return false;
    }
    const SimulatedModule& module = snapshot.modules[snapshot.moduleCursor++];
    entry.moduleId = 1;
    entry.processId = snapshot.modulesOf;
    entry.globalUsage = 0xFFFF;
    entry.processUsage = 0xFFFF;
    entry.baseAddress = module.base;
    entry.baseSize = module.size;
    entry.moduleHandle = module.base;
    copyName(entry.moduleName, module.name);
    copyName(entry.exePath, module.exePath.empty() ? module.name : module.exePath);
    return true;
}

bool SimulatedGameProcess::firstModule(PortHandle snapshot, ModuleEntry& entry) {
    Snapshot* found = findSnapshot(snapshot);
    if (found == nullptr) {
        return false;
    }
    found->moduleCursor = 0;
    return deliverModule(*found, entry);
}

bool SimulatedGameProcess::nextModule(PortHandle snapshot, ModuleEntry& entry) {
    Snapshot* found = findSnapshot(snapshot);
    return found != nullptr && deliverModule(*found, entry);
}

PortHandle SimulatedGameProcess::openProcess(std::uint32_t access, ProcessId processId) {
    openRequests_.push_back({access, processId});
    Process* process = findProcess(processId);
    if (failOpens_ || failingOpens_.contains(processId) || process == nullptr ||
        !process->running) {
        return kNoHandle;
    }
    if (process->opensBeforeExit) {
        if (*process->opensBeforeExit == 0) {
            process->running = false;
            process->opensBeforeExit.reset();
            return kNoHandle;
        }
        --*process->opensBeforeExit;
    }
    Handle handle;
    handle.pid = processId;
    const PortHandle id = nextHandle_;
    nextHandle_ += 4;
    handles_.emplace(id, std::move(handle));
    ++processOpens_;
    return id;
}

SimulatedGameProcess::Process* SimulatedGameProcess::liveProcessOf(PortHandle handle) {
    auto found = handles_.find(handle);
    if (found == handles_.end() || found->second.isSnapshot) {
        return nullptr;
    }
    Process* process = findProcess(found->second.pid);
    return process != nullptr && process->running ? process : nullptr;
}

bool SimulatedGameProcess::readMemory(PortHandle process, GameAddress address,
                                      std::span<std::byte> buffer) {
    ++readCalls_;
    Process* target = liveProcessOf(process);
    const bool readable =
        target != nullptr && rangeAllows(*target, address, buffer.size(), [](RegionState state) {
            return state == RegionState::Committed || state == RegionState::ReadOnly;
        });
    if (readable) {
        copyOut(*target, address, buffer);
    }
    if (keepReadLog_) {
        reads_.push_back({target != nullptr ? target->pid : 0, address, buffer.size(), readable});
    }
    return readable;
}

bool SimulatedGameProcess::writeMemory(PortHandle process, GameAddress address,
                                       std::span<const std::byte> bytes) {
    ++writeCalls_;
    Process* target = liveProcessOf(process);
    const bool writable =
        target != nullptr && rangeAllows(*target, address, bytes.size(), [](RegionState state) {
            return state == RegionState::Committed;
        });
    WriteRecord record{target != nullptr ? target->pid : 0, address,
                       std::vector<std::byte>(bytes.begin(), bytes.end())};
    if (writable) {
        copyIn(*target, address, bytes);
        writes_.push_back(std::move(record));
    } else {
        failedWrites_.push_back(std::move(record));
    }
    return writable;
}

bool SimulatedGameProcess::queryRegion(PortHandle process, GameAddress address,
                                       RegionInfo& region) {
    ++regionQueries_;
    Process* target = liveProcessOf(process);
    if (target == nullptr || failRegionQueries_) {
        return false;
    }
    if (const Region* declared = regionAt(*target, address)) {
        region.baseAddress = static_cast<GameAddress>(declared->base);
        region.regionSize = static_cast<std::uint32_t>(declared->end - declared->base);
        return true;
    }
    if (address >= userSpaceEnd_) {
        return false;
    }
    // Free memory: the gap between the declared regions around the address.
    std::uint64_t gapStart = 0;
    std::uint64_t gapEnd = userSpaceEnd_;
    auto after = target->regions.upper_bound(address);
    if (after != target->regions.end()) {
        gapEnd = std::min<std::uint64_t>(gapEnd, after->second.base);
    }
    if (after != target->regions.begin()) {
        gapStart = std::prev(after)->second.end;
    }
    region.baseAddress = static_cast<GameAddress>(gapStart);
    region.regionSize = static_cast<std::uint32_t>(gapEnd - gapStart);
    return true;
}

std::optional<std::uint64_t> SimulatedGameProcess::imageFileSize(ProcessId processId) {
    ++imageFileSizeQueries_;
    const Process* process = findProcess(processId);
    if (process == nullptr || !process->running) {
        return std::nullopt;
    }
    return process->imageFileSize;
}

void SimulatedGameProcess::closeHandle(PortHandle handle) {
    auto found = handles_.find(handle);
    if (found == handles_.end()) {
        ++badCloses_;
        return;
    }
    if (found->second.isSnapshot) {
        ++snapshotsClosed_;
    } else {
        ++processCloses_;
    }
    handles_.erase(found);
}

} // namespace pal4::testing
