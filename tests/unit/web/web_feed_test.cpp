// The web feeds of the whole tool, over fake sockets: what each request gets, what the feeds
// say as the game and the panel change, and the limits that keep a client from costing more.
#include "harness/simulated_tool.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace pal4::testing {
namespace {

const std::string KEY_HEADERS =
    "Upgrade: websocket\r\nConnection: keep-alive\r\nConnection: Upgrade\r\n"
    "Sec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\n";

std::string upgradeTo(const std::string& path, const std::string& version = "13") {
    return "GET " + path + " HTTP/1.1\r\nHost: 127.0.0.1:6677\r\n" + KEY_HEADERS +
           "Sec-WebSocket-Version: " + version + "\r\n\r\n";
}

// A client's frame, masked with zeros, of a short payload.
std::string masked(char opcode, const std::string& payload) {
    return std::string{static_cast<char>(0x80 | opcode),
                       static_cast<char>(0x80 | static_cast<int>(payload.size()))} +
           std::string(4, '\0') + payload;
}

std::string utf8(std::u8string_view text) {
    return {text.begin(), text.end()};
}

class WebFeedTest : public ::testing::Test {
public:
    void SetUp() override {
        tool.givenSettingsFile("[config]\r\nwebport=6677\r\n");
        tool.panel.create();
    }
    SocketId join(const std::string& path) {
        return tool.sockets.connect(tool.app, upgradeTo(path));
    }
    FakeSockets::Connection& connection(SocketId id) { return tool.sockets.connections.at(id); }
    // The payloads of the frames the tool sent after its handshake answer.
    std::vector<std::string> frames(SocketId id) {
        std::string_view bytes = connection(id).outbound;
        bytes.remove_prefix(bytes.find("\r\n\r\n") + 4);
        std::vector<std::string> payloads;
        while (bytes.size() >= 2) {
            std::size_t size = static_cast<unsigned char>(bytes[1]);
            std::size_t header = 2;
            if (size == 126) {
                size = static_cast<std::size_t>(static_cast<unsigned char>(bytes[2]) << 8 |
                                                static_cast<unsigned char>(bytes[3]));
                header = 4;
            }
            payloads.emplace_back(bytes.substr(header, size));
            bytes.remove_prefix(std::min(bytes.size(), header + size));
        }
        return payloads;
    }
    void showLine(std::string_view line) {
        tool.world.say(line);
        tool.overlay.timerFires();
    }

    SimulatedTool tool;
};

struct RequestCase {
    const char* name;
    std::string request;
    std::string answer; // how the reply starts
    std::string last;   // and how it ends
    bool ends;          // the tool ends the connection after it
};

class WebRequestTest : public WebFeedTest, public ::testing::WithParamInterface<RequestCase> {};

TEST_P(WebRequestTest, AnswersEachRequestAndEndsWhatIsNoFeed) {
    const RequestCase& c = GetParam();
    const FakeSockets::Connection& client = connection(tool.sockets.connect(tool.app, c.request));
    EXPECT_EQ(client.outbound.substr(0, c.answer.size()), c.answer);
    EXPECT_TRUE(client.outbound.ends_with(c.last)) << client.outbound;
    EXPECT_FALSE(client.closed); // the client reads its answer and ends first
    tool.sockets.now += HANDSHAKE_TIMEOUT_MS;
    tool.app.onSocketTimer();
    EXPECT_EQ(client.closed, c.ends);
}

const std::string HOST = "Host: 127.0.0.1:6677\r\n";

// A request line ("GET /") with the right host.
std::string ask(const std::string& line) {
    return line + " HTTP/1.1\r\n" + HOST + "\r\n";
}

INSTANTIATE_TEST_SUITE_P(
    Requests, WebRequestTest,
    ::testing::Values(
        RequestCase{"Page", ask("GET /?v=2"), "HTTP/1.1 200 OK", "</html>\n", true},
        RequestCase{"PageHead", ask("HEAD /"), "HTTP/1.1 200 OK", "close\r\n\r\n", true},
        RequestCase{"AbsoluteTarget", ask("GET http://LocalHost:6677/"), "HTTP/1.1 200", "", true},
        RequestCase{"LineFeed", upgradeTo("/"), "HTTP/1.1 101",
                    "Sec-WebSocket-Accept: s3pPLMBiTxaQ9kYGzzhZRbK+xOo=\r\n\r\n", false},
        RequestCase{"OtherPath", ask("GET /favicon.ico"), "HTTP/1.1 404", "", true},
        RequestCase{"Post", ask("POST /"), "HTTP/1.1 405", "", true},
        RequestCase{"NoHost", "GET / HTTP/1.1\r\n\r\n", "HTTP/1.1 400", "", true},
        RequestCase{"TwoHosts", "GET / HTTP/1.1\r\n" + HOST + HOST + "\r\n", "HTTP/1.1 400", "",
                    true},
        RequestCase{"OtherName", "GET / HTTP/1.1\r\nHost: a.example:6677\r\n\r\n", "HTTP/1.1 400",
                    "", true},
        RequestCase{"BareLineFeeds", "GET / HTTP/1.1\nHost: 127.0.0.1:6677\n\n", "HTTP/1.1 400", "",
                    true},
        RequestCase{"SubtitleFeedWithoutUpgrade", ask("GET /subtitle"), "HTTP/1.1 426", "", true},
        RequestCase{"OldWebSocket", upgradeTo("/", "8"), "HTTP/1.1 426", "", true},
        RequestCase{"NoKey",
                    "GET / HTTP/1.1\r\n" + HOST +
                        "Upgrade: websocket\r\nConnection: Upgrade\r\n"
                        "Sec-WebSocket-Version: 13\r\n\r\n",
                    "HTTP/1.1 400", "", true},
        RequestCase{"OversizedHead", "GET / HTTP/1.1\r\nX: " + std::string(9000, 'a'),
                    "HTTP/1.1 431", "", true}),
    [](const auto& param) { return std::string(param.param.name); });

TEST_F(WebFeedTest, TheSubtitleFeedFollowsTheShownTextAndTheStyle) {
    const SocketId page = join("/subtitle");
    tool.panel.userClicksToggle();
    showLine("甲：你好");
    tool.panel.userClicks(CheckBox::Bold);
    tool.panel.userPicksColor(0x0000FF);
    tool.world.setBlank(true);
    tool.overlay.timerFires();

    const std::vector<std::string> states = frames(page);
    ASSERT_EQ(states.size(), 5u);
    EXPECT_NE(states[0].find(R"("text":"","font":")"), std::string::npos) << states[0];
    EXPECT_NE(states[1].find(R"("text":")" + utf8(u8"你好") + "\""), std::string::npos);
    EXPECT_NE(states[2].find(R"("bold":true)"), std::string::npos);
    EXPECT_NE(states[3].find(R"("color":"#ff0000")"), std::string::npos);
    EXPECT_NE(states[4].find(R"("text":"","font":")"), std::string::npos) << states[4];
}

// Whether the tool still waits for the client's end, closed after it, or reset the connection.
enum class End { Waits, AfterClient, Reset };

struct LimitCase {
    const char* name;
    std::function<SocketId(WebFeedTest&, SimulatedTool&)> act; // the client to look at
    std::string lastBytes;
    End end;
};

class WebLimits : public WebFeedTest, public ::testing::WithParamInterface<LimitCase> {};

TEST_P(WebLimits, ARudeClientIsRefusedOrDroppedAndNeverWaitedFor) {
    const SocketId client = GetParam().act(*this, tool);
    const FakeSockets::Connection& c = tool.sockets.connections.at(client);
    EXPECT_TRUE(c.outbound.ends_with(GetParam().lastBytes));
    EXPECT_EQ(c.closed, GetParam().end != End::Waits);
    EXPECT_EQ(c.reset, GetParam().end == End::Reset);
}

INSTANTIATE_TEST_SUITE_P(
    Limits, WebLimits,
    ::testing::Values(
        LimitCase{"SeventeenthClient",
                  [](WebFeedTest& fixture, SimulatedTool& tool) {
                      for (int i = 0; i < 16; ++i) {
                          fixture.join("/");
                      }
                      return tool.sockets.connect(tool.app, upgradeTo("/"));
                  },
                  "503 Service Unavailable\n", End::Reset},
        LimitCase{"UnfinishedHandshake", // ended at its deadline, by a socket event too
                  [](WebFeedTest&, SimulatedTool& tool) {
                      const SocketId id = tool.sockets.connect(tool.app, "GET / HTTP/1.1\r\n");
                      tool.sockets.now += 4999;
                      tool.app.onSocketTimer();
                      EXPECT_FALSE(tool.sockets.connections.at(id).closed);
                      tool.sockets.now += 1;
                      tool.sockets.clientSends(tool.app, id, "X: y\r\n");
                      return id;
                  },
                  "", End::Reset},
        LimitCase{"ReaderThatNeverReads",
                  [](WebFeedTest& fixture, SimulatedTool& tool) {
                      const SocketId id = fixture.join("/subtitle");
                      tool.sockets.connections.at(id).room = 0;
                      int clicks = 0;
                      for (; clicks < 400 && !tool.sockets.connections.at(id).closed; ++clicks) {
                          tool.panel.userClicks(CheckBox::Bold);
                      }
                      EXPECT_GT(clicks, 250) << "dropped before its 64 KiB";
                      return id;
                  },
                  "", End::Reset},
        LimitCase{"HalfClosedBeforeItsAnswerIsOut",
                  [](WebFeedTest& fixture, SimulatedTool& tool) {
                      const SocketId id = tool.sockets.connect(tool.app, "GET / HTTP/1.1\r\n");
                      fixture.connection(id).room = 100;
                      fixture.connection(id).peerGone = true;
                      tool.sockets.clientSends(tool.app, id, HOST + "\r\n");
                      tool.sockets.deliver(tool.app, id, SocketEvent::Close);
                      tool.sockets.makeRoom(tool.app, id);
                      return id;
                  },
                  "</html>\n", End::AfterClient},
        LimitCase{"UnmaskedFrame",
                  [](WebFeedTest& fixture, SimulatedTool& tool) {
                      const SocketId id = fixture.join("/");
                      tool.sockets.clientSends(tool.app, id, "\x81\x05Hello");
                      return id;
                  },
                  "\x88\x02\x03\xEA", End::Waits},
        LimitCase{"OversizedFrame",
                  [](WebFeedTest& fixture, SimulatedTool& tool) {
                      const SocketId id = fixture.join("/");
                      tool.sockets.clientSends(tool.app, id, "\x81\xFE\x10\x01");
                      return id;
                  },
                  "\x88\x02\x03\xF1", End::Waits},
        LimitCase{"PingThenClose",
                  [](WebFeedTest& fixture, SimulatedTool& tool) {
                      const SocketId id = fixture.join("/");
                      tool.sockets.clientSends(tool.app, id, masked(0x9, "hi") + masked(0x8, ""));
                      return id;
                  },
                  "\x8A\x02hi\x88\x02\x03\xE8", End::Waits},
        LimitCase{"TextThatIsNotUtf8",
                  [](WebFeedTest& fixture, SimulatedTool& tool) {
                      const SocketId id = fixture.join("/");
                      tool.sockets.clientSends(tool.app, id, masked(0x1, "\xC0\xAF"));
                      return id;
                  },
                  "\x88\x02\x03\xEF", End::Waits},
        LimitCase{"FloodOfFrames",
                  [](WebFeedTest& fixture, SimulatedTool& tool) {
                      const SocketId id = fixture.join("/");
                      std::string flood;
                      while (flood.size() < 3 * 64 * 1024) {
                          flood += masked(0x2, std::string(100, 'x'));
                      }
                      tool.sockets.clientSends(tool.app, id, flood);
                      return id;
                  },
                  "\x88\x02\x03\xF0", End::Reset},
        LimitCase{"EndlessBodyAfterAnError",
                  [](WebFeedTest&, SimulatedTool& tool) {
                      return tool.sockets.connect(tool.app, "GET /x HTTP/1.1\r\n" + HOST + "\r\n" +
                                                                std::string(80000, 'x'));
                  },
                  "404 Not Found\n", End::Reset}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(WebPortTest, APortAnotherProgramHoldsIsTriedAgainUntilFree) {
    SimulatedTool held;
    held.givenSettingsFile("[config]\r\nwebport=6677\r\n");
    held.sockets.refuseListen = true;
    held.panel.create();
    held.sockets.refuseListen = false;
    held.sockets.now += LISTEN_RETRY_MS;
    held.app.onSocketTimer();
    EXPECT_EQ(held.sockets.listening, 6677);
}

} // namespace
} // namespace pal4::testing
