// A PE image's resource directory, walked with every offset checked against it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

constexpr std::uint32_t ResourceHighBit = 0x80000000u;  // an entry's name is a string; its target a table

// The resource types the tool reads and writes.
constexpr std::uint32_t ResourceTypeIcon = 3;        // RT_ICON
constexpr std::uint32_t ResourceTypeGroupIcon = 14;  // RT_GROUP_ICON
constexpr std::uint32_t ResourceTypeVersion = 16;    // RT_VERSION

// The resource directory's bytes, and the ranges of it that the walk has read (data written
// over any of them would corrupt the directory).
class Directory {
public:
    Directory(const unsigned char* base, std::size_t size, std::size_t fileOffset)
        : base_(base), size_(size), fileOffset_(fileOffset)
    {
    }

    // The bytes [offset, offset + length) of the directory, or null when they lie outside it.
    const unsigned char* At(std::uint32_t offset, std::size_t length);

    // Whether the file bytes [start, start + length) overlap a part of the directory read so far.
    bool Overlaps(std::size_t start, std::size_t length) const;

private:
    const unsigned char* base_;
    std::size_t size_;
    std::size_t fileOffset_;
    std::vector<std::pair<std::size_t, std::size_t>> used_;
};

// The one entry of the table at offset whose identifier is id (or whose name is name when
// name is given): its target offset. False when there is none, more than one, the target is
// (or, when wantTable is false, is not) a table, or the table does not fit the directory.
bool FindEntry(Directory& directory, std::uint32_t offset, std::uint32_t id, const char* name, bool wantTable,
               std::uint32_t& target);

// The data below target, an entry of a name table that leads to a languages table: its first
// language's RVA and size. False when target leads to no table, to none or (when onlyOne)
// more than one language, or to no data inside the directory.
bool LanguageData(Directory& directory, std::uint32_t target, bool onlyOne, std::uint32_t& rva, std::uint32_t& size);

// The data of the resource type/name-or-id with exactly one language: its RVA and size.
bool FindData(Directory& directory, std::uint32_t type, std::uint32_t id, const char* name, std::uint32_t& rva,
              std::uint32_t& size);
