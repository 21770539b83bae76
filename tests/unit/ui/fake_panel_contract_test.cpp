// Setting a control's value from code never runs its handler; the user's change does.
#include "fakes/fake_panel.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace pal4::testing {
namespace {

class RecordingPanelEvents final : public PanelEvents {
public:
    std::vector<std::string> events;
    void onPanelCreated() override { events.emplace_back("created"); }
    void onPanelDestroying() override { events.emplace_back("destroying"); }
    void onToggleClicked() override { events.emplace_back("toggle"); }
    void onColorChanged() override { events.emplace_back("color"); }
    void onFontSizeChanged() override { events.emplace_back("size"); }
    void onFontChanged() override { events.emplace_back("font"); }
    void onLeftChanged() override { events.emplace_back("left"); }
    void onTopChanged() override { events.emplace_back("top"); }
    void onWidthChanged() override { events.emplace_back("width"); }
    void onHeightChanged() override { events.emplace_back("height"); }
    void onBoldClicked() override { events.emplace_back("bold"); }
    void onItalicClicked() override { events.emplace_back("italic"); }
    void onShadowClicked() override { events.emplace_back("shadow"); }
    void onCentreClicked() override { events.emplace_back("centre"); }
    void onOutlineClicked() override { events.emplace_back("outline"); }
    void onDebugClicked() override { events.emplace_back("debug"); }
    void onAuthorLinkPressed() override { events.emplace_back("author"); }
    void onClubLinkPressed() override { events.emplace_back("club"); }
    void onHistoryClicked() override { events.emplace_back("history"); }
    void onOpenLogPressed() override { events.emplace_back("open log"); }
    void onLockClicked() override { events.emplace_back("lock"); }
    void onLockHotkey() override { events.emplace_back("lock hotkey"); }
    void onFullScreenClicked() override { events.emplace_back("full screen"); }
    void onFullScreenHotkey() override { events.emplace_back("full screen hotkey"); }
};

constexpr Slider kSliders[] = {Slider::FontSize, Slider::Left, Slider::Top, Slider::Width,
                               Slider::Height};
constexpr CheckBox kBoxes[] = {CheckBox::Bold, CheckBox::Italic, CheckBox::Shadow, CheckBox::Centre,
                               CheckBox::Debug};

TEST(FakePanel, SettingValuesFromCodeRunsNoHandler) {
    RecordingPanelEvents recorder;
    FakePanel panel;
    panel.bind(recorder);
    for (const Slider slider : kSliders) {
        panel.setSliderPosition(slider, 5);
        EXPECT_EQ(panel.sliderPosition(slider), 5);
    }
    for (const CheckBox box : kBoxes) {
        panel.setChecked(box, true);
        EXPECT_TRUE(panel.isChecked(box));
    }
    panel.setCaption(ValueCaption::Left, "x");
    panel.setFontFace("黑体");
    panel.setColor(255);
    panel.setEditText("t");
    panel.setToggleCaption("c");
    panel.underlineLinks();
    EXPECT_TRUE(recorder.events.empty());
}

TEST(FakePanel, TheUsersChangesRunTheirHandlers) {
    RecordingPanelEvents recorder;
    FakePanel panel;
    panel.bind(recorder);
    for (const Slider slider : kSliders) {
        panel.userMovesSlider(slider, 5);
    }
    for (const CheckBox box : kBoxes) {
        panel.userClicks(box);
    }
    panel.userPicksFont("x");
    panel.userPicksColor(1);
    EXPECT_EQ(recorder.events,
              (std::vector<std::string>{"size", "left", "top", "width", "height", "bold", "italic",
                                        "shadow", "centre", "debug", "font", "color"}));
}

} // namespace
} // namespace pal4::testing
