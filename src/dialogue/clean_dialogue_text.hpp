#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace pal4 {

// The full-width colon "：" that ends the speaker's name in a dialogue line (GB2312 A3 BA).
// Written as escapes: this header is also compiled without the GB2312 execution charset.
inline constexpr std::string_view SPEAKER_SEPARATOR = "\xA3\xBA";

inline constexpr char MARKUP_START = '<';
inline constexpr char MARKUP_END = '>';

// The subtitle for one raw dialogue line of the game: the bytes after the first speaker
// separator, with every markup span from a '<' to the first '>' after it removed. Nothing when
// the line holds no separator, which callers tell apart from an empty subtitle.
//
// The separator is looked for at character boundaries only, so the trail byte of one
// double-byte character and the lead byte of the next never pass for a colon. A '<' with no
// '>' after it cuts the rest of the line: the game had not finished writing that tag. Runs in
// time linear in the length of the line.
std::optional<std::string> cleanDialogueText(std::string_view raw);

// The speaker's name of a raw dialogue line: the bytes before the first speaker separator,
// with the markup removed as in the subtitle. Nothing when the line holds no separator.
std::optional<std::string> cleanSpeakerName(std::string_view raw);

// The byte offset of the first speaker separator that starts at a character boundary, or
// npos. Exposed for the poller's tests and the fuzz target.
std::size_t findSpeakerSeparator(std::string_view raw);

// The text with every markup span removed, as the cleaning does after the separator.
std::string removeMarkup(std::string_view text);

} // namespace pal4
