#include "sim_options.hpp"

#include "control_protocol.hpp"

#include <cwchar>

namespace pal4sim {
namespace {

bool parseCount(const std::wstring& text, std::uint32_t& value) {
    if (text.empty() || text.size() > 10) {
        return false;
    }
    std::uint64_t result = 0;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9') {
            return false;
        }
        result = result * 10 + static_cast<std::uint64_t>(c - L'0');
    }
    if (result > UINT32_MAX) {
        return false;
    }
    value = static_cast<std::uint32_t>(result);
    return true;
}

} // namespace

std::optional<SimOptions> parseSimOptions(const std::vector<std::wstring>& arguments,
                                          std::wstring& problem) {
    SimOptions options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::wstring& name = arguments[i];
        if (name == L"--no-window") {
            options.window = false;
            continue;
        }
        if (name == L"--script") {
            options.script = true;
            continue;
        }
        if (name == L"--bright") {
            options.bright = true;
            continue;
        }
        if (i + 1 >= arguments.size()) {
            problem = name + L" needs a value";
            return std::nullopt;
        }
        const std::wstring& value = arguments[++i];
        std::uint32_t number = 0;
        const bool isNumber = parseCount(value, number);
        if (name == L"--control" && !value.empty()) {
            options.controlName = value;
        } else if (name == L"--dll" && !value.empty()) {
            options.dialogueModule = value;
        } else if (name == L"--text-region-size" && isNumber && number > 0 &&
                   number <= control::MAX_TEXT_REGION_SIZE) {
            options.textRegionSize = number;
        } else if (name == L"--exit-with" && isNumber && number != 0) {
            options.exitWithPid = number;
        } else if (name == L"--title-ms" && isNumber) {
            options.timing.titleMs = number;
        } else if (name == L"--line-ms" && isNumber && number > 0) {
            options.timing.lineMs = number;
        } else if (name == L"--break-ms" && isNumber && number > 0) {
            options.timing.breakMs = number;
        } else {
            problem = L"unknown option or bad value: " + name + L" " + value;
            return std::nullopt;
        }
    }
    return options;
}

} // namespace pal4sim
