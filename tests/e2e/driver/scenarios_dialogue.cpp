// The dialogue kept beside the exe: the story log, the live line and the clipboard; a step back
// on the subtitle changes none of them.
#include "game_session.hpp"
#include "panel_controls.hpp"
#include "scenario_registry.hpp"
#include "scenario_steps.hpp"
#include "subtitle_pixels.hpp"
#include "tool_session.hpp"
#include "wait_until.hpp"
#include "window_text.hpp"

#include <cctype>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace e2e {

namespace {

const std::string BOM = "\xEF\xBB\xBF";

std::string utf8(std::u8string_view text) {
    return {text.begin(), text.end()};
}

std::string fileBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void expectFile(const std::filesystem::path& file, const std::string& bytes,
                const std::string& when) {
    requireWithin([&] { return fileBytes(file) == bytes; }, 3000,
                  [&] { return when + ": the file holds \"" + fileBytes(file) + "\""; });
}

std::wstring clipboardText() {
    std::wstring text;
    waitUntil(
        [&] {
            if (!OpenClipboard(nullptr)) {
                return false;
            }
            if (const HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
                if (const auto* units = static_cast<const wchar_t*>(GlobalLock(data))) {
                    text = units;
                    GlobalUnlock(data);
                }
            }
            CloseClipboard();
            return true;
        },
        3000);
    return text;
}

// "YYYY-MM-DD HH:MM:SS " then the text, for each line, each ended by CR LF. (The texts hold
// no ASCII digit, so a '0' of the shape stands for any digit.)
bool isLog(const std::string& bytes, const std::vector<std::string>& texts) {
    std::string shape = BOM;
    for (const std::string& text : texts) {
        shape += "0000-00-00 00:00:00 " + text + "\r\n";
    }
    for (std::size_t i = 0; i < shape.size() && shape.size() == bytes.size(); ++i) {
        const bool digit = std::isdigit(static_cast<unsigned char>(bytes[i])) != 0;
        if (shape[i] == '0' ? !digit : bytes[i] != shape[i]) {
            return false;
        }
    }
    return shape.size() == bytes.size();
}

void dialogueKept(const DriverContext& context) {
    ToolSession tool(context, settingsWithTextColour("clipboard=on\r\n"));
    GameSession game(context, {});
    const std::filesystem::path folder = tool.settingsFile().parent_path();
    const std::filesystem::path log = folder / u8"对白记录.txt";
    const std::filesystem::path live = folder / u8"当前对白.txt";
    const HWND overlay = openOverlay(tool, game);
    tool.click(HISTORY_BOX);
    require(waitUntil([&] { return tool.settings()["history"] == "on"; }, 3000),
            "the switch was not saved as on");

    showLine(tool, game, "甲：你好");
    showLine(tool, game, "乙：<b>再见</b>");
    expectFile(live, BOM + utf8(u8"再见"), "the second line");
    game.setBlankFlag(1);
    expectFile(live, BOM, "the blank flag");
    game.setBlankFlag(0);
    expectFile(live, BOM + utf8(u8"再见"), "the line shown again");
    // A step back puts "甲：你好（前1句）" on the subtitle, far more text than "再见"; the
    // files and the clipboard stay with the game's line.
    const auto pixels = [](const ScreenCapture& capture) { return textPixels(capture).count; };
    const int gameLine = pixels(waitForSettledCapture(
        overlay, [&](auto& c) { return pixels(c) > 0; }, "再见"));
    pressKeys(game, {VK_CONTROL, VK_MENU, VK_UP});
    const ScreenCapture steppedCapture = waitForSettledCapture(
        overlay, [&](auto& c) { return pixels(c) > 2 * gameLine; }, "the step back");
    const std::vector<bool> stepped = textMask(steppedCapture);
    expectFile(live, BOM + utf8(u8"再见"), "the step back");
    require(clipboardText() == L"乙：再见", "the step back reached the clipboard");
    // A lead byte without its trail byte reads the same in the edit box as in the files.
    game.setText("丙：坏字\xB0");
    require(waitUntil([&] { return tool.caption(HELP_BOX) == L"丙：坏字\uFFFD"; }, 3000),
            "the edit box shows \"" + toUtf8(tool.caption(HELP_BOX)) + "\"");
    expectFile(live, BOM + utf8(u8"坏字\uFFFD"), "the broken line");
    // The new line ended the stepping: the subtitle shows it, not the stepped line.
    waitForSettledCapture(
        overlay,
        [&](auto& c) {
            return textMask(c) != stepped && pixels(c) > 0 && pixels(c) < pixels(steppedCapture);
        },
        "the new line after the step back");
    require(clipboardText() == L"丙：坏字\uFFFD",
            "the clipboard holds \"" + toUtf8(clipboardText()) + "\"");
    const std::vector<std::string> lines{utf8(u8"甲：你好"), utf8(u8"乙：再见"),
                                         utf8(u8"丙：坏字\uFFFD")};
    requireWithin([&] { return isLog(fileBytes(log), lines); }, 3000,
                  [&] { return "the log holds \"" + fileBytes(log) + "\""; });

    // An editor holds the log, sharing nothing: the line waits, the edit box says so under it,
    // and the log catches up in order once the file is free.
    HANDLE held = CreateFileW(log.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    require(held != INVALID_HANDLE_VALUE, "cannot hold the log");
    game.setText("甲：等等");
    const std::wstring notice = L"甲：等等\r\n无法写入对白记录：对白记录.txt";
    const bool noticed = waitUntil([&] { return tool.caption(HELP_BOX) == notice; }, 3000);
    CloseHandle(held);
    require(noticed, "the edit box shows \"" + toUtf8(tool.caption(HELP_BOX)) + "\"");
    showLine(tool, game, "乙：好了");
    std::vector<std::string> caughtUp = lines;
    caughtUp.push_back(utf8(u8"甲：等等"));
    caughtUp.push_back(utf8(u8"乙：好了"));
    requireWithin([&] { return isLog(fileBytes(log), caughtUp); }, 3000,
                  [&] { return "after the hold the log holds \"" + fileBytes(log) + "\""; });

    tool.click(TOGGLE_BUTTON);
    require(tool.overlayGone(5000), "the overlay did not close");
    expectFile(live, BOM, "the closed overlay");
    require(isLog(fileBytes(log), caughtUp), "closing the overlay changed the log");
}

const ScenarioRegistration registrations[] = {
    {"dialogue-log-live-line-clipboard", &dialogueKept},
};

} // namespace

} // namespace e2e
