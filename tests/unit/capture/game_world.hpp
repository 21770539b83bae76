#pragma once

#include "capture/game_memory_map.hpp"
#include "fakes/simulated_game_process.hpp"

#include <cstdint>
#include <string>
#include <string_view>

namespace pal4::testing {

// A running game laid out as the tool expects it: the root pointer in the main image, the hub,
// watch and switch objects on the heap, the game module with its text pointer, and a dialogue
// buffer. Tests change single links or values to break it.
struct GameWorld {
    static constexpr ProcessId PID = 4242;
    static constexpr GameAddress IMAGE_BASE = 0x00400000;
    static constexpr std::uint32_t IMAGE_SIZE = 0x00600000;
    static constexpr GameAddress HEAP_BASE = 0x10000000;
    static constexpr GameAddress GAME_ROOT = HEAP_BASE;
    static constexpr GameAddress HUB_OBJECT = HEAP_BASE + 0x1000;
    static constexpr GameAddress WATCH_OBJECT = HEAP_BASE + 0x2000;
    static constexpr GameAddress SWITCH_OBJECT = HEAP_BASE + 0x3000;
    static constexpr GameAddress MODULE_BASE = 0x20000000;
    static constexpr std::uint32_t MODULE_SIZE = 0x00200000;
    static constexpr GameAddress TEXT_BUFFER = 0x30000000;
    static constexpr std::uint32_t TEXT_REGION_SIZE = 0x1000;

    static constexpr GameAddress MARKER = WATCH_OBJECT + MARKER_OFFSET;
    static constexpr GameAddress BLANK_FLAG = WATCH_OBJECT + BLANK_OFFSET;
    static constexpr GameAddress OVERLAY_SWITCH = SWITCH_OBJECT + SWITCH_FIELD_OFFSET;
    static constexpr GameAddress TEXT_SLOT = MODULE_BASE + TEXT_POINTER_OFFSET;

    SimulatedGameProcess game;

    explicit GameWorld(std::string_view gameModuleName = GAME_MODULE_NAME,
                       bool textPointerReadable = true) {
        game.addProcess(1, "explorer.exe");
        game.addProcess(PID, "Pal4.exe");
        game.addRegion(PID, IMAGE_BASE, IMAGE_SIZE);
        game.addRegion(PID, HEAP_BASE, 0x10000);
        game.addRegion(PID, MODULE_BASE, MODULE_SIZE,
                       textPointerReadable ? RegionState::Committed : RegionState::NoAccess);
        game.addRegion(PID, TEXT_BUFFER, TEXT_REGION_SIZE);
        game.addModule(PID, {"Pal4.exe", IMAGE_BASE, IMAGE_SIZE, ""});
        game.addModule(PID, {std::string(gameModuleName), MODULE_BASE, MODULE_SIZE, ""});

        game.pokeInt32(PID, ROOT_POINTER_ADDRESS, asInt(GAME_ROOT));
        game.pokeInt32(PID, GAME_ROOT + HUB_OFFSET, asInt(HUB_OBJECT));
        game.pokeInt32(PID, HUB_OBJECT + WATCH_OFFSET, asInt(WATCH_OBJECT));
        game.pokeInt32(PID, HUB_OBJECT + SWITCH_OFFSET, asInt(SWITCH_OBJECT));
        game.pokeFloat32(PID, MARKER, 1.0f);
        game.pokeByte(PID, BLANK_FLAG, 0);
        game.pokeFloat32(PID, OVERLAY_SWITCH, 1.0f);
        game.pokeInt32(PID, TEXT_SLOT, asInt(TEXT_BUFFER));
    }

    static std::int32_t asInt(GameAddress address) { return static_cast<std::int32_t>(address); }

    // Puts a zero-terminated line into the dialogue buffer.
    void say(std::string_view line) {
        game.poke(PID, TEXT_BUFFER, line);
        game.pokeByte(PID, TEXT_BUFFER + static_cast<GameAddress>(line.size()), 0);
    }
    void setBlank(bool blank) { game.pokeByte(PID, BLANK_FLAG, blank ? 1 : 0); }
    void setMarker(float value) { game.pokeFloat32(PID, MARKER, value); }
};

} // namespace pal4::testing
