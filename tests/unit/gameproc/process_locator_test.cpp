#include "gameproc/process_locator.hpp"
#include "gameproc/process_name.hpp"

#include "fakes/simulated_game_process.hpp"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace pal4 {
namespace {

using testing::SimulatedGameProcess;

struct NameCase {
    std::string listed;
    bool matches;
};

class ProcessNameMatch : public ::testing::TestWithParam<NameCase> {};

TEST_P(ProcessNameMatch, FoldsOnlyAsciiLettersAndComparesWholeNames) {
    EXPECT_EQ(processNamesMatch("Pal4.exe", GetParam().listed), GetParam().matches);
}

INSTANTIATE_TEST_SUITE_P(Names, ProcessNameMatch,
                         ::testing::Values(NameCase{"Pal4.exe", true}, NameCase{"PAL4.EXE", true},
                                           NameCase{"pal4.exe", true}, NameCase{"pAL4.eXE", true},
                                           NameCase{"Pal4.exe.bak", false},
                                           NameCase{"MyPal4.exe", false},
                                           NameCase{"Pal4.exe ", false},
                                           NameCase{" Pal4.exe", false}, NameCase{"Pal4.ex", false},
                                           NameCase{"Pal5.exe", false}, NameCase{"Pal4,exe", false},
                                           NameCase{"", false},
                                           NameCase{"C:\\Game\\Pal4.exe", false}));

TEST(ProcessNameMatchBytes, LeavesNonAsciiBytesUnfolded) {
    // 0xC1 and 0xE1 differ by the ASCII case bit, as do '@' and '`' and '[' and '{'.
    EXPECT_TRUE(processNamesMatch("\xC1\xE1.exe", "\xC1\xE1.EXE"));
    EXPECT_FALSE(processNamesMatch("\xC1.exe", "\xE1.exe"));
    EXPECT_FALSE(processNamesMatch("@.exe", "`.exe"));
    EXPECT_FALSE(processNamesMatch("[.exe", "{.exe"));
}

struct LocatorCase {
    const char* what;
    std::vector<std::pair<ProcessId, std::string>> processes;
    std::string searched;
    ProcessId expected;
};

class FindProcessId : public ::testing::TestWithParam<LocatorCase> {};

TEST_P(FindProcessId, ReturnsTheFirstListedMatchAndClosesTheSnapshot) {
    SimulatedGameProcess port;
    for (const auto& [pid, name] : GetParam().processes) {
        port.addProcess(pid, name);
    }
    EXPECT_EQ(findProcessId(port, GetParam().searched), GetParam().expected);
    ASSERT_EQ(port.snapshotRequests().size(), 1u);
    EXPECT_EQ(port.snapshotRequests()[0].flags, TH32CS_SNAPPROCESS_FLAG);
    EXPECT_EQ(port.snapshotRequests()[0].processId, 0u);
    EXPECT_EQ(port.snapshotsClosed(), 1u);
    EXPECT_TRUE(port.allHandlesClosed());
}

INSTANTIATE_TEST_SUITE_P(
    Walks, FindProcessId,
    ::testing::Values(
        LocatorCase{"upper case listing", {{4, "System"}, {812, "PAL4.EXE"}}, "Pal4.exe", 812},
        LocatorCase{"no such process", {{4, "System"}, {90, "explorer.exe"}}, "Pal4.exe", 0},
        LocatorCase{"empty list", {}, "Pal4.exe", 0},
        LocatorCase{"first of two wins", {{700, "Pal4.exe"}, {300, "pal4.exe"}}, "Pal4.exe", 700},
        LocatorCase{"lookalikes only",
                    {{10, "Pal4.exe.bak"}, {11, "MyPal4.exe"}, {12, "Pal4.exe "}},
                    "Pal4.exe",
                    0},
        LocatorCase{"directory in search name", {{20, "Pal4.exe"}}, "C:\\Games\\Pal4\\Pal4.exe", 0},
        LocatorCase{
            "match after lookalikes", {{10, "MyPal4.exe"}, {33, "Pal4.exe"}}, "Pal4.exe", 33}),
    [](const auto& paramInfo) {
        std::string name = paramInfo.param.what;
        for (char& c : name) {
            c = (c == ' ') ? '_' : c;
        }
        return name;
    });

TEST(FindProcessIdFailures, NoSnapshotGivesZero) {
    SimulatedGameProcess port;
    port.addProcess(812, "Pal4.exe");
    port.failSnapshots(true);
    EXPECT_EQ(findProcessId(port, "Pal4.exe"), 0u);
    EXPECT_TRUE(port.allHandlesClosed());
}

struct WalkFailureCase {
    std::size_t entriesBeforeFailure;
    ProcessId expected;
};

class FindProcessIdWalkFailure : public ::testing::TestWithParam<WalkFailureCase> {};

TEST_P(FindProcessIdWalkFailure, EndsTheWalkButKeepsAMatchAlreadyFound) {
    SimulatedGameProcess port;
    port.addProcess(4, "System");
    port.addProcess(812, "Pal4.exe");
    port.addProcess(900, "PAL4.EXE");
    port.failProcessWalkAfter(GetParam().entriesBeforeFailure);
    EXPECT_EQ(findProcessId(port, "Pal4.exe"), GetParam().expected);
    EXPECT_EQ(port.snapshotsClosed(), 1u);
    EXPECT_TRUE(port.allHandlesClosed());
}

INSTANTIATE_TEST_SUITE_P(Errors, FindProcessIdWalkFailure,
                         ::testing::Values(WalkFailureCase{0, 0}, WalkFailureCase{1, 0},
                                           WalkFailureCase{2, 812}));

TEST(FindProcessIdRestart, SeesANewIdAndAnExitedGameOnTheNextCall) {
    SimulatedGameProcess port;
    port.addProcess(812, "Pal4.exe");
    EXPECT_EQ(findProcessId(port, "Pal4.exe"), 812u);
    port.exitProcess(812);
    EXPECT_EQ(findProcessId(port, "Pal4.exe"), 0u);
    port.addProcess(950, "Pal4.exe");
    EXPECT_EQ(findProcessId(port, "Pal4.exe"), 950u);
    EXPECT_TRUE(port.allHandlesClosed());
}

} // namespace
} // namespace pal4
