// Target-name extraction over the launcher's own command line.
#include "target_name.h"

#include "double_byte.h"

void ExtractTargetNameIn(const char* commandLine, char* destination, bool doubleByte)
{
    const char* position = commandLine;
    if (position[0] != '\0' && position[1] == ':')
        position += 2;

    // Step one character at a time: in double-byte mode a lead byte and the byte after it
    // are one value, so a second byte of 0x5C, 0x2F or 0x2E is neither separator nor full stop.
    const char* nameStart = position;
    const char* lastFullStop = nullptr;
    while (*position != '\0') {
        const Character character = NextCharacterIn(position, doubleByte);
        if (character.value == '.') {
            lastFullStop = position;
            position += 1;
            continue;
        }
        position += character.width;
        if (character.value == '\\' || character.value == '/') {
            nameStart = position;
            lastFullStop = nullptr;
        }
    }

    const char* nameEnd = lastFullStop != nullptr ? lastFullStop : position;
    const unsigned long length = LengthOnCharacterBoundaryIn(
        nameStart, static_cast<unsigned long>(nameEnd - nameStart), MaxTargetNameLength, doubleByte);
    for (unsigned long i = 0; i < length; ++i)
        destination[i] = nameStart[i];
    destination[length] = '\0';
}

void ExtractTargetName(const char* commandLine, char* destination)
{
    ExtractTargetNameIn(commandLine, destination, DoubleByteMode);
}
