#pragma once

#include "dialogue/dialogue_outputs.hpp"
#include "fakes/fake_file_store.hpp"
#include "fakes/fake_shell.hpp"

#include <map>
#include <string>

namespace pal4::testing {

// A clipboard in memory that another program may hold open for the next few attempts.
class FakeClipboard final : public ClipboardPort {
public:
    bool putText(const std::u16string& text) override {
        if (busyAttempts > 0) {
            --busyAttempts;
            return false;
        }
        content = text;
        return true;
    }
    int busyAttempts = 0;
    std::u16string content;
};

class FakeClock final : public ClockPort {
public:
    LocalTime localTime() const override { return now; }
    void pause(unsigned) const override {}
    std::uint64_t milliseconds() const override { return ms; }
    LocalTime now{2026, 3, 7, 21, 5, 30}; // past noon: a 12-hour clock would show 09
    std::uint64_t ms = 0;
};

// Knows the few characters the tests use; any other pair does not convert.
class FakeCharacterDecoder final : public CharacterDecoderPort {
public:
    std::optional<char32_t> decode(std::string_view character) const override {
        static const std::map<std::string, char32_t, std::less<>> known{
            {"\xA3\xBA", U'：'}, {"\xBC\xD7", U'甲'}, {"\xC4\xE3", U'你'}, {"\xBA\xC3", U'好'},
            {"（", U'（'},       {"已", U'已'},       {"丢", U'丢'},       {"弃", U'弃'},
            {"句", U'句'},       {"对", U'对'},       {"白", U'白'},       {"）", U'）'}};
        const auto found = known.find(character);
        return found == known.end() ? std::nullopt : std::optional<char32_t>(found->second);
    }
};

// The dialogue's outputs over fakes, for the tests that build their users alone.
struct FakeDialogueMachine {
    FakeDialogueMachine(AppState& state, PanelPort& panel)
        : outputs(state, panel, shell, files, clipboard, clock, decoder) {}
    FakeShell shell;
    FakeFileStore files;
    FakeClipboard clipboard;
    FakeClock clock;
    FakeCharacterDecoder decoder;
    DialogueOutputs outputs;
};

} // namespace pal4::testing
