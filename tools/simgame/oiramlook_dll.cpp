// The simulated game's dialogue module. Its only job is to be a module whose base anchors the
// dialogue text pointer: the game stores the text's address at base + TEXT_POINTER_OFFSET, a
// slot inside this module's own static data.
#include "game_layout.hpp"

#include <windows.h>

#include <cstddef>
#include <cstdint>

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace {

// Large enough that base + TEXT_POINTER_OFFSET lies inside it.
constexpr std::size_t MODULE_DATA_SIZE = 2 * 1024 * 1024;
alignas(4096) unsigned char moduleData[MODULE_DATA_SIZE];

} // namespace

// The text pointer slot, or null when this module's data does not cover it.
extern "C" __declspec(dllexport) std::uint32_t* simgameTextPointerSlot() {
    const auto base = reinterpret_cast<std::uintptr_t>(&__ImageBase);
    const std::uintptr_t slot = base + pal4sim::TEXT_POINTER_OFFSET;
    const auto begin = reinterpret_cast<std::uintptr_t>(&moduleData[0]);
    if (slot < begin || slot + sizeof(std::uint32_t) > begin + MODULE_DATA_SIZE) {
        return nullptr;
    }
    return reinterpret_cast<std::uint32_t*>(slot);
}
