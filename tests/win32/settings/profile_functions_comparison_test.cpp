// Runs every file of the INI engine's table through GetPrivateProfileStringA and
// WritePrivateProfileStringA and compares the values read and the file's bytes afterwards with
// ours. Where we differ on purpose, the difference is named below with the reason, and the
// test checks that it is still there, so the list stays true.
#include "ini_cases.hpp"
#include "settings/ini_document.hpp"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

namespace pal4::testing {
namespace {

// What a read gives when the key is absent: the default, chosen so no file holds it.
constexpr char kAbsent[] = "<absent>";

struct KnownDifference {
    bool reads = false; // the values read differ
    bool bytes = false; // the file's bytes after the writes differ
    const char* why = "";
};

const std::map<std::string, KnownDifference>& knownDifferences() {
    // Windows' writer (Wine's, measured here) rebuilds the whole file from what it parsed; we
    // splice the one value into the bytes, so a hand-edited file keeps its layout and no byte
    // the user wrote is lost to a write of another key.
    constexpr const char* rebuilds =
        "Windows rewrites every line of the file as name=value with CR LF, dropping blank "
        "lines, blanks around names and values, text after a section's bracket and bytes from "
        "a NUL or an undecodable byte on; we keep every byte the write does not touch";
    constexpr const char* placement =
        "Windows appends a new key after everything in the section, trailing comments and "
        "blank lines included; we add it after the section's last key, so a comment or blank "
        "line that leads into what follows stays there";
    static const std::map<std::string, KnownDifference> differences = {
        {"LfFileKeepsLfAndAddsCrLf", {false, true, rebuilds}},
        {"NoFinalNewlineChangeKey", {false, true, rebuilds}},
        {"BlanksAroundEquals", {false, true, rebuilds}},
        {"TabsAroundGb2312Value", {false, true, rebuilds}},
        {"IndentedComment", {false, true, rebuilds}},
        {"BlankOnlyValueIsEmptyText", {false, true, rebuilds}},
        {"NewKeyBeforeBlankLineAndNextSection", {false, true, rebuilds}},
        {"SectionNameWithBlanks", {false, true, rebuilds}},
        {"TextAfterSectionHeader", {false, true, rebuilds}},
        {"NulBytesEndAValue", {false, true, rebuilds}},
        {"BinaryJunkAroundTheSection", {false, true, rebuilds}},
        {"MixedLineEnds", {false, true, rebuilds}},
        {"CtrlZAtEnd", {false, true, rebuilds}},
        {"OtherSectionsUntouched", {false, true, rebuilds}},
        {"CommentsKept", {false, true, placement}},
        {"BlankLinesInsideSectionKept", {false, true, placement}},
        {"KeyWithoutEquals",
         {false, true,
          "Windows takes a line without '=' for a key without a value and rewrites it as the "
          "key; we leave a line we do not understand alone and add the key after it (both read "
          "the key as absent before and as the written value after)"}},
    };
    return differences;
}

struct Outcome {
    std::vector<std::string> reads;
    std::string bytes;
};

std::string readable(const std::string& text) {
    std::string out;
    for (const char c : text.substr(0, 200)) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7F) {
            out += c;
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", byte);
            out += hex;
        }
    }
    return text.size() > 200 ? out + "...(" + std::to_string(text.size()) + " bytes)" : out;
}

std::string fileContent(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

Outcome ours(const IniCase& test) {
    Outcome outcome;
    IniDocument document(test.input);
    for (const IniRead& read : test.reads) {
        outcome.reads.push_back(document.value(read.section, read.key).value_or(kAbsent));
    }
    for (const IniWrite& write : test.writes) {
        document.setValue(write.section, write.key, write.value);
    }
    outcome.bytes = document.bytes();
    return outcome;
}

Outcome windows(const IniCase& test, const std::string& path) {
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(test.input.data(), static_cast<std::streamsize>(test.input.size()));
    }
    Outcome outcome;
    std::vector<char> buffer(3u << 20);
    for (const IniRead& read : test.reads) {
        const DWORD length =
            GetPrivateProfileStringA(read.section.c_str(), read.key.c_str(), kAbsent, buffer.data(),
                                     static_cast<DWORD>(buffer.size()), path.c_str());
        outcome.reads.emplace_back(buffer.data(), length);
    }
    for (const IniWrite& write : test.writes) {
        WritePrivateProfileStringA(write.section.c_str(), write.key.c_str(), write.value.c_str(),
                                   path.c_str());
    }
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, path.c_str()); // flush the cache
    outcome.bytes = fileContent(path);
    return outcome;
}

bool isAscii(const std::string& text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

bool needsCodePage936(const IniCase& test) {
    bool ascii = isAscii(test.input) && isAscii(test.output);
    for (const IniRead& read : test.reads) {
        ascii = ascii && isAscii(read.expected.value_or(""));
    }
    return !ascii;
}

class ProfileFunctionsComparison : public ::testing::TestWithParam<IniCase> {};

TEST_P(ProfileFunctionsComparison, ReadsAndFileBytesMatchOrDifferOnPurpose) {
    const IniCase& test = GetParam();
    if (needsCodePage936(test) && GetACP() != 936) {
        GTEST_SKIP() << "needs the ANSI code page 936 (run with a zh_CN locale)";
    }
    char folder[MAX_PATH];
    ASSERT_NE(GetTempPathA(MAX_PATH, folder), 0u);
    const std::string path = std::string(folder) + "pal4-compare-" + test.name + ".ini";

    const Outcome mine = ours(test);
    const Outcome theirs = windows(test, path);
    DeleteFileA(path.c_str());

    const bool readsDiffer = mine.reads != theirs.reads;
    const bool bytesDiffer = mine.bytes != theirs.bytes;
    for (std::size_t i = 0; i < test.reads.size() && readsDiffer; ++i) {
        std::printf("  %s: read %s: ours \"%s\", Windows \"%s\"\n", test.name.c_str(),
                    test.reads[i].key.c_str(), readable(mine.reads[i]).c_str(),
                    readable(theirs.reads[i]).c_str());
    }
    if (bytesDiffer) {
        std::printf("  %s: bytes: ours \"%s\"\n  %*s Windows \"%s\"\n", test.name.c_str(),
                    readable(mine.bytes).c_str(), static_cast<int>(test.name.size()), "",
                    readable(theirs.bytes).c_str());
    }

    const auto known = knownDifferences().find(test.name);
    if (known == knownDifferences().end()) {
        EXPECT_FALSE(readsDiffer);
        EXPECT_FALSE(bytesDiffer);
        return;
    }
    std::printf("  %s: differs on purpose: %s\n", test.name.c_str(), known->second.why);
    EXPECT_EQ(readsDiffer, known->second.reads) << known->second.why;
    EXPECT_EQ(bytesDiffer, known->second.bytes) << known->second.why;
}

INSTANTIATE_TEST_SUITE_P(Files, ProfileFunctionsComparison, ::testing::ValuesIn(iniCases()),
                         [](const auto& test) { return test.param.name; });

} // namespace
} // namespace pal4::testing
