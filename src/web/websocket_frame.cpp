#include "web/websocket_frame.hpp"

#include <algorithm>

namespace pal4 {

namespace {

constexpr std::uint8_t FIN_BIT = 0x80;
constexpr std::uint8_t RESERVED_BITS = 0x70;
constexpr std::uint8_t OPCODE_BITS = 0x0F;
constexpr std::uint8_t MASK_BIT = 0x80;
constexpr std::uint8_t LENGTH_BITS = 0x7F;
constexpr std::uint8_t LENGTH_16 = 126;
constexpr std::uint8_t LENGTH_64 = 127;
constexpr std::size_t MASK_SIZE = 4;

char byteChar(std::uint64_t value) {
    return static_cast<char>(static_cast<std::uint8_t>(value & 0xFF));
}

std::uint8_t byteAt(std::string_view bytes, std::size_t at) {
    return static_cast<std::uint8_t>(bytes[at]);
}

bool isKnown(std::uint8_t opcode) {
    switch (static_cast<Opcode>(opcode)) {
    case Opcode::Continuation:
    case Opcode::Text:
    case Opcode::Binary:
    case Opcode::Close:
    case Opcode::Ping:
    case Opcode::Pong:
        return true;
    }
    return false;
}

bool isControl(std::uint8_t opcode) {
    return (opcode & 0x8) != 0;
}

// The codes a peer may send (RFC 6455, 7.4; 1012 to 1014 as registered since): 1005 and 1006
// say that no code was sent and are never on the wire.
bool isSendableCloseCode(unsigned code) {
    return (code >= 1000 && code <= 1003) || (code >= 1007 && code <= 1014) ||
           (code >= 3000 && code <= 4999);
}

} // namespace

std::string encodeFrame(Opcode opcode, std::string_view payload) {
    std::string frame;
    frame.reserve(payload.size() + 10);
    frame.push_back(static_cast<char>(FIN_BIT | static_cast<std::uint8_t>(opcode)));
    const std::uint64_t size = payload.size();
    if (size < LENGTH_16) {
        frame.push_back(byteChar(size));
    } else if (size <= 0xFFFF) {
        frame.push_back(static_cast<char>(LENGTH_16));
        frame.push_back(byteChar(size >> 8));
        frame.push_back(byteChar(size));
    } else {
        frame.push_back(static_cast<char>(LENGTH_64));
        for (int shift = 56; shift >= 0; shift -= 8) {
            frame.push_back(byteChar(size >> shift));
        }
    }
    frame.append(payload);
    return frame;
}

std::string encodeCloseFrame(std::uint16_t code) {
    const std::uint64_t value = code;
    const char payload[2] = {byteChar(value >> 8), byteChar(value)};
    return encodeFrame(Opcode::Close, std::string_view(payload, 2));
}

bool Utf8Checker::feed(std::string_view bytes) {
    for (const char c : bytes) {
        const auto byte = static_cast<std::uint8_t>(c);
        if (due_ > 0) {
            if (byte < low_ || byte > high_) {
                return false;
            }
            --due_;
            low_ = 0x80;
            high_ = 0xBF;
        } else if (byte >= 0x80) {
            // The lead byte says how many follow and narrows the first of them.
            if (byte >= 0xC2 && byte <= 0xDF) {
                due_ = 1;
            } else if (byte >= 0xE0 && byte <= 0xEF) {
                due_ = 2;
                low_ = byte == 0xE0 ? 0xA0 : 0x80;
                high_ = byte == 0xED ? 0x9F : 0xBF;
            } else if (byte >= 0xF0 && byte <= 0xF4) {
                due_ = 3;
                low_ = byte == 0xF0 ? 0x90 : 0x80;
                high_ = byte == 0xF4 ? 0x8F : 0xBF;
            } else {
                return false;
            }
        }
    }
    return true;
}

void FrameReader::append(std::string_view bytes) {
    if (failed_ != FrameStatus::Incomplete) {
        return;
    }
    // Taken frames go before the buffer grows, so it never holds more than the frame under way
    // and the new bytes.
    buffer_.erase(0, start_);
    start_ = 0;
    buffer_.append(bytes);
}

FrameStatus FrameReader::next(ClientFrame& frame) {
    if (failed_ != FrameStatus::Incomplete) {
        return failed_;
    }
    const std::string_view bytes = std::string_view(buffer_).substr(start_);
    if (bytes.size() < 2) {
        return FrameStatus::Incomplete;
    }
    const std::uint8_t first = byteAt(bytes, 0);
    const std::uint8_t second = byteAt(bytes, 1);
    const std::uint8_t opcode = first & OPCODE_BITS;
    const bool final = (first & FIN_BIT) != 0;
    // A client masks every frame (RFC 6455, 5.1); control frames are short and never split.
    if ((first & RESERVED_BITS) != 0 || !isKnown(opcode) || (second & MASK_BIT) == 0 ||
        (isControl(opcode) && (!final || (second & LENGTH_BITS) > MAX_CONTROL_PAYLOAD))) {
        return failed_ = FrameStatus::ProtocolError;
    }
    std::uint64_t size = second & LENGTH_BITS;
    std::size_t header = 2;
    if (size == LENGTH_16 || size == LENGTH_64) {
        const std::size_t extra = size == LENGTH_16 ? 2 : 8;
        if (bytes.size() < header + extra) {
            return FrameStatus::Incomplete;
        }
        size = 0;
        for (std::size_t i = 0; i < extra; ++i) {
            size = size << 8 | byteAt(bytes, header + i);
        }
        header += extra;
    }
    if (size > MAX_CLIENT_FRAME) {
        return failed_ = FrameStatus::TooBig;
    }
    const std::size_t payloadSize = static_cast<std::size_t>(size);
    if (bytes.size() < header + MASK_SIZE + payloadSize) {
        return FrameStatus::Incomplete;
    }
    const std::string_view mask = bytes.substr(header, MASK_SIZE);
    frame.opcode = static_cast<Opcode>(opcode);
    frame.final = final;
    frame.payload.assign(bytes.substr(header + MASK_SIZE, payloadSize));
    for (std::size_t i = 0; i < payloadSize; ++i) {
        frame.payload[i] = static_cast<char>(frame.payload[i] ^ mask[i % MASK_SIZE]);
    }
    start_ += header + MASK_SIZE + payloadSize;
    const FrameStatus status = check(frame);
    if (status != FrameStatus::Frame) {
        failed_ = status;
    }
    return status;
}

FrameStatus FrameReader::check(const ClientFrame& frame) {
    if (frame.opcode == Opcode::Close) {
        if (frame.payload.empty()) {
            return FrameStatus::Frame;
        }
        if (frame.payload.size() == 1 ||
            !isSendableCloseCode(static_cast<unsigned>(byteAt(frame.payload, 0)) << 8 |
                                 byteAt(frame.payload, 1))) {
            return FrameStatus::ProtocolError;
        }
        Utf8Checker reason;
        return reason.feed(std::string_view(frame.payload).substr(2)) && reason.whole()
                   ? FrameStatus::Frame
                   : FrameStatus::BadText;
    }
    if (isControl(static_cast<std::uint8_t>(frame.opcode))) {
        return FrameStatus::Frame;
    }
    // A continuation belongs to a message under way, and a new message waits for the last.
    if ((frame.opcode == Opcode::Continuation) != inMessage_) {
        return FrameStatus::ProtocolError;
    }
    if (frame.opcode != Opcode::Continuation) {
        inText_ = frame.opcode == Opcode::Text;
        text_ = Utf8Checker{};
    }
    inMessage_ = !frame.final;
    if (inText_ && (!text_.feed(frame.payload) || (frame.final && !text_.whole()))) {
        return FrameStatus::BadText;
    }
    return FrameStatus::Frame;
}

std::string base64(std::string_view bytes) {
    static constexpr std::string_view ALPHABET =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string text;
    text.reserve((bytes.size() + 2) / 3 * 4);
    for (std::size_t at = 0; at < bytes.size(); at += 3) {
        const std::size_t count = std::min<std::size_t>(3, bytes.size() - at);
        std::uint32_t group = 0;
        for (std::size_t i = 0; i < 3; ++i) {
            group = group << 8 | (i < count ? byteAt(bytes, at + i) : 0u);
        }
        for (std::size_t i = 0; i < 4; ++i) {
            text.push_back(i <= count ? ALPHABET[(group >> (18 - 6 * i)) & 0x3F] : '=');
        }
    }
    return text;
}

} // namespace pal4
