#pragma once

#include "screen_capture.hpp"

#include <functional>

namespace e2e {

// What an outlined subtitle looks like, pixel by pixel: a ring in one colour around glyphs
// whose edges blend from the text colour into the ring's, and nothing else over the scene.
struct OutlineFindings {
    Rgb ring = 0;          // the commonest drawn colour that is not the text's
    int drawn = 0;         // pixels that are not the scene
    int breaks = 0;        // text or blended pixels that touch the scene: gaps in the ring
    int fringe = 0;        // drawn pixels that are neither text, ring nor a blend of the two
    int intermediates = 0; // distinct blends strictly between text and ring
};

// `scene(x, y)` tells the pixels the overlay left see-through; `at` gives every pixel.
OutlineFindings inspectOutline(int width, int height, const std::function<Rgb(int, int)>& at,
                               const std::function<bool(int, int)>& scene, Rgb text);

// WCAG's contrast ratio of two colours, 1 to 21.
double contrastRatio(Rgb first, Rgb second);

} // namespace e2e
