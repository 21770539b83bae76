#include "settings/ini_document.hpp"

#include "core/ascii_case.hpp"
#include "core/gb2312_bytes.hpp"

#include <algorithm>
#include <utility>

namespace pal4 {

namespace {

constexpr std::string_view UTF8_BOM = "\xEF\xBB\xBF";
constexpr std::string_view UTF16LE_BOM = "\xFF\xFE";
constexpr std::string_view UTF16BE_BOM = "\xFE\xFF";
constexpr std::string_view LINE_END = "\r\n";

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f' || c == '\x1A';
}

bool hasLineBreakOrNul(std::string_view text) {
    return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

bool hasOuterBlank(std::string_view text) {
    return !text.empty() && (isBlank(text.front()) || isBlank(text.back()));
}

// The header "[section]" must read back as this name: no ']' of its own, and no lead byte at
// the end, which would swallow the closing bracket as its trail byte.
bool isStorableSection(std::string_view section) {
    if (section.empty() || hasLineBreakOrNul(section) || hasOuterBlank(section)) {
        return false;
    }
    for (std::size_t i = 0; i < section.size(); i = nextCharacter(section, i)) {
        if (section[i] == ']' || (isLeadByte(section[i]) && i + 1 == section.size())) {
            return false;
        }
    }
    return true;
}

bool isStorableKey(std::string_view key) {
    return !key.empty() && !hasLineBreakOrNul(key) && !hasOuterBlank(key) &&
           key.find('=') == std::string_view::npos && key.front() != ';' && key.front() != '[';
}

} // namespace

IniDocument::IniDocument(std::string bytes) : bytes_(std::move(bytes)) {
    parse();
}

void IniDocument::parse() {
    lines_.clear();
    const std::string_view all(bytes_);
    bodyBegin_ = all.starts_with(UTF8_BOM) ? UTF8_BOM.size() : 0;
    understood_ = !all.starts_with(UTF16LE_BOM) && !all.starts_with(UTF16BE_BOM);
    if (!understood_) {
        return;
    }
    for (std::size_t begin = bodyBegin_; begin < bytes_.size();) {
        lines_.push_back(parseLine(begin));
        begin = lines_.back().end;
    }
}

IniDocument::Line IniDocument::parseLine(std::size_t begin) const {
    Line line;
    const std::size_t lf = bytes_.find('\n', begin);
    line.contentEnd = lf == std::string::npos ? bytes_.size() : lf;
    line.end = lf == std::string::npos ? bytes_.size() : lf + 1;

    std::size_t first = begin;
    std::size_t last = line.contentEnd;
    while (first < last && isBlank(bytes_[first])) {
        ++first;
    }
    while (last > first && isBlank(bytes_[last - 1])) {
        --last;
    }
    if (first == last) {
        line.kind = LineKind::Blank;
        return line;
    }
    if (bytes_[first] == ';') {
        line.kind = LineKind::Comment;
        return line;
    }
    if (bytes_[first] == '[') {
        const std::string_view header(bytes_.data(), last);
        for (std::size_t i = first + 1; i < last; i = nextCharacter(header, i)) {
            if (bytes_[i] == ']') {
                line.kind = LineKind::Section;
                line.nameBegin = first + 1;
                line.nameEnd = i;
                while (line.nameBegin < line.nameEnd && isBlank(bytes_[line.nameBegin])) {
                    ++line.nameBegin;
                }
                while (line.nameEnd > line.nameBegin && isBlank(bytes_[line.nameEnd - 1])) {
                    --line.nameEnd;
                }
                return line;
            }
        }
        return line; // an unclosed bracket: kept, means nothing
    }
    const std::size_t equals = bytes_.find('=', first);
    if (equals >= last) {
        return line;
    }
    line.nameBegin = first;
    line.nameEnd = equals;
    while (line.nameEnd > line.nameBegin && isBlank(bytes_[line.nameEnd - 1])) {
        --line.nameEnd;
    }
    if (line.nameBegin == line.nameEnd) {
        return line; // "=value" names no key
    }
    line.kind = LineKind::Key;
    line.valueBegin = equals + 1;
    while (line.valueBegin < last && isBlank(bytes_[line.valueBegin])) {
        ++line.valueBegin;
    }
    line.valueEnd = last;
    return line;
}

bool IniDocument::nameIs(const Line& line, std::string_view name) const {
    return equalsIgnoringAsciiCase(
        std::string_view(bytes_).substr(line.nameBegin, line.nameEnd - line.nameBegin), name);
}

std::size_t IniDocument::findSection(std::string_view section) const {
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (lines_[i].kind == LineKind::Section && nameIs(lines_[i], section)) {
            return i;
        }
    }
    return lines_.size();
}

std::size_t IniDocument::findKey(std::size_t header, std::string_view key) const {
    for (std::size_t i = header + 1; i < lines_.size(); ++i) {
        if (lines_[i].kind == LineKind::Section) {
            break;
        }
        if (lines_[i].kind == LineKind::Key && nameIs(lines_[i], key)) {
            return i;
        }
    }
    return lines_.size();
}

std::optional<std::string> IniDocument::value(std::string_view section,
                                              std::string_view key) const {
    const std::size_t header = findSection(section);
    if (header == lines_.size()) {
        return std::nullopt;
    }
    const std::size_t index = findKey(header, key);
    if (index == lines_.size()) {
        return std::nullopt;
    }
    const Line& line = lines_[index];
    std::string_view text =
        std::string_view(bytes_).substr(line.valueBegin, line.valueEnd - line.valueBegin);
    text = text.substr(0, text.find('\0'));
    if (text.size() > 1 && (text.front() == '"' || text.front() == '\'') &&
        text.back() == text.front()) {
        text = text.substr(1, text.size() - 2);
    }
    return std::string(text);
}

bool IniDocument::setValue(std::string_view section, std::string_view key, std::string_view value) {
    if (!understood_ || !isStorableSection(section) || !isStorableKey(key) ||
        hasLineBreakOrNul(value)) {
        return false;
    }
    std::string entry;
    entry.append(key).append("=").append(value).append(LINE_END);

    const std::size_t header = findSection(section);
    if (header == lines_.size()) {
        if (!lines_.empty() && lines_.back().end == lines_.back().contentEnd) {
            bytes_.append(LINE_END); // the last line had no line end of its own
        }
        bytes_.append("[").append(section).append("]").append(LINE_END).append(entry);
        parse();
        return true;
    }

    const std::size_t index = findKey(header, key);
    if (index != lines_.size()) {
        const Line& line = lines_[index];
        bytes_.replace(line.valueBegin, line.valueEnd - line.valueBegin, value);
        parse();
        return true;
    }

    // After the section's last line that holds something, so blank lines and comments that
    // lead into the next section stay with it.
    std::size_t last = header;
    for (std::size_t i = header + 1; i < lines_.size() && lines_[i].kind != LineKind::Section;
         ++i) {
        if (lines_[i].kind == LineKind::Key || lines_[i].kind == LineKind::Other) {
            last = i;
        }
    }
    const Line& anchor = lines_[last];
    if (anchor.end == anchor.contentEnd) {
        entry.insert(0, LINE_END);
    }
    bytes_.insert(anchor.end, entry);
    parse();
    return true;
}

bool IniDocument::removeValue(std::string_view section, std::string_view key) {
    const std::size_t header = understood_ ? findSection(section) : lines_.size();
    if (header == lines_.size()) {
        return false;
    }
    const std::size_t index = findKey(header, key);
    if (index == lines_.size()) {
        return false;
    }
    const std::size_t begin = lines_[index - 1].end; // the section's header comes before it
    bytes_.erase(begin, lines_[index].end - begin);
    parse();
    return true;
}

} // namespace pal4
