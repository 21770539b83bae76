#include "gameproc/process_memory.hpp"

#include "fakes/simulated_game_process.hpp"

#include <benchmark/benchmark.h>

#include <string>

namespace {

using pal4::GameAddress;
using pal4::ProcessMemory;
using pal4::testing::SimulatedGameProcess;

constexpr pal4::ProcessId GAME = 812;
constexpr GameAddress BIG = 0x10000000;
constexpr std::uint32_t BIG_SIZE = 16u << 20;
constexpr std::size_t LINE_LENGTH = 40;

// One 16 MiB region; the 40-byte line lies `rest` bytes before its end.
struct Game {
    SimulatedGameProcess process;
    ProcessMemory memory{process};
    Game() {
        process.addProcess(GAME, "Pal4.exe");
        process.addRegion(GAME, BIG, BIG_SIZE);
        process.keepReadLog(false);
        for (std::uint32_t rest : {4u << 10, 64u << 10, 1u << 20, 16u << 20}) {
            process.poke(GAME, BIG + BIG_SIZE - rest, std::string(LINE_LENGTH, 'L'));
        }
    }
};

void readByte(benchmark::State& state) {
    Game game;
    for (auto _ : state) {
        benchmark::DoNotOptimize(game.memory.readByte(GAME, BIG, 1));
    }
}

template <std::string (ProcessMemory::*Read)(pal4::ProcessId, GameAddress)>
void readLine(benchmark::State& state) {
    Game game;
    const auto rest = static_cast<std::uint32_t>(state.range(0));
    const GameAddress line = BIG + BIG_SIZE - rest;
    for (auto _ : state) {
        std::string text = (game.memory.*Read)(GAME, line);
        if (text.size() != LINE_LENGTH) {
            state.SkipWithError("wrong line");
        }
        benchmark::DoNotOptimize(text);
    }
}

void restsOfRegion(benchmark::internal::Benchmark* benchmark) {
    benchmark->ArgName("rest")->Arg(4 << 10)->Arg(64 << 10)->Arg(1 << 20)->Arg(16 << 20);
}

BENCHMARK(readByte);
BENCHMARK(readLine<&ProcessMemory::readText>)->Name("readText/chunked")->Apply(restsOfRegion);
BENCHMARK(readLine<&ProcessMemory::readTextWholeRegion>)
    ->Name("readText/wholeRegion")
    ->Apply(restsOfRegion);

} // namespace

BENCHMARK_MAIN();
