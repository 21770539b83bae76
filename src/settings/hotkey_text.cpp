#include "settings/hotkey_text.hpp"

#include "core/ascii_case.hpp"

#include <array>
#include <vector>

namespace pal4 {

namespace {

struct ModifierName {
    std::string_view name;
    std::uint32_t bit;
};

// In the order formatHotkeyCombination writes them.
constexpr std::array<ModifierName, 4> MODIFIERS = {{
    {"Ctrl", HOTKEY_MOD_CONTROL},
    {"Alt", HOTKEY_MOD_ALT},
    {"Shift", HOTKEY_MOD_SHIFT},
    {"Win", HOTKEY_MOD_WIN},
}};

struct KeyName {
    std::string_view name;
    std::uint32_t virtualKey;
};

// The keys named by a word, as formatHotkeyCombination writes them (VK_PRIOR, VK_NEXT, ...).
constexpr std::array<KeyName, 8> NAMED_KEYS = {{
    {"PageUp", 0x21},
    {"PageDown", 0x22},
    {"End", 0x23},
    {"Home", 0x24},
    {"Left", 0x25},
    {"Up", 0x26},
    {"Right", 0x27},
    {"Down", 0x28},
}};

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// The parts between the '+' signs, blanks dropped and letters folded to lower case; an empty
// part ("Ctrl++S", "+S", "Ctrl+") stays in the list as "".
std::vector<std::string> partsOf(std::string_view text) {
    std::vector<std::string> parts(1);
    for (const char c : text) {
        if (c == '+') {
            parts.emplace_back();
        } else if (!isBlank(c)) {
            parts.back().push_back(asciiLower(c));
        }
    }
    return parts;
}

std::optional<std::uint32_t> modifierBit(std::string_view part) {
    for (const ModifierName& modifier : MODIFIERS) {
        if (equalsIgnoringAsciiCase(part, modifier.name)) {
            return modifier.bit;
        }
    }
    return std::nullopt;
}

// "f1" to "f24", written without a leading zero.
std::optional<std::uint32_t> functionKey(std::string_view part) {
    if (part.size() < 2 || part.size() > 3 || part[0] != 'f' || part[1] == '0') {
        return std::nullopt;
    }
    int number = 0;
    for (const char c : part.substr(1)) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        number = number * 10 + (c - '0');
    }
    if (number > HOTKEY_HIGHEST_FUNCTION_KEY) {
        return std::nullopt;
    }
    return HOTKEY_VK_F1 + static_cast<std::uint32_t>(number - 1);
}

std::optional<std::uint32_t> virtualKey(std::string_view part) {
    if (part.size() == 1) {
        const char c = part[0];
        if (c >= 'a' && c <= 'z') {
            return static_cast<std::uint32_t>(c - 'a' + 'A');
        }
        if (c >= '0' && c <= '9') {
            return static_cast<std::uint32_t>(c);
        }
        return std::nullopt;
    }
    for (const KeyName& key : NAMED_KEYS) {
        if (equalsIgnoringAsciiCase(part, key.name)) {
            return key.virtualKey;
        }
    }
    return functionKey(part);
}

std::string keyName(std::uint32_t key) {
    if (key >= HOTKEY_VK_F1 && key < HOTKEY_VK_F1 + HOTKEY_HIGHEST_FUNCTION_KEY) {
        return "F" + std::to_string(key - HOTKEY_VK_F1 + 1);
    }
    for (const KeyName& named : NAMED_KEYS) {
        if (named.virtualKey == key) {
            return std::string(named.name);
        }
    }
    return std::string(1, static_cast<char>(key));
}

} // namespace

std::optional<HotkeyCombination> parseHotkeyCombination(std::string_view text) {
    const std::vector<std::string> parts = partsOf(text);
    if (parts.size() < 2) {
        return std::nullopt; // no modifier
    }
    HotkeyCombination combination;
    for (std::size_t i = 0; i + 1 < parts.size(); ++i) {
        const std::optional<std::uint32_t> bit = modifierBit(parts[i]);
        if (!bit || (combination.modifiers & *bit) != 0) {
            return std::nullopt;
        }
        combination.modifiers |= *bit;
    }
    const std::optional<std::uint32_t> key = virtualKey(parts.back());
    if (!key) {
        return std::nullopt;
    }
    combination.virtualKey = *key;
    return combination;
}

std::string formatHotkeyCombination(const HotkeyCombination& combination) {
    std::string text;
    for (const ModifierName& modifier : MODIFIERS) {
        if ((combination.modifiers & modifier.bit) != 0) {
            text += modifier.name;
            text += '+';
        }
    }
    return text + keyName(combination.virtualKey);
}

} // namespace pal4
