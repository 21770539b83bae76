#pragma once

#include "capture/diagnosis_texts.hpp"
#include "capture/game_memory_map.hpp"
#include "gameproc/process_memory.hpp"
#include "ports/game_process_port.hpp"

#include <cstdint>
#include <optional>
#include <string>

namespace pal4 {

// Why the toggle refused to open the overlay, from the first check that fails.
enum class RefusalReason {
    GameNotRunning,     // no process named Pal4.exe
    AccessDenied,       // it runs but does not open with the access reads and writes need
    GameDataUnreadable, // it opens, but the chain to the in-game marker cannot be read
    NotInGame,          // the marker reads but is not above the threshold
};

struct RefusalDiagnosis {
    RefusalReason reason = RefusalReason::GameNotRunning;
    // The size of the running Pal4.exe's file; looked up only for GameDataUnreadable, where
    // another build of the game is the likely cause.
    std::optional<std::uint64_t> gameFileSize;
};

// Finds out, after the toggle has refused, which of the reasons applies. It looks the game up
// afresh and repeats the toggle's checks one by one through the memory primitives, so every
// handle it opens is closed again; it writes nothing and changes no shared state.
class RefusalDiagnoser {
public:
    RefusalDiagnoser(GameProcessPort& processes, ProcessMemory& memory, GameMemoryMap& game)
        : processes_(processes), memory_(memory), game_(game) {}

    // nullopt when every check passes: the game was entered between the refusal and now.
    std::optional<RefusalDiagnosis> diagnose();

private:
    GameProcessPort& processes_;
    ProcessMemory& memory_;
    GameMemoryMap& game_;
};

// The edit box's line for a diagnosis.
std::string refusalReasonText(const RefusalDiagnosis& diagnosis);

} // namespace pal4
