#include "settings/full_screen_setting.hpp"

#include "core/ascii_case.hpp"

#include <charconv>
#include <cstdint>
#include <limits>

namespace pal4 {

namespace {

// The next comma-separated decimal of `text` (a '-' allowed where `T` is signed), in range.
template <typename T> bool takeNumber(std::string_view& text, T& number, bool last) {
    const std::size_t end = last ? text.size() : text.find(',');
    if (end == std::string_view::npos || end == 0) {
        return false;
    }
    const std::string_view field = text.substr(0, end);
    const auto [stop, error] = std::from_chars(field.data(), field.data() + field.size(), number);
    if (error != std::errc{} || stop != field.data() + field.size() || field.front() == '+') {
        return false;
    }
    text.remove_prefix(last ? end : end + 1);
    return true;
}

} // namespace

std::optional<FullScreenScale> fullScreenScaleFromValue(std::string_view value) {
    value = trimmedBlanks(value);
    for (const auto& [name, scale] :
         {std::pair{"fit", FullScreenScale::Fit}, std::pair{"stretch", FullScreenScale::Stretch},
          std::pair{"none", FullScreenScale::None}}) {
        if (equalsIgnoringAsciiCase(value, name)) {
            return scale;
        }
    }
    return std::nullopt;
}

std::string fullScreenRestoreText(const FullScreenRestore& restore) {
    const WindowPlace& place = restore.before.place;
    std::string text;
    for (const std::string& number :
         {std::to_string(restore.process), std::to_string(restore.window),
          std::to_string(restore.before.style), std::to_string(restore.before.exStyle),
          std::to_string(place.left), std::to_string(place.top), std::to_string(place.width),
          std::to_string(place.height)}) {
        text += (text.empty() ? "" : ",") + number;
    }
    return text;
}

std::optional<FullScreenRestore> fullScreenRestoreFromText(std::string_view text) {
    FullScreenRestore restore;
    WindowPlace& place = restore.before.place;
    if (takeNumber(text, restore.process, false) && takeNumber(text, restore.window, false) &&
        takeNumber(text, restore.before.style, false) &&
        takeNumber(text, restore.before.exStyle, false) && takeNumber(text, place.left, false) &&
        takeNumber(text, place.top, false) && takeNumber(text, place.width, false) &&
        takeNumber(text, place.height, true) && restore.window != 0 && place.width >= 0 &&
        place.height >= 0) {
        return restore;
    }
    return std::nullopt;
}

} // namespace pal4
