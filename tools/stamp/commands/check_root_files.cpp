// check's look at the files beside the launchers at a medium's root: autorun.inf, and the
// temporary files an interrupted run left.
#include "commands/check_root_files.h"

#include "commands/json_answer.h"
#include "medium/autorun_inf.h"
#include "medium/medium_lookup.h"
#include "system/system.h"

namespace {

// An autorun.inf larger than this is none that Windows reads; no more of it is read.
constexpr std::size_t LargestAutorun = 1u << 20;

}  // namespace

// The note on a file another program removed while the medium was read.
std::string RemovedNote(const MediumPlace& place, const std::vector<std::string>& below)
{
    return "launcher-stamp: note: " + place.Shown(below) + " was removed while the medium was read: skipped\n";
}

// Reads the autorun.inf at the root, if there is one, and adds what is wrong with it to out (or
// to array); false when something is.
bool CheckAutorun(const CheckOptions& options, MediumFolders& folders, char drive,
                  const std::vector<Prediction>& predictions, std::string& out, nlohmann::ordered_json& array,
                  std::string& err, std::vector<std::string>& found)
{
    const MediumPlace& place = folders.place();
    Found file;
    std::string error;
    if (!FindFileOnMedium(folders, "autorun.inf", file))
        return true;
    const std::string shown = std::string(1, drive) + ":\\" + file.Disk();
    Bytes bytes;
    AutorunInf inf;
    const ChangingRead read = ReadStartOfChanging(place, file.below, LargestAutorun, bytes, error);
    if (read == ChangingRead::Removed) {
        err += RemovedNote(place, file.below);
        return true;
    }
    if (read == ChangingRead::Failed || !ReadAutorunInf(bytes, options.codePage, inf, error)) {
        err += "launcher-stamp: " + place.Shown(file.below) + ": " + error + "\n";
        return false;
    }
    std::vector<std::string> findings = AutorunFindings(inf, folders, drive, options.codePage, predictions);
    // 64-bit Windows reads its own section instead, where there is one.
    AutorunInf amd64;
    if (inf.amd64Section && ReadAutorunInf(bytes, options.codePage, amd64, error, Amd64Section)) {
        for (const std::string& finding : AutorunFindings(amd64, folders, drive, options.codePage, predictions))
            findings.push_back(std::string("On 64-bit Windows, which reads [") + Amd64Section + "] instead: " + finding);
    }
    found = findings;
    if (options.json) {
        array.push_back({{"autorun", shown}, {"open", TextOrNull(inf.open)}, {"icon", TextOrNull(inf.icon)},
                         {"label", TextOrNull(inf.label)}, {"findings", findings}});
    } else {
        out += shown + ": " + (findings.empty() ? "ok" : "needs changes") + "\n";
        for (const std::string& finding : findings)
            out += "  " + finding + "\n";
    }
    return findings.empty();
}

// Names the temporary files of ours at the root: one that an interrupted run left would go onto
// the medium. False when there is one.
bool CheckLeftovers(const CheckOptions& options, MediumFolders& folders, char drive, std::string& out,
                    nlohmann::ordered_json& array, std::vector<std::string>& found)
{
    const MediumPlace& place = folders.place();
    std::string error;
    const std::vector<FolderEntry>* entries = folders.Sorted({}, error);
    if (entries == nullptr)
        return true;
    bool none = true;
    for (const FolderEntry& entry : *entries) {
        if (!IsTemporaryName(entry.name))
            continue;
        none = false;
        const std::string shown = std::string(1, drive) + ":\\" + entry.name;
        found.push_back(shown);
        const std::string finding = place.BeingWritten({entry.name})
                                        ? "A launcher-stamp run is writing it now: check again when it has ended."
                                        : "Left by an interrupted launcher-stamp run: delete it.";
        if (options.json)
            array.push_back({{"leftover", shown}, {"findings", {finding}}});
        else
            out += shown + ": not part of the medium\n  " + finding + "\n";
    }
    return none;
}
