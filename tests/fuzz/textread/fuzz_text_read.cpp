// readText (chunked) and readTextWholeRegion (one read of the rest of the region) must give the
// same text for any memory: region placement (up to the 4 GiB end), state, fill, contents and
// the address read from are all taken from the input.
#include "gameproc/process_memory.hpp"

#include "fakes/simulated_game_process.hpp"

#include <cstdlib>
#include <cstring>
#include <string_view>

namespace {

class Input {
public:
    Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    std::uint32_t take32() {
        std::uint32_t value = 0;
        for (int i = 0; i < 4; ++i) {
            value = (value << 8) | take8();
        }
        return value;
    }
    std::uint8_t take8() { return at_ < size_ ? data_[at_++] : 0; }
    std::string_view rest() {
        const auto* begin = reinterpret_cast<const char*>(data_ + at_);
        return {begin, size_ - at_};
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

constexpr pal4::ProcessId GAME = 1;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using pal4::testing::RegionState;
    Input input(data, size);
    // At most 64 KiB per region keeps the reference's buffer small; the base may sit anywhere,
    // the top of the address space included.
    const std::uint32_t regionSize = 1 + input.take32() % 0x10000;
    const std::uint32_t base = static_cast<std::uint32_t>(
        std::min<std::uint64_t>(input.take32(), 0x100000000 - regionSize));
    const auto state = static_cast<RegionState>(input.take8() % 4);
    const std::uint8_t fill = input.take8();
    const std::uint32_t offset = input.take32() % regionSize;
    const std::uint32_t readOffset = input.take32() % regionSize;
    std::string_view contents = input.rest();
    contents = contents.substr(0, regionSize - offset);

    pal4::testing::SimulatedGameProcess game;
    game.addProcess(GAME, "Pal4.exe");
    game.addRegion(GAME, base, regionSize, state, fill);
    game.poke(GAME, base + offset, contents);

    pal4::ProcessMemory memory(game);
    const std::string chunked = memory.readText(GAME, base + readOffset);
    const std::string whole = memory.readTextWholeRegion(GAME, base + readOffset);
    if (chunked != whole || chunked.find('\0') != std::string::npos ||
        chunked.size() > regionSize - readOffset || !game.allHandlesClosed()) {
        std::abort();
    }
    return 0;
}
