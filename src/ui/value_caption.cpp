#include "ui/value_caption.hpp"

#include "settings/decimal_integer.hpp"
#include "ui/panel_texts.hpp"

namespace pal4 {

std::string valueCaptionText(ValueCaption caption, std::int32_t value) {
    std::string text(captionPrefix(caption));
    text += int32ToText(value);
    return text;
}

} // namespace pal4
