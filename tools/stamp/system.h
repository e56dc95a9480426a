// What the stamping tool needs from the operating system: code-page conversion and files.
// system_posix.cpp and system_win32.cpp supply it, each with the program's entry point.
#pragma once

#include "pe_image.h"

#include <string>

// Converts UTF-8 text to the bytes of a Windows code page (1252, 932, ...). False with the
// reason when the code page is unknown or a character has no exact mapping in it.
bool ToCodePage(const std::string& utf8, unsigned codePage, std::string& bytes, std::string& error);

// Converts bytes in a Windows code page to UTF-8. False with the reason when they are not
// valid text in that code page.
bool FromCodePage(const std::string& bytes, unsigned codePage, std::string& utf8, std::string& error);

// Reads a whole file.
bool ReadWholeFile(const std::string& path, Bytes& bytes, std::string& error);

// Replaces path with bytes atomically: writes a temporary file beside it (beside the file a
// symbolic link points to), flushes it to disk, then renames it over path. On failure path
// is left as it was and the temporary file is removed. Keeps the file's permissions.
bool ReplaceFileAtomically(const std::string& path, const Bytes& bytes, std::string& error);
