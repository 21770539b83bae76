#pragma once

#include "scenario_registry.hpp"
#include "simgame_client.hpp"

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

namespace e2e {

// The simulated game with its window at the screen's top-left corner, under where the tool's
// overlay opens, and (unless asked otherwise) a game in progress.
class GameSession {
public:
    struct Setup {
        bool inGame = true;
        bool lowerCaseModule = false;
        bool renamedModule = false; // no OIRAMLOOK.DLL among its modules
        bool bright = false;        // the snowfield scene
    };
    GameSession(const DriverContext& context, Setup setup);

    pal4sim::SimGame& game() { return *game_; }
    DWORD processId() const { return game_->processId(); }
    HWND window() const { return window_; }

    pal4sim::SimGameReport report();
    void setText(const std::string& gb2312);
    void setBlankFlag(std::uint8_t value);
    void setMarker(float value);
    // Points the root pointer at nothing: every chain from it breaks at its first link.
    void breakChain();
    // Ends the game as a crash would: TerminateProcess, no goodbye.
    void kill();

private:
    std::unique_ptr<pal4sim::SimGame> game_;
    HWND window_ = nullptr;
};

inline constexpr std::uint32_t OPEN_MARKER_BITS = 0x45942000;    // 4740.0f
inline constexpr std::uint32_t RESTORE_MARKER_BITS = 0x43ED0000; // 474.0f
inline constexpr std::uint32_t SWITCH_OPEN_BITS = 0;             // 0.0f
inline constexpr std::uint32_t SWITCH_CLOSED_BITS = 0x3F800000;  // 1.0f

} // namespace e2e
