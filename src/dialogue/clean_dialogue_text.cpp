#include "dialogue/clean_dialogue_text.hpp"

#include "core/gb2312_bytes.hpp"

#include <cstddef>

namespace pal4 {

std::size_t findSpeakerSeparator(std::string_view raw) {
    std::size_t i = 0;
    while (i < raw.size()) {
        if (raw.substr(i, SPEAKER_SEPARATOR.size()) == SPEAKER_SEPARATOR) {
            return i;
        }
        // A lead byte takes the next byte with it, so a separator is only seen where a
        // character starts.
        i = nextCharacter(raw, i);
    }
    return std::string_view::npos;
}

std::string removeMarkup(std::string_view text) {
    // Deleting one span leaves no '<' before the place where it began, so the next span is the
    // first '<' after the end of this one: one pass from left to right finds the same spans as
    // searching the shortened text again from its start.
    std::string kept;
    kept.reserve(text.size());
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t start = text.find(MARKUP_START, pos);
        if (start == std::string_view::npos) {
            kept.append(text.substr(pos));
            break;
        }
        kept.append(text.substr(pos, start - pos));
        const std::size_t end = text.find(MARKUP_END, start + 1);
        if (end == std::string_view::npos) {
            break; // an unfinished tag: nothing after it is shown
        }
        pos = end + 1;
    }
    return kept;
}

std::optional<std::string> cleanDialogueText(std::string_view raw) {
    const std::size_t separator = findSpeakerSeparator(raw);
    if (separator == std::string_view::npos) {
        return std::nullopt;
    }
    return removeMarkup(raw.substr(separator + SPEAKER_SEPARATOR.size()));
}

std::optional<std::string> cleanSpeakerName(std::string_view raw) {
    const std::size_t separator = findSpeakerSeparator(raw);
    if (separator == std::string_view::npos) {
        return std::nullopt;
    }
    return removeMarkup(raw.substr(0, separator));
}

} // namespace pal4
