// Running another program on Windows: CreateProcess in a job that ends with it.
#include "system/process.h"
#include "system/utf16_win32.h"

#include <windows.h>

namespace {

// Reads what the pipe holds now into output (and, with echo, onto standard error).
void Drain(HANDLE pipe, bool echo, std::string& output)
{
    for (;;) {
        DWORD available = 0;
        if (!PeekNamedPipe(pipe, nullptr, 0, nullptr, &available, nullptr) || available == 0)
            return;
        char buffer[4096];
        DWORD got = 0;
        if (!ReadFile(pipe, buffer, available < sizeof buffer ? available : DWORD{sizeof buffer}, &got, nullptr) || got == 0)
            return;
        output.append(buffer, got);
        if (echo) {
            DWORD written = 0;
            WriteFile(GetStdHandle(STD_ERROR_HANDLE), buffer, got, &written, nullptr);
        }
    }
}

// A job whose processes all end when it is closed; null when none can be made.
HANDLE KillOnCloseJob()
{
    HANDLE job = CreateJobObjectW(nullptr, nullptr);
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (job != nullptr)
        SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof limits);
    return job;
}

// Waits for process to end, its output read from readEnd meanwhile; ends it with its job when
// cancelled or out of time (result says which).
void WaitForEnd(HANDLE process, HANDLE job, HANDLE readEnd, unsigned timeoutSeconds, bool echo,
                const std::function<bool()>& cancelled, ProcessResult& result)
{
    const ULONGLONG deadline = GetTickCount64() + ULONGLONG{timeoutSeconds} * 1000;
    for (;;) {
        Drain(readEnd, echo, result.output);
        if (WaitForSingleObject(process, 50) == WAIT_OBJECT_0)
            break;
        const bool cancel = cancelled && cancelled();
        if (cancel || (timeoutSeconds != 0 && GetTickCount64() >= deadline)) {
            if (job != nullptr)
                TerminateJobObject(job, 1);
            TerminateProcess(process, 1);
            WaitForSingleObject(process, INFINITE);
            (cancel ? result.cancelled : result.timedOut) = true;
            break;
        }
    }
}

}  // namespace

bool RunProcess(const std::vector<std::string>& argv, unsigned timeoutSeconds, bool echo, ProcessResult& result,
                const std::function<bool()>& cancelled)
{
    result = ProcessResult();
    if (argv.empty() || argv[0].empty()) {
        result.error = "no program named";
        return false;
    }
    SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inheritable, 0)) {
        result.error = ErrorText(GetLastError());
        return false;
    }
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    // Every process it starts belongs to its job, and ends when the job is ended or closed.
    HANDLE job = KillOnCloseJob();

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = writeEnd;
    startup.hStdError = writeEnd;
    std::wstring commandLine = Utf16FromUtf8(QuotedCommandLine(argv));
    PROCESS_INFORMATION process{};
    const BOOL created = CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE,
                                        CREATE_SUSPENDED | CREATE_UNICODE_ENVIRONMENT, nullptr, nullptr, &startup, &process);
    const DWORD createError = GetLastError();
    CloseHandle(writeEnd);
    if (!created) {
        CloseHandle(readEnd);
        if (job != nullptr)
            CloseHandle(job);
        result.error = ErrorText(createError);
        return false;
    }
    if (job != nullptr)
        AssignProcessToJobObject(job, process.hProcess);
    ResumeThread(process.hThread);
    CloseHandle(process.hThread);
    result.started = true;

    WaitForEnd(process.hProcess, job, readEnd, timeoutSeconds, echo, cancelled, result);
    Drain(readEnd, echo, result.output);
    DWORD status = 1;
    GetExitCodeProcess(process.hProcess, &status);
    CloseHandle(process.hProcess);
    CloseHandle(readEnd);
    if (job != nullptr)
        CloseHandle(job);
    if (result.timedOut || result.cancelled)
        return false;
    result.exitStatus = static_cast<int>(status);
    return true;
}
