#include "game_state.hpp"

#include "game_image.hpp"
#include "game_layout.hpp"

#include <bit>

namespace pal4sim {

GameState::GameState(TextRegion& region, std::uint32_t* textPointerSlot)
    : region_(region), textPointerSlot_(textPointerSlot) {}

void GameState::reset() {
    const std::lock_guard lock(mutex_);
    GameImage::buildChain();
    GameImage::store32(MARKER_ADDRESS, std::bit_cast<std::uint32_t>(TITLE_MARKER));
    GameImage::storeByte(BLANK_FLAG_ADDRESS, 0);
    GameImage::store32(SWITCH_FIELD_ADDRESS, INITIAL_SWITCH_BITS);
    region_.write("");
    *textPointerSlot_ = region_.address();
}

void GameState::setMarker(float value) {
    const std::lock_guard lock(mutex_);
    GameImage::store32(MARKER_ADDRESS, std::bit_cast<std::uint32_t>(value));
}

void GameState::setBlankFlag(std::uint8_t value) {
    const std::lock_guard lock(mutex_);
    GameImage::storeByte(BLANK_FLAG_ADDRESS, value);
}

std::uint32_t GameState::setText(std::string_view text) {
    const std::lock_guard lock(mutex_);
    return region_.write(text);
}

void GameState::setRootPointer(std::uint32_t address) {
    const std::lock_guard lock(mutex_);
    GameImage::store32(ROOT_POINTER_ADDRESS, address);
}

void GameState::setTextPointer(std::uint32_t address) {
    const std::lock_guard lock(mutex_);
    *textPointerSlot_ = address;
}

GameReport GameState::report() const {
    const std::lock_guard lock(mutex_);
    GameReport report;
    report.markerBits = GameImage::load32(MARKER_ADDRESS);
    report.switchBits = GameImage::load32(SWITCH_FIELD_ADDRESS);
    report.blankFlag = GameImage::loadByte(BLANK_FLAG_ADDRESS);
    report.textPointer = *textPointerSlot_;
    report.textRegionAddress = region_.address();
    report.textRegionSize = region_.size();
    return report;
}

GameView GameState::view() const {
    const std::lock_guard lock(mutex_);
    GameView view;
    view.marker = std::bit_cast<float>(GameImage::load32(MARKER_ADDRESS));
    view.switchValue = std::bit_cast<float>(GameImage::load32(SWITCH_FIELD_ADDRESS));
    view.blankFlag = GameImage::loadByte(BLANK_FLAG_ADDRESS);
    // The scene shows one short line; a huge unterminated text is not copied at every frame.
    constexpr std::size_t SHOWN_TEXT_LIMIT = 4096;
    view.text = region_.read(SHOWN_TEXT_LIMIT);
    return view;
}

} // namespace pal4sim
