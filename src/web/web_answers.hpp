#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace pal4 {

// What the web server says, and the rules by which it reads a request's target and host.

// A short answer with its status as the body, after which the client is to close.
std::string plainResponse(std::string_view status, std::string_view extraHeaders = {});
// The page, with a policy that lets it load nothing and talk only to this port, by either of
// the names it may be opened under.
std::string pageResponse(std::uint16_t port);
std::string switchingResponse(std::string_view acceptKey);
// The head of a response alone, as HEAD gets it.
std::string_view headOf(std::string_view response);

// A WebSocket key: 16 bytes in base64 (RFC 6455, 4.1).
bool isBase64Key(std::string_view key);

// `127.0.0.1:port` or `localhost:port`: a page served under another name that merely resolves
// to this machine must not read the feeds.
bool isThisHost(std::string_view authority, std::uint16_t port);
// The path of a target in origin form ("/subtitle?x=1"), or in absolute form on this host
// ("http://localhost:6677/"); nothing for any other. A query does not count.
std::optional<std::string_view> targetPath(std::string_view target, std::uint16_t port);

} // namespace pal4
