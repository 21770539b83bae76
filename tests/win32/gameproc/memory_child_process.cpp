#include "memory_child_process.hpp"

#include <windows.h>

#include <cstdio>
#include <string>

namespace pal4::win32test {

namespace {

// The build's path of the child, as Wine's Z: drive shows a Unix path.
std::wstring childExePath() {
    const std::string path = PAL4_MEMORY_CHILD_EXE;
    std::wstring wide = path.starts_with('/') ? L"Z:" : L"";
    for (char c : path) {
        wide.push_back(c == '/' ? L'\\' : static_cast<wchar_t>(static_cast<unsigned char>(c)));
    }
    return wide;
}

std::string readLine(HANDLE pipe) {
    std::string line;
    char c = 0;
    DWORD got = 0;
    while (ReadFile(pipe, &c, 1, &got, nullptr) && got == 1 && c != '\n') {
        line.push_back(c);
    }
    return line;
}

} // namespace

MemoryChildProcess::MemoryChildProcess(const std::wstring& exeName) {
    wchar_t temp[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, temp);
    folder_ = std::wstring(temp) + L"pal4-memory-child-" + std::to_wstring(GetCurrentProcessId()) +
              L"-" + std::to_wstring(GetTickCount64());
    CreateDirectoryW(folder_.c_str(), nullptr);
    exePath_ = folder_ + L"\\" + exeName;
    if (!CopyFileW(childExePath().c_str(), exePath_.c_str(), FALSE)) {
        return;
    }

    SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE outRead = nullptr;
    HANDLE outWrite = nullptr;
    HANDLE inRead = nullptr;
    HANDLE inWrite = nullptr;
    CreatePipe(&outRead, &outWrite, &inheritable, 0);
    CreatePipe(&inRead, &inWrite, &inheritable, 0);
    win32::UniqueKernelHandle output(outRead);
    win32::UniqueKernelHandle childOutput(outWrite);
    win32::UniqueKernelHandle childInput(inRead);
    input_.reset(inWrite);
    SetHandleInformation(outRead, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(inWrite, HANDLE_FLAG_INHERIT, 0);

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = inRead;
    startup.hStdOutput = outWrite;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION info{};
    std::wstring commandLine = L"\"" + exePath_ + L"\"";
    if (!CreateProcessW(exePath_.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                        folder_.c_str(), &startup, &info)) {
        return;
    }
    CloseHandle(info.hThread);
    process_.reset(info.hProcess);
    pid_ = info.dwProcessId;
    childOutput.reset(); // so the read below ends if the child dies before it prints
    childInput.reset();

    const std::string line = readLine(output.get());
    unsigned data = 0;
    unsigned noAccess = 0;
    unsigned big = 0;
    unsigned unmapped = 0;
    if (std::sscanf(line.c_str(), "%x %x %x %x", &data, &noAccess, &big, &unmapped) == 4) {
        addresses_ = {data, noAccess, big, unmapped};
        started_ = true;
    }
}

MemoryChildProcess::~MemoryChildProcess() {
    stop();
    DeleteFileW(exePath_.c_str());
    RemoveDirectoryW(folder_.c_str());
}

void MemoryChildProcess::stop() {
    input_.reset();
    if (process_ && WaitForSingleObject(process_.get(), 10000) != WAIT_OBJECT_0) {
        TerminateProcess(process_.get(), 1);
        WaitForSingleObject(process_.get(), 10000);
    }
    process_.reset();
}

void MemoryChildProcess::terminate() {
    if (process_) {
        TerminateProcess(process_.get(), 1);
        WaitForSingleObject(process_.get(), 10000);
    }
    stop();
}

} // namespace pal4::win32test
