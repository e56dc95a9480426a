// Reading a launcher executable's PE headers: where its launch directory field lies.
#pragma once

#include "launch_directory_contract.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

using Bytes = std::vector<unsigned char>;

// The name of the section that holds the launch directory field, and the field's size.
constexpr char FieldSectionName[] = LAUNCH_DIRECTORY_SECTION;
constexpr std::size_t FieldSize = LaunchDirectorySize;

// What ReadLauncherImage found in a launcher's bytes.
struct LauncherImage {
    std::size_t fieldOffset = 0;     // file offset of the 1024-byte field
    std::size_t checksumOffset = 0;  // file offset of the optional header's CheckSum
    std::uint32_t checksum = 0;      // its value as stored (0: none kept)
    bool isSigned = false;           // an Authenticode certificate table is present
};

// Parses the PE headers of bytes and locates the field: the one section named .launch,
// exactly FieldSize bytes, inside the file. Returns false with a reason in error for
// anything else: not a PE file, truncated or inconsistent headers, no such section or more
// than one. Never reads outside bytes.
bool ReadLauncherImage(const Bytes& bytes, LauncherImage& image, std::string& error);

// The PE checksum of bytes, as the loader verifies it, with the CheckSum field at
// checksumOffset counted as zero.
std::uint32_t PeChecksum(const Bytes& bytes, std::size_t checksumOffset);
