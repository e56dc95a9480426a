// Where the tools' process looks for the DLLs it loads by name: the system folder alone.
#pragma once

#include <windows.h>

// Calls SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32), looked up in KERNEL32 at run time,
// so that every later DLL load of the process, those made inside system DLLs included, searches
// the system folder only: a DLL left beside the program (in Downloads, on a stick's root) is never
// loaded. Call it first thing in the entry point, before anything loads a DLL. True when the
// search is now limited; false on a Windows that lacks the call (Windows 7 without its update),
// where the search stays as it was. Does not affect programs this process starts.
inline bool LimitDllSearchToSystemFolder()
{
    constexpr DWORD loadLibrarySearchSystem32 = 0x00000800;  // LOAD_LIBRARY_SEARCH_SYSTEM32
    // Looked up, not imported, so that the tools still start on Windows 7 without the update.
    using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
    const HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    if (kernel == nullptr)
        return false;
    const auto limit = reinterpret_cast<SetDefaultDllDirectoriesFunction>(
        reinterpret_cast<void*>(GetProcAddress(kernel, "SetDefaultDllDirectories")));
    return limit != nullptr && limit(loadLibrarySearchSystem32) != FALSE;
}
