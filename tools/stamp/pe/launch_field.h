// The launch directory field of a launcher: reading it, the rules for a new name, writing it.
#pragma once

#include "pe/pe_image.h"

#include <string>
#include <vector>

// The name stored in the field (bytes in the launcher's code page). False when the field is
// not a NUL-terminated name followed by zeros, or is empty.
bool ReadFieldName(const Bytes& bytes, const LauncherImage& image, std::string& name);

// Checks a new launch directory given as UTF-8 text, before conversion: false with the
// reason when it is empty, holds characters Windows forbids in a path (< > " | ? * and
// control characters; a colon other than a drive's), names a device Windows reserves as one
// of its folders (CON, PRN, AUX, NUL, COM1-9, LPT1-9, with or without an extension), or
// names the launcher's own folder
// (".", ".\", "a\..", which would make the launcher start itself again and again).
bool CheckNewName(const std::string& utf8Name, std::string& error);

// What to say of a new launch directory that CheckNewName takes: how Windows reads components
// written with trailing dots or spaces, and a name that from a medium's root leads back to the
// root, so that a launcher there would start itself. Empty when there is nothing to say.
std::vector<std::string> NewNameWarnings(const std::string& utf8Name);

// A new launch directory given as UTF-8 text as the field stores it: checked by CheckNewName,
// converted to codePage, and at most 1023 bytes. False with the reason otherwise.
bool FieldNameFor(const std::string& utf8Name, unsigned codePage, std::string& stored, std::string& error);

// Stores name (already in the launcher's code page, at most 1023 bytes) in the field,
// zeros after it, and recomputes the header checksum when the file keeps one.
void WriteFieldName(Bytes& bytes, const LauncherImage& image, const std::string& name);
