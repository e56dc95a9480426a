// What the window for medium authors decides apart from any window, so that it is the same on
// every system and tested there: where it starts, which programs it offers and what it says of
// each, and the report's first line.
#pragma once

#include "commands/check_command.h"
#include "commands/make_command.h"

#include <atomic>
#include <string>
#include <vector>

// The medium and program the window opens with.
struct StartingPoint {
    std::string root;     // the medium's folder, or a disc image's file; empty: none yet
    std::string program;  // the program chosen, as a path; empty: none yet
    bool image = false;   // root is a disc image, to be checked (it is read, never written)
    std::string mediumFile;  // a medium file (.toml) to open instead; root and program are then empty
};

// From the arguments the window was opened with: none opens it empty; a folder (dropped on the
// program in Explorer, or named) is the medium; a disc image (known by its volume descriptors,
// whatever its name) is checked; another file is the program chosen, with the folder above its
// folder as the medium (its own folder when it has none above). Anything else, or more than one
// argument, opens it empty. A file named *.toml is a medium file to open.
StartingPoint StartingPointFor(const std::vector<std::string>& arguments);

// A program below a medium's root that a launcher could start.
struct Candidate {
    std::string path;         // its path on this system
    std::string relative;     // below the root, folders joined by backslashes as Windows shows them
    std::size_t depth = 0;    // how many folders below the root it lies (1: in a folder of the root)
    std::string verdict;      // what Windows will do with a launcher for it, in check's word ("ok", ...)
    std::string says;         // the same in a sentence; empty when there is nothing to add to "ok"
};

// How far the search for programs goes.
struct SearchLimits {
    std::size_t depth = 4;          // folders below the root
    std::size_t found = 200;        // programs listed
    std::size_t entries = 20000;    // folder entries looked at, in all
};

// The programs and batch files (.exe, .com, .bat, .cmd) in the folders below the medium's root
// (a folder or a disc image), within limits, ranked: names such as setup, install or autorun
// first, then the shallowest, then by path without regard to letter case. Files directly in the
// root, our temporary files and launchers of ours are left out (a launcher can start neither).
// Each candidate's path is as the place shows it. Stops early, with what it found so far, when
// stop becomes true; cutShort then, or when a limit was reached, is true.
std::vector<Candidate> FindCandidates(const MediumPlace& place, const SearchLimits& limits,
                                      const std::atomic<bool>& stop, bool& cutShort);
// The same through folders, which JudgeCandidate may then share: each folder is listed once.
std::vector<Candidate> FindCandidates(MediumFolders& folders, const SearchLimits& limits,
                                      const std::atomic<bool>& stop, bool& cutShort);

// Ranks candidates as FindCandidates does.
void RankCandidates(std::vector<Candidate>& candidates);

// Says what Windows will do with a launcher that make lays out for candidate.path with choice's
// other settings (root, architecture, code page, drive): make's reason when it refuses the
// program ("refused"), else check's verdict for that launcher, with its first finding unless it
// is ok; of an ok launcher, that Windows asks for administrator rights when it does.
void JudgeCandidate(const MakeOptions& choice, Candidate& candidate, MediumFolders& folders);

// The report's first line, in plain words, after make (made: the launcher make wrote, by its
// file name) or after a check of the medium as it is (made empty): "Ready: D:\SETUP.exe starts
// …" when everything that counts is ok, else what will go wrong and where.
// Of a disc image's check (image), the launchers are the image's: "Ready: the image's
// D:\SETUP.exe starts …".
std::string Headline(const CheckSummary& summary, const std::string& made, bool image = false);

// The first line after a make its author cancelled, from make's own line (outcome.reason).
std::string CancelledHeadline(const MakeOutcome& outcome);

// Where the window offers to write the medium's disc image: beside the root folder, never inside
// it, named after the label, or the root folder's name when the label is empty or no file name,
// with ".iso" added. Empty when root has no folder above it (a drive's root) or no name.
std::string DefaultImagePath(const std::string& root, const std::string& label);

// The first line after a make that did not make the medium, in make's words: nothing was
// written when it refused; else what it wrote and gave back, or could not give back.
std::string RefusalHeadline(const MakeOutcome& outcome);

// What the dialog's fields hold when Make or Check is pressed.
struct DialogFields {
    std::string root;          // the medium's folder (or disc image) as typed or chosen
    std::string program;       // the program selected; empty: none
    int icon = 0;              // ICON_PROGRAMS_OWN, ICON_PICTURE or ICON_LAUNCHERS_OWN
    std::string picture;       // the picture file's field
    std::string label;
    bool x64 = false;          // the x64 launcher, else the x86 one
    unsigned codePage = 1252;
    bool autorun = true;
    bool image = false;        // "Disc image" is ticked
    std::string imagePath;     // the disc image's field
    std::string disc;          // "Disc size": the disc the image must fit (cd, dvd, ...); empty: any
    std::string signCommand;   // "Sign with": the author's signing command; empty: none
};

// How long the window lets a signing command run before it is ended, with every process it started.
constexpr unsigned WindowSignMinutes = 5;

// The choices as make takes them: the picture only when it is the icon chosen, the image's path
// and the disc it must fit only while the image is ticked, and the signing command, unless it
// is only blanks, as make's --sign takes it (its time limit WindowSignMinutes, its output
// collected, not shown as it comes: the window has no console).
MakeOptions OptionsFor(const DialogFields& fields);

// The signature of the launcher make wrote (made, as the check names it) in check's words, after
// its name: "D:\SETUP.exe: signed by "Borvi Software" (SHA-256, timestamped)". Empty when the
// check found no such launcher.
std::string MadeSignature(const CheckSummary& summary, const std::string& made);

// What the dialog's fields show of a medium file's options (as ReadMediumFile gives them): the
// program as a path below the root, the picture when it is the icon.
DialogFields FieldsFor(const MakeOptions& options);

// Make's options while a medium file is open: make --file's (fromFile, read anew), with the
// window's fields in place of the options they show; what the window has no field for (the
// drive, the disc, the signing's time limit, timestamp and retries) is the file's. mediumFile
// is file.
MakeOptions OptionsForMediumFile(const std::string& file, const MakeOptions& fromFile, const DialogFields& fields);

// The make command line that gives options: make --file file, then each option whose value
// differs from fromFile's, so the report can say what Make ran. Empty when a change has no option
// to say it (autorun.inf, the image, the signing or the program's own icon turned back on or off).
std::vector<std::string> MediumFileArguments(const std::string& file, const MakeOptions& fromFile,
                                             const MakeOptions& options);
