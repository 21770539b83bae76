// Arbitrary settings files and writes: nothing may crash, a write that is accepted must read
// back as written and must leave every other key's value as it was.
#include "settings/decimal_integer.hpp"
#include "settings/ini_document.hpp"

#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f' || c == '\x1A';
}

// What a read gives for a value that was written as `value`.
std::string asRead(std::string_view value) {
    while (!value.empty() && isBlank(value.front())) {
        value.remove_prefix(1);
    }
    while (!value.empty() && isBlank(value.back())) {
        value.remove_suffix(1);
    }
    if (value.size() > 1 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    return std::string(value);
}

bool sameIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) {
            return false;
        }
    }
    return true;
}

constexpr std::array<std::string_view, 6> kProbeKeys = {"font",  "size", "left",
                                                        "color", "a",    "shadow"};
constexpr std::array<std::string_view, 3> kSections = {"config", "other", "CONFIG"};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const std::string section =
        input.ConsumeBool()
            ? std::string(
                  kSections[input.ConsumeIntegralInRange<std::size_t>(0, kSections.size() - 1)])
            : input.ConsumeRandomLengthString(12);
    const std::string key = input.ConsumeRandomLengthString(12);
    const std::string value = input.ConsumeRandomLengthString(64);
    const std::string file = input.ConsumeRemainingBytesAsString();

    pal4::IniDocument document(file);
    std::array<std::optional<std::string>, kProbeKeys.size()> before;
    for (std::size_t i = 0; i < kProbeKeys.size(); ++i) {
        before[i] = document.value("config", kProbeKeys[i]);
        if (before[i]) {
            static_cast<void>(pal4::textToInt32(*before[i]));
        }
    }

    if (!document.setValue(section, key, value)) {
        if (document.bytes() != file) {
            std::abort(); // a refused write changed the file
        }
        return 0;
    }
    const pal4::IniDocument reparsed(document.bytes());
    if (reparsed.value(section, key) != asRead(value)) {
        std::abort(); // the write does not read back
    }
    for (std::size_t i = 0; i < kProbeKeys.size(); ++i) {
        const bool written =
            sameIgnoringAsciiCase(section, "config") && sameIgnoringAsciiCase(key, kProbeKeys[i]);
        if (!written && reparsed.value("config", kProbeKeys[i]) != before[i]) {
            std::abort(); // another key changed
        }
    }
    return 0;
}
