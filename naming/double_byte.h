// Double-byte character classification for byte strings in the ANSI code page.
#pragma once

// Whether lead bytes pair with the byte after them into one character. Off until the
// start-up query decides it, before anything reads it; never changed afterwards.
extern bool DoubleByteMode;

// One entry per byte value. Bit LeadByteBit marks the lead bytes 0x81-0x9F and 0xE0-0xFC;
// these fixed ranges apply whichever double-byte code page the system uses.
extern const unsigned char CharacterClassTable[256];
constexpr unsigned char LeadByteBit = 0x01;

// The mode implied by the OEM code-page query: on when the query succeeded and the first
// lead-byte range it reports is not empty (either of its two bytes non-zero).
bool DoubleByteModeFor(bool querySucceeded, const unsigned char* leadByteRanges);

// Asks the platform for the OEM code page and sets DoubleByteMode. Called once, first thing
// at process start; the Windows build supplies it.
void DecideDoubleByteMode();

// True when DoubleByteMode is on and the table marks byte as a lead byte.
bool IsLeadByte(unsigned char byte);

// The same in a double-byte mode given, not the process's: for callers that model a launcher
// running under another code page.
bool IsLeadByteIn(unsigned char byte, bool doubleByte);

// One character of a byte string: its value and how many bytes it takes.
struct Character {
    unsigned value;
    unsigned width;
};

// The character at position. A lead byte combines with whatever byte follows into
// lead * 256 + next (width 2), except that a lead byte directly before the terminating NUL
// stands alone (width 1), so no caller ever steps past the NUL. Never changes the string.
Character NextCharacter(const char* position);
Character NextCharacterIn(const char* position, bool doubleByte);

// The number of bytes of text[0, length) to keep so that at most limit bytes remain and
// the cut does not split a double-byte character.
unsigned long LengthOnCharacterBoundary(const char* text, unsigned long length, unsigned long limit);
unsigned long LengthOnCharacterBoundaryIn(const char* text, unsigned long length, unsigned long limit, bool doubleByte);
