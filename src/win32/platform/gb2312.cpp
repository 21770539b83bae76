#include "win32/platform/gb2312.hpp"

#include "text/text_encoding.hpp"
#include "win32/platform/dialogue_ports_win32.hpp"

#include <windows.h>

#include <climits>

namespace pal4::win32 {

std::wstring widenGb2312(std::string_view text) {
    if (text.empty() || text.size() > static_cast<std::size_t>(INT_MAX)) {
        return {};
    }
    const int length = static_cast<int>(text.size());
    // Whole text the code page takes as it stands: one call, and the same characters the
    // decoding below would give one by one.
    const int wideLength = MultiByteToWideChar(GB2312_CODE_PAGE, MB_ERR_INVALID_CHARS, text.data(),
                                               length, nullptr, 0);
    if (wideLength > 0) {
        std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
        MultiByteToWideChar(GB2312_CODE_PAGE, MB_ERR_INVALID_CHARS, text.data(), length,
                            wide.data(), wideLength);
        return wide;
    }
    // Broken bytes: the same decoding as the story log, the live line and the clipboard, so
    // the overlay and the edit box show what they keep (U+FFFD where the code page has nothing,
    // and a stray lead byte never swallows the byte after it).
    const std::u16string units = gameTextToUtf16(text, CharacterDecoderWin32());
    return {units.begin(), units.end()};
}

std::string narrowToGb2312(std::wstring_view text) {
    if (text.empty() || text.size() > static_cast<std::size_t>(INT_MAX)) {
        return {};
    }
    const int length = static_cast<int>(text.size());
    const int narrowLength =
        WideCharToMultiByte(GB2312_CODE_PAGE, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    if (narrowLength <= 0) {
        return {};
    }
    std::string narrow(static_cast<std::size_t>(narrowLength), '\0');
    WideCharToMultiByte(GB2312_CODE_PAGE, 0, text.data(), length, narrow.data(), narrowLength,
                        nullptr, nullptr);
    return narrow;
}

} // namespace pal4::win32
