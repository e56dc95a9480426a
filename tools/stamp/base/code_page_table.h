// The tables of the Windows code pages launcher-stamp converts names with, generated at build
// time by cmake/code_page_tables.py.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr std::uint16_t NoCharacter = 0xFFFF;  // in Single: a byte that reads as no character
constexpr std::uint16_t LeadByte = 0xFFFE;     // in Single: a byte that starts a two-byte character

// One code page. decode holds (bytes << 16 | character) sorted by bytes, a two-byte
// character's bytes as lead << 8 | trail; encode holds (character << 16 | bytes) sorted by
// character, only the mappings that read back as the same character.
struct CodePageTable {
    unsigned codePage;
    const std::uint16_t* single;  // 256 entries: the character of each byte, or a marker above
    const std::uint32_t* decode;
    std::size_t decodeCount;
    const std::uint32_t* encode;
    std::size_t encodeCount;
};

extern const CodePageTable CodePageTables[];
extern const std::size_t CodePageTableCount;

// The canonical compositions of two characters: (first << 32 | second << 16 | composed), sorted.
extern const std::uint64_t Compositions[];
extern const std::size_t CompositionCount;
