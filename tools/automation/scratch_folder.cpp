#include "scratch_folder.hpp"

#include <windows.h>

#include <string>
#include <system_error>

namespace e2e {

ScratchFolder::ScratchFolder() {
    static unsigned serial = 0;
    wchar_t temp[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, temp);
    path_ = std::filesystem::path(temp) /
            (L"pal4-e2e-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
             std::to_wstring(++serial) + L"-" + std::to_wstring(GetTickCount()));
    std::error_code ignored;
    std::filesystem::create_directories(path_, ignored);
}

ScratchFolder::~ScratchFolder() {
    // The tool may still be closing its settings file a moment after it was killed.
    for (int attempt = 0; attempt < 20; ++attempt) {
        std::error_code error;
        std::filesystem::remove_all(path_, error);
        if (!error) {
            return;
        }
        Sleep(50);
    }
}

} // namespace e2e
