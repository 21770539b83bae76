#include "capture/subtitle_poller.hpp"

#include "dialogue/clean_dialogue_text.hpp"

namespace pal4 {

void SubtitlePoller::pollTick() {
    outputs_.onTick();
    if (game_.readBlankFlag(state_.gamePid, state_.blankFlagAddress) != 0) {
        backlog_.showGameText("");
        outputs_.onSubtitleBlanked();
        // Forgetting the line makes it show again as soon as the flag clears.
        state_.lastText.clear();
        return;
    }
    state_.currentText = game_.readDialogueText(state_.gamePid, state_.textAddress);
    if (state_.currentText == state_.lastText) {
        return;
    }
    state_.lastText = state_.currentText;
    if (auto subtitle = cleanDialogueText(state_.lastText)) {
        state_.subtitleText = std::move(*subtitle);
        backlog_.showGameText(state_.subtitleText);
    }
    outputs_.onDialogueLine(state_.lastText);
    // The raw line, and under it the notice of a file that refuses while it refuses.
    panel_.setEditText(outputs_.editBoxText(state_.lastText));
}

} // namespace pal4
