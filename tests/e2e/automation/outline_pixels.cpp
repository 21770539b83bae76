#include "outline_pixels.hpp"

#include <algorithm>
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

// Whether `pixel` lies on the way from `from` to `to`, allowing each channel a step of rounding.
bool isBlend(Rgb pixel, Rgb from, Rgb to) {
    const int ends[3][2] = {
        {redOf(from), redOf(to)}, {greenOf(from), greenOf(to)}, {blueOf(from), blueOf(to)}};
    const int values[3] = {redOf(pixel), greenOf(pixel), blueOf(pixel)};
    double low = 0;
    double high = 1;
    for (int c = 0; c < 3; ++c) {
        const int span = ends[c][1] - ends[c][0];
        if (span == 0) {
            if (std::abs(values[c] - ends[c][0]) > 1) {
                return false;
            }
            continue;
        }
        double a = (values[c] - 1.5 - ends[c][0]) / span;
        double b = (values[c] + 1.5 - ends[c][0]) / span;
        if (a > b) {
            std::swap(a, b);
        }
        low = std::max(low, a);
        high = std::min(high, b);
    }
    return low <= high;
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
