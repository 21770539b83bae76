#pragma once

#include "ports/panel_port.hpp"

#include <algorithm>
#include <cstdint>

namespace pal4 {

struct SliderRange {
    std::int32_t minimum;
    std::int32_t maximum;

    constexpr std::int32_t clamp(std::int32_t value) const {
        return std::clamp(value, minimum, maximum);
    }
};

// The ranges of the panel's sliders; a slider holds a value outside its range at its nearest end.
constexpr SliderRange sliderRange(Slider slider) {
    switch (slider) {
    case Slider::FontSize:
        return {1, 200};
    case Slider::Left:
        return {0, 1920};
    case Slider::Top:
        return {1, 1200};
    case Slider::Width:
        return {0, 1920};
    case Slider::Height:
        return {1, 1200};
    }
    return {0, 0};
}

} // namespace pal4
