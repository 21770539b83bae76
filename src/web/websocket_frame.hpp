#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace pal4 {

// RFC 6455 framing, the few parts a server that only speaks needs.

enum class Opcode : std::uint8_t {
    Continuation = 0x0,
    Text = 0x1,
    Binary = 0x2,
    Close = 0x8,
    Ping = 0x9,
    Pong = 0xA,
};

// The close codes the tool sends (RFC 6455, 7.4.1).
inline constexpr std::uint16_t CLOSE_NORMAL = 1000;
inline constexpr std::uint16_t CLOSE_PROTOCOL_ERROR = 1002;
inline constexpr std::uint16_t CLOSE_INVALID_DATA = 1007;
inline constexpr std::uint16_t CLOSE_POLICY = 1008;
inline constexpr std::uint16_t CLOSE_TOO_BIG = 1009;

// Clients have nothing to say but close, ping and pong; a bigger frame is refused before its
// payload is read.
inline constexpr std::size_t MAX_CLIENT_FRAME = 4 * 1024;
// The RFC's limit for close, ping and pong.
inline constexpr std::size_t MAX_CONTROL_PAYLOAD = 125;

// One whole, unmasked frame, as a server sends it.
std::string encodeFrame(Opcode opcode, std::string_view payload);
std::string encodeCloseFrame(std::uint16_t code);

struct ClientFrame {
    Opcode opcode = Opcode::Text;
    bool final = true;
    std::string payload; // unmasked
};

enum class FrameStatus {
    Incomplete,    // more bytes are needed
    Frame,         // one frame taken out
    ProtocolError, // unmasked, reserved bits or opcodes, a bad control frame or close body, a
                   // continuation out of place: close with 1002
    BadText,       // a text message or close reason that is not UTF-8: close with 1007
    TooBig,        // over MAX_CLIENT_FRAME: close with 1009
};

// Checks UTF-8 (RFC 3629: no overlong forms, surrogates or values past U+10FFFF) as it arrives,
// however a message is split into frames.
class Utf8Checker {
public:
    // False from the first byte that no well-formed text can hold.
    bool feed(std::string_view bytes);
    // No character is left half-way.
    bool whole() const { return due_ == 0; }

private:
    int due_ = 0; // continuation bytes still to come
    std::uint8_t low_ = 0x80;
    std::uint8_t high_ = 0xBF;
};

// Takes client frames out of bytes as they arrive, however they are split, and checks what the
// frames say together: fragments in order, text that is UTF-8, close bodies the RFC allows. It
// keeps no more than one frame's worth of bytes once every complete frame has been taken; after
// an error it takes nothing more.
class FrameReader {
public:
    void append(std::string_view bytes);
    FrameStatus next(ClientFrame& frame);

private:
    FrameStatus check(const ClientFrame& frame);

    std::string buffer_;
    std::size_t start_ = 0; // bytes before it are taken
    FrameStatus failed_ = FrameStatus::Incomplete;
    bool inMessage_ = false; // a fragmented message waits for its final frame
    bool inText_ = false;
    Utf8Checker text_;
};

// The base64 text of bytes (RFC 4648, with padding).
std::string base64(std::string_view bytes);

// The GUID the server appends to the client's key before hashing it (RFC 6455, 1.3).
inline constexpr std::string_view WEBSOCKET_GUID = "258EAFA5-E914-47DA-95CA-C5AB0DC85B11";

} // namespace pal4
