#include "outline_pixels.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <map>
#include <set>

namespace e2e {

namespace {

double luminance(Rgb color) {
    const auto channel = [](int value) {
        const double v = value / 255.0;
        return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(redOf(color)) + 0.7152 * channel(greenOf(color)) +
           0.0722 * channel(blueOf(color));
}

// Whether `pixel` lies on the way from `from` to `to`: each channel where the blend's share of
// `to`, read off the channel that changes most, puts it, give or take rounding.
bool isBlend(Rgb pixel, Rgb from, Rgb to) {
    const auto channels = [](Rgb c) { return std::array<int, 3>{redOf(c), greenOf(c), blueOf(c)}; };
    const auto p = channels(pixel), a = channels(from), b = channels(to);
    std::size_t widest = 0;
    for (std::size_t c = 1; c < 3; ++c) {
        widest = std::abs(b[c] - a[c]) > std::abs(b[widest] - a[widest]) ? c : widest;
    }
    const int span = b[widest] - a[widest];
    const double share = span == 0 ? 0.0 : double(p[widest] - a[widest]) / span;
    for (std::size_t c = 0; c < 3; ++c) {
        if (share < -0.01 || share > 1.01 || std::abs(a[c] + share * (b[c] - a[c]) - p[c]) > 2.0) {
            return false;
        }
    }
    return true;
}

} // namespace

double contrastRatio(Rgb first, Rgb second) {
    const double a = luminance(first);
    const double b = luminance(second);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

OutlineFindings inspectOutline(int width, int height, const std::function<Rgb(int, int)>& at,
                               const std::function<bool(int, int)>& scene, Rgb text) {
    OutlineFindings found;
    std::map<Rgb, int> counts;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (!scene(x, y)) {
                ++found.drawn;
                if (at(x, y) != text) {
                    ++counts[at(x, y)];
                }
            }
        }
    }
    int ringCount = 0;
    for (const auto& [color, count] : counts) {
        if (count > ringCount) {
            found.ring = color;
            ringCount = count;
        }
    }
    std::set<Rgb> blends;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (scene(x, y)) {
                continue;
            }
            const Rgb pixel = at(x, y);
            if (pixel == found.ring) {
                continue;
            }
            if (pixel != text && !isBlend(pixel, text, found.ring)) {
                ++found.fringe;
                continue;
            }
            if (pixel != text) {
                blends.insert(pixel);
            }
            bool touches = false;
            for (int dy = -1; dy <= 1; ++dy) {
                for (int dx = -1; dx <= 1; ++dx) {
                    const int nx = x + dx;
                    const int ny = y + dy;
                    touches =
                        touches || nx < 0 || ny < 0 || nx >= width || ny >= height || scene(nx, ny);
                }
            }
            found.breaks += touches ? 1 : 0;
        }
    }
    found.intermediates = static_cast<int>(blends.size());
    return found;
}

} // namespace e2e
