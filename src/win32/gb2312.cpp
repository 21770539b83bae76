#include "win32/gb2312.hpp"

#include <windows.h>

#include <climits>

namespace pal4::win32 {

std::wstring widenGb2312(std::string_view text) {
    if (text.empty() || text.size() > static_cast<std::size_t>(INT_MAX)) {
        return {};
    }
    const int length = static_cast<int>(text.size());
    const int wideLength =
        MultiByteToWideChar(GB2312_CODE_PAGE, 0, text.data(), length, nullptr, 0);
    if (wideLength <= 0) {
        return {};
    }
    std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
    MultiByteToWideChar(GB2312_CODE_PAGE, 0, text.data(), length, wide.data(), wideLength);
    return wide;
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
