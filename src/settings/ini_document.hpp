#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pal4 {

// A file in the Windows profile (INI) format, held as its raw bytes. Lookups read the bytes as
// they are and an edit splices new bytes into them, so every byte an edit does not touch (other
// keys, other sections, comments, blank lines, line endings, text in any code page) stays
// exactly as it was.
//
// The format as read here:
// - Lines end at LF; a CR before the LF belongs to the line ending. A leading UTF-8 byte-order
//   mark is skipped and kept.
// - Blanks (space, tab, CR, VT, FF, Ctrl-Z) around names and values are not part of them.
// - "[name]" starts a section; text after the closing bracket is ignored. A line whose first
//   non-blank byte is ';' is a comment. "name=value" is a key; the value runs to the end of the
//   line and may contain '='. Any other line is kept but means nothing.
// - Section and key names match without regard to ASCII letter case. The first of duplicate
//   sections, and within it the first of duplicate keys, is the one that counts.
// - A value enclosed in a matching pair of double or single quotes is read without them, and a
//   value is read up to its first NUL byte, as the Windows profile functions return it.
// - A file that starts with a UTF-16 byte-order mark is not understood: it has no values and is
//   never edited, since splicing 8-bit text into it would corrupt it.
class IniDocument {
public:
    explicit IniDocument(std::string bytes);

    const std::string& bytes() const { return bytes_; }

    // The value of `key` in `section`; nothing when the section or the key is absent. A key
    // present with an empty value gives the empty text.
    std::optional<std::string> value(std::string_view section, std::string_view key) const;

    // Sets `key` in `section` to `value`: the value of an existing key is replaced in place, a
    // missing key is added after the last line of its section that holds a key, a missing
    // section is added at the end. Lines added end with CR LF. False, with the bytes unchanged,
    // when the names or the value cannot be stored in the format (an empty name, a line break
    // or NUL byte, a key that would read as a comment or section, '=' in a key, ']' in a
    // section name) or when the file is not understood.
    bool setValue(std::string_view section, std::string_view key, std::string_view value);
    // Removes the line of `key` in `section`, line end included; false, with the bytes
    // unchanged, when there is none or the file is not understood.
    bool removeValue(std::string_view section, std::string_view key);

private:
    enum class LineKind { Blank, Comment, Section, Key, Other };

    struct Line {
        LineKind kind = LineKind::Other;
        std::size_t contentEnd = 0; // end of the line's text, before its LF
        std::size_t end = 0;        // one past the LF, or the end of the file
        std::size_t nameBegin = 0;  // the section's or key's name, blanks removed
        std::size_t nameEnd = 0;
        std::size_t valueBegin = 0; // a key's value, blanks removed
        std::size_t valueEnd = 0;
    };

    void parse();
    Line parseLine(std::size_t begin) const;
    bool nameIs(const Line& line, std::string_view name) const;
    // Index of the first section header with this name; lines_.size() when there is none.
    std::size_t findSection(std::string_view section) const;
    // Index of the first key with this name in the section that starts at `header`.
    std::size_t findKey(std::size_t header, std::string_view key) const;

    std::string bytes_;
    std::size_t bodyBegin_ = 0; // after a UTF-8 byte-order mark
    bool understood_ = true;
    std::vector<Line> lines_;
};

} // namespace pal4
