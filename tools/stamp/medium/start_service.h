// How Windows' program-start service resolves an unquoted command against the files on a
// medium: read from the left, the text up to each space in turn and then the whole is a
// candidate, ".exe" appended to one without an extension, and the first that is a file starts.
#pragma once

#include "medium/medium_lookup.h"

#include <string>
#include <vector>

// The program-start service modelled. Windows appends ".exe" to a candidate without an
// extension and tries nothing else; Wine then also tries the candidate as it is.
enum class StartService { Windows, Wine };

// Whether the last component of a Windows path has an extension (a dot), so that Windows
// appends none.
bool HasExtension(const std::string& path);

// The part of a Windows path below the drive's root, normalised as Windows normalises it
// ("D:\\a\\b." gives {"a", "b"}).
std::vector<std::string> BelowRoot(const std::string& windowsPath);

// The file the unquoted command (a Windows path with a drive, and maybe more) starts on the
// medium, with the rest of the command as its arguments; not found (exists false) when no
// candidate is a file.
Found FirstCandidate(MediumFolders& folders, StartService service, const std::string& command, std::string& arguments);
