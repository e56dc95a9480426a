// A launcher as a file: loading it (its bytes, headers and the name in its field), readying
// it for a change, and writing it back.
#pragma once

#include "pe/pe_image.h"

#include <string>

// Reads path and parses it as one of our launchers. On failure appends to err one line that
// says what is wrong with which file, and returns false.
bool LoadLauncher(const std::string& path, Bytes& bytes, LauncherImage& image, std::string& stored, std::string& err);

// Readies a loaded launcher for a change (what names it, for the message). A signed one is
// refused unless force, since any change breaks its signature; with force its signature is
// removed (RemoveSignature), so that the file written is a valid unsigned one. False with err
// saying why when the change must not be made.
bool PrepareChange(const std::string& path, Bytes& bytes, LauncherImage& image, bool force, const char* what,
                   std::string& err);

// Writes a changed launcher to target atomically, and says so on err when its signature was
// removed or a read-only target was kept read-only. A link at target is replaced (the link
// itself, never what it leads to) only with force; a folder, FIFO, device or socket never.
// Temporary files that interrupted runs left in target's folder are removed first. Returns
// the exit status: 0 written, 1 not (err says why; target is then as it was).
int SaveLauncher(const std::string& target, const Bytes& bytes, const LauncherImage& image, bool force,
                 std::string& err);
