// The Win32 services the launcher calls, behind one narrow seam: platform_win32.cpp supplies
// them in the executable, a recording stand-in supplies them in the unit tests.
#pragma once

// SetCurrentDirectoryA: true when the current directory is now path.
bool PlatformSetCurrentDirectory(const char* path);

// GetCurrentDirectoryA: copies the absolute current directory and its NUL into buffer and
// returns its length, or returns the capacity it would need (capacity or more) without
// delivering the path, or 0 on failure.
unsigned long PlatformGetCurrentDirectory(unsigned long capacity, char* buffer);

// GetCommandLineA: the process's full command line, program path included. Read only.
const char* PlatformGetCommandLine();

// WinExec: starts command, unquoted, with showMode. Returns as soon as the start request
// does; the outcome is not reported.
void PlatformStartProgram(const char* command, unsigned showMode);

// MessageBoxA with no owner window and style MB_OK: shows text under title and returns when
// the user dismisses it.
void PlatformShowMessage(const char* text, const char* title);
