// Icons in a program's resources, found by walking its resource directory: the launcher's
// group SETUPRTICON and its one image, and the icon any program shows.
#pragma once

#include "pe/pe_image.h"

// The one image's size: a 40-byte bitmap header, 16 palette entries, 32 rows of 32 pixels
// at 4 bits and 32 rows of the 1-bit mask.
constexpr std::size_t IconImageSize = 40 + 16 * 4 + 32 * 16 + 32 * 4;
// Its width and height in pixels: the one size a launcher's icon has.
constexpr unsigned IconImageSide = 32;

// Where the icon lies in a launcher's file.
struct IconResource {
    std::size_t groupOffset = 0;  // the group's data: its 6-byte header and one 14-byte entry
    std::size_t imageOffset = 0;  // image 1's data, IconImageSize bytes
};

// Finds the group (type RT_GROUP_ICON, name SETUPRTICON) and its image (type RT_ICON,
// identifier 1), each with one language, through the resource directory. Every offset and
// size is checked against the directory and the file. False with the reason when the
// resources do not have that shape: the group holding anything but one 32x32 16-colour
// image of identifier 1, an image of another size or format, or an image that overlaps the
// directory, the group or the launch directory field. Never reads outside bytes.
bool FindIconResource(const Bytes& bytes, const LauncherImage& image, IconResource& icon, std::string& error);

// Writes picture (IconImageSize bytes, a 32x32 4-bit image) over the icon's image, restates
// the group's entry for it and recomputes the header checksum when the file keeps one.
// Nothing else in bytes changes.
void WriteIconImage(Bytes& bytes, const LauncherImage& image, const IconResource& icon, const Bytes& picture);

// The icon Explorer shows for a Windows program (.exe, .dll), as an .ico file of one image:
// of the first icon group in resource directory order, the image Windows shows at 32x32 (an
// exact 32x32 image, the deepest of them; else the nearest larger one; else the largest).
// The program is untrusted: every offset and size is checked. False with the reason when it
// is not a program, has no icon, or its resources are malformed; noIcon is then true when it
// simply has none.
bool ProgramIcon(const Bytes& program, Bytes& ico, bool& noIcon, std::string& error);

// True when data is a 32x32 image of 4 bits per pixel with its mask, IconImageSize bytes,
// as an icon resource or an .ico file holds it.
bool IsLauncherIconImage(const unsigned char* data, std::size_t size);
