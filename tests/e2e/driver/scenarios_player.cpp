// What the player is told and what the player may press: the refusal's reason in the edit box,
// the missing game module, one box at a time, and the toggle's hot key.
#include "game_session.hpp"
#include "keyboard_input.hpp"
#include "message_box.hpp"
#include "panel_controls.hpp"
#include "scenario_registry.hpp"
#include "scenario_steps.hpp"
#include "tool_session.hpp"
#include "wait_until.hpp"
#include "window_search.hpp"
#include "window_text.hpp"

#include <filesystem>
#include <initializer_list>
#include <string>

namespace e2e {

namespace {

constexpr wchar_t GAME_NOT_RUNNING[] = L"没有找到游戏进程 Pal4.exe，请先启动游戏。";
constexpr wchar_t GAME_DATA_UNREADABLE[] =
    L"读不到游戏数据：本工具只适用于简体免CD版仙剑4（Pal4.exe 大小为5410136字节）";
constexpr wchar_t NOT_IN_GAME[] =
    L"游戏还没有开始：请读取存档或开始新游戏，进入游戏画面后再按外挂字幕。";
constexpr wchar_t MODULE_MISSING[] = L"找不到 OIRAMLOOK.DLL，读不到对白。";
constexpr wchar_t HELP_START[] = L"使用帮助：";

std::wstring unusableHotkey(const std::wstring& combination) {
    return L"无法使用热键 " + combination + L"，外挂字幕只能用按钮开关。";
}

std::wstring editBox(const ToolSession& tool) {
    return tool.caption(HELP_BOX);
}

void expectEditBox(const ToolSession& tool, const std::wstring& expected, const std::string& when) {
    requireWithin([&] { return editBox(tool) == expected; }, 3000,
                  [&] {
                      return when + ": the edit box says \"" + toUtf8(editBox(tool)) +
                             "\", not \"" + toUtf8(expected) + "\"";
                  });
}

int messageBoxesOf(const ToolSession& tool) {
    return static_cast<int>(topLevelWindows(tool.processId(), L"#32770").size());
}

// Waits for the refusal's box, checks that the panel waits behind it with the edit box as it
// was, lets `whileUp` act, dismisses the box and returns the edit box's text of before.
template <typename WhileUp>
std::wstring refuse(ToolSession& tool, const std::string& situation, WhileUp whileUp) {
    const std::wstring before = editBox(tool);
    const auto box = waitForMessageBox(tool.processId(), REFUSAL_TITLE, 5000);
    require(box.has_value(), situation + ": no refusal message box");
    require(box->text == REFUSAL_TEXT, situation + ": the box says \"" + toUtf8(box->text) + "\"");
    require(box->buttonCount == 1, situation + ": the box has more than one button");
    require(GetWindow(box->box, GW_OWNER) == tool.panel(), situation + ": the panel owns no box");
    require(!IsWindowEnabled(tool.panel()), situation + ": the panel takes input under the box");
    require(editBox(tool) == before, situation + ": the edit box changed while the box was up");
    whileUp();
    require(dismissMessageBox(*box, 5000), situation + ": the box did not go");
    require(tool.overlayGone(0), situation + ": an overlay opened");
    return before;
}

void clickAndRefuse(ToolSession& tool, const std::string& situation) {
    tool.click(TOGGLE_BUTTON);
    refuse(tool, situation, [] {});
}

void pressCtrlAltS(GameSession& game) {
    pressKeys(game, {VK_CONTROL, VK_MENU, 'S'});
}

// --- the refusal's reason ---

void reasonNoGame(const DriverContext& context) {
    ToolSession tool(context);
    require(editBox(tool).starts_with(HELP_START), "the edit box does not start with the help");
    clickAndRefuse(tool, "no game");
    expectEditBox(tool, GAME_NOT_RUNNING, "after the box");
}

void reasonBrokenChain(const DriverContext& context) {
    ToolSession tool(context);
    GameSession game(context, {});
    game.breakChain();
    clickAndRefuse(tool, "broken chain");
    const auto size = std::filesystem::file_size(std::filesystem::path(context.gameExe));
    expectEditBox(tool,
                  std::wstring(GAME_DATA_UNREADABLE) + L"，当前的 Pal4.exe 为 " +
                      std::to_wstring(size) + L" 字节。",
                  "after the box");
}

void reasonNotInGame(const DriverContext& context) {
    ToolSession tool(context);
    GameSession game(context, {.inGame = false});
    clickAndRefuse(tool, "title screen");
    expectEditBox(tool, NOT_IN_GAME, "after the box");
    // The first changed dialogue line replaces the reason, as it replaces the help.
    game.setMarker(474.0f);
    openOverlay(tool, game);
    showLine(tool, game, "韩菱纱：走吧。");
}

void moduleMissing(const DriverContext& context) {
    ToolSession tool(context);
    GameSession game(context, {.renamedModule = true});
    openOverlay(tool, game);
    expectEditBox(tool, MODULE_MISSING, "with the dialogue module under another name");
    tool.click(TOGGLE_BUTTON);
    require(tool.overlayGone(3000), "the toggle did not close the overlay");
}

// --- one box at a time ---

void oneBoxAtATime(const DriverContext& context) {
    ToolSession tool(context);
    GameSession game(context, {.inGame = false});
    tool.click(TOGGLE_BUTTON);
    refuse(tool, "second press while the box is up", [&] {
        tool.click(TOGGLE_BUTTON);
        pressCtrlAltS(game);
        Sleep(800);
        require(messageBoxesOf(tool) == 1,
                "a second box: " + std::to_string(messageBoxesOf(tool)) + " are up");
    });
    require(messageBoxesOf(tool) == 0, "a box came back after the first was dismissed");
    expectEditBox(tool, NOT_IN_GAME, "after the box");
}

// --- the hot key ---

void hotkeyOpensAndCloses(const DriverContext& context) {
    ToolSession tool(context);
    GameSession game(context, {});
    pressCtrlAltS(game);
    tool.waitForOverlay();
    tool.expectToggleCaption(OPEN_CAPTION, "after the hot key opened the overlay");
    pressCtrlAltS(game);
    require(tool.overlayGone(3000), "the hot key did not close the overlay");
    tool.expectToggleCaption(CLOSED_CAPTION, "after the hot key closed the overlay");
    expectGameRestored(game, "after the hot key closed the overlay");
    require(!tool.settings().contains("hotkey"), "the hot key was written to the settings");
}

void hotkeyRefuses(const DriverContext& context) {
    ToolSession tool(context);
    GameSession game(context, {.inGame = false});
    pressCtrlAltS(game);
    refuse(tool, "hot key outside a game", [] {});
    expectEditBox(tool, NOT_IN_GAME, "after the box");
}

void hotkeyFromSettings(const DriverContext& context) {
    ToolSession tool(context, std::string("[config]\r\nhotkey=Ctrl+Shift+F9\r\n"));
    GameSession game(context, {});
    pressCtrlAltS(game);
    require(tool.overlayGone(1500), "the default hot key still works beside another");
    pressKeys(game, {VK_CONTROL, VK_SHIFT, VK_F9});
    tool.waitForOverlay();
    tool.expectToggleCaption(OPEN_CAPTION, "after Ctrl+Shift+F9");
    require(tool.settings().at("hotkey") == "Ctrl+Shift+F9", "the hotkey value was rewritten");
}

void hotkeyUnreadable(const DriverContext& context) {
    ToolSession tool(context, std::string("[config]\r\nhotkey=Ctrl+Banana\r\n"));
    GameSession game(context, {});
    expectEditBox(tool, unusableHotkey(L"Ctrl+Banana"), "with hotkey=Ctrl+Banana");
    openOverlay(tool, game); // the button works all the same
}

void hotkeyHeldElsewhere(const DriverContext& context) {
    // The driver holds Ctrl+Alt+S itself, as another program would.
    constexpr int HELD_ID = 0x2A;
    require(RegisterHotKey(nullptr, HELD_ID, MOD_CONTROL | MOD_ALT, 'S') != FALSE,
            "the driver could not take Ctrl+Alt+S");
    struct GiveBack {
        ~GiveBack() { UnregisterHotKey(nullptr, HELD_ID); }
    } giveBack;
    ToolSession tool(context);
    GameSession game(context, {});
    expectEditBox(tool, unusableHotkey(L"Ctrl+Alt+S"), "with Ctrl+Alt+S held elsewhere");
    openOverlay(tool, game);
}

const ScenarioRegistration registrations[] = {
    {"reason-no-game", &reasonNoGame},
    {"reason-broken-chain", &reasonBrokenChain},
    {"reason-not-in-game", &reasonNotInGame},
    {"reason-module-missing", &moduleMissing},
    {"one-box-at-a-time", &oneBoxAtATime},
    {"hotkey-opens-and-closes", &hotkeyOpensAndCloses},
    {"hotkey-refuses-outside-a-game", &hotkeyRefuses},
    {"hotkey-from-settings", &hotkeyFromSettings},
    {"hotkey-unreadable", &hotkeyUnreadable},
    {"hotkey-held-elsewhere", &hotkeyHeldElsewhere},
};

} // namespace

} // namespace e2e
