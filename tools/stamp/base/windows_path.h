// Windows path names as text: their components, and a component as Windows reads it.
#pragma once

#include <string>
#include <vector>

// The components of path between backslashes or slashes, empty ones included ("a\\b" gives
// "a", "", "b"; "" gives one empty component).
std::vector<std::string> SplitPathComponents(const std::string& path);

// A component as Windows reads it: trailing dots and spaces dropped ("a. ." reads as "a").
std::string TrimmedComponent(std::string component);
