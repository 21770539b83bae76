#pragma once

#include <cstdint>

// Where the simulated game keeps what the subtitle tool reads and writes. The root pointer's
// address and the offsets are the real game's; the objects' own addresses are this game's
// choice, spread apart so that every offset along the chain matters.
namespace pal4sim {

inline constexpr std::uint32_t IMAGE_BASE = 0x00400000;
inline constexpr std::uint32_t ROOT_POINTER_ADDRESS = 0x008EB038;

inline constexpr std::uint32_t GAME_ROOT_ADDRESS = 0x008F1200;
inline constexpr std::uint32_t HUB_OBJECT_ADDRESS = 0x00903A40;
inline constexpr std::uint32_t WATCH_OBJECT_ADDRESS = 0x0091C180;
inline constexpr std::uint32_t SWITCH_OBJECT_ADDRESS = 0x0092D3E0;

inline constexpr std::uint32_t HUB_OFFSET = 436;
inline constexpr std::uint32_t WATCH_OFFSET = 52;
inline constexpr std::uint32_t SWITCH_OFFSET = 44;
inline constexpr std::uint32_t MARKER_OFFSET = 248;
inline constexpr std::uint32_t BLANK_OFFSET = 584;
inline constexpr std::uint32_t SWITCH_FIELD_OFFSET = 332;

inline constexpr std::uint32_t MARKER_ADDRESS = WATCH_OBJECT_ADDRESS + MARKER_OFFSET;
inline constexpr std::uint32_t BLANK_FLAG_ADDRESS = WATCH_OBJECT_ADDRESS + BLANK_OFFSET;
inline constexpr std::uint32_t SWITCH_FIELD_ADDRESS = SWITCH_OBJECT_ADDRESS + SWITCH_FIELD_OFFSET;

// The module that holds the dialogue text pointer, and where in it.
inline constexpr std::uint32_t DIALOGUE_MODULE_BASE = 0x10000000;
inline constexpr std::uint32_t TEXT_POINTER_OFFSET = 0x1CA960;

// The game's own values before the tool touches them: the marker while on the title screen and
// once a game is in progress, and the switch field.
inline constexpr float TITLE_MARKER = 0.0f;
inline constexpr float PLAYING_MARKER = 474.0f;
inline constexpr std::uint32_t INITIAL_SWITCH_BITS = 0x3F800000; // the single 1.0

// The dialogue text region: allocated at the first free address of this ladder, so that its
// address fits in 32 bits in the 64-bit build too.
inline constexpr std::uint32_t TEXT_REGION_FIRST_TRY = 0x20000000;
inline constexpr std::uint32_t TEXT_REGION_LAST_TRY = 0x7F000000;
inline constexpr std::uint32_t TEXT_REGION_STEP = 0x01000000;
inline constexpr std::uint32_t DEFAULT_TEXT_REGION_SIZE = 64 * 1024;

} // namespace pal4sim
