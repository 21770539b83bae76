// Feeds arbitrary bytes, as the game's memory may hold them, to the dialogue cleaning and checks
// it against the straightforward form of the same rules: search the separator at character
// boundaries, then delete a "<" ... ">" span and search again from the start.
#include "dialogue/clean_dialogue_text.hpp"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

std::size_t findSeparatorByCharacters(std::string_view raw) {
    std::size_t at = 0;
    while (at < raw.size()) {
        const auto byte = static_cast<unsigned char>(raw[at]);
        const std::size_t width = (byte >= 0x81 && byte <= 0xFE && at + 1 < raw.size()) ? 2 : 1;
        if (raw.substr(at, width) == pal4::SPEAKER_SEPARATOR) {
            return at;
        }
        at += width;
    }
    return std::string_view::npos;
}

std::string removeMarkupByRescanning(std::string text) {
    for (auto start = text.find('<'); start != std::string::npos; start = text.find('<')) {
        const auto end = text.find('>', start);
        text.erase(start, end == std::string::npos ? std::string::npos : end - start + 1);
    }
    return text;
}

void check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view raw(reinterpret_cast<const char*>(data), size);
    const auto subtitle = pal4::cleanDialogueText(raw);
    const auto separator = pal4::findSpeakerSeparator(raw);

    check(separator == findSeparatorByCharacters(raw));
    check(subtitle.has_value() == (separator != std::string_view::npos));
    if (!subtitle) {
        return 0;
    }
    const std::string rest(raw.substr(separator + 2));
    check(*subtitle == removeMarkupByRescanning(rest));
    check(subtitle->find('<') == std::string::npos);
    check(subtitle->size() <= rest.size());
    return 0;
}
