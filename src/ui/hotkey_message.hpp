#pragma once

#include <string>
#include <string_view>

namespace pal4 {

// The edit box's line when the tool is left without a hot key against the user's wish: the
// `hotkey` value could not be read, or the platform refused the combination because another
// program holds it. `combination` is the value as written, or the combination as formatted.
std::string hotkeyUnusableText(std::string_view combination);

} // namespace pal4
