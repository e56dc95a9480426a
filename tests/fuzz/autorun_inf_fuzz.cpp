// libFuzzer target for the autorun.inf reader: any bytes, in the code pages it is tried with,
// are either read or refused with a reason, never read outside them.
#include "medium/autorun_inf.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size)
{
    const Bytes file(data, data + size);
    for (unsigned codePage : {1252u, 932u}) {
        AutorunInf inf;
        std::string error;
        if (!ReadAutorunInf(file, codePage, inf, error) && error.empty())
            std::abort();
    }
    return 0;
}
