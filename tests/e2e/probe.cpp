// A stand-in for the program a launcher starts: writes down what it was started with.
//
// Its module path is written in UTF-8, the rest as the ANSI functions give it.
// The record goes to the file named by LAUNCHER_PROBE_RECORD (or, when that is not set, as for
// an elevated process that did not get its starter's environment, to started-program.txt in
// its own folder), one "key=value" line each for
// its module path, current directory, command line, the show mode and flags of its start-up
// info, whether its token is elevated (1, 0, or ? when that cannot be read), and its command
// line as the C runtime split it (argc, argv0, argv1, ...) and as WinMain received it. When
// LAUNCHER_PROBE_WINDOW is set, it first shows a window and records whether that became the
// foreground window (foreground=1 or 0). It is written beside the target and renamed into place, so a reader never
// sees half of it. When LAUNCHER_PROBE_HOLD names an event, the probe then waits (at most
// 30 s) until that event is set, so a test can see that the launcher did not wait for it.
#include <windows.h>

#include <cstdlib>
#include <string>

namespace {

std::string Environment(const char* name)
{
    char value[1024];
    const DWORD length = GetEnvironmentVariableA(name, value, sizeof value);
    return length == 0 || length >= sizeof value ? std::string() : std::string(value, length);
}

std::string WinMainCommandLine;  // what WinMain was handed

// The probe's own path, its long form in UTF-8, whatever characters it holds.
std::string ModulePath()
{
    wchar_t wide[MAX_PATH * 4];
    const DWORD length = GetModuleFileNameW(nullptr, wide, MAX_PATH * 4);
    if (length == 0 || length >= MAX_PATH * 4)
        return std::string();
    char text[MAX_PATH * 16];
    return WideCharToMultiByte(CP_UTF8, 0, wide, -1, text, sizeof text, nullptr, nullptr) > 0 ? text : "";
}

// Shows a window of the probe's own as it was asked to (its start-up info's show mode) and
// says whether Windows let it become the foreground window: "1", "0", or "?" without one.
std::string BecomesForeground()
{
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "LauncherProbeWindow";
    RegisterClassA(&windowClass);
    const HWND window = CreateWindowA(windowClass.lpszClassName, "Launcher probe", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                      CW_USEDEFAULT, 320, 200, nullptr, nullptr, windowClass.hInstance, nullptr);
    if (window == nullptr)
        return "?";
    ShowWindow(window, SW_SHOWDEFAULT);
    const DWORD start = GetTickCount();
    MSG message;
    while (GetTickCount() - start < 300) {
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&message);
        Sleep(10);
    }
    const bool foreground = GetForegroundWindow() == window;
    DestroyWindow(window);
    return foreground ? "1" : "0";
}

// Whether the process runs with administrator rights that elevation gave it.
std::string Elevated()
{
    HANDLE token = nullptr;
    TOKEN_ELEVATION elevation{};
    DWORD size = 0;
    const bool known = OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token) &&
                       GetTokenInformation(token, TokenElevation, &elevation, sizeof elevation, &size);
    if (token != nullptr)
        CloseHandle(token);
    return known ? std::to_string(elevation.TokenIsElevated != 0 ? 1 : 0) : "?";
}

std::string Record()
{
    char directory[MAX_PATH * 4];
    const DWORD directoryLength = GetCurrentDirectoryA(sizeof directory, directory);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    GetStartupInfoA(&startup);

    std::string record;
    record += "module=" + ModulePath() + "\n";
    record += "directory=" + std::string(directory, directoryLength) + "\n";
    record += "command_line=" + std::string(GetCommandLineA()) + "\n";
    record += "show_window=" + std::to_string(startup.wShowWindow) + "\n";
    record += "flags=" + std::to_string(startup.dwFlags) + "\n";
    record += "elevated=" + Elevated() + "\n";
    // The command line as the C runtime split it, and as WinMain received it.
    record += "argc=" + std::to_string(__argc) + "\n";
    for (int i = 0; i < __argc; ++i)
        record += "argv" + std::to_string(i) + "=" + __argv[i] + "\n";
    record += "winmain=" + WinMainCommandLine + "\n";
    if (!Environment("LAUNCHER_PROBE_WINDOW").empty())
        record += "foreground=" + BecomesForeground() + "\n";
    return record;
}

bool WriteWhole(const std::string& path, const std::string& text)
{
    const std::string temporary = path + ".partial";
    const HANDLE file = CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const bool complete = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
                          written == text.size() && FlushFileBuffers(file);
    CloseHandle(file);
    return complete && MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int)
{
    WinMainCommandLine = commandLine;
    std::string recordPath = Environment("LAUNCHER_PROBE_RECORD");
    if (recordPath.empty()) {
        const std::string path = ModulePath();
        recordPath = path.substr(0, path.find_last_of('\\') + 1) + "started-program.txt";
    }
    if (!WriteWhole(recordPath, Record()))
        return 1;
    const std::string hold = Environment("LAUNCHER_PROBE_HOLD");
    if (!hold.empty()) {
        const HANDLE release = OpenEventA(SYNCHRONIZE, FALSE, hold.c_str());
        if (release != nullptr) {
            WaitForSingleObject(release, 30000);
            CloseHandle(release);
        }
    }
    return 0;
}
