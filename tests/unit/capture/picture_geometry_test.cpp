// Where full screen puts the picture for each scale, and the subtitle carried with the picture
// there and back.
#include "capture/picture_geometry.hpp"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace pal4::testing {
namespace {

struct PictureCase {
    const char* name;
    WindowPlace client; // the picture before full screen
    WindowPlace monitor;
    FullScreenScale scale;
    WindowPlace place;   // the picture in full screen
    WindowPlace overlay; // OVERLAY carried there
};

void PrintTo(const PictureCase& test, std::ostream* out) {
    *out << test.name;
}

constexpr WindowPlace OVERLAY{110, 690, 1000, 100};
constexpr WindowPlace GAME{100, 50, 1024, 768};
constexpr WindowPlace WIDE{0, 0, 1920, 1080};

class PictureOnTheMonitor : public ::testing::TestWithParam<PictureCase> {};

TEST_P(PictureOnTheMonitor, TakesItsPlaceAndTheSubtitleGoesWithItAndComesBack) {
    const PictureCase& test = GetParam();
    const WindowPlace place =
        fullScreenPlace(test.client.width, test.client.height, test.monitor, test.scale);
    EXPECT_EQ(place, test.place);
    EXPECT_EQ(scaledWithPicture(OVERLAY, test.client, place), test.overlay);
    EXPECT_EQ(scaledWithPicture(test.overlay, place, test.client), OVERLAY);
}

INSTANTIATE_TEST_SUITE_P(
    Scales, PictureOnTheMonitor,
    ::testing::Values(
        PictureCase{"FitBarsBeside",
                    GAME,
                    WIDE,
                    FullScreenScale::Fit,
                    {240, 0, 1440, 1080},
                    {254, 900, 1406, 141}},
        PictureCase{"FitBarsAbove",
                    {0, 0, 1280, 720},
                    {0, 0, 1280, 1024},
                    FullScreenScale::Fit,
                    {0, 152, 1280, 720},
                    {110, 842, 1000, 100}},
        PictureCase{"FitOnASecondMonitor",
                    {2000, 50, 800, 600},
                    {1920, -200, 1600, 1200},
                    FullScreenScale::Fit,
                    {1920, -200, 1600, 1200},
                    {-1860, 1080, 2000, 200}},
        PictureCase{"Stretch", GAME, WIDE, FullScreenScale::Stretch, WIDE, {19, 900, 1875, 141}},
        PictureCase{"None",
                    GAME,
                    WIDE,
                    FullScreenScale::None,
                    {448, 156, 1024, 768},
                    {458, 796, 1000, 100}},
        PictureCase{"NoPictureYet",
                    {100, 50, 0, 0},
                    WIDE,
                    FullScreenScale::Fit,
                    WIDE,
                    {10, 640, 1000, 100}}),
    [](const auto& test) { return std::string(test.param.name); });

} // namespace
} // namespace pal4::testing
