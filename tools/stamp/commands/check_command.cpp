// launcher-stamp check: finds the launchers, predicts each, prints the predictions.
#include "commands/check_command.h"

#include "image/disc_image.h"
#include "medium/autorun_inf.h"
#include "medium/launch_check.h"
#include "pe/launch_field.h"
#include "system/system.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <filesystem>

namespace {

// A launcher is a few kilobytes; larger files on a medium are not read at all.
constexpr std::uint64_t LargestLauncher = 16u << 20;

// What check says of a launcher that is not signed.
const char UnsignedNote[] =
    "Not signed: Windows 11's Smart App Control, and the rules of managed machines for programs started from USB "
    "drives, may block an unsigned program. Sign the launcher as the last step, after make and set.";

// A launcher of ours found on disk: its folder, file name and stored launch directory.
struct FoundLauncher {
    std::string folder;
    std::string fileName;
    std::string launchDirectory;
    bool isSigned = false;      // it carries a certificate table (not verified here)
    bool thirtyTwoBit = false;  // it is the 32-bit launcher
};

// Reads path as one of our launchers: 1 it is one, 0 it is not ours (or not a program),
// -1 it is ours but its field holds no valid name (err says so).
int ReadLauncher(const std::string& path, FoundLauncher& launcher, std::string& err)
{
    Bytes bytes;
    LauncherImage image;
    std::string error;
    if (!ReadWholeFile(path, bytes, error)) {
        // Another program may change the medium while it is checked: a file gone meanwhile is
        // not part of it.
        if (!PathExists(path)) {
            err += "launcher-stamp: note: " + path + " was removed while the medium was read: skipped\n";
            return 0;
        }
        err += "launcher-stamp: " + path + ": " + error + "\n";
        return -1;
    }
    if (!ReadLauncherImage(bytes, image, error))
        return 0;
    launcher.isSigned = image.isSigned;
    launcher.thirtyTwoBit = image.machine == 0x014C;
    if (!ReadFieldName(bytes, image, launcher.launchDirectory)) {
        err += "launcher-stamp: " + path + ": the launch directory field holds no valid name\n";
        return -1;
    }
    return 1;
}

// Whether the headers of the file at path (of size bytes) say it is one of ours, so that
// only such a file is read whole; true too when they cannot be read (ReadLauncher then says why).
bool MayBeLauncher(const std::string& path, std::uint64_t size)
{
    Bytes start;
    std::string error;
    return !ReadFileStart(path, LauncherHeaderBytes, start, error) || IsLauncherHeader(start, size);
}

// Finds the launchers to check; root is set to the folder when one was given.
bool FindLaunchers(const CheckOptions& options, std::vector<FoundLauncher>& launchers, std::string& root,
                   std::string& err)
{
    bool ok = true;
    std::vector<FolderEntry> entries;
    std::string error;
    if (options.paths.size() == 1 && ListFolder(options.paths[0], entries, error)) {
        root = options.paths[0];
        std::sort(entries.begin(), entries.end(),
                  [](const FolderEntry& a, const FolderEntry& b) { return a.name < b.name; });
        for (const FolderEntry& entry : entries) {
            FoundLauncher launcher{options.paths[0], entry.name, ""};
            if (!entry.isFile || entry.size > LargestLauncher || IsTemporaryName(entry.name))
                continue;
            const std::string path = ChildPath(options.paths[0], entry.name);
            const int read = MayBeLauncher(path, entry.size) ? ReadLauncher(path, launcher, err) : 0;
            ok = ok && read >= 0;
            if (read == 1)
                launchers.push_back(launcher);
        }
        if (launchers.empty() && ok) {
            err += "launcher-stamp: " + options.paths[0] + " holds no launcher of ours\n";
            return false;
        }
        return ok;
    }
    for (const std::string& path : options.paths) {
        std::size_t slash = path.find_last_of("/\\");
        if (slash == std::string::npos && DriveOf(path) != 0)
            slash = 1;  // "M:App.exe": App.exe in M:'s current folder
        FoundLauncher launcher{slash == std::string::npos ? "." : path.substr(0, slash + 1),
                               slash == std::string::npos ? path : path.substr(slash + 1), ""};
        const int read = ReadLauncher(path, launcher, err);
        if (read == 0)
            err += "launcher-stamp: " + path + ": not a launcher of ours\n";
        if (read == 1)
            launchers.push_back(launcher);
        ok = ok && read == 1;
    }
    return ok;
}

std::string Describe(const Prediction& p)
{
    std::string line = p.launcher + ": " + VerdictName(p.verdict);
    // A file that cannot run is only found: nothing starts.
    if (!p.starts.empty())
        line += (p.verdict == Verdict::CannotRun ? ": finds " : ": starts ") + p.starts +
                (p.arguments.empty() ? "" : " with the arguments \"" + p.arguments + "\"");
    line += "\n";
    for (const std::string& finding : p.findings)
        line += "  " + finding + "\n";
    return line;
}

nlohmann::ordered_json AsJson(const Prediction& p, bool isSigned)
{
    auto orNull = [](const std::string& text) { return text.empty() ? nlohmann::ordered_json() : nlohmann::ordered_json(text); };
    nlohmann::ordered_json received;
    if (p.received)
        received = {{"argv", p.received->argv}, {"command_line", p.received->afterProgram}};
    return {{"launcher", p.launcher},       {"launch_directory", p.launchDirectory},
            {"command", orNull(p.command)}, {"starts", orNull(p.starts)},
            {"arguments", p.arguments},     {"received", received},
            {"verdict", VerdictName(p.verdict)}, {"signed", isSigned},
            {"findings", p.findings}};
}

// Reads the autorun.inf at root, if there is one, and adds what is wrong with it to out (or to
// array); false when something is.
bool CheckAutorun(const CheckOptions& options, const std::string& root, char drive,
                  const std::vector<Prediction>& predictions, std::string& out, nlohmann::ordered_json& array,
                  std::string& err, std::vector<std::string>& found)
{
    std::string disk, error;
    if (root.empty() || !FindFileOnMedium(root, "autorun.inf", disk))
        return true;
    const std::string path = ChildPath(root, disk);
    const std::string shown = std::string(1, drive) + ":\\" + disk;
    Bytes file;
    AutorunInf inf;
    const bool read = ReadWholeFile(path, file, error);
    if (!read && !PathExists(path)) {
        err += "launcher-stamp: note: " + path + " was removed while the medium was read: skipped\n";
        return true;
    }
    if (!read || !ReadAutorunInf(file, options.codePage, inf, error)) {
        err += "launcher-stamp: " + path + ": " + error + "\n";
        return false;
    }
    std::vector<std::string> findings = AutorunFindings(inf, root, drive, predictions);
    // 64-bit Windows reads its own section instead, where there is one.
    AutorunInf amd64;
    if (inf.amd64Section && ReadAutorunInf(file, options.codePage, amd64, error, Amd64Section)) {
        for (const std::string& finding : AutorunFindings(amd64, root, drive, predictions))
            findings.push_back(std::string("On 64-bit Windows, which reads [") + Amd64Section + "] instead: " + finding);
    }
    found = findings;
    if (options.json) {
        auto orNull = [](const std::optional<std::string>& value) {
            return value ? nlohmann::ordered_json(*value) : nlohmann::ordered_json();
        };
        array.push_back({{"autorun", shown}, {"open", orNull(inf.open)}, {"icon", orNull(inf.icon)},
                         {"label", orNull(inf.label)}, {"findings", findings}});
    } else {
        out += shown + ": " + (findings.empty() ? "ok" : "needs changes") + "\n";
        for (const std::string& finding : findings)
            out += "  " + finding + "\n";
    }
    return findings.empty();
}

// Names the temporary files of ours at root: one that an interrupted run left would go onto the
// medium. False when there is one.
bool CheckLeftovers(const CheckOptions& options, const std::string& root, char drive, std::string& out,
                    nlohmann::ordered_json& array, std::vector<std::string>& found)
{
    std::vector<FolderEntry> entries;
    std::string error;
    if (root.empty() || !ListFolder(root, entries, error))
        return true;
    bool none = true;
    for (const FolderEntry& entry : entries) {
        if (!IsTemporaryName(entry.name))
            continue;
        none = false;
        const std::string shown = std::string(1, drive) + ":\\" + entry.name;
        found.push_back(shown);
        const std::string finding = IsLeftover(ChildPath(root, entry.name))
                                        ? "Left by an interrupted launcher-stamp run: delete it."
                                        : "A launcher-stamp run is writing it now: check again when it has ended.";
        if (options.json)
            array.push_back({{"leftover", shown}, {"findings", {finding}}});
        else
            out += shown + ": not part of the medium\n  " + finding + "\n";
    }
    return none;
}

// What check says of a disc image itself, before its launchers.
struct ImageFacts {
    std::string path;
    std::string tree;                    // "UDF", "Joliet" or "primary ISO 9660"
    std::string label;
    std::vector<std::string> findings;   // they make the image not ok
    std::vector<std::string> notes;      // they do not
};

int CheckFolder(const CheckOptions& options, std::string& out, std::string& err, CheckSummary& summed,
                const ImageFacts* image);

// Checks a disc image as Windows reads it: mounted at its own path, so that the launchers,
// autorun.inf and the programs' headers are read from inside it, where they lie.
int CheckImage(const CheckOptions& options, const ImageReader& read, std::uint64_t size, std::string& out,
               std::string& err, CheckSummary& summed)
{
    const std::string& path = options.paths[0];
    DiscImage image;
    std::string error;
    if (!image.Open(read, size, OemCodePageFor(options.codePage), error)) {
        err += "launcher-stamp: " + path + ": " + error + "\n";
        return 1;
    }
    if (image.hasUdf() && !image.readsUdf()) {
        const std::string finding =
            "It holds a UDF file system, which current Windows reads instead of its ISO 9660 tree, and " +
            image.udfProblem() + ". What to do: make the image with UDF 1.02 to 2.01 or without UDF, or check the "
            "folder it is made from.";
        if (options.json)
            out += nlohmann::ordered_json::array({{{"image", path}, {"verdict", "not-checkable"}, {"findings", {finding}}}})
                       .dump(2, ' ', true) + "\n";
        else
            out += path + ": not-checkable\n  " + finding + "\n";
        return 1;
    }
    std::vector<FolderEntry> root;
    if (!image.List({}, root, error)) {
        err += "launcher-stamp: " + path + ": " + error + "\n";
        return 1;
    }
    ImageFacts facts{path, image.readsUdf() ? "UDF" : image.hasJoliet() ? "Joliet" : "primary ISO 9660",
                     image.volumeLabel(), {}, {}};
    facts.findings = DiscImageFindings(image, facts.notes);
    const VolumeMount mounted(path, image);
    return CheckFolder(options, out, err, summed, &facts);
}

}  // namespace

bool IsDriveLetter(const std::string& drive)
{
    const bool letter = !drive.empty() && ((drive[0] >= 'A' && drive[0] <= 'Z') || (drive[0] >= 'a' && drive[0] <= 'z'));
    return letter && (drive.size() == 1 || (drive.size() == 2 && drive[1] == ':'));
}

int RunCheck(const CheckOptions& options, std::string& out, std::string& err, CheckSummary* summary)
{
    CheckSummary unused;
    CheckSummary& summed = summary ? *summary : unused;
    if (!IsDriveLetter(options.drive)) {
        err += "launcher-stamp: --drive takes a drive letter, such as D:\n";
        return 2;
    }
    // A disc image, known by its volume descriptors whatever its name.
    std::string leadsTo;
    if (options.paths.size() == 1 && KindOf(options.paths[0], leadsTo) == EntryKind::File) {
        std::uint64_t size = 0;
        const ImageReader read = ImageFileReader(options.paths[0], size);
        if (LooksLikeDiscImage(read))
            return CheckImage(options, read, size, out, err, summed);
    }
    return CheckFolder(options, out, err, summed, nullptr);
}

namespace {

int CheckFolder(const CheckOptions& options, std::string& out, std::string& err, CheckSummary& summed,
                const ImageFacts* image)
{
    const char drive = static_cast<char>(options.drive[0] & ~0x20);
    nlohmann::ordered_json array = nlohmann::ordered_json::array();
    bool imageOk = true;
    if (image != nullptr) {
        imageOk = image->findings.empty();
        std::vector<std::string> said = image->findings;
        said.insert(said.end(), image->notes.begin(), image->notes.end());
        if (options.json)
            array.push_back({{"image", image->path}, {"tree", image->tree}, {"label", image->label},
                             {"verdict", imageOk ? "ok" : "needs-changes"}, {"findings", said}});
        else {
            out += image->path + ": " + (imageOk ? "ok" : "needs changes") + ": Windows reads its " + image->tree +
                   " tree" + (image->label.empty() ? "" : ", label " + image->label) + "\n";
            for (const std::string& line : said)
                out += "  " + line + "\n";
        }
    }
    std::vector<FoundLauncher> launchers;
    std::string root;
    const bool allRead = FindLaunchers(options, launchers, root, err);

    bool allOk = allRead && imageOk;
    std::vector<Prediction> predictions;
    MediumFolders folders;
    for (const FoundLauncher& found : launchers) {
        LauncherOnMedium launcher;
        launcher.root = found.folder;
        launcher.fileName = found.fileName;
        launcher.launchDirectory = found.launchDirectory;
        launcher.drive = drive;
        launcher.codePage = options.codePage;
        launcher.thirtyTwoBit = found.thirtyTwoBit;
        Prediction prediction = PredictLaunch(launcher, folders);
        const bool counts = options.statusOf.empty() || SameComponent(found.fileName, options.statusOf);
        allOk = allOk && (prediction.verdict == Verdict::Ok || !counts);
        if (!found.isSigned)
            prediction.findings.push_back(UnsignedNote);
        if (options.json)
            array.push_back(AsJson(prediction, found.isSigned));
        else
            out += Describe(prediction);
        predictions.push_back(prediction);
        summed.counts.push_back(counts);
    }
    allOk = CheckAutorun(options, root, drive, predictions, out, array, err, summed.autorun) && allOk;
    allOk = CheckLeftovers(options, root, drive, out, array, summed.leftovers) && allOk;
    summed.launchers = std::move(predictions);
    // Every character beyond ASCII escaped, so that any console or shell reads the output alike.
    if (options.json)
        out += array.dump(2, ' ', true) + "\n";
    return allOk ? 0 : 1;
}

}  // namespace
