// Converting text between UTF-8 and the Windows code pages a launcher may run under, with the
// same tables on every system, as Windows' own conversion does it: exact mappings only.
#pragma once

#include <string>

// Whether codePage is one this tool converts: 874, 932, 936, 949, 950, 1250-1258 and 65001.
bool IsKnownCodePage(unsigned codePage);

// The code pages this tool converts, for messages ("874, 932, ...").
std::string KnownCodePages();

// Converts UTF-8 text to the bytes of codePage, composed first (decomposed text, as copied from
// macOS, gives the bytes of its composed characters). False with the reason when the code page
// is unknown, the text is not valid UTF-8, or a character has no exact place in the code page
// (one that would read back as another character included); the reason names the character.
bool ToCodePage(const std::string& utf8, unsigned codePage, std::string& bytes, std::string& error);

// Converts bytes of codePage to UTF-8. A byte 0x80-0x9F that a single-byte code page leaves
// undefined reads as the control character of that value, as on Windows. False with the reason
// when the code page is unknown or the bytes are no valid text in it.
bool FromCodePage(const std::string& bytes, unsigned codePage, std::string& utf8, std::string& error);

// The OEM code page of the systems whose ANSI code page is ansiCodePage (850 for 1252, as
// Western European Windows has; the double-byte code pages are their own).
unsigned OemCodePageFor(unsigned ansiCodePage);
