#include "ui/value_caption.hpp"

#include "settings/decimal_integer.hpp"
#include "ui/slider_table.hpp"

namespace pal4 {

std::string valueCaptionText(ValueCaption caption, std::int32_t value) {
    std::string text(sliderRow(caption).captionPrefix);
    text += int32ToText(value);
    return text;
}

} // namespace pal4
