// libFuzzer target for the stamping tool's PE reader: any bytes are either refused or read
// into a field that can be rewritten and read back, and nothing is ever read out of bounds.
#include "pe/launch_field.h"
#include "pe/pe_image.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size)
{
    Bytes bytes(data, data + size);
    LauncherImage image;
    std::string error;
    if (!ReadLauncherImage(bytes, image, error))
        return 0;
    std::string name;
    ReadFieldName(bytes, image, name);
    WriteFieldName(bytes, image, "Fuzz");
    LauncherImage again;
    if (!ReadLauncherImage(bytes, again, error) || !ReadFieldName(bytes, again, name) || name != "Fuzz")
        std::abort();
    if (image.checksum != 0 && PeChecksum(bytes, again.checksumOffset) != again.checksum)
        std::abort();
    return 0;
}
