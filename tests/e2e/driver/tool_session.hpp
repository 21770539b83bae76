#pragma once

#include "child_process.hpp"
#include "scenario_registry.hpp"
#include "scratch_folder.hpp"

#include <windows.h>

#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>

namespace e2e {

// One run of the tool: a copy of its exe in a scratch folder of its own (with a settings file
// written beforehand when given), started and its panel found. Everything is driven as a user
// or an accessibility tool would, from outside. The process is killed and the folder removed
// when this goes away.
class ToolSession {
public:
    explicit ToolSession(const DriverContext& context,
                         const std::optional<std::string>& settingsBytes = std::nullopt);

    DWORD processId() const { return process_->id(); }
    HWND panel() const { return panel_; }
    HWND control(int id) const;
    std::filesystem::path settingsFile() const;
    std::map<std::string, std::string> settings() const; // section "config"; empty when none

    std::wstring caption(int id) const;
    bool checked(int id) const;
    int sliderPosition(int id) const;
    void click(int id) const;
    // Moves a slider as a user's drag ends: the new position, then the parent's WM_HSCROLL.
    void moveSlider(int id, int position) const;

    // Waits for the toggle's caption; fails the scenario when it does not appear in time.
    void expectToggleCaption(const std::wstring& caption, const std::string& when) const;
    // The visible overlay window, waiting for it; fails the scenario when none appears.
    HWND waitForOverlay() const;
    bool overlayGone(DWORD timeoutMs) const;

    void closePanel() const;
    bool running() const { return process_->running(); }
    bool waitForExit(DWORD timeoutMs, DWORD& exitCode) const {
        return process_->waitForExit(timeoutMs, exitCode);
    }

private:
    ScratchFolder folder_;
    std::unique_ptr<ChildProcess> process_;
    HWND panel_ = nullptr;
};

} // namespace e2e
