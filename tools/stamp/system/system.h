// What the stamping tool needs from the operating system: code-page conversion, files and
// folders.
// system_posix.cpp and system_win32.cpp supply it, each with the program's entry point.
#pragma once

#include "base/bytes.h"

#include <cstdint>
#include <string>

// Converts UTF-8 text to the bytes of a Windows code page (1252, 932, ...). False with the
// reason when the code page is unknown or a character has no exact mapping in it.
bool ToCodePage(const std::string& utf8, unsigned codePage, std::string& bytes, std::string& error);

// Converts bytes in a Windows code page to UTF-8. False with the reason when they are not
// valid text in that code page.
bool FromCodePage(const std::string& bytes, unsigned codePage, std::string& utf8, std::string& error);

// Reads the first limit bytes of a file, or all of a shorter one.
bool ReadFileStart(const std::string& path, std::size_t limit, Bytes& bytes, std::string& error);

// Reads a whole file.
inline bool ReadWholeFile(const std::string& path, Bytes& bytes, std::string& error)
{
    return ReadFileStart(path, SIZE_MAX, bytes, error);
}

// Replaces path with bytes atomically: writes a temporary file beside it (beside the file a
// symbolic link points to), flushes it to disk, then renames it over path. On failure path
// is left as it was and the temporary file is removed. Keeps the file's permissions.
bool ReplaceFileAtomically(const std::string& path, const Bytes& bytes, std::string& error);

// One entry of a folder: its name (UTF-8) and whether it is a folder (links followed).
struct FolderEntry {
    std::string name;
    bool isFolder = false;
    bool isFile = false;        // a regular file
    std::uint64_t size = 0;     // in bytes, for a regular file
};

// The path of the entry name inside folder.
std::string ChildPath(const std::string& folder, const std::string& name);

// Lists a folder's entries, "." and ".." left out, in no particular order. False with the
// reason when it cannot be read.
bool ListFolder(const std::string& path, std::vector<FolderEntry>& entries, std::string& error);

// Whether something (a file or a folder) exists at path.
bool PathExists(const std::string& path);

// Whether this process is alone on a console of its own, as when Explorer opened a console
// program, rather than sharing one with the command prompt or program that started it.
// Never on POSIX systems.
bool ConsoleOfItsOwn();

// A name in the letter case Windows compares file names in, so that two names that Windows
// takes for the same file fold to the same text. Invalid UTF-8 is returned as it is.
std::string FoldCase(const std::string& utf8);
