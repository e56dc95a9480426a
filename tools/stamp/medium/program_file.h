// What a program file on a medium is to Windows: whether its name and path can be held and
// reached, whether Windows can run what its first bytes say it is, and whether Windows asks
// for administrator rights before it starts.
#pragma once

#include "medium/medium_place.h"

#include <string>
#include <vector>

// Why Windows cannot hold name as a file or folder name, with what to do, or empty: a
// character it forbids, a reserved device name, or, for the last name of a path, a dot or space
// at its end, which it drops (a folder inside a path keeps its spaces and loses one dot).
std::string WhyWindowsCannotHold(const std::string& name, bool last = true);

// Why Windows starts no program at the full path path, or empty: a path of MAX_PATH characters
// or more.
std::string WhyPathIsTooLong(const std::string& path);

// Why Windows cannot run the program file at below on the place, named shown, by its first
// bytes, with what to do, or empty when it can: a 16-bit or DOS program, one for another
// processor, one Windows' loader refuses (JudgeProgramHeaders: a DLL, a subsystem it has not,
// damaged headers; or a copy cut short, its sections' data past the end of the file), an empty
// file, one named .exe or .com without an MZ header, a document (neither a program nor named as
// one). A file that cannot be read is said so, with the place's reason, and unreadable (when
// given) is set then, else cleared.
std::string WhyProgramCannotRun(const MediumPlace& place, const std::vector<std::string>& below,
                                const std::string& shown, bool* unreadable = nullptr);

// What a Windows program at below (named shown) that Windows starts says of the oldest Windows
// it starts on, when that is newer than Windows 7 (its subsystem version above 6.1); else empty.
std::string OldestWindowsNote(const MediumPlace& place, const std::vector<std::string>& below, const std::string& shown);

// Why Windows cannot run the file at below (named shown) that the unquoted command starts, or
// empty when it can: a batch file cmd cannot find behind the quotes it drops, or a program
// WhyProgramCannotRun names (unreadable as it says).
std::string WhyStartedFileCannotRun(const MediumPlace& place, const std::vector<std::string>& below,
                                    const std::string& shown, const std::string& command, bool* unreadable = nullptr);

// Why Windows asks for administrator rights before it starts the program at below, named
// fileName, or empty when it does not (or when the file is no program that can be read): its
// manifest's run level, or, for a 32-bit program that states none, installer detection, which
// takes a program whose name holds one of its keywords for an installer.
std::string ElevationReason(const MediumPlace& place, const std::vector<std::string>& below,
                            const std::string& fileName);
