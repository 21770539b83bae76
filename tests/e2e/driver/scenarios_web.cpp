// The line and the subtitle on a local port: a study tool's plain WebSocket client, and the page
// in a real browser (headless Chromium, through its DevTools) as a streaming program shows it.
#include "browser_page.hpp"
#include "game_session.hpp"
#include "panel_controls.hpp"
#include "scenario_registry.hpp"
#include "scenario_steps.hpp"
#include "tool_session.hpp"
#include "wait_until.hpp"
#include "web_client.hpp"
#include "web_flood.hpp"
#include "window_search.hpp"

#include <cstdio>
#include <memory>
#include <string>

namespace e2e {

namespace {

constexpr std::uint16_t WEB_PORT = 36677;
constexpr int COLOR_PICKER = 105;
constexpr int COLOR_EDIT_RED = 706; // the colour dialog's own edit boxes (colordlg.h)
// "In time" with room for a loaded machine; the benchmark measures how fast it really is.
constexpr DWORD IN_TIME_MS = 1000;

std::string utf8(std::u8string_view text) {
    return {text.begin(), text.end()};
}

const std::string SETTINGS = "[config]\r\nwebport=" + std::to_string(WEB_PORT) + "\r\n";
const char* const PAGE_TEXT = "encodeURIComponent(document.getElementById('line').textContent)";

// Sets the text colour through the panel's colour dialog, as a user would type it.
void pickColour(ToolSession& tool, int red, int green, int blue) {
    tool.click(COLOR_PICKER);
    const HWND dialog = waitForTopLevelWindow(tool.processId(), L"#32770", 5000);
    require(dialog != nullptr, "the colour dialog did not open");
    const int values[3] = {red, green, blue};
    for (int i = 0; i < 3; ++i) {
        const std::wstring text = std::to_wstring(values[i]);
        DWORD_PTR ignored = 0;
        SendMessageTimeoutW(GetDlgItem(dialog, COLOR_EDIT_RED + i), WM_SETTEXT, 0,
                            reinterpret_cast<LPARAM>(text.c_str()), SMTO_ABORTIFHUNG, 3000,
                            &ignored);
    }
    PostMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
    require(waitUntil([&] { return !IsWindow(dialog); }, 5000), "the colour dialog stayed open");
}

class PageInBrowser {
public:
    explicit PageInBrowser(const DriverContext& context) {
        if (context.browserPort == 0) {
            std::printf("  note: no browser (chromium) to open the page in; the page is not "
                        "checked\n");
            return;
        }
        // By the name a streaming program's browser source is as likely to be given.
        page_ = std::make_unique<BrowserPage>(static_cast<std::uint16_t>(context.browserPort),
                                              "http://localhost:" + std::to_string(WEB_PORT) + "/");
        requireWithin([&] { return page_->evaluate("document.readyState") == "complete"; }, 10000,
                      [] { return std::string("the page did not load in the browser"); });
    }

    void expectText(const std::string& text, const std::string& when) {
        if (!page_) {
            return;
        }
        std::string seen;
        requireWithin([&] { return (seen = page_->evaluate(PAGE_TEXT)) == uriComponent(text); },
                      IN_TIME_MS, [&] { return when + ": the page shows \"" + seen + "\""; });
    }

    void expectColour(const std::string& css, const std::string& when) {
        if (!page_) {
            return;
        }
        std::string seen;
        requireWithin(
            [&] {
                return (seen = page_->evaluate(
                            "getComputedStyle(document.getElementById('line')).color")) == css;
            },
            IN_TIME_MS, [&] { return when + ": the page's colour is " + seen; });
    }

private:
    std::unique_ptr<BrowserPage> page_;
};

std::string request(const std::string& path) {
    return "GET " + path + " HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(WEB_PORT) + "\r\n\r\n";
}

// Clients that send without end, beside a study tool that reads every line.
void flood(WebClient& studyTool, GameSession& game) {
    WebFlood flood(WEB_PORT, 1);
    Sleep(500);
    for (int n = 1; n <= 5; ++n) {
        game.setText("甲：第" + std::to_string(n) + "句");
        require(studyTool.receiveText(IN_TIME_MS).has_value(),
                "a line did not reach the study tool in time during a flood");
    }
    flood.stop();
    const WebFlood::Figures figures = flood.figures();
    require(figures.ended > 0 && figures.slowestEndMs <= 2 * IN_TIME_MS,
            "a flooder lasted " + std::to_string(figures.slowestEndMs) + " ms");
}

void webFeeds(const DriverContext& context) {
    auto tool = std::make_unique<ToolSession>(context, SETTINGS);
    GameSession game(context, {});
    std::string answer;
    requireWithin(
        [&] {
            return (answer = httpExchange(WEB_PORT, request("/Pal4_Corvel.ini"), 2000))
                .starts_with("HTTP/1.1 404 ");
        },
        5000, [&] { return "another path was answered \"" + answer + "\""; });
    WebClient elsewhere; // 127.0.0.2 is this machine too, but not the loopback address
    require(!elsewhere.connect(WEB_PORT, INADDR_LOOPBACK + 1),
            "the port answers on another address than 127.0.0.1");
    WebClient studyTool;
    require(studyTool.open(WEB_PORT, "/"), "the line feed refused a WebSocket");
    PageInBrowser page(context);
    openOverlay(*tool, game);

    const auto say = [&](const std::string& line, const std::string& expected,
                         const std::string& shown) {
        game.setText(line);
        const auto received = studyTool.receiveText(IN_TIME_MS);
        require(received == expected, "the study tool got \"" + received.value_or("nothing") +
                                          "\" instead of \"" + expected + "\"");
        page.expectText(shown, "after \"" + expected + "\"");
    };
    say("甲：你好", utf8(u8"甲：你好"), utf8(u8"你好"));
    say("乙：<b>再见</b>\n明天", utf8(u8"乙：再见\n明天"), utf8(u8"再见\n明天"));

    game.setBlankFlag(1);
    page.expectText("", "the blank flag");
    game.setBlankFlag(0);
    page.expectText(utf8(u8"再见\n明天"), "the line shown again");
    require(!studyTool.receiveText(500), "the line shown again was sent again");

    pickColour(*tool, 255, 0, 0);
    page.expectColour("rgb(255, 0, 0)", "the colour changed to red");
    flood(studyTool, game);

    tool->click(TOGGLE_BUTTON);
    require(tool->overlayGone(5000), "the overlay did not close");
    page.expectText("", "the closed overlay");

    // Closed and started again at once: the port is the tool's again, and the page comes back.
    tool->closePanel();
    DWORD exitCode = 0;
    require(tool->waitForExit(5000, exitCode), "the tool did not close");
    tool.reset();
    tool = std::make_unique<ToolSession>(context, SETTINGS);
    requireWithin(
        [&] { return httpExchange(WEB_PORT, request("/"), 1000).starts_with("HTTP/1.1 200 "); },
        5000, [] { return std::string("the page was not served within 5 s of a restart"); });
    openOverlay(*tool, game);
    game.setText("丙：又见");
    page.expectText(utf8(u8"又见"), "the tool started again");
}

const ScenarioRegistration registrations[] = {
    {"web-feeds-study-tool-and-browser", &webFeeds},
};

} // namespace

} // namespace e2e
