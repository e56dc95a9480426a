// launcher-stamp's entry point on Windows: Unicode arguments in, UTF-8 to the command, and
// its output shown as characters on a console or written as UTF-8 into a file or pipe; opened
// from Explorer, it waits before its console closes.
#include "commands/stamp_command.h"
#include "system/dll_search_win32.h"
#include "system/system.h"
#include "system/utf16_win32.h"

#include <windows.h>

#include <cstdio>

namespace {

void Print(const std::string& text, DWORD handleId, FILE* stream)
{
    const HANDLE handle = GetStdHandle(handleId);
    DWORD mode = 0;
    if (text.empty())
        return;
    if (!GetConsoleMode(handle, &mode)) {
        std::fputs(text.c_str(), stream);
        return;
    }
    const std::wstring wide = Utf16FromUtf8(text);
    DWORD written = 0;
    WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
}

}  // namespace

// The Unicode entry point (linked with -municode).
int wmain(int argc, wchar_t** argv);

int wmain(int argc, wchar_t** argv)
{
    // Run from a downloaded folder, it must not take a DLL planted there for a system DLL's.
    LimitDllSearchToSystemFolder();
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i)
        arguments.push_back(Utf8FromUtf16(argv[i]));
    // Opened from Explorer, its console closes as soon as it ends: it then says what it can do,
    // or checks what was dropped on it, and waits until its report has been read.
    const Opening opening = HowOpened(ConsoleOfItsOwn(), arguments, arguments.size() == 1 && PathExists(arguments[0]));
    if (opening == Opening::Help)
        arguments = {"--help"};
    if (opening == Opening::CheckDropped)
        arguments = {"check", arguments[0]};
    std::string out, err;
    const int status = RunStamp(arguments, out, err);
    if (opening == Opening::Help)
        out = "To make a medium in a window, open make-medium.exe, which lies beside launcher-stamp.exe.\n"
              "This is the command-line tool for scripts and command prompts:\n\n" +
              out + "\nDrop a medium's folder on launcher-stamp.exe to check it\n";
    Print(out, STD_OUTPUT_HANDLE, stdout);
    Print(err, STD_ERROR_HANDLE, stderr);
    if (opening != Opening::AsCommand) {
        Print("\nPress Enter to close this window.", STD_OUTPUT_HANDLE, stdout);
        std::getchar();
    }
    return status;
}
