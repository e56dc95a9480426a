// Predicting what a launcher on a medium starts when it is opened from Explorer: the
// launch directory resolved on the medium, the command the launcher builds, and how the
// program-start service resolves that command, unquoted, against the files that are there.
#pragma once

#include "medium/command_line.h"
#include "medium/medium_lookup.h"
#include "medium/start_service.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

// What happens when the launcher is opened.
enum class Verdict {
    Ok,                // the intended program starts, with no arguments
    Hijacked,          // a file outside the launch directory starts
    WrongProgram,      // another file inside the launch directory starts
    NothingStarts,     // no candidate exists: the launcher ends silently
    DirectoryMissing,  // the launch directory cannot be entered: the message box
    StartsItself,      // the launcher starts itself: once, or again and again
    CannotRun,         // the intended file starts, but Windows or cmd cannot run it
    NotCheckable,      // depends on what cannot be seen from here
};

// The verdict's name as printed and in JSON: "ok", "hijacked", "wrong-program", ...
const char* VerdictName(Verdict verdict);

// A launcher lying at the root of a medium.
struct LauncherOnMedium {
    std::string fileName;         // the launcher's file name at the root (UTF-8)
    std::string launchDirectory;  // the name stored in its field (bytes in codePage)
    char drive = 'D';             // the medium's drive letter
    unsigned codePage = 1252;     // the system's ANSI code page
    StartService service = StartService::Windows;
    bool thirtyTwoBit = false;    // the launcher is a 32-bit program
};

// Advice that one of the tool's commands carries out. A finding gives it in words only (the
// window shows findings too); a command that prints the finding names its own way of doing it.
enum class Remedy {
    SetLaunchDirectory,    // store another launch directory in the launcher
    SixtyFourBitLauncher,  // make the medium with the 64-bit launcher
    CodePage,              // give the code page of the systems the medium is for
};

// What opening it does. Windows paths carry the drive; text is UTF-8.
struct Prediction {
    std::string launcher;         // the launcher's Windows path
    std::string launchDirectory;  // the stored name as text
    std::string command;          // the command the launcher builds; empty when it builds none
    std::string starts;           // the started file's Windows path, named as on disk; empty: none
    std::vector<std::string> startsBelow;  // the same file's components below the medium's root
    std::string arguments;        // the rest of the command, handed to that file
    std::optional<ReceivedCommandLine> received;  // what a started program sees of its command line
    Verdict verdict = Verdict::NotCheckable;
    std::vector<std::string> findings;  // sentences: what happens, why, and what to do
    std::map<std::size_t, Remedy> remedies;  // the findings (by index) whose advice a command carries out
};

// The launcher is opened the way Explorer opens it: the medium's root as current directory
// and its own quoted full path as command line. Reads the medium through folders (which later
// predictions of the same run may share), never changes it. Paths are normalised and names
// matched as Windows does (NormalisePath; letter case ignored); two names on the launcher's
// way that differ only in letter case make it not checkable.
Prediction PredictLaunch(const LauncherOnMedium& launcher, MediumFolders& folders);

// Why Windows cannot start the program named program, in the folders below a medium's root
// (the launch directory's components), through a launcher named launcherName at that root, or
// empty when nothing in the names stands in its way. Each reason says what to do: a document
// (only programs and batch files start), a name Windows forbids or cannot reach (a forbidden
// character, a device name, a trailing dot or space, a program named only ".exe"), a name with
// no place in codePage, a name whose characters the launcher's 0xA0 rewrite breaks, a full
// path of MAX_PATH characters or more, and the unquoted command finding the launcher itself
// first. verdict, when given, gets what check calls such a launcher: cannot-run, nothing-starts
// for the path's length, starts-itself; remedy, when given, is set when the reason's advice is
// one a command carries out (the code page), else left as it is.
std::string WhyLauncherCannotStart(const std::vector<std::string>& folders, const std::string& program,
                                   const std::string& launcherName, char drive, unsigned codePage,
                                   Verdict* verdict = nullptr, std::optional<Remedy>* remedy = nullptr);

// The name a launcher running under codePage gives back from commandLine (bytes in that code
// page), as its own naming code computes it (in the double-byte mode of codePage), before it
// rewrites its bytes 0xA0.
std::string TargetName(const std::string& commandLine, unsigned codePage);

// Whether the launcher's byte-wise rewrite of 0xA0 into a space breaks a character of the name
// nameBytes (in codePage): true in the double-byte code pages and UTF-8, where 0xA0 is part of
// other characters; then corrupted lists them. In other code pages 0xA0 is the no-break space.
bool RewriteCorruptsName(const std::string& nameBytes, unsigned codePage, std::string& corrupted);
