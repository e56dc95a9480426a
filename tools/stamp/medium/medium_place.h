// What a path names as a medium, and the one place that decides it: a folder on this system, or
// a disc image read as Windows reads it (the face itself is in image/place.h).
#pragma once

#include "image/disc_image.h"
#include "image/place.h"

// What a path names as a medium.
enum class MediumKind {
    Nothing,  // neither a folder nor a disc image (missing, another file, unreadable folder)
    Folder,   // a folder on this system
    Image,    // a plain file, or a link to one, that holds a disc image
};

// What OpenMedium found at a path.
struct OpenedMedium {
    MediumKind kind = MediumKind::Nothing;
    std::unique_ptr<MediumPlace> place;  // null when kind is Nothing, or an image cannot be read
    std::string reason;                  // why an image cannot be read; empty otherwise
};

// Opens the medium at path, the one place that decides what a path names: a disc image when path
// is a plain file, or a link to one, that holds one (known by its volume descriptors, whatever its
// name; names of its primary tree decoded with the OEM code page that goes with ansiCodePage),
// else the folder at path when it can be listed, else nothing. Never opens anything but a plain
// file (a FIFO is not waited on).
OpenedMedium OpenMedium(const std::string& path, unsigned ansiCodePage);

// What OpenMedium finds at path, decided as it decides, without reading an image's folders.
MediumKind MediumKindAt(const std::string& path);

// OpenMedium's place alone: null with the reason when an image cannot be read, null with error
// empty when path is neither a folder nor an image.
std::unique_ptr<MediumPlace> OpenMediumPlace(const std::string& path, unsigned ansiCodePage, std::string& error);

// The disc image read by image, which was opened with the OEM code page that goes with
// ansiCodePage (size bytes), as a medium's place, named path in messages: what OpenMedium gives
// for an image. Null with the reason when it cannot be read.
std::unique_ptr<MediumPlace> ImagePlace(const std::string& path, DiscImage image, std::uint64_t size,
                                        std::string& error);
