#pragma once

#include "dialogue_script.hpp"
#include "game_layout.hpp"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace pal4sim {

// The simulated game's command line. Without --control it plays its script.
struct SimOptions {
    std::wstring controlName; // --control NAME: driven through the control channel
    std::wstring dialogueModule = L"OIRAMLOOK.DLL";          // --dll PATH: the file to load it from
    std::uint32_t textRegionSize = DEFAULT_TEXT_REGION_SIZE; // --text-region-size BYTES
    ScriptTiming timing;                                     // --title-ms, --line-ms, --break-ms
    bool window = true; // --no-window: no scene, for runs without a display
};

// The options, or an explanation of what is wrong with them.
std::optional<SimOptions> parseSimOptions(const std::vector<std::wstring>& arguments,
                                          std::wstring& problem);

} // namespace pal4sim
