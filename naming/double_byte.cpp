// Double-byte character classification: the lead-byte table and the one-character step.
#include "double_byte.h"

bool DoubleByteMode = false;

// clang-format off
const unsigned char CharacterClassTable[256] = {
    0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,  // 0x00
    0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,  // 0x10
    0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,  // 0x20
    0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,  // 0x30
    0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,  // 0x40
    0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,  // 0x50
    0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,  // 0x60
    0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,  // 0x70
    0,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,  // 0x80: 0x81-0x8F
    1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,  // 0x90: 0x90-0x9F
    0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,  // 0xA0
    0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,  // 0xB0
    0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,  // 0xC0
    0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,  // 0xD0
    1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,  // 0xE0: 0xE0-0xEF
    1,1,1,1,1,1,1,1,1,1,1,1,1,0,0,0,  // 0xF0: 0xF0-0xFC
};
// clang-format on

bool DoubleByteModeFor(bool querySucceeded, const unsigned char* leadByteRanges)
{
    return querySucceeded && (leadByteRanges[0] != 0 || leadByteRanges[1] != 0);
}

bool IsLeadByteIn(unsigned char byte, bool doubleByte)
{
    return doubleByte && (CharacterClassTable[byte] & LeadByteBit) != 0;
}

bool IsLeadByte(unsigned char byte)
{
    return IsLeadByteIn(byte, DoubleByteMode);
}

Character NextCharacterIn(const char* position, bool doubleByte)
{
    const auto first = static_cast<unsigned char>(position[0]);
    // A lead byte is never the NUL, so the byte after it is still inside the string.
    if (IsLeadByteIn(first, doubleByte) && position[1] != '\0')
        return {first * 256u + static_cast<unsigned char>(position[1]), 2};
    return {first, 1};
}

Character NextCharacter(const char* position)
{
    return NextCharacterIn(position, DoubleByteMode);
}

unsigned long LengthOnCharacterBoundaryIn(const char* text, unsigned long length, unsigned long limit, bool doubleByte)
{
    unsigned long kept = 0;
    while (kept < length) {
        const unsigned long width = NextCharacterIn(text + kept, doubleByte).width;
        if (kept + width > limit)
            break;
        kept += width;
    }
    return kept;
}

unsigned long LengthOnCharacterBoundary(const char* text, unsigned long length, unsigned long limit)
{
    return LengthOnCharacterBoundaryIn(text, length, limit, DoubleByteMode);
}
