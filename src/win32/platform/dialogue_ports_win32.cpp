#include "win32/platform/dialogue_ports_win32.hpp"

#include "win32/platform/gb2312.hpp"

#include <cstring>

namespace pal4::win32 {

bool ClipboardWin32::putText(const std::u16string& text) {
    const std::size_t bytes = (text.size() + 1) * sizeof(char16_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (memory == nullptr) {
        return false;
    }
    void* copy = GlobalLock(memory);
    if (copy != nullptr) {
        std::memcpy(copy, text.c_str(), bytes);
        GlobalUnlock(memory);
    }
    if (copy == nullptr || !OpenClipboard(owner_)) {
        GlobalFree(memory);
        return false;
    }
    EmptyClipboard();
    // On success the clipboard owns the memory; on failure it stays ours to free.
    const bool handedOver = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
    CloseClipboard();
    if (!handedOver) {
        GlobalFree(memory);
    }
    return handedOver;
}

LocalTime LocalClockWin32::localTime() const {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

void LocalClockWin32::pause(unsigned milliseconds) const {
    Sleep(milliseconds);
}

std::optional<char32_t> CharacterDecoderWin32::decode(std::string_view character) const {
    wchar_t units[2] = {};
    const int count = MultiByteToWideChar(GB2312_CODE_PAGE, MB_ERR_INVALID_CHARS, character.data(),
                                          static_cast<int>(character.size()), units, 2);
    if (count == 1) {
        return static_cast<char32_t>(units[0]);
    }
    if (count == 2 && units[0] >= 0xD800 && units[0] < 0xDC00) {
        return 0x10000 + ((static_cast<char32_t>(units[0]) - 0xD800) << 10) +
               (static_cast<char32_t>(units[1]) - 0xDC00);
    }
    return std::nullopt;
}

} // namespace pal4::win32
