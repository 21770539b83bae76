#include "script_player.hpp"

#include "game_layout.hpp"

namespace pal4sim {

void ScriptPlayer::advanceTo(std::uint64_t elapsedMs) {
    const ScriptMoment moment = scriptMomentAt(elapsedMs, timing_);
    if (moment.onTitle) {
        return;
    }
    if (!playing_) {
        playing_ = true;
        game_.setMarker(PLAYING_MARKER);
    }
    if (step_ == moment.stepIndex) {
        return;
    }
    step_ = moment.stepIndex;
    const ScriptStep& step = dialogueScript()[moment.stepIndex];
    if (step.sceneBreak) {
        game_.setBlankFlag(1);
        return;
    }
    game_.setText(step.text);
    game_.setBlankFlag(0);
}

} // namespace pal4sim
