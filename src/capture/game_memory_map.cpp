#include "capture/game_memory_map.hpp"

#include "core/ascii_case.hpp"

#include <algorithm>
#include <cstddef>

namespace pal4 {

namespace {

// The game holds the marker as a single. The single nearest to IN_GAME_THRESHOLD lies just
// above the double constant; comparing against that single makes a marker that holds the
// threshold itself count as not above it.
const double kThresholdAsStored = static_cast<double>(static_cast<float>(IN_GAME_THRESHOLD));

} // namespace

GameAddress GameMemoryMap::readPointer(ProcessId pid, GameAddress address) {
    // The read is signed; taken as 32 unsigned bits, a failed read (-1) plus an offset wraps to
    // offset - 1, and a pointer at or above 0x80000000 stays the address it is.
    return static_cast<GameAddress>(memory_.readInt32(pid, address));
}

GameAddress GameMemoryMap::resolveWatchObject(ProcessId pid) {
    const GameAddress gameRoot = readPointer(pid, ROOT_POINTER_ADDRESS);
    const GameAddress hubObject = readPointer(pid, gameRoot + HUB_OFFSET);
    return readPointer(pid, hubObject + WATCH_OFFSET);
}

GameAddress GameMemoryMap::resolveSwitchObject(ProcessId pid) {
    const GameAddress gameRoot = readPointer(pid, ROOT_POINTER_ADDRESS);
    const GameAddress hubObject = readPointer(pid, gameRoot + HUB_OFFSET);
    return readPointer(pid, hubObject + SWITCH_OFFSET);
}

bool GameMemoryMap::isInGame(ProcessId pid) {
    const float marker = memory_.readFloat32(pid, resolveWatchObject(pid) + MARKER_OFFSET, -1.0f);
    // NaN compares false, as do zero, negatives and a failed read.
    return static_cast<double>(marker) > kThresholdAsStored;
}

GameAddress GameMemoryMap::blankFlagAddressOf(ProcessId pid) {
    return resolveWatchObject(pid) + BLANK_OFFSET;
}

bool GameMemoryMap::moduleEntryIsGameModule() const {
    const auto& name = state_.moduleEntry.moduleName;
    const auto end = std::find(name.begin(), name.end(), '\0');
    const auto length = static_cast<std::size_t>(end - name.begin());
    return equalsIgnoringAsciiCase(std::string_view(name.data(), length), GAME_MODULE_NAME);
}

void GameMemoryMap::locateTextAddress(ProcessId pid) {
    state_.moduleSnapshot = port_.createSnapshot(TH32CS_SNAPMODULE_FLAG, pid);
    if (state_.moduleSnapshot == kNoHandle) {
        state_.moduleWalkOk = 0;
        return; // no list to walk and no handle to close; textAddress stays as it was
    }
    state_.moduleEntry.size = MODULE_ENTRY_SIZE;
    state_.moduleWalkOk = port_.firstModule(state_.moduleSnapshot, state_.moduleEntry) ? 1 : 0;
    while (state_.moduleWalkOk != 0) {
        if (moduleEntryIsGameModule()) {
            state_.textAddress =
                readPointer(pid, state_.moduleEntry.baseAddress + TEXT_POINTER_OFFSET);
            break;
        }
        state_.moduleWalkOk = port_.nextModule(state_.moduleSnapshot, state_.moduleEntry) ? 1 : 0;
    }
    port_.closeHandle(state_.moduleSnapshot);
    state_.moduleSnapshot = kNoHandle;
}

void GameMemoryMap::applyOverlayValues(ProcessId pid) {
    memory_.writeFloat32(pid, resolveWatchObject(pid) + MARKER_OFFSET, OPEN_MARKER_VALUE);
    memory_.writeInt32(pid, resolveSwitchObject(pid) + SWITCH_FIELD_OFFSET, SWITCH_OPEN_VALUE);
}

void GameMemoryMap::restoreGameValues(ProcessId pid) {
    memory_.writeFloat32(pid, resolveWatchObject(pid) + MARKER_OFFSET, RESTORE_MARKER_VALUE);
    memory_.writeInt32(pid, resolveSwitchObject(pid) + SWITCH_FIELD_OFFSET, SWITCH_CLOSED_VALUE);
}

std::uint8_t GameMemoryMap::readBlankFlag(ProcessId pid, GameAddress address) {
    return memory_.readByte(pid, address, BLANK_FLAG_FAIL_VALUE);
}

std::string GameMemoryMap::readDialogueText(ProcessId pid, GameAddress address) {
    return memory_.readText(pid, address);
}

} // namespace pal4
