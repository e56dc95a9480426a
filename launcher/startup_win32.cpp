// Process start-up of the launcher executable: its entry point, with no C runtime.
#include "../naming/double_byte.h"
#include "launcher_main.h"

#include <windows.h>

namespace {

// The command line after the program name, as a GUI entry routine receives it.
char* ArgumentsAfterProgramName(char* commandLine)
{
    char* position = commandLine;
    if (*position == '"') {
        ++position;
        while (*position != '\0' && *position != '"')
            ++position;
        if (*position == '"')
            ++position;
    } else {
        while (*position != '\0' && *position != ' ' && *position != '\t')
            ++position;
    }
    while (*position == ' ' || *position == '\t')
        ++position;
    return position;
}

}  // namespace

// The executable's entry point, named to the linker. Decides the double-byte mode before
// anything else, runs LauncherMain once and ends the process with its result.
extern "C" void LauncherStart();

void LauncherStart()
{
    DecideDoubleByteMode();
    ExitProcess(static_cast<UINT>(LauncherMain(
        GetModuleHandleA(nullptr), nullptr, ArgumentsAfterProgramName(GetCommandLineA()), SW_SHOWDEFAULT)));
}
