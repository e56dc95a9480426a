// A signing command that does nothing: it exits 0 and leaves the file it is given as it was,
// as a signer does whose token is missing and who says nothing about it. Given "waits PIDS",
// it starts a copy of itself that sleeps, writes both process ids to PIDS, and waits for ever,
// as a signer does that waits for a PIN no one types.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    const std::wstring mode = argc > 1 ? argv[1] : L"";
    if (mode == L"sleeps") {
        Sleep(INFINITE);
        return 0;
    }
    if (mode != L"waits" || argc < 3)
        return 0;
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring command = L"\"" + std::wstring(self) + L"\" sleeps";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION child{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &child))
        return 3;
    char line[64];
    const int length = std::snprintf(line, sizeof line, "%lu %lu\n", GetCurrentProcessId(), child.dwProcessId);
    const HANDLE pids = CreateFileW(argv[2], GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(pids, line, static_cast<DWORD>(length), &written, nullptr);
    CloseHandle(pids);
    Sleep(INFINITE);
    return 0;
}
