#include "text/text_encoding.hpp"
#include "win32/platform/dialogue_ports_win32.hpp"
#include "win32/platform/gb2312.hpp"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace {

using namespace pal4;
using namespace pal4::win32;

TEST(LocalClockWin32, TellsTheSystemsLocalTimeFieldByField) {
    for (int attempt = 0; attempt < 3; ++attempt) {
        SYSTEMTIME before{};
        GetLocalTime(&before);
        const LocalTime now = LocalClockWin32().localTime();
        SYSTEMTIME after{};
        GetLocalTime(&after);
        if (before.wSecond != after.wSecond) {
            continue; // a second boundary passed in between: read again
        }
        EXPECT_EQ(now.year, before.wYear);
        EXPECT_EQ(now.month, before.wMonth);
        EXPECT_EQ(now.day, before.wDay);
        EXPECT_EQ(now.hour, before.wHour);
        EXPECT_EQ(now.minute, before.wMinute);
        EXPECT_EQ(now.second, before.wSecond);
        return;
    }
    FAIL() << "the clock never held still for a second";
}

struct DecodingCase {
    const char* name;
    std::string bytes;
    std::u16string characters;
};

void PrintTo(const DecodingCase& test, std::ostream* out) {
    *out << test.name;
}

class OneDecoding : public ::testing::TestWithParam<DecodingCase> {};

// What the overlay and the edit box show (widenGb2312) is what the log, the live line and the
// clipboard keep (decodeGb2312 through the system's table), for damaged bytes too.
TEST_P(OneDecoding, TheScreenAndTheFilesAgree) {
    const std::wstring shown = widenGb2312(GetParam().bytes);
    const std::u16string kept =
        encodeUtf16(decodeGb2312(GetParam().bytes, CharacterDecoderWin32()));
    EXPECT_EQ(std::u16string(shown.begin(), shown.end()), GetParam().characters);
    EXPECT_EQ(kept, GetParam().characters);
}

INSTANTIATE_TEST_SUITE_P(
    Bytes, OneDecoding,
    ::testing::Values(DecodingCase{"Euro", "a\x80", u"a\u20AC"},
                      DecodingCase{"FF", "\xC4\xE3\xFF\xBA\xC3", u"\u4F60\uFFFD\u597D"},
                      DecodingCase{"LeadByteAtTheEnd", "\xC4\xE3\xB0", u"\u4F60\uFFFD"},
                      DecodingCase{"LeadByteBeforeABlank", "\xB0 1", u"\uFFFD 1"},
                      DecodingCase{"UserDefinedPair", "\xAA\xA1", u"\uE000"}),
    [](const auto& test) { return std::string(test.param.name); });

} // namespace
