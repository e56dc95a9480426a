// Windows path names as text: their components, and a component as Windows reads it.
#pragma once

#include <string>
#include <vector>

// The components of path between backslashes or slashes, empty ones included ("a\\b" gives
// "a", "", "b"; "" gives one empty component).
std::vector<std::string> SplitPathComponents(const std::string& path);

// A path's last component as Windows reads it: trailing dots and spaces dropped ("a. ." reads
// as "a").
std::string TrimmedComponent(std::string component);

// The path relative resolved against the folder whose components below a root are start, as
// Windows normalises a full path (RtlGetFullPathName_U): empty components and "." dropped,
// ".." climbing but never above the root; every other component but the last keeps its
// trailing spaces and loses one trailing dot ("a.. " stays, "a.." reads as "a."), the last
// loses all of its trailing dots and spaces and is dropped when nothing is left. A relative
// that starts with a separator starts at the root, not at start.
std::vector<std::string> NormalisePath(std::vector<std::string> start, const std::string& relative);

// Sentences on the components of path (a launch directory as stored) that Windows reads
// otherwise than they are written: a trailing space kept, a trailing dot dropped. Empty when
// Windows reads every component as written.
std::string HowWindowsReadsComponents(const std::string& path);

// The first component of a path that names a device Windows reserves (CON, PRN, AUX, NUL,
// COM1-9, LPT1-9), with or without an extension and trailing dots or spaces; empty if none.
std::string ReservedDeviceComponent(const std::string& path);

// The first character Windows forbids in a file or folder name (a control character or one of
// < > : " / \ | ? *), as a byte value, or -1 when there is none.
int ForbiddenCharacter(const std::string& name);

// The drive letter a path begins with, as Windows reads one: a letter and a colon ("D:", "d:\\x"
// and "D:x" give 'D', in upper case), else 0.
char DriveLetterOf(const std::string& path);

// The drive letter that drive names alone ("D" or "D:", in either letter case), in upper case,
// else 0.
char NamedDriveLetter(const std::string& drive);

// Whether drive names a drive letter alone: "D" or "D:", in either letter case.
bool IsDriveLetter(const std::string& drive);

// Whether Windows runs the file name names through cmd: a .bat or .cmd file, in any letter case.
bool IsBatchFileName(const std::string& name);

// Whether Windows starts the file name names, by its extension: a program (.exe, .com) or a
// batch file (.bat, .cmd), in any letter case. Anything else is a document.
bool IsStartableName(const std::string& name);
