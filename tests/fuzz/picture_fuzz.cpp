// libFuzzer target for the pictures a user hands to set-icon and make --icon: any bytes (PNG,
// BMP, ICO, a program, or none of these) are either refused or give a 32x32 16-colour image
// of exactly the icon's size.
#include "pe/icon_resource.h"
#include "picture/icon_picture.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size)
{
    const Bytes file(data, data + size);
    Bytes image;
    std::string error;
    if (IconImageFromPicture(file, image, error) && !IsLauncherIconImage(image.data(), image.size()))
        std::abort();
    return 0;
}
