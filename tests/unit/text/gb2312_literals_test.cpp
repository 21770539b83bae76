// The program's narrow literals must be GB2312 bytes, like the game's text and the settings
// file. A build without -fexec-charset=GB2312 (or /execution-charset:.936) fails here.
#include "overlay/overlay_constants.hpp"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string bytes(std::initializer_list<unsigned char> values) {
    return std::string(values.begin(), values.end());
}

TEST(Gb2312Literals, ChineseLiteralsAreCompiledToCodePage936) {
    EXPECT_EQ(std::string("宋体"), bytes({0xCB, 0xCE, 0xCC, 0xE5}));
    EXPECT_EQ(std::string("："), bytes({0xA3, 0xBA}));
    EXPECT_EQ(std::string("“"), bytes({0xA1, 0xB0}));
}

TEST(Gb2312Literals, DebugSampleIs216DoubleByteCharacters) {
    EXPECT_EQ(pal4::DEBUG_SAMPLE_TEXT.size(), 432u);
    EXPECT_EQ(pal4::DEBUG_SAMPLE_TEXT.substr(pal4::DEBUG_SAMPLE_TEXT.size() - 4), "你好");
    for (std::size_t i = 0; i < pal4::DEBUG_SAMPLE_TEXT.size(); i += 2) {
        EXPECT_GE(static_cast<unsigned char>(pal4::DEBUG_SAMPLE_TEXT[i]), 0xA1u) << "at " << i;
    }
}

} // namespace
