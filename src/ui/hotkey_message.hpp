#pragma once

#include "ports/panel_port.hpp"

#include <string>
#include <string_view>

namespace pal4 {

// The edit box's line when the tool is left without a hot key against the user's wish: the
// settings value could not be read, or the platform refused the combination because another
// program holds it. `combination` is the value as written, or the combination as formatted;
// the line says what the user can do instead.
std::string hotkeyUnusableText(Hotkey hotkey, std::string_view combination);

} // namespace pal4
