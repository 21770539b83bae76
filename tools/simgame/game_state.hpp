#pragma once

#include "text_region.hpp"

#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>

namespace pal4sim {

// What the game shows to whoever looks at its memory, as raw 32-bit values.
struct GameReport {
    std::uint32_t markerBits = 0;
    std::uint32_t switchBits = 0;
    std::uint8_t blankFlag = 0;
    std::uint32_t textPointer = 0; // the value in the module's text pointer slot
    std::uint32_t textRegionAddress = 0;
    std::uint32_t textRegionSize = 0;
};

// What the scene draws.
struct GameView {
    float marker = 0.0f;
    float switchValue = 0.0f;
    std::uint8_t blankFlag = 0;
    std::string text;
};

// The game's side of the memory the tool reads: the chain's values in the image, the text
// pointer slot in the dialogue module and the text region. The game's own threads (scene and
// control channel) go through here; the tool reads and writes the same bytes from outside.
class GameState {
public:
    GameState(TextRegion& region, std::uint32_t* textPointerSlot);

    // The values of a game just started, on its title screen.
    void reset();

    void setMarker(float value);
    void setBlankFlag(std::uint8_t value);
    // Returns the number of text bytes stored (see TextRegion::write).
    std::uint32_t setText(std::string_view text);
    void setTextPointer(std::uint32_t address);
    // What the root pointer holds; reset() puts the game's own chain back.
    void setRootPointer(std::uint32_t address);

    GameReport report() const;
    GameView view() const;

private:
    mutable std::mutex mutex_;
    TextRegion& region_;
    std::uint32_t* textPointerSlot_;
};

} // namespace pal4sim
