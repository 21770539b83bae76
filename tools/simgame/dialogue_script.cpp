#include "dialogue_script.hpp"

#include <array>

namespace pal4sim {
namespace {

// Speakers with the full-width colon, markup around words, narration without a speaker, a
// colon inside a line, and a pause between the scenes.
constexpr std::array<ScriptStep, 11> SCRIPT{{
    {false, "张三：今天的天气真好。"},
    {false, "李四：是啊，<c1>山上</c>的花都开了。"},
    {false, "（远处传来一阵钟声）"},
    {false, "张三：我们<c2>快走</c>吧！"},
    {true, {}},
    {false, "老者：年轻人，此路不通。"},
    {false, "少女：为什么？"},
    {false, "老者：前方有告示：<c1>山路</c>塌了。"},
    {false, "旁白：<c3>天色</c>渐渐暗了下来……"},
    {false, "少女："},
    {true, {}},
}};

} // namespace

std::span<const ScriptStep> dialogueScript() {
    return SCRIPT;
}

ScriptMoment scriptMomentAt(std::uint64_t elapsedMs, const ScriptTiming& timing) {
    if (elapsedMs < timing.titleMs) {
        return {};
    }
    std::uint64_t cycleMs = 0;
    for (const ScriptStep& step : SCRIPT) {
        cycleMs += step.sceneBreak ? timing.breakMs : timing.lineMs;
    }
    std::uint64_t intoCycle = cycleMs == 0 ? 0 : (elapsedMs - timing.titleMs) % cycleMs;
    for (std::size_t i = 0; i < SCRIPT.size(); ++i) {
        const std::uint64_t length = SCRIPT[i].sceneBreak ? timing.breakMs : timing.lineMs;
        if (intoCycle < length) {
            return {false, i};
        }
        intoCycle -= length;
    }
    return {false, 0};
}

} // namespace pal4sim
