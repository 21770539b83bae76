// The whole tool wired as the exe wires it, with every port faked: the user's sessions from
// start to end, across the settings, the panel, the overlay and the game.
#include "app/application.hpp"
#include "fakes/fake_file_store.hpp"
#include "fakes/fake_overlay.hpp"
#include "fakes/fake_panel.hpp"
#include "fakes/fake_shell.hpp"
#include "settings/ini_document.hpp"
#include "unit/capture/game_world.hpp"

#include <gtest/gtest.h>

#include <bit>
#include <memory>
#include <optional>
#include <string>

namespace pal4::testing {
namespace {

class ApplicationStory : public ::testing::Test {
protected:
    // Starts the tool: the panel is created and loads the settings.
    void startTool() {
        panel = std::make_unique<FakePanel>();
        overlay = std::make_unique<FakeOverlay>();
        app = std::make_unique<Application>(Ports{*panel, *overlay, world.game, shell, files});
        panel->bind(*app);
        overlay->bind(*app);
        panel->create();
    }

    std::optional<std::string> saved(std::string_view key) const {
        const auto bytes = files.file(shell.programDirectory() / "Pal4_Corvel.ini");
        return bytes ? IniDocument(*bytes).value("config", key) : std::nullopt;
    }

    std::uint32_t markerBits() const {
        return std::bit_cast<std::uint32_t>(
            world.game.peekFloat32(GameWorld::PID, GameWorld::MARKER));
    }
    std::uint32_t switchBits() const {
        return static_cast<std::uint32_t>(
            world.game.peekInt32(GameWorld::PID, GameWorld::OVERLAY_SWITCH));
    }

    GameWorld world;
    FakeShell shell;
    FakeFileStore files;
    std::unique_ptr<FakePanel> panel;
    std::unique_ptr<FakeOverlay> overlay;
    std::unique_ptr<Application> app;
};

TEST_F(ApplicationStory, AFirstEveningWithTheTool) {
    startTool();
    EXPECT_EQ(panel->caption(ValueCaption::FontSize), "字体大小 = 20");
    EXPECT_EQ(saved("size"), "20");
    EXPECT_EQ(saved("left"), std::nullopt);

    // The game is still on its title screen: the tool refuses and stays closed.
    world.setMarker(0.0f);
    panel->userClicksToggle();
    ASSERT_EQ(shell.messages().size(), 1u);
    EXPECT_EQ(shell.messages()[0].text, "请先进入仙剑4");
    EXPECT_FALSE(overlay->exists());

    // In the game: the overlay opens over it and the game is told so.
    world.setMarker(474.0f);
    panel->userClicksToggle();
    ASSERT_TRUE(overlay->exists());
    EXPECT_EQ(panel->toggleCaption(), "去除字幕");
    EXPECT_EQ(overlay->colorKey(), 0x000001u);
    EXPECT_EQ(markerBits(), 0x45942000u);
    EXPECT_EQ(switchBits(), 0u);
    EXPECT_EQ(overlay->timerInterval(), 100u);
    EXPECT_EQ(overlay->label().text, " ");

    // A line of dialogue appears without its speaker and markup.
    world.say("张三：你好<c1>啊</c>");
    overlay->timerFires();
    EXPECT_EQ(overlay->label().text, "你好啊");
    EXPECT_EQ(panel->editText(), "张三：你好<c1>啊</c>");

    // The user styles it while it is showing; the style is saved at once.
    panel->userClicks(CheckBox::Bold);
    EXPECT_TRUE(overlay->label().bold);
    EXPECT_EQ(saved("bold"), "on");
    panel->userMovesSlider(Slider::Top, 700);
    EXPECT_EQ(overlay->windowTop(), 700);
    EXPECT_EQ(panel->caption(ValueCaption::Top), "垂直位置 = 700");
    EXPECT_EQ(saved("top"), std::nullopt) << "geometry is saved on closing only";

    // Then drags the overlay partly off the screen's left edge.
    overlay->userMovesWindow(-30, 650);
    EXPECT_EQ(panel->sliderPosition(Slider::Left), 0);
    EXPECT_EQ(panel->caption(ValueCaption::Left), "水平位置 = -30");

    // Closing the panel closes the overlay, saves where it was and gives the game back its values.
    const int captionWrites = panel->toggleCaptionWrites();
    panel->destroy();
    EXPECT_FALSE(overlay->exists());
    EXPECT_EQ(saved("left"), "-30");
    EXPECT_EQ(saved("top"), "650");
    EXPECT_EQ(saved("width"), "1024");
    EXPECT_EQ(saved("height"), "160");
    EXPECT_EQ(markerBits(), 0x43ED0000u);
    EXPECT_EQ(switchBits(), 0x3F800000u);
    EXPECT_EQ(panel->toggleCaptionWrites(), captionWrites);
    EXPECT_TRUE(world.game.allHandlesClosed());
}

TEST_F(ApplicationStory, TheNextStartPicksUpWhereTheLastEnded) {
    startTool();
    panel->userClicks(CheckBox::Shadow);
    panel->userPicksColor(255);
    panel->userMovesSlider(Slider::FontSize, 36);
    panel->userClicksToggle();
    overlay->userMovesWindow(-30, 650);
    overlay->userPressesEscape();
    EXPECT_EQ(panel->toggleCaption(), "外挂字幕");
    panel->destroy();

    startTool();
    EXPECT_TRUE(panel->isChecked(CheckBox::Shadow));
    EXPECT_TRUE(app->state().shadowOn);
    EXPECT_EQ(app->state().textColor, 255u);
    EXPECT_EQ(app->state().fontSize, 36);
    // The off-screen edge is kept in the file but comes back clamped by the slider.
    EXPECT_EQ(app->state().overlayLeft, 0);
    EXPECT_EQ(app->state().overlayTop, 650);

    panel->userClicksToggle();
    world.say("李四：再见");
    overlay->timerFires();
    EXPECT_EQ(overlay->label().text, "再见");
    EXPECT_TRUE(overlay->label().shadowed);
    EXPECT_EQ(overlay->label().textColor, 255u);
    EXPECT_EQ(overlay->label().fontSize, 36);
    EXPECT_EQ(overlay->windowLeft(), 0);
}

TEST_F(ApplicationStory, TheGameQuittingWhileTheOverlayIsOpenBlanksItAndClosingStillWorks) {
    startTool();
    panel->userClicksToggle();
    world.say("张三：你好");
    overlay->timerFires();
    ASSERT_EQ(overlay->label().text, "你好");

    world.game.exitProcess(GameWorld::PID);
    overlay->timerFires();
    EXPECT_EQ(overlay->label().text, "");

    panel->userClicksToggle();
    EXPECT_FALSE(overlay->exists());
    EXPECT_EQ(panel->toggleCaption(), "外挂字幕");
    EXPECT_EQ(app->state().gamePid, 0u);
    EXPECT_TRUE(shell.messages().empty());
}

} // namespace
} // namespace pal4::testing
