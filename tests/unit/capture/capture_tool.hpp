#pragma once

#include "harness/simulated_tool.hpp"

namespace pal4::testing {

// The tool over the simulated game with its panel made and a style of its own, ready to open
// the overlay.
struct CaptureTool : SimulatedTool {
    static constexpr const char* INI_PATH = "/opt/pal4-subtitles/Pal4_Corvel.ini";

    CaptureTool() {
        panel.create();
        state.fontName = "黑体";
        state.fontSize = 36;
        state.textColor = 0x00336699;
        state.shadowOn = true;
        state.overlayLeft = 12;
        state.overlayTop = 640;
        state.overlayWidth = 900;
        state.overlayHeight = 120;
    }
};

} // namespace pal4::testing
