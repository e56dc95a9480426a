// The launcher's Win32 services, as the executable uses them.
#include "platform.h"

#include <windows.h>

bool PlatformSetCurrentDirectory(const char* path)
{
    return SetCurrentDirectoryA(path) != 0;
}

unsigned long PlatformGetCurrentDirectory(unsigned long capacity, char* buffer)
{
    return GetCurrentDirectoryA(capacity, buffer);
}

const char* PlatformGetCommandLine()
{
    return GetCommandLineA();
}

void PlatformStartProgram(const char* command, unsigned showMode)
{
    WinExec(command, showMode);
}

void PlatformShowMessage(const char* text, const char* title)
{
    // USER32 serves only this path, and importing it would slow every normal start, so it is
    // loaded here by name. It is a known DLL, always taken from the system folder, never from
    // the current directory.
    const HMODULE user32 = LoadLibraryA("user32.dll");
    if (user32 == nullptr)
        return;
    using MessageBoxFunction = int(WINAPI*)(HWND, LPCSTR, LPCSTR, UINT);
    const auto messageBox = reinterpret_cast<MessageBoxFunction>(
        reinterpret_cast<void*>(GetProcAddress(user32, "MessageBoxA")));
    if (messageBox != nullptr)
        messageBox(nullptr, text, title, MB_OK);
}
