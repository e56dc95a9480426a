// Pictures and the launcher's icon image: making the 32x32 16-colour image from a PNG, BMP
// or ICO file or from a Windows program's own icon, and wrapping the image as an .ico file.
#pragma once

#include "pe/pe_image.h"

#include <string>

// Makes the launcher's icon image (IconImageSize bytes: bitmap header, 16-colour palette,
// 4-bit pixels and 1-bit mask, rows bottom-up) from the bytes of a picture file, or of a
// Windows program (.exe, .dll), whose icon is taken as ProgramIcon finds it. An ICO
// holding a 32x32 4-bit image gives that image byte for byte. Anything else is decoded
// (PNG, BMP, or the largest image of an ICO), scaled by area averaging to fit 32x32 with its
// aspect kept, centred on transparent, given a 16-colour palette chosen for the picture by
// median cut and drawn with error diffusion; pixels less than half opaque become
// transparent through the mask. False with the reason when the picture cannot be decoded.
bool IconImageFromPicture(const Bytes& file, Bytes& image, std::string& error);

// Reads a picture file whole, or of a Windows program only what its icon needs (its headers and
// sections up to its resources, at most 48 MB), so that a program with a large payload is
// read quickly. False with the reason when it cannot be read.
// The reader form reads through readStart (a file's first bytes, as ReadFileStart reads them).
bool ReadPicture(const std::string& path, Bytes& file, std::string& error);
bool ReadPicture(const FileStartReader& readStart, Bytes& file, std::string& error);

// An .ico file whose one entry is image (IconImageSize bytes).
Bytes IcoFileFor(const Bytes& image);
