// Loading a launcher from a file: its bytes, its headers and the name in its field.
#pragma once

#include "pe/pe_image.h"

#include <string>

// Reads path and parses it as one of our launchers. On failure appends to err one line that
// says what is wrong with which file, and returns false.
bool LoadLauncher(const std::string& path, Bytes& bytes, LauncherImage& image, std::string& stored, std::string& err);

// Writes a changed launcher to target atomically. When the launcher was signed, appends to
// err a warning that its signature is no longer valid. Returns the exit status: 0 written,
// 1 not (err says why; target is then as it was).
int SaveLauncher(const std::string& target, const Bytes& bytes, const LauncherImage& image, std::string& err);
