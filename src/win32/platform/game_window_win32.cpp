#include "win32/platform/game_window_win32.hpp"

namespace pal4::win32 {

namespace {

// The one adapter whose hooks are set: WinEvent callbacks carry no context of their own.
GameWindowWin32* watching = nullptr;

HWND handleOf(WindowId window) {
    return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(window));
}

WindowId idOf(HWND window) {
    return static_cast<WindowId>(reinterpret_cast<std::uintptr_t>(window));
}

struct LargestWindow {
    DWORD process;
    HWND window = nullptr;
    long long area = -1;
};

BOOL CALLBACK considerWindow(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<LargestWindow*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->process || !IsWindowVisible(window)) {
        return TRUE;
    }
    // A minimised window counts with the size it has when restored.
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    RECT bounds{};
    if (IsIconic(window) && GetWindowPlacement(window, &placement)) {
        bounds = placement.rcNormalPosition;
    } else {
        GetWindowRect(window, &bounds);
    }
    const long long area =
        static_cast<long long>(bounds.right - bounds.left) * (bounds.bottom - bounds.top);
    if (area > search->area) {
        search->area = area;
        search->window = window;
    }
    return TRUE;
}

} // namespace

GameWindowWin32::~GameWindowWin32() {
    stopWatching();
}

WindowId GameWindowWin32::findMainWindow(ProcessId process) {
    if (process == 0) {
        return 0;
    }
    LargestWindow search{process};
    EnumWindows(&considerWindow, reinterpret_cast<LPARAM>(&search));
    return idOf(search.window);
}

std::optional<WindowPlace> GameWindowWin32::placeOf(WindowId window) {
    RECT bounds{};
    if (window == 0 || !GetWindowRect(handleOf(window), &bounds)) {
        return std::nullopt;
    }
    return WindowPlace{bounds.left, bounds.top, bounds.right - bounds.left,
                       bounds.bottom - bounds.top};
}

WindowShow GameWindowWin32::showOf(WindowId window) {
    if (window == 0) {
        return WindowShow::Gone;
    }
    // One query for both: the style holds WS_VISIBLE and WS_MINIMIZE.
    SetLastError(ERROR_SUCCESS);
    const auto style = static_cast<DWORD>(GetWindowLongW(handleOf(window), GWL_STYLE));
    if (style == 0 && GetLastError() != ERROR_SUCCESS) {
        return WindowShow::Gone;
    }
    if ((style & WS_VISIBLE) == 0) {
        return WindowShow::Hidden;
    }
    return (style & WS_MINIMIZE) != 0 ? WindowShow::Minimised : WindowShow::Shown;
}

std::optional<WindowPlace> GameWindowWin32::clientOf(WindowId window) {
    RECT client{};
    if (window == 0 || !GetClientRect(handleOf(window), &client)) {
        return std::nullopt;
    }
    POINT corner{0, 0};
    ClientToScreen(handleOf(window), &corner);
    return WindowPlace{corner.x, corner.y, client.right, client.bottom};
}

WindowId GameWindowWin32::foregroundWindow() {
    return idOf(GetForegroundWindow());
}

WindowId GameWindowWin32::topWindow() {
    return idOf(GetTopWindow(nullptr));
}

void GameWindowWin32::watch(ProcessId process) {
    stopWatching();
    watching = this;
    constexpr DWORD FLAGS = WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS;
    // The foreground changes come from whichever process; the rest only from the game's: made,
    // gone, shown, hidden, reordered, moved, minimised and restored. Each hook takes just its
    // events: an out-of-context hook sends every event of its range to this thread.
    foregroundHook_ = SetWinEventHook(EVENT_SYSTEM_FOREGROUND, EVENT_SYSTEM_FOREGROUND, nullptr,
                                      &GameWindowWin32::onWinEvent, 0, 0, FLAGS);
    minimiseHook_ = SetWinEventHook(EVENT_SYSTEM_MINIMIZESTART, EVENT_SYSTEM_MINIMIZEEND, nullptr,
                                    &GameWindowWin32::onWinEvent, process, 0, FLAGS);
    objectHook_ = SetWinEventHook(EVENT_OBJECT_CREATE, EVENT_OBJECT_LOCATIONCHANGE, nullptr,
                                  &GameWindowWin32::onWinEvent, process, 0, FLAGS);
}

void GameWindowWin32::stopWatching() {
    for (HWINEVENTHOOK* hook : {&foregroundHook_, &minimiseHook_, &objectHook_}) {
        if (*hook != nullptr) {
            UnhookWinEvent(*hook);
            *hook = nullptr;
        }
    }
    if (watching == this) {
        watching = nullptr;
    }
}

void CALLBACK GameWindowWin32::onWinEvent(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG,
                                          DWORD, DWORD) {
    // Only whole top-level windows: not their carets, cursors or scroll bars.
    if (object != OBJID_WINDOW || window == nullptr || GetAncestor(window, GA_ROOT) != window) {
        return;
    }
    if (watching != nullptr && watching->events_ != nullptr) {
        watching->events_->onGameWindowChanged();
    }
}

} // namespace pal4::win32
