#pragma once

#include "simgame_client.hpp"
#include "tool_process.hpp"

namespace pal4bench {

// Presses the back hot key (Ctrl+Alt+Up) `steps` times over the lines the session has shown
// and marks "step-latency": the figures of the time from each press to the first screen
// sample of the overlay that shows different pixels, as "latency" has them. The game's next
// line ends the stepping.
void measureStepLatency(pal4sim::SimGame& game, const ToolProcess& tool, int steps);

// Writes `lines` new lines of the longest text the game's region holds, each taken by a poll
// tick, and marks "backlog-full" once 100 are kept and "backlog-end" after the last, for the
// tool's resident memory at both.
void fillBacklog(pal4sim::SimGame& game, int lines);

} // namespace pal4bench
