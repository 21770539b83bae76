#include "window_text.hpp"

#include <vector>

namespace e2e {

namespace {

constexpr UINT ANSWER_TIMEOUT_MS = 3000;
constexpr UINT GB2312_CODE_PAGE = 936;

} // namespace

std::optional<std::wstring> windowText(HWND window) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, ANSWER_TIMEOUT_MS,
                             &length)) {
        return std::nullopt;
    }
    std::vector<wchar_t> buffer(length + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXT, buffer.size(),
                             reinterpret_cast<LPARAM>(buffer.data()), SMTO_ABORTIFHUNG,
                             ANSWER_TIMEOUT_MS, &copied)) {
        return std::nullopt;
    }
    return std::wstring(buffer.data(), copied < buffer.size() ? copied : buffer.size() - 1);
}

std::wstring fromGb2312(const std::string& bytes) {
    if (bytes.empty()) {
        return {};
    }
    const int size = static_cast<int>(bytes.size());
    const int length = MultiByteToWideChar(GB2312_CODE_PAGE, 0, bytes.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length > 0 ? length : 0), L'\0');
    MultiByteToWideChar(GB2312_CODE_PAGE, 0, bytes.data(), size, wide.data(), length);
    return wide;
}

std::string toUtf8(const std::wstring& text) {
    if (text.empty()) {
        return {};
    }
    const int size = static_cast<int>(text.size());
    const int length =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(length > 0 ? length : 0), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), size, utf8.data(), length, nullptr, nullptr);
    return utf8;
}

} // namespace e2e
