// Reading a launcher executable's PE headers: where its launch directory field lies.
#pragma once

#include "base/bytes.h"
#include "launch_directory_contract.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// The name of the section that holds the launch directory field, now and in launchers of 1.x,
// and the field's size.
constexpr char FieldSectionName[] = LAUNCH_DIRECTORY_IMAGE_SECTION;
constexpr char FormerFieldSectionName[] = LAUNCH_DIRECTORY_SECTION;
constexpr std::size_t FieldSize = LaunchDirectorySize;

// One section of the image: where it lies in memory and in the file.
struct ImageSection {
    std::uint32_t virtualAddress = 0;
    std::uint32_t virtualSize = 0;
    std::uint32_t rawOffset = 0;
    std::uint32_t rawSize = 0;
};

// What ReadLauncherImage found in a launcher's bytes.
struct LauncherImage {
    std::size_t fieldOffset = 0;     // file offset of the 1024-byte field
    std::size_t checksumOffset = 0;  // file offset of the optional header's CheckSum
    std::uint32_t checksum = 0;      // its value as stored (0: none kept)
    bool isSigned = false;           // an Authenticode certificate table is present
    std::size_t securityEntryOffset = 0;  // file offset of that table's data directory entry
    std::uint32_t certificateOffset = 0;  // the table's file offset (not an address)
    std::uint32_t certificateSize = 0;    // and size; 0 when unsigned
    bool signatureRemoved = false;        // RemoveSignature cut the table off these bytes
    std::size_t headersEnd = 0;      // file offset just past the section table
    std::uint32_t headersSize = 0;   // the optional header's SizeOfHeaders
    std::uint16_t machine = 0;       // the COFF header's machine type (0x014C: x86)
    std::uint32_t resourceRva = 0;   // the resource directory (0 when there is none)
    std::uint32_t resourceSize = 0;
    std::vector<ImageSection> sections;
};

// Parses the PE headers of bytes and locates the field: the one section named .rdata, exactly
// FieldSize bytes, inside the file, in an image whose resources hold the launcher's icon group
// (or, in a launcher of 1.x, the one such section named .launch). Returns false with a
// reason in error for anything else: not a PE file, truncated or inconsistent headers, no such
// section or more than one. Never reads outside bytes.
bool ReadLauncherImage(const Bytes& bytes, LauncherImage& image, std::string& error);

// Parses the PE headers of any Windows program (an .exe or .dll; x86, x86-64, ARM or ARM64), as
// ReadLauncherImage does but needing no launch directory field (fieldOffset stays 0).
bool ReadProgramImage(const Bytes& bytes, LauncherImage& image, std::string& error);

// The end of the section that holds the resources, as a file offset: how much of a program's
// file its resources need read. 0 when there are none.
std::size_t ResourcesEnd(const LauncherImage& image);

// Reads the first limit bytes of a file, or all of a shorter one; false with the reason.
using FileStartReader = std::function<bool(std::size_t limit, Bytes& bytes, std::string& error)>;

// Reads of a program, through readStart, what its resources need (its headers, its sections up
// to the end of the resources), never an appended payload. False with the reason when it is no
// Windows program or its resources reach past limit bytes. The path form reads the file there.
bool ReadProgramResources(const FileStartReader& readStart, std::size_t limit, Bytes& bytes, std::string& error);
bool ReadProgramResources(const std::string& path, std::size_t limit, Bytes& bytes, std::string& error);

// How much of a file is read to tell from its headers whether it is a launcher of ours: the
// DOS and PE headers and the section table of any program lie well inside it.
constexpr std::size_t LauncherHeaderBytes = 64u << 10;

// A launcher is a few kilobytes: a file larger than this is none of ours, and is never read whole.
constexpr std::size_t LargestLauncher = 16u << 20;

// Whether a file of fileSize bytes that begins with start is one of our launchers, judged from
// its headers alone, as ReadLauncherImage judges it; start must hold the headers (a file whose
// headers reach past start is taken for none of ours). Never reads outside start.
bool IsLauncherHeader(const Bytes& start, std::uint64_t fileSize);

// The file offset of the size bytes at rva: false unless they lie wholly inside one
// section's raw data and inside bytes.
bool RvaToOffset(const Bytes& bytes, const LauncherImage& image, std::uint32_t rva, std::uint32_t size,
                 std::size_t& offset);

// Cuts the certificate table off a signed image: the file ends where the table began, its
// data directory entry is zeroed and the header checksum recomputed, so that what is left is
// a valid unsigned file. False with the reason, bytes untouched, when the table is not what
// can be cut safely: not at the very end of the file, or overlapping the headers or a
// section's data.
bool RemoveSignature(Bytes& bytes, LauncherImage& image, std::string& error);

// Recomputes and stores the header checksum when the file keeps one (a non-zero value).
void UpdateChecksum(Bytes& bytes, const LauncherImage& image);

// The PE checksum of bytes, as the loader verifies it, with the CheckSum field at
// checksumOffset counted as zero.
std::uint32_t PeChecksum(const Bytes& bytes, std::size_t checksumOffset);
