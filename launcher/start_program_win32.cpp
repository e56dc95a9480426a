// The launcher's start step: WinExec, and whether Windows refused the start for elevation.
#include "platform.h"

#include <windows.h>

namespace {

constexpr DWORD ElevationRequired = 740;  // ERROR_ELEVATION_REQUIRED, from Windows Vista on

}  // namespace

StartOutcome PlatformStartProgram(const char* command, unsigned showMode)
{
    // WinExec reports a failure by a value below 32; the reason is then the last error.
    if (WinExec(command, showMode) < 32 && GetLastError() == ElevationRequired)
        return StartOutcome::RefusedForElevation;
    return StartOutcome::Started;
}
