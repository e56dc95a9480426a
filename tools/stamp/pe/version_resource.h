// A program's version resource (VS_VERSIONINFO): the strings Explorer's Details tab shows.
#pragma once

#include "pe/pe_image.h"

#include <string>
#include <vector>

// One string of a version resource's string table, as UTF-8 text.
struct VersionString {
    std::string key;    // FileDescription, ProductName, CompanyName, ...
    std::string value;  // up to its first NUL
};

// Reads the strings of the first string table of the first version resource of the program in
// bytes (its headers read into image), in the order stored. False with the reason when it has
// no version resource (noVersion then true) or the resource is malformed. A string that is not
// valid UTF-16 is left out. Never reads outside the resource.
bool ReadVersionStrings(const Bytes& bytes, const LauncherImage& image, std::vector<VersionString>& strings,
                        bool& noVersion, std::string& error);
