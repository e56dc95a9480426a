// The launcher's Win32 services, as the executable uses them (the start step lives in a file of
// its own).
#include "platform.h"

#include <windows.h>
#include <objbase.h>
#include <shellapi.h>

namespace {

constexpr DWORD LoadLibrarySearchSystem32 = 0x00000800;  // LOAD_LIBRARY_SEARCH_SYSTEM32

// The function that library exports under name, the library loaded by name: the DLLs that
// serve only the rare paths (the message box, the shell) would slow every normal start if
// imported. Each is a known DLL, always taken from the system folder; what it loads in turn by
// name would be looked for beside the launcher first, so before each load every later load of
// the process is limited to the system folder with SetDefaultDllDirectories. That call is looked
// up in KERNEL32, never imported, so that a Windows 7 without the update that added it still
// starts the launcher, and then loads as it always did. Null when the library or its function
// cannot be had. A bare library name gets ".dll", as LoadLibraryA appends it.
void* LoadedProcedure(const char* library, const char* name)
{
    using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
    const auto limit = reinterpret_cast<SetDefaultDllDirectoriesFunction>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32"), "SetDefaultDllDirectories")));
    if (limit != nullptr)
        limit(LoadLibrarySearchSystem32);
    const HMODULE module = LoadLibraryA(library);
    return module == nullptr ? nullptr : reinterpret_cast<void*>(GetProcAddress(module, name));
}

}  // namespace

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

bool PlatformOpenWithShell(const char* file, const char* directory, unsigned showMode)
{
    // The shell may hand the request to extensions that need COM in a single-threaded
    // apartment, as ShellExecuteEx's documentation asks of its callers.
    using CoInitializeExFunction = HRESULT(WINAPI*)(void*, DWORD);
    const auto initialize = reinterpret_cast<CoInitializeExFunction>(LoadedProcedure("ole32", "CoInitializeEx"));
    if (initialize != nullptr)
        initialize(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    using ShellExecuteExFunction = BOOL(WINAPI*)(SHELLEXECUTEINFOA*);
    const auto execute = reinterpret_cast<ShellExecuteExFunction>(LoadedProcedure("shell32", "ShellExecuteExA"));
    if (execute == nullptr)
        return false;
    SHELLEXECUTEINFOA request{};
    request.cbSize = sizeof request;
    // Complete before the launcher ends; a declined prompt or a failure stays silent.
    request.fMask = SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
    request.lpFile = file;
    request.lpDirectory = directory;
    request.nShow = static_cast<int>(showMode);
    return execute(&request) != FALSE;
}

void PlatformShowMessage(const char* text, const char* title)
{
    using MessageBoxFunction = int(WINAPI*)(HWND, LPCSTR, LPCSTR, UINT);
    const auto messageBox = reinterpret_cast<MessageBoxFunction>(LoadedProcedure("user32", "MessageBoxA"));
    if (messageBox != nullptr)
        messageBox(nullptr, text, title, MB_OK);
}
