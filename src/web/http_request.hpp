#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace pal4 {

// A longer head is refused with 431: no browser or study tool sends one, and the tool keeps at
// most this much of any client's bytes.
inline constexpr std::size_t MAX_REQUEST_HEAD = 8 * 1024;

struct HttpRequest {
    std::string method;
    std::string target;
    std::string version;
    std::vector<std::pair<std::string, std::string>> headers; // names in lower case

    // The first header of that (lower-case) name.
    std::optional<std::string_view> header(std::string_view name) const;
    // Every header of that name, one list as RFC 9110 (5.3) combines them: "a, b".
    std::optional<std::string> combined(std::string_view name) const;
    std::size_t count(std::string_view name) const;
};

enum class HeadStatus { Incomplete, Complete, TooLarge, Malformed };

// Parses a whole head, the request line and its header lines each ended by CR LF, without the
// blank line that ends it. A bare LF inside makes it malformed.
HeadStatus parseRequestHead(std::string_view head, HttpRequest& request);

// Collects a request head from bytes as they arrive, however they are split. A blank line ends
// it, by CR LF or by a bare LF (RFC 9112, 2.2), so a head of bare LFs is answered at once
// rather than waited on. Once the status is anything but Incomplete it stays so, and further
// bytes are ignored.
class RequestHeadReader {
public:
    HeadStatus feed(std::string_view bytes);
    HeadStatus status() const { return status_; }
    const HttpRequest& request() const { return request_; }
    // What came after the head's blank line (a client's first frames, say).
    const std::string& rest() const { return rest_; }

private:
    std::string head_;
    std::string rest_;
    HttpRequest request_;
    HeadStatus status_ = HeadStatus::Incomplete;
};

// Whether a comma-separated header value holds `token`, letter case aside ("keep-alive,
// Upgrade" holds "upgrade").
bool headerHasToken(std::string_view value, std::string_view token);

} // namespace pal4
