// The start step of a launcher built only for the tests: every start is refused as Windows
// refuses a program that needs administrator rights, without trying WinExec. Wine never
// refuses for elevation, so this is how the way through the shell is driven under Wine.
#include "platform.h"

StartOutcome PlatformStartProgram(const char*, unsigned)
{
    return StartOutcome::RefusedForElevation;
}
