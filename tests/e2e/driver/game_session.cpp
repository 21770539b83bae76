#include "game_session.hpp"

#include "child_process.hpp"
#include "window_search.hpp"

#include <stdexcept>

namespace e2e {

namespace {

constexpr wchar_t GAME_WINDOW_CLASS[] = L"Pal4SimulatedGame";
constexpr float PLAYING_MARKER = 474.0f;

} // namespace

GameSession::GameSession(const DriverContext& context, Setup setup) {
    pal4sim::SimGameLaunch launch;
    launch.exePath = context.gameExe;
    launch.window = true;
    launch.readyTimeoutMs = 20000;
    launch.bright = setup.bright;
    if (setup.lowerCaseModule) {
        launch.dialogueModule = context.lowerCaseModule;
    }
    if (setup.renamedModule) {
        launch.dialogueModule = context.renamedModule;
    }
    try {
        game_ = std::make_unique<pal4sim::SimGame>(launch);
    } catch (const std::runtime_error& error) {
        throw ScenarioFailure(std::string("simulated game: ") + error.what());
    }
    window_ = waitForTopLevelWindow(game_->processId(), GAME_WINDOW_CLASS, 20000);
    require(window_ != nullptr, "the simulated game's window did not appear");
    SetWindowPos(window_, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (setup.inGame) {
        setMarker(PLAYING_MARKER);
    }
}

pal4sim::SimGameReport GameSession::report() {
    const auto report = game_->report();
    require(report.has_value(), "the simulated game gave no report");
    return *report;
}

void GameSession::setText(const std::string& gb2312) {
    require(game_->setText(gb2312).has_value(), "the simulated game did not take the text");
}

void GameSession::setBlankFlag(std::uint8_t value) {
    require(game_->setBlankFlag(value), "the simulated game did not take the blank flag");
}

void GameSession::setMarker(float value) {
    require(game_->setMarker(value), "the simulated game did not take the marker");
}

void GameSession::breakChain() {
    require(game_->setRootPointer(0), "the simulated game did not take the root pointer");
}

void GameSession::kill() {
    require(terminateProcessById(game_->processId()), "could not terminate the simulated game");
}

} // namespace e2e
