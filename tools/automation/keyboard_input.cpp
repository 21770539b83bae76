#include "keyboard_input.hpp"

#include "window_search.hpp"
#include "window_text.hpp"

#include <vector>

namespace e2e {

namespace {

POINT parkingPixel() {
    return {GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1};
}

std::string describe(HWND window) {
    if (window == nullptr) {
        return "no window";
    }
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    return "a " + toUtf8(classNameOf(window)) + " window of process " + std::to_string(processId);
}

INPUT keyInput(WORD key, DWORD flags) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = flags;
    return input;
}

} // namespace

void parkPointer() {
    const POINT pixel = parkingPixel();
    SetCursorPos(pixel.x, pixel.y);
}

std::string whyKeysWouldMiss(HWND window) {
    if (GetForegroundWindow() != window) {
        return "the foreground window is " + describe(GetForegroundWindow());
    }
    GUITHREADINFO thread{};
    thread.cbSize = sizeof thread;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &thread) ||
        (thread.hwndFocus != window && !IsChild(window, thread.hwndFocus))) {
        return "the keyboard focus is on " + describe(thread.hwndFocus);
    }
    POINT pointer{};
    const POINT parked = parkingPixel();
    if (!GetCursorPos(&pointer) || pointer.x != parked.x || pointer.y != parked.y) {
        return "the pointer is at " + std::to_string(pointer.x) + "," + std::to_string(pointer.y) +
               ", not parked at " + std::to_string(parked.x) + "," + std::to_string(parked.y);
    }
    const HWND under = WindowFromPoint(pointer);
    if (under != GetDesktopWindow()) {
        return "the parked pointer is over " + describe(under) +
               ", whose coming would let go of the keys";
    }
    return {};
}

bool pressAndRelease(std::initializer_list<WORD> keys) {
    std::vector<INPUT> inputs;
    for (const WORD key : keys) {
        inputs.push_back(keyInput(key, 0));
    }
    for (auto key = std::rbegin(keys); key != std::rend(keys); ++key) {
        inputs.push_back(keyInput(*key, KEYEVENTF_KEYUP));
    }
    return SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) ==
           inputs.size();
}

} // namespace e2e
