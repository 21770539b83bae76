#pragma once

#include "simgame_client.hpp"
#include "tool_process.hpp"

namespace pal4bench {

// Presses the back hot key (Ctrl+Alt+Up) `steps` times over the lines the session has shown
// and marks "step-latency": the figures of the time from each press to the first screen
// sample of the overlay that shows different pixels, as "latency" has them. The game's next
// line ends the stepping.
void measureStepLatency(pal4sim::SimGame& game, const ToolProcess& tool, int steps);

// Writes `lines` new lines of 8 KiB, each waited for until the tool's edit box shows it, and
// marks "backlog-full" once 100 are kept, "backlog-at" each 100 lines after and
// "backlog-end" after the last, for the tool's resident memory at each.
void fillBacklog(pal4sim::SimGame& game, const ToolProcess& tool, int lines);

} // namespace pal4bench
