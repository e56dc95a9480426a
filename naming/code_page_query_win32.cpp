// The one platform query of the naming code: does the OEM code page have lead bytes?
#include "double_byte.h"

#include <windows.h>

void DecideDoubleByteMode()
{
    // The OEM code page decides, although the strings scanned are in the ANSI code page.
    CPINFO info;
    const bool succeeded = GetCPInfo(CP_OEMCP, &info) != 0;
    DoubleByteMode = DoubleByteModeFor(succeeded, info.LeadByte);
}
