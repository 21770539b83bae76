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

GameMemoryMap::ChainEnd GameMemoryMap::followChain(ProcessId pid,
                                                   std::span<const GameAddress> offsets) {
    // A failed link still yields -1 and the walk goes on, so the reads made are the same
    // whether or not the caller cares about failures.
    ChainEnd end{.address = 0, .allLinksRead = true};
    const auto follow = [&](GameAddress address) {
        const std::optional<std::int32_t> pointer = memory_.tryReadInt32(pid, address);
        end.allLinksRead = end.allLinksRead && pointer.has_value();
        // The read is signed; see readPointer.
        end.address = static_cast<GameAddress>(pointer.value_or(-1));
    };
    follow(ROOT_POINTER_ADDRESS);
    for (const GameAddress offset : offsets) {
        follow(end.address + offset);
    }
    return end;
}

GameAddress GameMemoryMap::resolveWatchObject(ProcessId pid) {
    return followChain(pid, WATCH_CHAIN).address;
}

GameAddress GameMemoryMap::resolveSwitchObject(ProcessId pid) {
    return followChain(pid, SWITCH_CHAIN).address;
}

bool GameMemoryMap::markerMeansInGame(float marker) {
    // NaN compares false, as do zero, negatives and a failed read.
    return static_cast<double>(marker) > kThresholdAsStored;
}

bool GameMemoryMap::isInGame(ProcessId pid) {
    return markerMeansInGame(
        memory_.readFloat32(pid, resolveWatchObject(pid) + MARKER_OFFSET, -1.0f));
}

std::optional<float> GameMemoryMap::readInGameMarker(ProcessId pid) {
    const ChainEnd watch = followChain(pid, WATCH_CHAIN);
    if (!watch.allLinksRead) {
        return std::nullopt;
    }
    return memory_.tryReadFloat32(pid, watch.address + MARKER_OFFSET);
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

bool GameMemoryMap::locateTextAddress(ProcessId pid) {
    state_.moduleSnapshot = port_.createSnapshot(TH32CS_SNAPMODULE_FLAG, pid);
    if (state_.moduleSnapshot == kNoHandle) {
        state_.moduleWalkOk = 0;
        return false; // no list to walk and no handle to close; textAddress stays as it was
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
    // The walk stops on the game module with moduleWalkOk still set, and only there.
    return state_.moduleWalkOk != 0;
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
