#pragma once

#include "bench_scenario.hpp"

namespace pal4bench {

struct WebOptions {
    int port = 0;        // the tool's web port; 0: no web phases
    int browserPort = 0; // a headless Chromium's DevTools; 0: no page latency
    int seconds = 30;    // of ten new lines a second, with the server off and on
    int lines = 40;      // for each latency
    int badClients = 200;
};

// The web feeds, each phase announced by a mark for bench.sh: the tool's CPU time while ten
// new lines a second come for `seconds` with the server off and then on with 16 clients
// reading; how long a new line takes to reach a plain WebSocket client and the page in a real
// browser; and what 200 bad clients leave of the service, while the subtitle goes on. Starts
// the tool twice, beside a game of its own. 0 when every phase ran.
int runWebPhases(const ScenarioOptions& options, const WebOptions& web);

} // namespace pal4bench
