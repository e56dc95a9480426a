// make-medium.exe: make, check and explain a medium in one dialog, for authors who never open a
// console. Everything that reads or writes the medium runs on one worker thread, through the
// same make and check as launcher-stamp; the dialog only gathers choices and shows answers.
#include "window/make_medium_ids.h"
#include "window/make_medium_window.h"

#include "system/dll_search_win32.h"
#include "system/utf16_win32.h"

#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

using namespace make_medium;

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    // Before COM, the common controls and the shell load theirs: never a DLL planted beside it.
    LimitDllSearchToSystemFolder();
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    std::vector<std::string> arguments;
    for (int i = 1; argv != nullptr && i < argc; ++i)
        arguments.push_back(Utf8FromUtf16(argv[i]));
    LocalFree(argv);
    const StartingPoint start = StartingPointFor(arguments);
    static Window window;
    TheWindow = &window;
    DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_MAKE_MEDIUM), nullptr, DialogProc, reinterpret_cast<LPARAM>(&start));
    // A make has ended before the dialog does; what else the worker does only reads.
    ExitProcess(0);
}
