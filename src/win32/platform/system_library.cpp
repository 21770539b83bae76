#include "win32/platform/system_library.hpp"

#include <string>

namespace pal4::win32 {

FARPROC systemProcedure(const wchar_t* library, const char* name) {
    std::wstring path(MAX_PATH, L'\0');
    const UINT length = GetSystemDirectoryW(path.data(), static_cast<UINT>(path.size()));
    if (length == 0 || length >= path.size()) {
        return nullptr;
    }
    path.resize(length);
    path += L'\\';
    path += library;
    const HMODULE module = LoadLibraryW(path.c_str());
    return module ? GetProcAddress(module, name) : nullptr;
}

} // namespace pal4::win32
