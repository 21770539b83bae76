// Feeds arbitrary bytes, as a hostile client may send them, to the request head reader and the
// frame reader, cut into pieces at places the input chooses, and checks that the pieces change
// nothing: the reader's verdict is the verdict on the whole, no more than the limits are ever
// kept, and every frame taken is one a client may send.
#include "web/http_request.hpp"
#include "web/websocket_frame.hpp"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

void check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

// The first byte chooses the piece size (1 to 256 bytes); the rest is the stream.
std::vector<std::string_view> pieces(std::string_view data) {
    const std::size_t step = data.empty() ? 1 : static_cast<unsigned char>(data[0]) + 1u;
    data.remove_prefix(data.empty() ? 0 : 1);
    std::vector<std::string_view> result;
    for (std::size_t at = 0; at < data.size(); at += step) {
        result.push_back(data.substr(at, step));
    }
    return result;
}

void fuzzHead(std::string_view data) {
    pal4::RequestHeadReader whole;
    pal4::RequestHeadReader split;
    std::string stream;
    for (const std::string_view piece : pieces(data)) {
        stream += piece;
        split.feed(piece);
    }
    whole.feed(stream);
    check(whole.status() == split.status());
    if (whole.status() == pal4::HeadStatus::Complete) {
        // The head ends at its first blank line, with CR LF or a bare LF (answered at once).
        // A reader takes nothing once the head is whole: what came with its last piece is all.
        check(stream.ends_with(whole.rest()) && whole.rest().starts_with(split.rest()));
        check(stream.size() - whole.rest().size() <= pal4::MAX_REQUEST_HEAD + 4);
        check(whole.request().target == split.request().target);
        check(whole.request().headers == split.request().headers);
        for (const auto& [name, value] : whole.request().headers) {
            check(name.find_first_of(": \r\n") == std::string::npos);
            check(value.find_first_of("\r\n") == std::string::npos);
        }
    }
}

void fuzzFrames(std::string_view data) {
    pal4::FrameReader whole;
    pal4::FrameReader split;
    std::string stream;
    std::vector<std::string> splitFrames;
    pal4::FrameStatus splitEnd = pal4::FrameStatus::Incomplete;
    pal4::ClientFrame frame;
    for (const std::string_view piece : pieces(data)) {
        stream += piece;
        split.append(piece);
        while ((splitEnd = split.next(frame)) == pal4::FrameStatus::Frame) {
            check(frame.payload.size() <= pal4::MAX_CLIENT_FRAME);
            splitFrames.push_back(frame.payload);
        }
        if (splitEnd != pal4::FrameStatus::Incomplete) {
            break;
        }
    }
    whole.append(stream);
    std::vector<std::string> wholeFrames;
    pal4::FrameStatus wholeEnd;
    while ((wholeEnd = whole.next(frame)) == pal4::FrameStatus::Frame) {
        const bool control = (static_cast<unsigned>(frame.opcode) & 0x8u) != 0;
        check(!control || (frame.final && frame.payload.size() <= pal4::MAX_CONTROL_PAYLOAD));
        wholeFrames.push_back(frame.payload);
    }
    check(wholeEnd == splitEnd);
    check(wholeFrames == splitFrames);
    // What a server writes, a reader of unmasked frames would take back whole.
    const std::string encoded = pal4::encodeFrame(pal4::Opcode::Binary, data);
    check(encoded.size() >= data.size() + 2 &&
          encoded.substr(encoded.size() - data.size()) == data);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    fuzzHead(bytes);
    fuzzFrames(bytes);
    return 0;
}
