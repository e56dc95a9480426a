// A program's version resource (VS_VERSIONINFO): the strings Explorer's Details tab shows.
#pragma once

#include "pe/pe_image.h"

#include <string>
#include <vector>

// One string of a version resource's string table, as UTF-8 text.
struct VersionString {
    std::string key;    // FileDescription, ProductName, CompanyName, ...
    std::string value;  // up to its first NUL

    bool operator==(const VersionString& other) const { return key == other.key && value == other.value; }
};

// Reads the strings of the first string table of the first version resource of the program in
// bytes (its headers read into image), in the order stored. False with the reason when it has
// no version resource (noVersion then true) or the resource is malformed. A string that is not
// valid UTF-16 is left out. Never reads outside the resource.
bool ReadVersionStrings(const Bytes& bytes, const LauncherImage& image, std::vector<VersionString>& strings,
                        bool& noVersion, std::string& error);

// The most UTF-16 units a string written by VersionResourceFor holds; longer ones are cut
// there, never inside a character.
constexpr std::size_t MaxVersionStringUnits = 255;

// A version resource (VS_VERSIONINFO) with fixed (a VS_FIXEDFILEINFO, 52 bytes) as its fixed
// information and strings, in this order, in one US English, UTF-16 string table. A control
// character in a value becomes a space; a value of more than MaxVersionStringUnits is cut.
Bytes VersionResourceFor(const Bytes& fixed, const std::vector<VersionString>& strings);

// The fixed information (VS_FIXEDFILEINFO, 52 bytes) of the program's first version resource.
bool ReadVersionFixed(const Bytes& bytes, const LauncherImage& image, Bytes& fixed, std::string& error);

// Replaces the launcher's version resource (type 16, one name, one language) with version: the
// resources' data are laid out again and the sections after them moved, every header, address
// and size that names them updated, and the header checksum recomputed; image is read again.
// bytes must carry no signature. False with the reason, bytes untouched, when the launcher has
// no such resource or its resources are not as a linker lays them out.
bool ReplaceVersionResource(Bytes& bytes, LauncherImage& image, const Bytes& version, std::string& error);
