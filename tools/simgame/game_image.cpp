#include "game_image.hpp"

#include "game_layout.hpp"

#include <array>
#include <cstring>

namespace pal4sim {
namespace {

// About the size of the real game's image; what matters is that it spans the root pointer's
// address once the image sits at IMAGE_BASE.
constexpr std::size_t GAME_DATA_SIZE = 6 * 1024 * 1024;
alignas(4096) unsigned char gameData[GAME_DATA_SIZE];

std::uintptr_t dataBegin() {
    return reinterpret_cast<std::uintptr_t>(&gameData[0]);
}
std::uintptr_t dataEnd() {
    return dataBegin() + GAME_DATA_SIZE;
}

unsigned char* at(std::uint32_t address) {
    return &gameData[static_cast<std::uintptr_t>(address) - dataBegin()];
}

} // namespace

bool GameImage::contains(std::uint32_t address, std::size_t size) {
    const std::uintptr_t first = address;
    return first >= dataBegin() && first <= dataEnd() && size <= dataEnd() - first;
}

std::string GameImage::checkLayout() {
    struct Fixed {
        const char* name;
        std::uint32_t address;
        std::size_t size;
    };
    const std::array<Fixed, 7> fixed{{
        {"root pointer", ROOT_POINTER_ADDRESS, 4},
        {"game root", GAME_ROOT_ADDRESS, HUB_OFFSET + 4},
        {"hub object", HUB_OBJECT_ADDRESS, WATCH_OFFSET + 4},
        {"marker", MARKER_ADDRESS, 4},
        {"blank flag", BLANK_FLAG_ADDRESS, 1},
        {"switch field", SWITCH_FIELD_ADDRESS, 4},
        {"switch object", SWITCH_OBJECT_ADDRESS, SWITCH_FIELD_OFFSET + 4},
    }};
    for (const Fixed& item : fixed) {
        if (!contains(item.address, item.size)) {
            return std::string("the static data does not cover the ") + item.name +
                   " (is the image at its fixed base?)";
        }
    }
    return {};
}

void GameImage::store32(std::uint32_t address, std::uint32_t value) {
    if (contains(address, 4)) {
        const std::array<unsigned char, 4> bytes{
            static_cast<unsigned char>(value), static_cast<unsigned char>(value >> 8),
            static_cast<unsigned char>(value >> 16), static_cast<unsigned char>(value >> 24)};
        std::memcpy(at(address), bytes.data(), bytes.size());
    }
}

std::uint32_t GameImage::load32(std::uint32_t address) {
    if (!contains(address, 4)) {
        return 0;
    }
    const unsigned char* bytes = at(address);
    return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
           static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

void GameImage::storeByte(std::uint32_t address, std::uint8_t value) {
    if (contains(address, 1)) {
        *at(address) = value;
    }
}

std::uint8_t GameImage::loadByte(std::uint32_t address) {
    return contains(address, 1) ? *at(address) : std::uint8_t{0};
}

void GameImage::buildChain() {
    store32(ROOT_POINTER_ADDRESS, GAME_ROOT_ADDRESS);
    store32(GAME_ROOT_ADDRESS + HUB_OFFSET, HUB_OBJECT_ADDRESS);
    store32(HUB_OBJECT_ADDRESS + WATCH_OFFSET, WATCH_OBJECT_ADDRESS);
    store32(HUB_OBJECT_ADDRESS + SWITCH_OFFSET, SWITCH_OBJECT_ADDRESS);
}

} // namespace pal4sim
