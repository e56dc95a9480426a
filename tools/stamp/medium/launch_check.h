// Predicting what a launcher on a medium starts when it is opened from Explorer: the
// launch directory resolved on the medium, the command the launcher builds, and how the
// program-start service resolves that command, unquoted, against the files that are there.
#pragma once

#include "medium/command_line.h"

#include "system/system.h"

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

// The program-start service modelled. Windows appends ".exe" to a candidate without an
// extension and tries nothing else; Wine then also tries the candidate as it is.
enum class StartService { Windows, Wine };

// A launcher lying at the root of a medium.
struct LauncherOnMedium {
    std::string root;             // host folder that becomes the medium's root
    std::string fileName;         // the launcher's file name there (UTF-8)
    std::string launchDirectory;  // the name stored in its field (bytes in codePage)
    char drive = 'D';             // the medium's drive letter
    unsigned codePage = 1252;     // the system's ANSI code page
    StartService service = StartService::Windows;
    bool thirtyTwoBit = false;    // the launcher is a 32-bit program
};

// What opening it does. Windows paths carry the drive; text is UTF-8.
struct Prediction {
    std::string launcher;         // the launcher's Windows path
    std::string launchDirectory;  // the stored name as text
    std::string command;          // the command the launcher builds; empty when it builds none
    std::string starts;           // the started file's Windows path, named as on disk; empty: none
    std::string arguments;        // the rest of the command, handed to that file
    std::optional<ReceivedCommandLine> received;  // what a started program sees of its command line
    Verdict verdict = Verdict::NotCheckable;
    std::vector<std::string> findings;  // sentences: what happens, why, and what to do
};

// The folders of a medium as one check run reads them: each folder is listed at most once,
// from its directory entries, and its names are indexed as Windows compares them. A folder
// that changes meanwhile is seen as it was when first listed.
class MediumFolders {
public:
    // The entries of the folder at host whose names Windows takes for name (letter case
    // ignored), in order of their names; empty when there is none or the folder cannot be read.
    const std::vector<FolderEntry>& Matches(const std::string& host, const std::string& name);

    // The entries of the folder at host, by the names Windows takes them for (letter case
    // folded); empty when it cannot be read.
    using Listing = std::map<std::string, std::vector<FolderEntry>>;
    const Listing& Entries(const std::string& host);

private:
    std::map<std::string, Listing> folders_;  // host -> its listing
};

// The launcher is opened the way Explorer opens it: the medium's root as current directory
// and its own quoted full path as command line. Reads the medium's folders (through folders,
// which later predictions of the same run may share), never changes them. Paths are
// normalised and names matched as Windows does (NormalisePath; letter case ignored); two
// names on the launcher's way that differ only in letter case make it not checkable.
Prediction PredictLaunch(const LauncherOnMedium& launcher, MediumFolders& folders);
Prediction PredictLaunch(const LauncherOnMedium& launcher);

// Why Windows cannot start the program named program, in the folders below a medium's root
// (the launch directory's components), through a launcher named launcherName at that root, or
// empty when nothing in the names stands in its way. Each reason says what to do: a document
// (only programs and batch files start), a name Windows forbids or cannot reach (a forbidden
// character, a device name, a trailing dot or space, a program named only ".exe"), a name with
// no place in codePage, a name whose characters the launcher's 0xA0 rewrite breaks, a full
// path of MAX_PATH characters or more, and the unquoted command finding the launcher itself
// first. verdict, when given, gets what check calls such a launcher: cannot-run, nothing-starts
// for the path's length, starts-itself.
std::string WhyLauncherCannotStart(const std::vector<std::string>& folders, const std::string& program,
                                   const std::string& launcherName, char drive, unsigned codePage,
                                   Verdict* verdict = nullptr);

// Why Windows cannot run the program file at host, named shown, by its first bytes, with what
// to do, or empty when it can (or when the file cannot be read): a 16-bit or DOS program, one
// for another processor, an empty file, one named .exe or .com without an MZ header, a
// document (neither a program nor named as one).
std::string WhyProgramCannotRun(const std::string& host, const std::string& shown);

// The name of another entry in folder (a host path) that differs from name only in letter case,
// which a medium made on a case-sensitive system may hold: Windows sees one of the two. Empty
// when there is none.
std::string LetterCaseTwin(const std::string& folder, const std::string& name);

// Whether the launcher's byte-wise rewrite of 0xA0 into a space breaks a character of the name
// nameBytes (in codePage): true in the double-byte code pages and UTF-8, where 0xA0 is part of
// other characters; then corrupted lists them. In other code pages 0xA0 is the no-break space.
bool RewriteCorruptsName(const std::string& nameBytes, unsigned codePage, std::string& corrupted);

// Whether relative (a path below the medium's root, with backslashes or slashes) names a file
// on the medium, matched as Windows matches names; disk gets its components as named on disk,
// joined by backslashes.
bool FindFileOnMedium(const std::string& root, const std::string& relative, std::string& disk);
