// A medium's folder as the disc image made of it: what goes in, what an image cannot hold as
// Windows reads it, and whether the image written holds it all under the names Windows reads.
#pragma once

#include "image/disc_image.h"
#include "image/place.h"

#include <cstdint>
#include <string>
#include <vector>

// One file or folder of the medium, as it goes into the image.
struct ImageItem {
    std::vector<std::string> components;  // its path below the medium's root
    std::string path;                     // as messages name it: its path on this system
    bool isFolder = false;
    std::uint64_t size = 0;               // a file's
    std::int64_t modified = 0;            // seconds since 1970 UTC: a file's own, a folder's newest file's
};

// Joliet names, as Windows reads them from an image, hold at most this many UTF-16 units, and a
// path (a slash before each name) as the image writer takes it at most this many UTF-16 units.
// Windows reads longer paths; the Joliet text's 240 bytes of UCS-2 (120 characters) is held to
// neither by Windows nor by other writers.
constexpr std::size_t ImageNameLimit = 103;
constexpr std::size_t ImagePathLimit = 240;

// Why an image cannot hold a file or folder of this name so that Windows opens it by that name:
// over ImageNameLimit UTF-16 units, not UTF-8, a character Windows forbids or Joliet replaces
// (a control character, < > : " / \ | ? * or ;), a trailing dot or space (Windows drops them),
// a device name Windows reserves. Empty when it can.
std::string WhyImageCannotHoldName(const std::string& name);

// Lists what goes into the image of the medium, read through its place (a folder's): folders
// before what they hold, each folder's entries by name; our temporary files are left out. False
// with a reason that names the entry and what to do, when the image could not hold it as Windows reads it: a name
// WhyImageCannotHoldName refuses, a path over ImagePathLimit, two names that differ only in
// letter case, a link, anything neither file nor folder. Stops at limit entries.
bool ListMediumForImage(const MediumPlace& medium, std::vector<ImageItem>& items, std::string& reason,
                        std::size_t limit = 1000000);

// Whether the image, read as Windows reads it, holds every item under its own name, with the
// same kind and size, and nothing else. False with the first difference.
bool ImageHoldsMedium(const DiscImage& image, const std::vector<ImageItem>& items, std::string& difference);

// The image's volume label for a medium's label: as much of it as Joliet's volume identifier
// holds (16 UTF-16 units, whole characters only).
std::string ImageVolumeLabel(const std::string& label);

// The bytes an image of the items takes, near enough to check free space against: every file
// and folder in whole 2048-byte sectors, and room for the descriptors and tables.
std::uint64_t ImageSizeEstimate(const std::vector<ImageItem>& items);
