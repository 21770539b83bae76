#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace pal4sim {

// The game's static data, a large array inside the exe's own image. With the image at its
// fixed base, the game addresses of the chain are plain addresses of this array, in the 32-bit
// and the 64-bit build alike; values are stored as the 32-bit game stores them.
class GameImage {
public:
    // Empty when the array covers every fixed address of the layout, else why not.
    static std::string checkLayout();

    static bool contains(std::uint32_t address, std::size_t size);

    // Accesses outside the array are ignored (stores) or give 0 (loads).
    static void store32(std::uint32_t address, std::uint32_t value);
    static std::uint32_t load32(std::uint32_t address);
    static void storeByte(std::uint32_t address, std::uint8_t value);
    static std::uint8_t loadByte(std::uint32_t address);

    // gameRoot, hubObject, watchObject and switchObject linked from the root pointer on.
    static void buildChain();
};

} // namespace pal4sim
