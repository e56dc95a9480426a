// Walking a PE image's resource directory, with every offset checked.
#include "pe/resource_directory.h"

#include "base/bytes.h"

#include <cstring>

const unsigned char* Directory::At(std::uint32_t offset, std::size_t length)
{
    if (offset > size_ || size_ - offset < length)
        return nullptr;
    used_.push_back({fileOffset_ + offset, length});
    return base_ + offset;
}

bool Directory::Overlaps(std::size_t start, std::size_t length) const
{
    for (const auto& range : used_) {
        if (start < range.first + range.second && range.first < start + length)
            return true;
    }
    return false;
}

namespace {

// Whether a directory entry's name is the string wanted (UTF-16 in the directory).
bool NameIs(Directory& directory, std::uint32_t name, const char* wanted)
{
    const unsigned char* text = directory.At(name & ~ResourceHighBit, 2);
    const std::size_t length = std::strlen(wanted);
    if (text == nullptr || Little16(text) != length)
        return false;
    text = directory.At(name & ~ResourceHighBit, 2 + 2 * length);
    if (text == nullptr)
        return false;
    for (std::size_t i = 0; i < length; ++i) {
        if (Little16(text + 2 + 2 * i) != static_cast<unsigned char>(wanted[i]))
            return false;
    }
    return true;
}

}  // namespace

bool FindEntry(Directory& directory, std::uint32_t offset, std::uint32_t id, const char* name, bool wantTable,
               std::uint32_t& target)
{
    const unsigned char* table = directory.At(offset, 16);
    if (table == nullptr)
        return false;
    const std::uint32_t count = Little16(table + 12) + Little16(table + 14);
    const unsigned char* entries = directory.At(offset + 16, std::size_t{count} * 8);
    if (entries == nullptr)
        return false;
    int matches = 0;
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::uint32_t entryName = Little32(entries + 8 * i);
        const std::uint32_t entryTarget = Little32(entries + 8 * i + 4);
        const bool named = (entryName & ResourceHighBit) != 0;
        const bool match = name != nullptr ? named && NameIs(directory, entryName, name) : !named && entryName == id;
        if (!match)
            continue;
        ++matches;
        target = entryTarget;
    }
    return matches == 1 && ((target & ResourceHighBit) != 0) == wantTable;
}

bool LanguageData(Directory& directory, std::uint32_t target, bool onlyOne, std::uint32_t& rva, std::uint32_t& size)
{
    const unsigned char* table = (target & ResourceHighBit) == 0 ? nullptr : directory.At(target & ~ResourceHighBit, 16);
    const std::uint32_t count = table == nullptr ? 0 : Little16(table + 12) + Little16(table + 14);
    if (count == 0 || (onlyOne && count != 1))
        return false;
    const unsigned char* entry = directory.At((target & ~ResourceHighBit) + 16, 8);
    const std::uint32_t data = entry == nullptr ? ResourceHighBit : Little32(entry + 4);
    const unsigned char* dataEntry = (data & ResourceHighBit) != 0 ? nullptr : directory.At(data, 16);
    if (dataEntry == nullptr)
        return false;
    rva = Little32(dataEntry);
    size = Little32(dataEntry + 4);
    return true;
}

bool FindData(Directory& directory, std::uint32_t type, std::uint32_t id, const char* name, std::uint32_t& rva,
              std::uint32_t& size)
{
    std::uint32_t names = 0, languages = 0;
    return FindEntry(directory, 0, type, nullptr, true, names) &&
           FindEntry(directory, names & ~ResourceHighBit, id, name, true, languages) &&
           LanguageData(directory, languages, true, rva, size);
}
