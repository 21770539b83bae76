#pragma once

// The tool of the unit tests: the harness over the simulated game in memory.

#include "harness/tool_harness.hpp"
#include "unit/capture/game_world.hpp"

namespace pal4::testing {

// What outlives one run of the tool: the game and the program's folder with its files.
struct SimulatedMachine {
    GameWorld world;
    FakeShell shell;
    FakeFileStore files;
};

struct SimulatedTool : SimulatedMachine, ToolHarness {
    SimulatedTool() : ToolHarness(world.game, shell, files) {}
};

} // namespace pal4::testing
