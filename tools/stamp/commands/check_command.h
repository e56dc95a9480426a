// launcher-stamp check: what each launcher on a medium will start.
#pragma once

#include "base/windows_path.h"
#include "medium/launch_check.h"
#include "pe/authenticode.h"

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

// What the check subcommand was given.
struct CheckOptions {
    std::vector<std::string> paths;  // one folder (the medium's root), or launchers
    std::string drive = "D:";        // the medium's drive letter, "D" or "D:"
    unsigned codePage = 1252;        // the system's ANSI code page
    bool json = false;               // print JSON instead of lines for people
    std::string statusOf;            // when set, of the launchers only this one (a file name in the
                                     // folder) decides the exit status; all are reported
    std::string disc;                // when set, the disc a disc image must fit: cd, dvd, dvd-dl, bd or bd-dl
};

// What a check run found, for callers that show it otherwise than as text.
struct CheckSummary {
    std::vector<Prediction> launchers;       // every launcher checked, in the report's order
    std::vector<bool> counts;                // for each: whether it decides the exit status
    std::vector<std::string> autorun;        // what is wrong with the autorun.inf, if anything
    std::vector<std::string> leftovers;      // temporary files of ours at the root, as Windows paths
    std::vector<SignatureInfo> signatures = {};   // for each launcher: its signature
    std::vector<std::string> signatureLines = {}; // for each launcher: its signature as the report says it
};

// A signature as check's JSON gives it: {state, algorithm, signer, timestamped, problem,
// timestamp_problem}, algorithm and signer null when unknown, problem null unless broken,
// timestamp_problem null unless it carries timestamps and none verifies.
nlohmann::ordered_json SignatureJson(const SignatureInfo& info);

// The signature of the launcher (or any program) at path: SignatureInfo of its bytes, read in
// pieces. A file that cannot be read is not signed, and error says why.
SignatureInfo SignatureOfFile(const std::string& path, std::string& error);

// Checks every launcher of ours in the folder (other files are left alone), and the folder's
// autorun.inf when it has one; or the same in a disc image (known by its volume descriptors),
// read as Windows reads it, with what Windows reads differently from what its author saw; or each
// launcher named, with its own folder as the medium's root. Prints one line per launcher and
// what to do, or a JSON array (an autorun.inf as its last element; each object with its
// layout's "version", CheckAnswerVersion). A file that is removed while it is read is skipped
// with a note. Returns 0 when every launcher (or statusOf) is ok and the autorun.inf has no finding, 1 otherwise or when a
// path cannot be read or a named file is not a launcher of ours, 2 for a bad drive letter.
// When summary is given, it also gets what was found; with options.json, answer (when given)
// gets the array printed.
int RunCheck(const CheckOptions& options, std::string& out, std::string& err, CheckSummary* summary = nullptr,
             nlohmann::ordered_json* answer = nullptr);

// RunCheck of the one medium at path, opened already as OpenMedium opens it: place, or null with
// the reason it cannot be read (said, and 1). A place with nothing on it to check is not-checkable.
int CheckMedium(const CheckOptions& options, const std::string& path, const MediumPlace* place,
                const std::string& reason, std::string& out, std::string& err, CheckSummary* summary = nullptr,
                nlohmann::ordered_json* answer = nullptr);

// RunCheck of one medium's place, opened already (options.paths aside): each of its folders is
// listed once, by kinds, and a file's size is asked of the file.
int CheckPlace(const CheckOptions& options, const MediumPlace& place, std::string& out, std::string& err,
               CheckSummary* summary = nullptr, nlohmann::ordered_json* answer = nullptr);
