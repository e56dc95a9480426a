// libFuzzer target for the stamping tool's resource directory reader: any bytes are either
// refused or give an icon that can be rewritten in place, after which the same icon is found
// again holding the new image, and the launch directory field is left as it was. Any bytes
// taken for a program either have no icon taken or give an .ico of one image inside them.
#include "pe/icon_resource.h"
#include "pe/launch_field.h"

#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size)
{
    Bytes bytes(data, data + size);
    LauncherImage image;
    IconResource icon;
    std::string error;
    Bytes ico;
    bool noIcon = false;
    if (ProgramIcon(bytes, ico, noIcon, error) && (ico.size() <= 22 || ico.size() - 22 > size))
        std::abort();
    if (!ReadLauncherImage(bytes, image, error) || !FindIconResource(bytes, image, icon, error))
        return 0;
    const Bytes field(bytes.begin() + static_cast<std::ptrdiff_t>(image.fieldOffset),
                      bytes.begin() + static_cast<std::ptrdiff_t>(image.fieldOffset + FieldSize));
    Bytes picture(bytes.begin() + static_cast<std::ptrdiff_t>(icon.imageOffset),
                  bytes.begin() + static_cast<std::ptrdiff_t>(icon.imageOffset + IconImageSize));
    for (std::size_t i = 40 + 64; i < picture.size(); ++i)
        picture[i] = static_cast<unsigned char>(i);
    WriteIconImage(bytes, image, icon, picture);

    LauncherImage again;
    IconResource found;
    if (!ReadLauncherImage(bytes, again, error) || !FindIconResource(bytes, again, found, error) ||
        found.imageOffset != icon.imageOffset || found.groupOffset != icon.groupOffset)
        std::abort();
    if (std::memcmp(bytes.data() + found.imageOffset, picture.data(), IconImageSize) != 0 ||
        std::memcmp(bytes.data() + again.fieldOffset, field.data(), FieldSize) != 0)
        std::abort();
    if (image.checksum != 0 && PeChecksum(bytes, again.checksumOffset) != again.checksum)
        std::abort();
    return 0;
}
