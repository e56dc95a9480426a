// The Win32 services the launcher calls, behind one narrow seam: platform_win32.cpp and
// start_program_win32.cpp supply them in the executable, a recording stand-in supplies them in
// the unit tests.
#pragma once

// SetCurrentDirectoryA: true when the current directory is now path.
bool PlatformSetCurrentDirectory(const char* path);

// GetCurrentDirectoryA: copies the absolute current directory and its NUL into buffer and
// returns its length, or returns the capacity it would need (capacity or more) without
// delivering the path, or 0 on failure.
unsigned long PlatformGetCurrentDirectory(unsigned long capacity, char* buffer);

// GetCommandLineA: the process's full command line, program path included. Read only.
const char* PlatformGetCommandLine();

// What a start request came to.
enum class StartOutcome {
    Started,              // or failed for a reason the launcher leaves alone
    RefusedForElevation,  // the program needs administrator rights (ERROR_ELEVATION_REQUIRED)
};

// WinExec: starts command, unquoted, with showMode. Returns as soon as the start request
// does, telling only whether Windows refused it because the program must be elevated.
StartOutcome PlatformStartProgram(const char* command, unsigned showMode);

// ShellExecuteExA with the default verb and no parameters: asks the shell to open file (a full
// path) with directory as its current directory and showMode, which for a program that needs
// administrator rights shows Windows' consent prompt first. Returns when the request is
// complete: true when the program started, false when the user declined or the shell failed.
// Shows no error of its own. Like PlatformShowMessage, it first limits every later DLL load of
// the process to the system folder, where Windows has the means (SetDefaultDllDirectories).
bool PlatformOpenWithShell(const char* file, const char* directory, unsigned showMode);

// MessageBoxA with no owner window and style MB_OK: shows text under title and returns when
// the user dismisses it. The DLLs it needs, and all they load, come from the system folder alone.
void PlatformShowMessage(const char* text, const char* title);
