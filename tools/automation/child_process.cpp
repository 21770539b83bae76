#include "child_process.hpp"

namespace e2e {

ChildProcess::ChildProcess(const std::wstring& exe, const std::wstring& arguments,
                           const std::wstring& workingFolder) {
    job_ = CreateJobObjectW(nullptr, nullptr);
    if (job_ != nullptr) {
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
        limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
        SetInformationJobObject(job_, JobObjectExtendedLimitInformation, &limits, sizeof limits);
    }
    std::wstring commandLine = L"\"" + exe + L"\"";
    if (!arguments.empty()) {
        commandLine += L" " + arguments;
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED,
                        nullptr, workingFolder.empty() ? nullptr : workingFolder.c_str(), &startup,
                        &info)) {
        return;
    }
    if (job_ != nullptr) {
        AssignProcessToJobObject(job_, info.hProcess);
    }
    ResumeThread(info.hThread);
    CloseHandle(info.hThread);
    process_ = info.hProcess;
    id_ = info.dwProcessId;
}

ChildProcess::~ChildProcess() {
    kill();
    if (process_ != nullptr) {
        CloseHandle(process_);
    }
    if (job_ != nullptr) {
        CloseHandle(job_);
    }
}

bool ChildProcess::running() const {
    return process_ != nullptr && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

bool ChildProcess::waitForExit(DWORD timeoutMs, DWORD& exitCode) const {
    if (process_ == nullptr || WaitForSingleObject(process_, timeoutMs) != WAIT_OBJECT_0) {
        return false;
    }
    return GetExitCodeProcess(process_, &exitCode) != 0;
}

void ChildProcess::kill() {
    if (job_ != nullptr) {
        TerminateJobObject(job_, 99);
    }
    if (running()) {
        TerminateProcess(process_, 99);
    }
    if (process_ != nullptr) {
        WaitForSingleObject(process_, 5000);
    }
}

bool terminateProcessById(DWORD processId) {
    const HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, processId);
    if (process == nullptr) {
        return false;
    }
    const bool ended =
        TerminateProcess(process, 1) && WaitForSingleObject(process, 5000) == WAIT_OBJECT_0;
    CloseHandle(process);
    return ended;
}

} // namespace e2e
