#pragma once

#include "core/app_state.hpp"
#include "dialogue/dialogue_listener.hpp"
#include "ports/clock_port.hpp"
#include "ports/overlay_port.hpp"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>

namespace pal4 {

// How many of this run's lines the player can step back through.
inline constexpr std::size_t BACKLOG_LINES = 100;
// A kept line is cut here, at a character's end: a screen shows far less, and a game that
// never ends its text cannot make the backlog hold 100 copies of its whole text region.
inline constexpr std::size_t BACKLOG_LINE_BYTES = 4096;
// This long after the last step the game's line is back by itself.
inline constexpr std::uint64_t BACKLOG_STEP_TIMEOUT_MS = 10000;

// The subtitle's backlog: the last lines of this run, each as "speaker：text" (GB2312), and
// the player's stepping through them on the overlay. It owns what the label shows: the game's
// line, or while the player steps, an earlier line with its speaker and "（前N句）" after it,
// N being how many lines it lies behind the one the game shows (or, while the game blanks
// its line, behind nothing: the newest line is then 前1句).
//
// Only the overlay's label steps: the story log, the live line, the clipboard and the web
// feeds follow the game through DialogueOutputs, which tells this class of each new line as
// it tells them.
class DialogueBacklog final : public DialogueListener {
public:
    DialogueBacklog(const AppState& state, OverlayPort& overlay, const ClockPort& clock)
        : state_(state), overlay_(overlay), clock_(clock) {}

    // What the game's line puts on the subtitle now, "" while the game blanks it: drawn at
    // once, unless the player is stepping.
    void showGameText(const std::string& subtitle);
    // The line before the one on screen; at the oldest kept line, nothing moves.
    void stepBack();
    // The next newer line; past the newest, the game's line.
    void stepForward();
    // Every poll tick.
    void onTick();
    // The stepping ends with the overlay; the next one starts from the game's line.
    void onOverlayClosed();

    // DialogueListener: a new line is kept, and ends any stepping at once.
    void onNewLine(std::string_view line) override;
    void onShownSubtitle(std::string_view) override {}

private:
    // Lines not to step onto at the newest end: the one the game shows, if it shows one.
    std::size_t linesOnScreen() const { return gameText_.empty() ? 0 : 1; }
    void showStep();
    void backToGame();

    const AppState& state_;
    OverlayPort& overlay_;
    const ClockPort& clock_;
    std::deque<std::string> lines_; // oldest first
    std::string gameText_;
    std::optional<std::size_t> step_; // the index in lines_ shown now, while stepping
    std::uint64_t lastStepMs_ = 0;
};

} // namespace pal4
