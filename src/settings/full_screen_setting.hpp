#pragma once

#include "core/game_address.hpp"
#include "ports/full_screen_port.hpp"

#include <optional>
#include <string>
#include <string_view>

namespace pal4 {

// How the picture fills the monitor in full screen (`fullscreenscale`):
// - Fit: the largest rectangle of the picture's shape, black bars beside or above it;
// - Stretch: the whole monitor, the shape not kept;
// - None: the picture keeps its size, centred on black, for a game whose clicks land in the
//   wrong place once its picture is scaled.
enum class FullScreenScale { Fit, Stretch, None };

inline constexpr std::string_view DEFAULT_FULL_SCREEN_SCALE = "fit";

// "fit", "stretch" or "none", ASCII letter case and the blanks around it aside; nothing for any
// other value.
std::optional<FullScreenScale> fullScreenScaleFromValue(std::string_view value);

// What full screen must give back, kept in the settings file while it is applied: whose window
// it is, and the window's frame from before.
struct FullScreenRestore {
    ProcessId process = 0;
    WindowId window = 0;
    WindowFrame before;
    bool operator==(const FullScreenRestore&) const = default;
};

// "process,window,style,exstyle,left,top,width,height", all decimal.
std::string fullScreenRestoreText(const FullScreenRestore& restore);
// Nothing unless the text is exactly what fullScreenRestoreText writes, with every number in
// its range.
std::optional<FullScreenRestore> fullScreenRestoreFromText(std::string_view text);

} // namespace pal4
