#pragma once

#include "ports/panel_port.hpp"

#include <cstdint>
#include <string>

namespace pal4 {

// The text of a value caption: its fixed prefix, then the value in decimal ("字体大小 = 20").
std::string valueCaptionText(ValueCaption caption, std::int32_t value);

} // namespace pal4
