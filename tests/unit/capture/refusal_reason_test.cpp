#include "capture/refusal_reason.hpp"

#include "game_world.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <optional>
#include <ostream>
#include <string>

namespace pal4 {
namespace {

using testing::GameWorld;

constexpr GameAddress UNMAPPED = 0x50000000;

// One state of the game after a refusal, and the line the edit box must show for it. The
// expected lines are written out whole here, not assembled from the tool's constants.
struct RefusalCase {
    const char* name;
    std::function<void(GameWorld&)> arrange;
    std::optional<RefusalReason> reason;
    std::string text;
};

void PrintTo(const RefusalCase& c, std::ostream* os) {
    *os << c.name;
}

class RefusalReasonTest : public ::testing::TestWithParam<RefusalCase> {
protected:
    GameWorld world;
    AppState state;
    ProcessMemory memory{world.game};
    GameMemoryMap map{state, world.game, memory};
    RefusalDiagnoser diagnoser{world.game, memory, map};
};

TEST_P(RefusalReasonTest, NamesTheFirstCheckThatFails) {
    const RefusalCase& c = GetParam();
    c.arrange(world);
    world.game.clearRecords();
    const std::optional<RefusalDiagnosis> diagnosis = diagnoser.diagnose();
    ASSERT_EQ(diagnosis.has_value(), c.reason.has_value());
    if (diagnosis) {
        EXPECT_EQ(diagnosis->reason, *c.reason);
        EXPECT_EQ(refusalReasonText(*diagnosis), c.text);
    }
    // Every open and snapshot is closed again, and the game is only looked at.
    EXPECT_EQ(world.game.processOpens(), world.game.processCloses());
    EXPECT_EQ(world.game.snapshotsCreated(), world.game.snapshotsClosed());
    EXPECT_TRUE(world.game.allHandlesClosed());
    EXPECT_TRUE(world.game.writes().empty());
    EXPECT_TRUE(world.game.failedWrites().empty());
}

void breakLink(GameWorld& world, GameAddress slot) {
    world.game.pokeInt32(GameWorld::PID, slot, GameWorld::asInt(UNMAPPED));
}

const std::string kUnreadable =
    "读不到游戏数据：本工具只适用于简体免CD版仙剑4（Pal4.exe 大小为5410136字节）";
const std::string kNotInGame =
    "游戏还没有开始：请读取存档或开始新游戏，进入游戏画面后再按外挂字幕。";

INSTANTIATE_TEST_SUITE_P(
    Reasons, RefusalReasonTest,
    ::testing::Values(
        RefusalCase{"NoGameProcess", [](GameWorld& w) { w.game.exitProcess(GameWorld::PID); },
                    RefusalReason::GameNotRunning, "没有找到游戏进程 Pal4.exe，请先启动游戏。"},
        RefusalCase{"OpenRefused", [](GameWorld& w) { w.game.failOpen(GameWorld::PID); },
                    RefusalReason::AccessDenied,
                    "无法读取游戏内存（拒绝访问），请以管理员身份运行本工具，或暂时关闭杀毒软"
                    "件。"},
        RefusalCase{"RootBrokenSizeKnown",
                    [](GameWorld& w) {
                        breakLink(w, ROOT_POINTER_ADDRESS);
                        w.game.setImageFileSize(GameWorld::PID, 5410137);
                    },
                    RefusalReason::GameDataUnreadable,
                    kUnreadable + "，当前的 Pal4.exe 为 5410137 字节。"},
        RefusalCase{"HubBrokenSizeUnknown",
                    [](GameWorld& w) { breakLink(w, GameWorld::GAME_ROOT + HUB_OFFSET); },
                    RefusalReason::GameDataUnreadable, kUnreadable + "。"},
        RefusalCase{"WatchBrokenBigFile",
                    [](GameWorld& w) {
                        breakLink(w, GameWorld::HUB_OBJECT + WATCH_OFFSET);
                        w.game.setImageFileSize(GameWorld::PID, 5000000000ull);
                    },
                    RefusalReason::GameDataUnreadable,
                    kUnreadable + "，当前的 Pal4.exe 为 5000000000 字节。"},
        RefusalCase{"MarkerZero", [](GameWorld& w) { w.setMarker(0.0f); }, RefusalReason::NotInGame,
                    kNotInGame},
        RefusalCase{"MarkerHoldsTheFailValue", [](GameWorld& w) { w.setMarker(-1.0f); },
                    RefusalReason::NotInGame, kNotInGame},
        RefusalCase{"MarkerNaN",
                    [](GameWorld& w) { w.setMarker(std::numeric_limits<float>::quiet_NaN()); },
                    RefusalReason::NotInGame, kNotInGame},
        RefusalCase{"InGameMeanwhile", [](GameWorld&) {}, std::nullopt, ""}),
    [](const ::testing::TestParamInfo<RefusalCase>& param) {
        return std::string(param.param.name);
    });

TEST(RefusalReasonSizeTest, AsksForTheFileSizeOnlyWhenTheDataCannotBeRead) {
    GameWorld world;
    world.game.setImageFileSize(GameWorld::PID, 5410136);
    AppState state;
    ProcessMemory memory{world.game};
    GameMemoryMap map{state, world.game, memory};
    RefusalDiagnoser diagnoser{world.game, memory, map};

    world.setMarker(0.0f);
    ASSERT_EQ(diagnoser.diagnose()->reason, RefusalReason::NotInGame);
    EXPECT_EQ(world.game.imageFileSizeQueries(), 0u);

    breakLink(world, ROOT_POINTER_ADDRESS);
    const std::optional<RefusalDiagnosis> diagnosis = diagnoser.diagnose();
    ASSERT_EQ(diagnosis->reason, RefusalReason::GameDataUnreadable);
    EXPECT_EQ(diagnosis->gameFileSize, 5410136u);
    EXPECT_EQ(world.game.imageFileSizeQueries(), 1u);
}

} // namespace
} // namespace pal4
