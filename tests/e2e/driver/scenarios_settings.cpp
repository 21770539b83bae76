// The settings file as the panel loads it: first run, clamping, the exact "on", random bytes.
#include "panel_controls.hpp"
#include "scenario_registry.hpp"
#include "tool_session.hpp"
#include "wait_until.hpp"
#include "window_text.hpp"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace e2e {

namespace {

struct SliderView {
    const char* key;
    int captionId;
    int sliderId;
    const wchar_t* prefix;
    int minimum;
    int maximum;
};

constexpr SliderView SLIDERS[] = {
    {"size", FONT_SIZE_CAPTION, FONT_SIZE_SLIDER, L"字体大小 = ", 1, 200},
    {"left", LEFT_CAPTION, LEFT_SLIDER, L"水平位置 = ", 0, 1920},
    {"top", TOP_CAPTION, TOP_SLIDER, L"垂直位置 = ", 1, 1200},
    {"width", WIDTH_CAPTION, WIDTH_SLIDER, L"文本宽度 = ", 0, 1920},
    {"height", HEIGHT_CAPTION, HEIGHT_SLIDER, L"文本高度 = ", 1, 1200},
};

// Each slider's caption and position show the value; `expected` in SLIDERS' order.
void expectSliders(const ToolSession& tool, const std::vector<int>& expected,
                   const std::string& when) {
    for (std::size_t i = 0; i < std::size(SLIDERS); ++i) {
        const SliderView& slider = SLIDERS[i];
        const std::wstring caption = tool.caption(slider.captionId);
        const std::wstring wanted = slider.prefix + std::to_wstring(expected[i]);
        require(caption == wanted, when + ": " + slider.key + " caption \"" + toUtf8(caption) +
                                       "\", not \"" + toUtf8(wanted) + "\"");
        const int position = tool.sliderPosition(slider.sliderId);
        require(position == expected[i],
                when + ": " + slider.key + " slider at " + std::to_string(position));
    }
}

std::string settingsText(const std::map<std::string, std::string>& keys) {
    std::string text;
    for (const auto& [key, value] : keys) {
        text += key + "=" + value + ",";
    }
    return text;
}

void firstRunSettings(const DriverContext& context) {
    ToolSession tool(context);
    const std::map<std::string, std::string> atStart{{"size", "20"}};
    requireWithin([&] { return tool.settings() == atStart; }, 3000,
                  [&] { return "after the load the file holds " + settingsText(tool.settings()); });
    expectSliders(tool, {20, 10, 640, 1024, 160}, "first run");
    for (const int box : {BOLD_BOX, ITALIC_BOX, SHADOW_BOX, CENTRE_BOX, DEBUG_BOX}) {
        require(!tool.checked(box), "check box " + std::to_string(box) + " starts checked");
    }
    tool.closePanel();
    DWORD exitCode = 1;
    require(tool.waitForExit(5000, exitCode) && exitCode == 0, "the tool did not end cleanly");
    const std::map<std::string, std::string> atEnd{
        {"size", "20"}, {"left", "10"}, {"top", "640"}, {"width", "1024"}, {"height", "160"}};
    require(tool.settings() == atEnd,
            "after closing the file holds " + settingsText(tool.settings()));
}

void outOfRangeClamped(const DriverContext& context) {
    struct Case {
        const char* file;
        std::vector<int> shown;
        const char* sizeWritten;
    };
    const Case cases[] = {
        {"[config]\r\nsize=500\r\nleft=-20\r\ntop=0\r\nwidth=5000\r\nheight=99999\r\n",
         {200, 0, 1, 1920, 1200},
         "200"},
        {"[config]\r\nsize=0\r\nleft=5000\r\ntop=-5\r\nwidth=-1\r\nheight=0\r\n",
         {1, 1920, 1, 0, 1},
         "1"},
    };
    for (const Case& test : cases) {
        ToolSession tool(context, std::string(test.file));
        expectSliders(tool, test.shown, std::string("clamping ") + test.sizeWritten);
        require(waitUntil([&] { return tool.settings()["size"] == test.sizeWritten; }, 3000),
                std::string("size was not written back as ") + test.sizeWritten);
    }
}

void switchOnlyForExactOn(const DriverContext& context) {
    struct Case {
        const char* file;
        bool bold, italic, shadow, centre;
    };
    const Case cases[] = {
        {"[config]\r\nbold=On\r\nitalic=ON\r\nshadow=1\r\ncentext=on\r\n", false, false, false,
         true},
        {"[config]\r\nbold=on\r\nitalic=on\r\nshadow=on\r\ncentext=onn\r\n", true, true, true,
         false},
    };
    for (const Case& test : cases) {
        ToolSession tool(context, std::string(test.file));
        const std::string when = std::string("file ") + test.file;
        require(tool.checked(BOLD_BOX) == test.bold, "bold box wrong for " + when);
        require(tool.checked(ITALIC_BOX) == test.italic, "italic box wrong for " + when);
        require(tool.checked(SHADOW_BOX) == test.shadow, "shadow box wrong for " + when);
        require(tool.checked(CENTRE_BOX) == test.centre, "centre box wrong for " + when);
    }
}

// The same bytes on every run, so a failure can be repeated.
std::string randomBytes(std::uint32_t seed, std::size_t count) {
    std::string bytes;
    std::uint32_t state = seed;
    for (std::size_t i = 0; i < count; ++i) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        bytes.push_back(static_cast<char>(state & 0xFF));
    }
    return bytes;
}

void randomSettingsFile(const DriverContext& context) {
    std::string keyed = "[config]\r\n";
    std::uint32_t seed = 7;
    for (const char* key : {"font", "color", "size", "shadow", "bold", "italic", "centext", "left",
                            "top", "width", "height"}) {
        std::string value = randomBytes(++seed, 12);
        for (char& c : value) {
            c = (c == '\r' || c == '\n') ? '7' : c;
        }
        keyed += std::string(key) + "=" + value + "\r\n";
    }
    // Random numbers as well as random bytes: garbage mostly reads as 0, which no range refuses.
    std::string numbers = "[config]\r\n";
    for (const char* key : {"size", "left", "top", "width", "height"}) {
        const std::string digits = randomBytes(++seed, 4);
        std::uint32_t value = 0;
        for (char c : digits) {
            value = (value << 8) | static_cast<unsigned char>(c);
        }
        numbers += std::string(key) + "=" + ((value & 1) != 0 ? "-" : "") +
                   std::to_string(value % 100000000) + "\r\n";
    }
    for (const std::string& file : {randomBytes(1, 4096), keyed, numbers}) {
        ToolSession tool(context, file);
        for (const SliderView& slider : SLIDERS) {
            const std::wstring caption = tool.caption(slider.captionId);
            const std::wstring prefix = slider.prefix;
            require(caption.starts_with(prefix), std::string(slider.key) + " caption \"" +
                                                     toUtf8(caption) + "\" lost its prefix");
            const std::wstring number = caption.substr(prefix.size());
            require(!number.empty() &&
                        number.find_first_not_of(L"0123456789") == std::wstring::npos,
                    std::string(slider.key) + " caption \"" + toUtf8(caption) + "\" is no number");
            const int value = std::stoi(number);
            require(value >= slider.minimum && value <= slider.maximum,
                    std::string(slider.key) + " is " + std::to_string(value) + ", out of range");
            require(tool.sliderPosition(slider.sliderId) == value,
                    std::string(slider.key) + " slider differs from its caption");
        }
    }
}

const ScenarioRegistration registrations[] = {
    {"first-run-settings", &firstRunSettings},
    {"out-of-range-clamped", &outOfRangeClamped},
    {"switch-on-only-for-on", &switchOnlyForExactOn},
    {"random-settings-file", &randomSettingsFile},
};

} // namespace

} // namespace e2e
