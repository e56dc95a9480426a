// Target-name extraction: the base name of the last path component of a command line.
#pragma once

// The longest name ExtractTargetName writes, in bytes, not counting its NUL.
constexpr unsigned long MaxTargetNameLength = 255;

// Treats the whole command line as one path (quotes, spaces and arguments are ordinary
// characters) and writes its base name, without drive, directories or extension, at
// destination: at most MaxTargetNameLength bytes, cut on a character boundary, then a NUL,
// so destination needs room for 256 bytes. A drive is skipped only when the second byte is
// a colon. Never changes or reads past the end of commandLine; cannot fail.
void ExtractTargetName(const char* commandLine, char* destination);

// The same in a double-byte mode given, not the process's (DoubleByteMode): for callers that
// model a launcher running under another code page.
void ExtractTargetNameIn(const char* commandLine, char* destination, bool doubleByte);
