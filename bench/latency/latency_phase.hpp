#pragma once

#include "simgame_client.hpp"

#include <windows.h>

#include <cstddef>

namespace pal4bench {

struct LatencyReport {
    std::size_t measured = 0;
    std::size_t missed = 0; // lines whose subtitle never changed the screen in time
    double minMs = 0;
    double medianMs = 0;
    double p95Ms = 0;
    double maxMs = 0;
    double meanSampleMs = 0; // one screen sample's cost: the resolution of the figures
    bool clockShared = true; // every game stamp fell between our own readings around it
};

// Writes `lines` new dialogue lines into the game, one at a time, and for each measures the
// time from the game's stamp of the write to the first screen sample of `area` that shows
// different pixels. The next line waits for a random pause so the writes do not lock onto
// the tool's timer.
LatencyReport measureLatency(pal4sim::SimGame& game, const RECT& area, int lines);

// The part of a window that is on the screen.
RECT onScreen(HWND window);

// The dialogue line number `n`: a speaker, the separator and a text that draws differently
// for every n. GB2312.
std::string dialogueLine(int n);

} // namespace pal4bench
