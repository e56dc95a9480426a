// libFuzzer target for the version resource reader and writer: any bytes taken for a program
// either give no strings or strings of valid text; any bytes taken for a launcher with a version
// resource either are refused a new one or take it whole, after which the new strings read
// back and the launch directory field is left as it was.
#include "pe/launch_field.h"
#include "pe/version_resource.h"

#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size)
{
    Bytes bytes(data, data + size);
    LauncherImage image;
    std::vector<VersionString> strings;
    std::string error;
    bool noVersion = false;
    if (ReadProgramImage(bytes, image, error))
        ReadVersionStrings(bytes, image, strings, noVersion, error);
    Bytes fixed;
    if (!ReadLauncherImage(bytes, image, error) || image.isSigned || !ReadVersionFixed(bytes, image, fixed, error))
        return 0;
    const Bytes field(bytes.begin() + static_cast<std::ptrdiff_t>(image.fieldOffset),
                      bytes.begin() + static_cast<std::ptrdiff_t>(image.fieldOffset + FieldSize));
    const std::vector<VersionString> wanted = {{"FileDescription", std::string(300, 'd')}, {"OriginalFilename", "A.exe"}};
    if (!ReplaceVersionResource(bytes, image, VersionResourceFor(fixed, wanted), error))
        return 0;
    std::vector<VersionString> read;
    if (!ReadVersionStrings(bytes, image, read, noVersion, error) || read.size() != 2 ||
        read[0].value != std::string(255, 'd') || read[1].value != "A.exe")
        std::abort();
    if (std::memcmp(bytes.data() + image.fieldOffset, field.data(), FieldSize) != 0)
        std::abort();
    return 0;
}
