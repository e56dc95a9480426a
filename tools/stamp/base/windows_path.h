// Windows path names as text: their components, and a component as Windows reads it.
#pragma once

#include <string>
#include <vector>

// The components of path between backslashes or slashes, empty ones included ("a\\b" gives
// "a", "", "b"; "" gives one empty component).
std::vector<std::string> SplitPathComponents(const std::string& path);

// A component as Windows reads it: trailing dots and spaces dropped ("a. ." reads as "a").
std::string TrimmedComponent(std::string component);

// The first component of a path that names a device Windows reserves (CON, PRN, AUX, NUL,
// COM1-9, LPT1-9), with or without an extension and trailing dots or spaces; empty if none.
std::string ReservedDeviceComponent(const std::string& path);

// The first character Windows forbids in a file or folder name (a control character or one of
// < > : " / \ | ? *), as a byte value, or -1 when there is none.
int ForbiddenCharacter(const std::string& name);
