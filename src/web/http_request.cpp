#include "web/http_request.hpp"

#include "core/ascii_case.hpp"

#include <algorithm>

namespace pal4 {

namespace {

constexpr std::string_view LINE_END = "\r\n";
constexpr std::string_view HEAD_END = "\r\n\r\n";

// Where the blank line that ends a head starts (its first LF) and where the bytes after it
// start, looking from `from`.
std::size_t findHeadEnd(std::string_view text, std::size_t from, std::size_t& after) {
    for (std::size_t at = text.find('\n', from); at != std::string_view::npos;
         at = text.find('\n', at + 1)) {
        const std::string_view next = text.substr(at + 1, 2);
        if (next.starts_with('\n') || next == LINE_END) {
            after = at + 1 + (next.starts_with('\n') ? 1 : 2);
            return at;
        }
    }
    return std::string_view::npos;
}

// RFC 9110's tchar: what a method or a header name is made of.
bool isTokenCharacter(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
           std::string_view("!#$%&'*+-.^_`|~").find(c) != std::string_view::npos;
}

bool isToken(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), isTokenCharacter);
}

// No control characters in a value or a target: a bare CR or LF would let a client smuggle a
// line past the parser.
bool isPrintable(std::string_view text) {
    return std::none_of(text.begin(), text.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return (byte < 0x20 && c != '\t') || byte == 0x7F;
    });
}

bool parseRequestLine(std::string_view line, HttpRequest& request) {
    const std::size_t first = line.find(' ');
    const std::size_t second = first == std::string_view::npos ? first : line.find(' ', first + 1);
    if (second == std::string_view::npos) {
        return false;
    }
    const std::string_view method = line.substr(0, first);
    const std::string_view target = line.substr(first + 1, second - first - 1);
    const std::string_view version = line.substr(second + 1);
    if (!isToken(method) || target.empty() || !isPrintable(target) ||
        target.find(' ') != std::string_view::npos ||
        (version != "HTTP/1.1" && version != "HTTP/1.0")) {
        return false;
    }
    request.method = method;
    request.target = target;
    request.version = version;
    return true;
}

} // namespace

std::optional<std::string_view> HttpRequest::header(std::string_view name) const {
    for (const auto& [key, value] : headers) {
        if (key == name) {
            return value;
        }
    }
    return std::nullopt;
}

std::optional<std::string> HttpRequest::combined(std::string_view name) const {
    std::optional<std::string> list;
    for (const auto& [key, value] : headers) {
        if (key == name) {
            list = list ? *list + ", " + value : value;
        }
    }
    return list;
}

std::size_t HttpRequest::count(std::string_view name) const {
    return static_cast<std::size_t>(
        std::count_if(headers.begin(), headers.end(),
                      [name](const auto& header) { return header.first == name; }));
}

HeadStatus parseRequestHead(std::string_view head, HttpRequest& request) {
    request = HttpRequest{};
    if (head.size() > MAX_REQUEST_HEAD) {
        return HeadStatus::TooLarge;
    }
    std::size_t end = head.find(LINE_END);
    if (!parseRequestLine(head.substr(0, end), request)) {
        return HeadStatus::Malformed;
    }
    while (end != std::string_view::npos) {
        head.remove_prefix(end + LINE_END.size());
        end = head.find(LINE_END);
        const std::string_view line = head.substr(0, end);
        const std::size_t colon = line.find(':');
        // A name right up to the colon: no blanks, no folded continuation lines.
        if (colon == std::string_view::npos || !isToken(line.substr(0, colon)) ||
            !isPrintable(line.substr(colon + 1))) {
            return HeadStatus::Malformed;
        }
        std::string name(line.substr(0, colon));
        std::transform(name.begin(), name.end(), name.begin(), asciiLower);
        request.headers.emplace_back(std::move(name), trimmedBlanks(line.substr(colon + 1)));
    }
    return HeadStatus::Complete;
}

HeadStatus RequestHeadReader::feed(std::string_view bytes) {
    if (status_ != HeadStatus::Incomplete) {
        return status_;
    }
    // The end may straddle the bytes before and these.
    const std::size_t searchFrom = head_.size() < 2 ? 0 : head_.size() - 2;
    head_.append(bytes);
    std::size_t after = 0;
    std::size_t end = findHeadEnd(head_, searchFrom, after);
    if (end == std::string::npos) {
        // Too large only once no end can come within the limit: its first CR would be past it.
        if (head_.size() >= MAX_REQUEST_HEAD + HEAD_END.size()) {
            status_ = HeadStatus::TooLarge;
            head_ = std::string();
        }
        return status_;
    }
    rest_ = head_.substr(after);
    if (end > 0 && head_[end - 1] == '\r') {
        --end;
    }
    head_.resize(end);
    status_ = parseRequestHead(head_, request_);
    return status_;
}

bool headerHasToken(std::string_view value, std::string_view token) {
    while (!value.empty()) {
        const std::size_t comma = value.find(',');
        if (equalsIgnoringAsciiCase(trimmedBlanks(value.substr(0, comma)), token)) {
            return true;
        }
        value.remove_prefix(comma == std::string_view::npos ? value.size() : comma + 1);
    }
    return false;
}

} // namespace pal4
