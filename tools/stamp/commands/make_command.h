// launcher-stamp make: from a medium's folder and the program to start, a ready, checked medium.
#pragma once

#include "commands/check_command.h"
#include "image/progress.h"
#include "medium/root_files.h"

#include <memory>
#include <string>
#include <vector>

// What the make subcommand was given.
struct MakeOptions {
    std::string root;          // the folder that becomes the medium's root
    std::string program;       // the program to start: relative to root, or a path inside it
    std::string icon;          // a picture for the launcher's icon (empty: the program's own)
    bool launcherIcon = false; // keep the launcher's own icon instead of the program's
    std::string label;         // the medium's label in autorun.inf (empty: none)
    std::string arch = "x86";  // which built launcher: x86 (runs on every Windows) or x64
    unsigned codePage = 1252;  // the ANSI code page of the systems the medium is for
    std::string drive = "D:";  // the medium's drive letter, for the check
    bool autorun = true;       // write autorun.inf
    bool force = false;        // replace a file of someone else's at the launcher's or autorun.inf's name
                               // (and at iso's, a file that is no disc image)
    std::string iso;           // when set, the disc image of root to write there, whose check is reported
    std::string disc;          // when set, the disc the image must fit: cd, dvd, dvd-dl, bd or bd-dl
    bool json = false;         // print a JSON object (MakeAnswer) instead of lines
    std::string signCommand;   // when set, the author's signing command, run on the launcher before it is put in place
    unsigned signTimeoutSeconds = 0;  // the signing command is ended after this (0: no limit)
    bool requireTimestamp = false;    // refuse a signature without a timestamp
    unsigned signRetries = 0;         // a refused signing is tried again this many times
    bool showSignOutput = false;      // the signing command's output is shown as it comes (on a console)
    std::string mediumFile;    // the medium file these options were read from (make --file), for the answer
};

// What make lays out for a program, known before anything is read or written.
struct LaunchPlan {
    std::shared_ptr<const MediumPlace> medium;  // the medium's folder, read through its place
    std::vector<std::string> programBelow;      // the program's components below the medium's root
    std::string program;               // the program's file name
    std::string programPath;           // the program's path on this system, as it was given
    std::string launcherName;          // the launcher's file name at root
    std::string launchDirectory;       // the folders joined by backslashes
    std::string stored;                // the launch directory as the launcher's field holds it
    Verdict refusedAs = Verdict::Ok;   // when make refuses the program, what check would call its launcher
};

// Plans the launcher for options.program at options.root as make does (a drive letter in
// options.drive). False with make's reason when make refuses the program: outside root,
// directly in it or missing, a letter-case twin on its path, a name Windows cannot start
// through a launcher (WhyLauncherCannotStart), a file it cannot run (WhyProgramCannotRun),
// a launch directory the field cannot hold.
bool PlanLaunch(const MakeOptions& options, LaunchPlan& plan, std::string& reason);

// A file make planned at the root, and what became of it.
struct MadeFile {
    std::string path;
    FileFate fate = FileFate::NotWritten;
    std::string refusal;  // why make refused to write it (it is in make's way); empty when it did not
};

// What a make run ended with, for callers that ask their user instead of taking --force.
struct MakeOutcome {
    std::string launcher;      // the launcher's file name at the root, once make knows it
    bool refused = false;      // nothing was written: make refused, or undid what it had written
    std::string reason;        // why, in the words make prints
    bool forceable = false;    // force would have gone on: a file at one of make's names is in its way
    std::string forceAction;   // what force would do to it, such as "replace it"
    std::vector<MadeFile> files;  // the files make wrote or meant to write at the root, and their fates
    bool imageWritten = false; // with iso: the image was written and put in place
    std::uint64_t imageSize = 0;  // its size in bytes then
    bool cancelled = false;    // the caller's progress cancelled it: no image, no staged file left;
                               // files already written at the root are kept (reason says which)
    CheckSummary check;        // what the check after writing found
    nlohmann::ordered_json checkAnswer;  // with MakeOptions::json, that check's JSON; null when none ran
};

// Writes the launcher at root under the program's file name (".exe" added unless it has it),
// with the program's folder below root as its launch directory and the picture's icon, else
// the program's own (a program without one leaves the launcher's, and says so on out), and,
// unless told not to, an
// autorun.inf that opens it; each file is written atomically, and left as it is when it
// already holds those bytes. Then checks root and prints the report. Returns check's status
// (0 every launcher ok, 1 otherwise), or 1 when it refuses, having changed nothing: the
// program outside root, directly in root or missing; a name or label that cannot be stored;
// a picture that cannot be decoded; a file at either name that is not ours (a launcher of
// ours, or an autorun.inf with the same bytes) unless force. 2 for a bad drive letter.
// With iso, it first makes sure the image can be written there (PlanMediumImage), then, once
// the medium is made, writes root's disc image there (MakeMediumImage) and reports the image's
// check instead of root's, with its exit status; 1 when the image is not written.
// With signCommand, the launcher is signed by that command (SignLauncher) after the files are
// planned and before any is written; a refused signature writes nothing. A launcher already
// there, whole and signed, that make would leave as it is, is neither written nor signed again.
// When outcome is given, it also gets why make refused and the check's findings.
// With json, out gets MakeAnswer's object instead of lines (err and the status are the same);
// nothing for a usage error.
// progress, when given, hears how far the reading of the program and the writing of the image
// are; cancelled, make stops where it is: before the files at the root are written, nothing is
// written; during the image, no image is left and what make wrote at the root is kept. Either
// way it returns 1 with one line on err that says which (outcome->cancelled).
int RunMake(const MakeOptions& options, std::string& out, std::string& err, MakeOutcome* outcome = nullptr,
            Progress* progress = nullptr);

// make --json's object: the layout's version; the root, the medium file when options came from
// one (mediumFile), and the launcher's name; whether make
// refused (nothing written) and why, or why it did not end whole; whether --force would go on
// and what it would do; each file's fate ("refused" with its reason); the image (path, whether
// written, size) when options.iso is set, else null; what make said in lines for people
// (notes, one line each); and check's JSON of the result (checkAnswer).
nlohmann::ordered_json MakeAnswer(const MakeOptions& options, const MakeOutcome& outcome, const std::string& notes);
