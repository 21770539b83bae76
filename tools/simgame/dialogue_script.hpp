#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace pal4sim {

// One step of the game's dialogue: a line shown in the dialogue box, or the pause between two
// scenes, during which the game sets its blank flag.
struct ScriptStep {
    bool sceneBreak = false;
    std::string_view text; // GB2312, as the game stores it
};

struct ScriptTiming {
    std::uint32_t titleMs = 1500; // the title screen before a game is in progress
    std::uint32_t lineMs = 2500;  // each line
    std::uint32_t breakMs = 1500; // each pause between scenes
};

// Where the script stands at a moment of the game's run; it loops after its last step.
struct ScriptMoment {
    bool onTitle = true;
    std::size_t stepIndex = 0;
};

std::span<const ScriptStep> dialogueScript();
ScriptMoment scriptMomentAt(std::uint64_t elapsedMs, const ScriptTiming& timing);

} // namespace pal4sim
