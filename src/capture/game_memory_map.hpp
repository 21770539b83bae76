#pragma once

#include "core/app_state.hpp"
#include "core/game_address.hpp"
#include "gameproc/process_memory.hpp"
#include "ports/game_process_port.hpp"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace pal4 {

// The executable the tool attaches to.
inline constexpr std::string_view GAME_EXECUTABLE_NAME = "Pal4.exe";

// Where the game keeps what the tool reads and writes. The chains start at a fixed address in
// the game's main image:
//   inGameMarker  (float)  at [[[ROOT]+HUB]+WATCH]+MARKER
//   blankFlag     (byte)   at [[[ROOT]+HUB]+WATCH]+BLANK
//   overlaySwitch (32 bit) at [[[ROOT]+HUB]+SWITCH]+SWITCH_FIELD
// and the dialogue text at [base(GAME_MODULE_NAME)+TEXT_POINTER_OFFSET].
inline constexpr GameAddress ROOT_POINTER_ADDRESS = 0x008EB038;
inline constexpr GameAddress HUB_OFFSET = 0x1B4;
inline constexpr GameAddress WATCH_OFFSET = 0x34;
inline constexpr GameAddress SWITCH_OFFSET = 0x2C;
inline constexpr GameAddress MARKER_OFFSET = 0xF8;
inline constexpr GameAddress BLANK_OFFSET = 0x248;
inline constexpr GameAddress SWITCH_FIELD_OFFSET = 0x14C;

// The links from the root pointer to each object: at every step the pointer read is added to
// the next offset and read in turn.
inline constexpr std::array<GameAddress, 2> WATCH_CHAIN = {HUB_OFFSET, WATCH_OFFSET};
inline constexpr std::array<GameAddress, 2> SWITCH_CHAIN = {HUB_OFFSET, SWITCH_OFFSET};

inline constexpr std::string_view GAME_MODULE_NAME = "OIRAMLOOK.DLL";
inline constexpr GameAddress TEXT_POINTER_OFFSET = 0x1CA960;

// The marker must be strictly above this for a game to count as in progress.
inline constexpr double IN_GAME_THRESHOLD = 1e-07;

inline constexpr float OPEN_MARKER_VALUE = 4740.0f;             // bits 0x45942000
inline constexpr float RESTORE_MARKER_VALUE = 474.0f;           // bits 0x43ED0000
inline constexpr std::int32_t SWITCH_OPEN_VALUE = 0;            // the single 0.0
inline constexpr std::int32_t SWITCH_CLOSED_VALUE = 0x3F800000; // the single 1.0

// What a failed blank-flag read yields: the subtitle stays blank.
inline constexpr std::uint8_t BLANK_FLAG_FAIL_VALUE = 1;

// The one place that knows the inside of the game process. Every chain is resolved afresh from
// ROOT_POINTER_ADDRESS; a failed pointer read yields -1 and the next offset is added to it, so a
// broken chain ends at a small address whose access fails in turn.
class GameMemoryMap {
public:
    GameMemoryMap(AppState& state, GameProcessPort& port, ProcessMemory& memory)
        : state_(state), port_(port), memory_(memory) {}

    GameAddress resolveWatchObject(ProcessId pid);
    GameAddress resolveSwitchObject(ProcessId pid);

    // A game is in progress: its marker is a number above IN_GAME_THRESHOLD.
    bool isInGame(ProcessId pid);
    // The marker, only when every link of its chain and the marker itself were read; nullopt
    // when any of those reads failed. Lets a caller tell "cannot read the game" from "not in
    // game", which isInGame's flow-on walk cannot.
    std::optional<float> readInGameMarker(ProcessId pid);
    // The test isInGame applies to a marker it read.
    static bool markerMeansInGame(float marker);
    // Where the blank flag lies; not read.
    GameAddress blankFlagAddressOf(ProcessId pid);
    // Finds the game module and stores the text pointer found beside it in
    // AppState::textAddress; leaves it as it was when the module is not listed. True when the
    // module was listed, whether or not its text pointer could be read.
    bool locateTextAddress(ProcessId pid);

    void applyOverlayValues(ProcessId pid);
    void restoreGameValues(ProcessId pid);

    // The blank flag byte; BLANK_FLAG_FAIL_VALUE when unreadable. Non-zero blanks the subtitle.
    std::uint8_t readBlankFlag(ProcessId pid, GameAddress address);
    // The dialogue text at the address; empty when unreadable.
    std::string readDialogueText(ProcessId pid, GameAddress address);

private:
    // Where a chain ends, and whether every pointer on the way was read.
    struct ChainEnd {
        GameAddress address = 0;
        bool allLinksRead = false;
    };

    GameAddress readPointer(ProcessId pid, GameAddress address);
    ChainEnd followChain(ProcessId pid, std::span<const GameAddress> offsets);
    bool moduleEntryIsGameModule() const;

    AppState& state_;
    GameProcessPort& port_;
    ProcessMemory& memory_;
};

} // namespace pal4
