// The user's story with the settings file: first run, hand-edited values, what is written when.
#include "harness/simulated_tool.hpp"

#include <gtest/gtest.h>

#include <ostream>

namespace pal4::testing {
namespace {

TEST(FirstRun, WithNoFileTheDefaultsShowAndOnlyTheSizeIsWrittenUntilThePanelCloses) {
    SimulatedTool app;
    app.panel.create();

    EXPECT_TRUE(app.state.panelOpen);
    EXPECT_TRUE(app.panel.linksUnderlined());
    EXPECT_EQ(app.state.iniPath.parent_path(), app.shell.programDirectory());
    EXPECT_EQ(app.state.iniPath.filename(), "Pal4_Corvel.ini");
    EXPECT_EQ(app.state.fontName, "宋体");
    EXPECT_EQ(app.panel.fontFace(), "宋体");
    EXPECT_EQ(app.state.textColor, 0xFFFFFFu);
    EXPECT_EQ(app.panel.color(), 0xFFFFFFu);
    EXPECT_EQ(app.state.fontSize, 20);
    EXPECT_FALSE(app.state.shadowOn);
    EXPECT_EQ(app.state.overlayLeft, 10);
    EXPECT_EQ(app.state.overlayTop, 640);
    EXPECT_EQ(app.state.overlayWidth, 1024);
    EXPECT_EQ(app.state.overlayHeight, 160);
    EXPECT_EQ(app.panel.sliderPosition(Slider::Left), 10);
    EXPECT_EQ(app.panel.sliderPosition(Slider::Top), 640);
    for (const CheckBox box : {CheckBox::Bold, CheckBox::Italic, CheckBox::Shadow, CheckBox::Centre,
                               CheckBox::Debug, CheckBox::Lock, CheckBox::FullScreen}) {
        EXPECT_FALSE(app.panel.isChecked(box));
    }
    EXPECT_EQ(app.panel.caption(ValueCaption::FontSize), "字体大小 = 20");
    EXPECT_EQ(app.panel.caption(ValueCaption::Left), "水平位置 = 10");
    EXPECT_EQ(app.panel.caption(ValueCaption::Top), "垂直位置 = 640");
    EXPECT_EQ(app.panel.caption(ValueCaption::Width), "文本宽度 = 1024");
    EXPECT_EQ(app.panel.caption(ValueCaption::Height), "文本高度 = 160");
    EXPECT_EQ(app.fileBytes(), "[config]\r\nsize=20\r\n");

    app.panel.destroy();
    EXPECT_FALSE(app.state.panelOpen);
    EXPECT_EQ(app.fileBytes(),
              "[config]\r\nsize=20\r\nleft=10\r\ntop=640\r\nwidth=1024\r\nheight=160\r\n");
    EXPECT_EQ(app.files.replacements(), 5);
    EXPECT_TRUE(app.shell.messages().empty());
    EXPECT_EQ(app.overlayDestroyedRuns, 0);
}

struct ClampCase {
    const char* name;
    const char* key;
    const char* fileValue;
    Slider slider;
    std::int32_t loaded;
};

void PrintTo(const ClampCase& c, std::ostream* out) {
    *out << c.name;
}

class LoadClampsToTheSlider : public ::testing::TestWithParam<ClampCase> {};

TEST_P(LoadClampsToTheSlider, FieldTakesTheSliderPositionAndIsSavedClamped) {
    const ClampCase& test = GetParam();
    SimulatedTool app;
    app.givenSettingsFile(std::string("[config]\r\n") + test.key + "=" + test.fileValue + "\r\n");
    app.panel.create();

    EXPECT_EQ(app.panel.sliderPosition(test.slider), test.loaded);
    const std::int32_t field = test.slider == Slider::FontSize ? app.state.fontSize
                               : test.slider == Slider::Left   ? app.state.overlayLeft
                               : test.slider == Slider::Top    ? app.state.overlayTop
                               : test.slider == Slider::Width  ? app.state.overlayWidth
                                                               : app.state.overlayHeight;
    EXPECT_EQ(field, test.loaded);
    if (test.slider == Slider::FontSize) {
        EXPECT_EQ(app.saved("size"), std::to_string(test.loaded)); // written back at once
    } else {
        EXPECT_EQ(app.saved(test.key), test.fileValue); // geometry waits for the close
    }
    app.panel.destroy();
    EXPECT_EQ(app.saved(test.key), std::to_string(test.loaded));
}

INSTANTIATE_TEST_SUITE_P(
    Values, LoadClampsToTheSlider,
    ::testing::Values(ClampCase{"SizeAbove", "size", "500", Slider::FontSize, 200},
                      ClampCase{"SizeZero", "size", "0", Slider::FontSize, 1},
                      ClampCase{"SizeNotANumber", "size", "big", Slider::FontSize, 1},
                      ClampCase{"SizeBeyond32Bits", "size", "99999999999", Slider::FontSize, 200},
                      ClampCase{"SizeWithUnit", "size", " 36pt", Slider::FontSize, 36},
                      ClampCase{"TopZero", "top", "0", Slider::Top, 1},
                      ClampCase{"LeftNegative", "left", "-20", Slider::Left, 0},
                      ClampCase{"WidthAbove", "width", "5000", Slider::Width, 1920},
                      // The ends of the ranges, and the far right of a 1920-pixel screen.
                      ClampCase{"LeftFarRight", "left", "1900", Slider::Left, 1900},
                      ClampCase{"LeftAtItsEnd", "left", "1920", Slider::Left, 1920},
                      ClampCase{"LeftJustAbove", "left", "1921", Slider::Left, 1920},
                      ClampCase{"TopAtItsEnd", "top", "1200", Slider::Top, 1200},
                      ClampCase{"TopJustAbove", "top", "1201", Slider::Top, 1200},
                      ClampCase{"WidthAtItsEnd", "width", "1920", Slider::Width, 1920},
                      ClampCase{"HeightAtItsEnd", "height", "1200", Slider::Height, 1200},
                      ClampCase{"HeightJustAbove", "height", "1201", Slider::Height, 1200},
                      ClampCase{"HeightBelow32Bits", "height", "-99999999999", Slider::Height, 1},
                      ClampCase{"HeightEmpty", "height", "", Slider::Height, 1}),
    [](const auto& test) { return std::string(test.param.name); });

struct SwitchCase {
    const char* name;
    const char* value;
    bool on;
};

class OnlyTheExactOnIsOn : public ::testing::TestWithParam<SwitchCase> {};

TEST_P(OnlyTheExactOnIsOn, ForEverySwitch) {
    const SwitchCase& test = GetParam();
    SimulatedTool app;
    const std::string value = test.value;
    app.givenSettingsFile("[config]\r\nshadow=" + value + "\r\nbold=" + value +
                          "\r\nitalic=" + value + "\r\ncentext=" + value + "\r\noutline=" + value +
                          "\r\nhistory=" + value + "\r\nlock=" + value + "\r\nfullscreen=" + value +
                          "\r\n");
    app.panel.create();
    EXPECT_EQ(app.panel.isChecked(CheckBox::Shadow), test.on);
    EXPECT_EQ(app.state.shadowOn, test.on);
    EXPECT_EQ(app.panel.isChecked(CheckBox::Bold), test.on);
    EXPECT_EQ(app.panel.isChecked(CheckBox::Italic), test.on);
    EXPECT_EQ(app.panel.isChecked(CheckBox::Centre), test.on);
    EXPECT_EQ(app.panel.isChecked(CheckBox::Outline), test.on);
    EXPECT_EQ(app.state.outlineOn, test.on);
    EXPECT_EQ(app.panel.isChecked(CheckBox::History), test.on);
    EXPECT_EQ(app.panel.isChecked(CheckBox::Lock), test.on);
    EXPECT_EQ(app.panel.isChecked(CheckBox::FullScreen), test.on);
    EXPECT_FALSE(app.panel.isChecked(CheckBox::Debug));
}

INSTANTIATE_TEST_SUITE_P(
    Values, OnlyTheExactOnIsOn,
    ::testing::Values(SwitchCase{"On", "on", true}, SwitchCase{"OnWithBlanks", "  on ", true},
                      SwitchCase{"Upper", "ON", false}, SwitchCase{"Capital", "On", false},
                      SwitchCase{"True", "true", false}, SwitchCase{"One", "1", false},
                      SwitchCase{"Empty", "", false}, SwitchCase{"Off", "off", false},
                      SwitchCase{"OnAndMore", "onx", false}),
    [](const auto& test) { return std::string(test.param.name); });

TEST(Load, Colour255IsRedAndReachesTheOverlay) {
    SimulatedTool app;
    app.givenSettingsFile("[config]\r\ncolor=255\r\n");
    app.panel.create();
    EXPECT_EQ(app.state.textColor, 0x0000FFu);
    EXPECT_EQ(app.panel.color(), 0x0000FFu);
    app.panel.userClicksToggle();
    EXPECT_EQ(app.overlay.label().textColor, 0x0000FFu);
}

TEST(Load, FontAndColourAreTakenAsReadWithoutChecks) {
    SimulatedTool app;
    app.givenSettingsFile("[config]\r\nfont=\r\ncolor=-1\r\n");
    app.panel.create();
    EXPECT_EQ(app.state.fontName, "");
    EXPECT_EQ(app.state.textColor, 0xFFFFFFFFu);
    // Written back as read, so the next run reads the same colour.
    app.panel.userPicksColor(app.panel.color());
    EXPECT_EQ(app.saved("color"), "-1");
}

TEST(Load, HandEditedFileKeepsItsOtherBytesThroughTheRun) {
    SimulatedTool app;
    app.givenSettingsFile("; my settings\r\n[Config]\r\nFont = 黑体\r\nsize = 30\r\n\r\n[notes]\r\n"
                          "a=1\r\n");
    app.panel.create();
    EXPECT_EQ(app.state.fontName, "黑体");
    EXPECT_EQ(app.state.fontSize, 30);
    app.panel.destroy();
    EXPECT_EQ(app.fileBytes(),
              "; my settings\r\n[Config]\r\nFont = 黑体\r\nsize = 30\r\nleft=10\r\n"
              "top=640\r\nwidth=1024\r\nheight=160\r\n\r\n[notes]\r\na=1\r\n");
}

TEST(Writes, StyleKeysAreWrittenAtOnceGeometryOnlyWhenThePanelClosesExactlyOnce) {
    SimulatedTool app;
    app.panel.create();
    const int afterLoad = app.files.replacements();

    app.panel.userClicks(CheckBox::Bold);
    EXPECT_EQ(app.saved("bold"), "on");
    app.panel.userClicks(CheckBox::Italic);
    EXPECT_EQ(app.saved("italic"), "on");
    app.panel.userClicks(CheckBox::Centre);
    EXPECT_EQ(app.saved("centext"), "on");
    app.panel.userClicks(CheckBox::Shadow);
    EXPECT_EQ(app.saved("shadow"), "on");
    EXPECT_TRUE(app.state.shadowOn);
    app.panel.userClicks(CheckBox::Shadow);
    EXPECT_EQ(app.saved("shadow"), "off");
    EXPECT_FALSE(app.state.shadowOn);
    app.panel.userClicks(CheckBox::Outline);
    EXPECT_EQ(app.saved("outline"), "on");
    EXPECT_TRUE(app.state.outlineOn);
    app.panel.userClicks(CheckBox::History); // the key, and the live line file made empty
    EXPECT_EQ(app.saved("history"), "on");
    app.panel.userClicks(CheckBox::Lock);
    EXPECT_EQ(app.saved("lock"), "on");
    app.panel.userPicksFont("黑体");
    EXPECT_EQ(app.saved("font"), "黑体");
    app.panel.userPicksColor(0x0000FF);
    EXPECT_EQ(app.saved("color"), "255");
    app.panel.userMovesSlider(Slider::FontSize, 200);
    EXPECT_EQ(app.saved("size"), "200");
    EXPECT_EQ(app.panel.caption(ValueCaption::FontSize), "字体大小 = 200");
    EXPECT_EQ(app.files.replacements(), afterLoad + 12);

    app.panel.userMovesSlider(Slider::Left, 300);
    app.panel.userMovesSlider(Slider::Top, 700);
    app.panel.userMovesSlider(Slider::Width, 800);
    app.panel.userMovesSlider(Slider::Height, 90);
    app.panel.userClicks(CheckBox::Debug);
    EXPECT_EQ(app.files.replacements(), afterLoad + 12);
    EXPECT_EQ(app.saved("left"), std::nullopt);
    EXPECT_EQ(app.panel.caption(ValueCaption::Left), "水平位置 = 300");
    EXPECT_EQ(app.panel.caption(ValueCaption::Height), "文本高度 = 90");

    app.panel.destroy();
    EXPECT_EQ(app.files.replacements(), afterLoad + 16);
    EXPECT_EQ(app.saved("left"), "300");
    EXPECT_EQ(app.saved("top"), "700");
    EXPECT_EQ(app.saved("width"), "800");
    EXPECT_EQ(app.saved("height"), "90");
}

TEST(Writes, AnEmptyFaceFromTheFontChooserIsStoredAndWritten) {
    SimulatedTool app;
    app.panel.create();
    app.panel.userPicksFont("");
    EXPECT_EQ(app.state.fontName, "");
    EXPECT_EQ(app.saved("font"), "");
}

TEST(Closing, WithTheOverlayOpenTheOverlaySavesTheGeometryOnceAndTheToggleIsLeftAlone) {
    SimulatedTool app;
    app.panel.create();
    app.panel.userClicksToggle();
    ASSERT_TRUE(app.overlay.exists());
    app.overlay.userMovesWindow(400, 500);
    const int before = app.files.replacements();
    const int captionWrites = app.panel.toggleCaptionWrites();

    app.panel.destroy();

    EXPECT_FALSE(app.overlay.exists());
    EXPECT_EQ(app.overlayDestroyedRuns, 1);
    EXPECT_FALSE(app.panelOpenWhileOverlayDestroyed);
    EXPECT_FALSE(app.state.overlayShown);
    EXPECT_EQ(app.files.replacements(), before + 4);
    EXPECT_EQ(app.panel.toggleCaptionWrites(), captionWrites);
    EXPECT_EQ(app.saved("left"), "400");
    EXPECT_EQ(app.saved("top"), "500");
}

TEST(Closing, AMoveToALeftEdgeOfMinus30IsShownAndSavedUnclamped) {
    SimulatedTool app;
    app.panel.create();
    app.panel.userClicksToggle();
    const int before = app.files.replacements();

    app.overlay.userMovesWindow(-30, 700);

    EXPECT_EQ(app.state.overlayLeft, -30);
    EXPECT_EQ(app.state.overlayTop, 700);
    EXPECT_EQ(app.panel.sliderPosition(Slider::Left), 0);
    EXPECT_EQ(app.panel.sliderPosition(Slider::Top), 700);
    EXPECT_EQ(app.panel.caption(ValueCaption::Left), "水平位置 = -30");
    EXPECT_EQ(app.panel.caption(ValueCaption::Top), "垂直位置 = 700");
    EXPECT_EQ(app.state.overlayWidth, 1024);
    EXPECT_EQ(app.files.replacements(), before);

    app.panel.userClicksToggle(); // closing the overlay saves the geometry
    EXPECT_EQ(app.saved("left"), "-30");
    app.panel.destroy();
    EXPECT_EQ(app.saved("left"), "-30");

    SimulatedTool nextRun; // clamped only at the next load
    nextRun.givenSettingsFile(*app.fileBytes());
    nextRun.panel.create();
    EXPECT_EQ(nextRun.state.overlayLeft, 0);
}

TEST(Closing, TheSubtitleAtTheFarRightOfAWideScreenComesBackThereNextRun) {
    SimulatedTool app;
    app.panel.create();
    app.panel.userMovesSlider(Slider::Left, 1900);
    app.panel.userMovesSlider(Slider::Width, 1900);
    app.panel.destroy();
    EXPECT_EQ(app.saved("left"), "1900");

    SimulatedTool nextRun;
    nextRun.givenSettingsFile(*app.fileBytes());
    nextRun.panel.create();
    EXPECT_EQ(nextRun.state.overlayLeft, 1900);
    EXPECT_EQ(nextRun.state.overlayWidth, 1900);
    EXPECT_EQ(nextRun.panel.sliderPosition(Slider::Left), 1900);
    EXPECT_EQ(nextRun.panel.caption(ValueCaption::Left), "水平位置 = 1900");
    nextRun.panel.userClicksToggle();
    EXPECT_EQ(nextRun.overlay.windowLeft(), 1900);
}

TEST(FileProblems, ReadOnlyFileIsReadChangesStayInMemoryNothingIsShown) {
    SimulatedTool app;
    const std::string original = "[config]\r\nsize=500\r\nbold=on\r\n";
    app.givenSettingsFile(original);
    app.files.makeReadOnly(app.iniPath());

    app.panel.create();
    app.panel.userClicks(CheckBox::Italic);
    app.panel.userMovesSlider(Slider::Left, 99);
    app.panel.destroy();

    EXPECT_EQ(app.state.fontSize, 200);
    EXPECT_TRUE(app.panel.isChecked(CheckBox::Bold));
    EXPECT_TRUE(app.panel.isChecked(CheckBox::Italic));
    EXPECT_EQ(app.state.overlayLeft, 99);
    EXPECT_EQ(app.fileBytes(), original);
    EXPECT_EQ(app.files.replacements(), 0);
    EXPECT_EQ(app.files.refusedReplacements(), 6);
    EXPECT_TRUE(app.shell.messages().empty());
}

TEST(FileProblems, ReadOnlyFolderGivesDefaultsAndNoFile) {
    SimulatedTool app;
    app.files.makeReadOnly(app.shell.programDirectory());
    app.panel.create();
    app.panel.userClicks(CheckBox::Bold);
    app.panel.destroy();
    EXPECT_EQ(app.state.fontSize, 20);
    EXPECT_EQ(app.fileBytes(), std::nullopt);
    EXPECT_EQ(app.files.refusedReplacements(), 6);
    EXPECT_TRUE(app.shell.messages().empty());
}

TEST(FileProblems, AFolderOrAnUnreadableFileWhereTheFileShouldBeIsNeverReplaced) {
    for (const bool folder : {true, false}) {
        SimulatedTool app;
        if (folder) {
            app.files.makeFolder(app.iniPath());
        } else {
            app.givenSettingsFile("[config]\r\nsize=50\r\nfont=x\r\n");
            app.files.makeUnreadable(app.iniPath());
        }
        app.panel.create();
        app.panel.destroy();
        EXPECT_EQ(app.state.fontSize, 20) << folder;
        EXPECT_EQ(app.files.replacements(), 0) << folder;
        EXPECT_EQ(app.files.refusedReplacements(), 0) << folder;
    }
}

TEST(FileProblems, JunkAndHugeValuesLoadInRange) {
    SimulatedTool app;
    const char head[] = "\x00\x01\xFF\r\n[config]\r\nsize=";
    std::string junk(head, sizeof head - 1);
    junk += std::string(1 << 20, '9');
    junk += "\r\nleft=\x80\x81\r\ntop=-0\r\nwidth=+77777777777777\r\nheight=\t\t12 3\r\n";
    app.givenSettingsFile(junk);
    app.panel.create();
    EXPECT_EQ(app.state.fontSize, 200);
    EXPECT_EQ(app.state.overlayLeft, 0);
    EXPECT_EQ(app.state.overlayTop, 1);
    EXPECT_EQ(app.state.overlayWidth, 1920);
    EXPECT_EQ(app.state.overlayHeight, 12);
}

} // namespace
} // namespace pal4::testing
