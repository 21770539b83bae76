// The bytes a client sends, however they arrive: the request head and the frames.
#include "web/http_request.hpp"
#include "web/websocket_frame.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace pal4 {
namespace {

// Feeds `bytes` in pieces of `piece` bytes (0: all at once).
template <typename Feed> void inPieces(const std::string& bytes, std::size_t piece, Feed feed) {
    const std::size_t step = piece == 0 ? bytes.size() + 1 : piece;
    for (std::size_t at = 0; at < bytes.size(); at += step) {
        feed(std::string_view(bytes).substr(at, step));
    }
}

struct HeadCase {
    const char* name;
    std::string bytes;
    std::size_t piece;
    HeadStatus status;
    std::string target; // for Complete
    std::string rest;
};

class RequestHeadTest : public ::testing::TestWithParam<HeadCase> {};

TEST_P(RequestHeadTest, ReadsOrRefusesTheHead) {
    const HeadCase& c = GetParam();
    RequestHeadReader reader;
    inPieces(c.bytes, c.piece, [&](std::string_view piece) { reader.feed(piece); });
    ASSERT_EQ(reader.status(), c.status);
    if (c.status == HeadStatus::Complete) {
        EXPECT_EQ(reader.request().target, c.target);
        EXPECT_EQ(reader.request().header("upgrade"), "WebSocket");
        EXPECT_EQ(reader.rest(), c.rest);
    }
}

const std::string GOOD =
    "GET /subtitle?x=1 HTTP/1.1\r\nHost: 127.0.0.1\r\nUpgrade:  WebSocket \r\n\r\n";

INSTANTIATE_TEST_SUITE_P(
    Heads, RequestHeadTest,
    ::testing::Values(
        HeadCase{"Good", GOOD + "\x88\x80", 0, HeadStatus::Complete, "/subtitle?x=1", "\x88\x80"},
        HeadCase{"ByteByByte", GOOD, 1, HeadStatus::Complete, "/subtitle?x=1", ""},
        HeadCase{"Truncated", GOOD.substr(0, GOOD.size() - 2), 7, HeadStatus::Incomplete, "", ""},
        HeadCase{"OversizedUnended", "GET / HTTP/1.1\r\nX: " + std::string(9000, 'a'), 1000,
                 HeadStatus::TooLarge, "", ""},
        HeadCase{"OversizedEnded", "GET / HTTP/1.1\r\nX: " + std::string(8200, 'a') + "\r\n\r\n", 0,
                 HeadStatus::TooLarge, "", ""},
        HeadCase{"BareLineFeed", "GET / HTTP/1.1\r\nX: a\nHost: b\r\n\r\n", 0,
                 HeadStatus::Malformed, "", ""},
        HeadCase{"FoldedLine", "GET / HTTP/1.1\r\nX: a\r\n b\r\n\r\n", 0, HeadStatus::Malformed, "",
                 ""},
        HeadCase{"NoVersion", "GET /\r\n\r\n", 0, HeadStatus::Malformed, "", ""},
        HeadCase{"OtherProtocol", "GET / HTTP/2.0\r\n\r\n", 0, HeadStatus::Malformed, "", ""}),
    [](const auto& param) { return std::string(param.param.name); });

struct FrameCase {
    const char* name;
    std::string bytes;
    std::size_t piece;
    std::vector<FrameStatus> statuses; // what next() says, in turn, once all bytes are in
    Opcode opcode;                     // of the first frame
    std::string payload;
};

class FrameReaderTest : public ::testing::TestWithParam<FrameCase> {};

TEST_P(FrameReaderTest, TakesFramesOrRefusesThem) {
    const FrameCase& c = GetParam();
    FrameReader reader;
    std::vector<FrameStatus> seen;
    ClientFrame first;
    ClientFrame frame;
    inPieces(c.bytes, c.piece, [&](std::string_view piece) {
        reader.append(piece);
        for (FrameStatus status = reader.next(frame); status != FrameStatus::Incomplete;
             status = reader.next(frame)) {
            seen.push_back(status);
            if (seen.size() == 1) {
                first = frame;
            }
            if (status != FrameStatus::Frame) {
                break;
            }
        }
    });
    EXPECT_EQ(seen, c.statuses);
    if (!seen.empty() && seen[0] == FrameStatus::Frame) {
        EXPECT_EQ(first.opcode, c.opcode);
        EXPECT_EQ(first.payload, c.payload);
    }
}

// RFC 6455, 5.7: a masked "Hello".
const std::string HELLO = "\x81\x85\x37\xfa\x21\x3d\x7f\x9f\x4d\x51\x58";
const std::string MASKED_CLOSE = std::string("\x88\x80\0\0\0\0", 6);
const std::string MASK = std::string(4, '\0');
using S = FrameStatus;

FrameCase refused(const char* name, std::string bytes, std::vector<FrameStatus> statuses) {
    return {name, std::move(bytes), 0, std::move(statuses), Opcode::Text, ""};
}

INSTANTIATE_TEST_SUITE_P(
    Frames, FrameReaderTest,
    ::testing::Values(
        FrameCase{"Good", HELLO, 0, {S::Frame}, Opcode::Text, "Hello"},
        FrameCase{"ByteByByte", HELLO, 1, {S::Frame}, Opcode::Text, "Hello"},
        FrameCase{"TwoInOneRead",
                  "\x89\x80" + MASK + MASKED_CLOSE,
                  0,
                  {S::Frame, S::Frame},
                  Opcode::Ping,
                  ""},
        FrameCase{"TwoInTwoReads", HELLO + HELLO, 11, {S::Frame, S::Frame}, Opcode::Text, "Hello"},
        FrameCase{"Truncated", HELLO.substr(0, 8), 0, {}, Opcode::Text, ""},
        refused("OrphanContinuation", "\x80\x80" + MASK, {S::ProtocolError}),
        refused("NewMessageInsideAFragmentedOne", "\x01\x80" + MASK + "\x81\x80" + MASK,
                {S::Frame, S::ProtocolError}),
        refused("OneByteCloseBody", "\x88\x81" + MASK + "\x03", {S::ProtocolError}),
        refused("CloseCode1005", "\x88\x82" + MASK + "\x03\xED", {S::ProtocolError}),
        refused("CloseCode999", "\x88\x82" + MASK + "\x03\xE7", {S::ProtocolError}),
        FrameCase{"Unmasked", "\x81\x05Hello", 0, {S::ProtocolError}, Opcode::Text, ""},
        FrameCase{
            "OversizedBeforeItsPayload", "\x82\xFE\x10\x01", 0, {S::TooBig}, Opcode::Text, ""},
        FrameCase{"SixtyFourBitLength",
                  "\x82\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF",
                  3,
                  {S::TooBig},
                  Opcode::Text,
                  ""},
        FrameCase{"LargestAllowed",
                  std::string("\x82\xFE\x10\x00", 4) + MASK + std::string(4096, 'x'),
                  1000,
                  {S::Frame},
                  Opcode::Binary,
                  std::string(4096, 'x')},
        FrameCase{"LongPing",
                  std::string("\x89\xFE\x00\x7E", 4) + MASK,
                  0,
                  {S::ProtocolError},
                  Opcode::Text,
                  ""},
        FrameCase{"SplitPing", "\x09\x80" + MASK, 0, {S::ProtocolError}, Opcode::Text, ""},
        FrameCase{"ReservedBit", "\xC1\x80" + MASK, 0, {S::ProtocolError}, Opcode::Text, ""},
        FrameCase{"UnknownOpcode", "\x83\x80" + MASK, 0, {S::ProtocolError}, Opcode::Text, ""}),
    [](const auto& param) { return std::string(param.param.name); });

} // namespace
} // namespace pal4
