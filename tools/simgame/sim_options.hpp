#pragma once

#include "dialogue_script.hpp"
#include "game_layout.hpp"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace pal4sim {

// The simulated game's command line. Without --control it plays its script; with --control
// it waits for the test's commands, unless --script asks for both.
struct SimOptions {
    // --control NAME: driven through the control channel of that name.
    std::wstring controlName;
    // --dll PATH: the file the dialogue module is loaded from.
    std::wstring dialogueModule = L"OIRAMLOOK.DLL";
    // --text-region-size BYTES: at least this much memory holds the dialogue text.
    std::uint32_t textRegionSize = DEFAULT_TEXT_REGION_SIZE;
    // --title-ms, --line-ms, --break-ms.
    ScriptTiming timing;
    // --no-window: no scene, for runs without a display.
    bool window = true;
    // --script: play the script under --control too.
    bool script = false;
    // --bright: a snowfield under a white sky instead of the green landscape, the scene white
    // subtitles vanish into.
    bool bright = false;
    // --exit-with PID: end when that process ends, so a test that dies leaves no game behind.
    std::uint32_t exitWithPid = 0;

    bool playsScript() const { return script || controlName.empty(); }
};

// The options, or an explanation of what is wrong with them.
std::optional<SimOptions> parseSimOptions(const std::vector<std::wstring>& arguments,
                                          std::wstring& problem);

} // namespace pal4sim
