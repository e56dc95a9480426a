// Benchmark yardstick: the least a launcher can do, to show what two process starts cost. It
// hands the rest of its command line, unquoted, to WinExec, as the launcher hands on the
// command it builds, and exits.
#include <windows.h>

extern "C" void FloorStart();

void FloorStart()
{
    const char* command = GetCommandLineA();
    if (*command == '"') {  // past its own quoted path
        ++command;
        while (*command != '\0' && *command != '"')
            ++command;
        if (*command == '"')
            ++command;
    }
    while (*command == ' ')
        ++command;
    WinExec(command, SW_SHOWNORMAL);
    ExitProcess(0);
}
