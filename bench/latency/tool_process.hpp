#pragma once

#include "child_process.hpp"

#include <windows.h>

#include <string>

namespace pal4bench {

// The subtitle tool started as a child process and driven as a user would: its panel's toggle
// button pressed, its overlay watched. Ends the tool (closing its panel first) when destroyed.
class ToolProcess {
public:
    explicit ToolProcess(const std::wstring& exePath);
    ~ToolProcess();
    ToolProcess(const ToolProcess&) = delete;
    ToolProcess& operator=(const ToolProcess&) = delete;

    bool running() const { return process_.running(); }
    DWORD processId() const { return process_.id(); }
    // Waits for the control panel's window; false when it does not appear in time.
    bool waitForPanel(DWORD timeoutMs);
    // Presses the toggle button: posted, so a message box on the tool's side cannot block us.
    void pressToggle() const;
    // Clicks the outline switch, posted like the toggle.
    void clickOutline() const;
    HWND panel() const { return panel_; }
    // The overlay's visible window, or nullptr.
    HWND overlay() const;
    // Waits until the overlay is shown (or gone); false on a timeout.
    bool waitForOverlay(bool shown, DWORD timeoutMs) const;
    // Clicks one of the panel's buttons or check boxes, by its control id.
    void click(int controlId) const;
    // The panel's edit box: the raw line the tool took last.
    std::wstring editText() const;
    // Closes the panel as a user would; ends the process when it does not go in time.
    void close();
    // Ends the tool as a crash would: TerminateProcess, no goodbye.
    void kill() { process_.kill(); }

private:
    e2e::ChildProcess process_;
    HWND panel_ = nullptr;
};

} // namespace pal4bench
