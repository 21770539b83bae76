#include "settings/hotkey_setting.hpp"
#include "settings/setting_keys.hpp"

#include "core/app_state.hpp"
#include "fakes/fake_file_store.hpp"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>

namespace pal4 {
namespace {

using Choice = HotkeySetting::Choice;

constexpr const char* INI_PATH = "/opt/pal4-subtitles/Pal4_Corvel.ini";

// One settings file (or none) and what the tool makes of its `hotkey` key on start-up.
struct FileCase {
    const char* name;
    std::optional<std::string> file;
    Choice choice;
    HotkeyCombination combination; // for Combination
    std::string value;             // the value as read
};

void PrintTo(const FileCase& c, std::ostream* os) {
    *os << c.name;
}

class HotkeySettingTest : public ::testing::TestWithParam<FileCase> {};

TEST_P(HotkeySettingTest, ReadsTheKeyOnceAndNeverWritesIt) {
    const FileCase& c = GetParam();
    testing::FakeFileStore files;
    if (c.file) {
        files.putFile(INI_PATH, *c.file);
    }
    AppState state;
    state.iniPath = INI_PATH;
    SettingsFile settings(state, files);

    const HotkeySetting setting = readHotkeySetting(settings, KEY_HOTKEY, DEFAULT_HOTKEY);
    EXPECT_EQ(setting.choice, c.choice);
    if (c.choice == Choice::Combination) {
        EXPECT_EQ(setting.combination, c.combination);
    }
    EXPECT_EQ(setting.value, c.value);
    EXPECT_EQ(files.replacements(), 0);
    EXPECT_EQ(files.file(INI_PATH), c.file);
}

const HotkeyCombination kCtrlAltS{HOTKEY_MOD_CONTROL | HOTKEY_MOD_ALT, 'S'};

INSTANTIATE_TEST_SUITE_P(
    Files, HotkeySettingTest,
    ::testing::Values(
        FileCase{"NoFile", std::nullopt, Choice::Combination, kCtrlAltS, "Ctrl+Alt+S"},
        FileCase{"KeyAbsent", "[config]\r\nsize=20\r\n", Choice::Combination, kCtrlAltS,
                 "Ctrl+Alt+S"},
        FileCase{"KeyInAnotherSection", "[other]\r\nhotkey=\r\n[config]\r\n", Choice::Combination,
                 kCtrlAltS, "Ctrl+Alt+S"},
        FileCase{"OwnCombination",
                 "[config]\r\nHotKey = ctrl+shift+f9\r\n",
                 Choice::Combination,
                 {HOTKEY_MOD_CONTROL | HOTKEY_MOD_SHIFT, 0x78},
                 "ctrl+shift+f9"},
        FileCase{"EmptyValueTurnsItOff", "[config]\r\nhotkey=\r\n", Choice::NoHotkey, {}, ""},
        FileCase{"BlankValueTurnsItOff", "[config]\r\nhotkey=   \t\r\n", Choice::NoHotkey, {}, ""},
        FileCase{
            "QuotedBlanksTurnItOff", "[config]\r\nhotkey=\"  \"\r\n", Choice::NoHotkey, {}, "  "},
        FileCase{"BareKey", "[config]\r\nhotkey=F9\r\n", Choice::Unusable, {}, "F9"},
        FileCase{"Nonsense",
                 "[config]\r\nhotkey=Ctrl+Alt+\xB0\xB4\r\n",
                 Choice::Unusable,
                 {},
                 "Ctrl+Alt+\xB0\xB4"}),
    [](const ::testing::TestParamInfo<FileCase>& param) { return std::string(param.param.name); });

} // namespace
} // namespace pal4
