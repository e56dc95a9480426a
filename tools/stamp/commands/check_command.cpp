// launcher-stamp check: finds the launchers, predicts each, prints the predictions.
#include "commands/check_command.h"

#include "commands/check_root_files.h"
#include "commands/json_answer.h"
#include "image/disc_fit.h"
#include "medium/autorun_inf.h"
#include "medium/launch_check.h"
#include "medium/medium_place.h"
#include "pe/launch_field.h"
#include "system/system.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <memory>

namespace {

// What check says of a launcher that is not signed.
const char UnsignedNote[] =
    "Not signed: Windows 11's Smart App Control, and the rules of managed machines for programs started from USB "
    "drives, may block an unsigned program. Sign the launcher with make --sign.";

// What check says of a program, started by a launcher, that is not signed.
const char UnsignedProgramNote[] =
    "The program it starts is not signed: Windows 11's Smart App Control blocks an unsigned program also when a "
    "signed launcher starts it (\"blocked part of this app\"). Sign the program too.";

// What check says of an unsigned file inside a disc image.
const char MarkOfTheWebNote[] =
    "Inside a downloaded disc image, %s carries the mark of the web once the image is mounted (Windows updates "
    "since November 2022), and SmartScreen asks before an unsigned program there starts: sign it.";

std::string MarkOfTheWeb(const std::string& what)
{
    std::string note = MarkOfTheWebNote;
    note.replace(note.find("%s"), 2, what);
    return note;
}

// A launcher of ours found on a medium: where it lies, and its stored launch directory.
struct FoundLauncher {
    const MediumPlace* place = nullptr;  // the medium whose root holds it
    std::string fileName;
    std::string launchDirectory;
    bool isSigned = false;      // it carries a certificate table
    SignatureInfo signature;    // and what its signatures tell
    bool thirtyTwoBit = false;  // it is the 32-bit launcher
};

// Reads the file at the root as one of our launchers: 1 it is one, 0 it is not ours (or not a
// program), -1 it is ours but its field holds no valid name (err says so).
int ReadLauncher(FoundLauncher& launcher, std::string& err)
{
    const MediumPlace& place = *launcher.place;
    const std::vector<std::string> below{launcher.fileName};
    Bytes bytes;
    LauncherImage image;
    std::string error;
    // Another program may change the medium while it is checked: a file gone meanwhile is not
    // part of it.
    const ChangingRead read = ReadStartOfChanging(place, below, LargestLauncher, bytes, error);
    if (read == ChangingRead::Removed) {
        err += RemovedNote(place, below);
        return 0;
    }
    if (read == ChangingRead::Failed) {
        err += "launcher-stamp: " + place.Shown(below) + ": " + error + "\n";
        return -1;
    }
    if (!ReadLauncherImage(bytes, image, error))
        return 0;
    launcher.isSigned = image.isSigned;
    launcher.signature = ReadSignature(bytes);
    launcher.thirtyTwoBit = image.machine == 0x014C;
    if (!ReadFieldName(bytes, image, launcher.launchDirectory)) {
        err += "launcher-stamp: " + place.Shown(below) + ": the launch directory field holds no valid name\n";
        return -1;
    }
    return 1;
}

// Whether the headers of the file name at the root (of size bytes) say it is one of ours, so
// that only such a file is read whole; true too when they cannot be read (ReadLauncher then
// says why).
bool MayBeLauncher(const MediumPlace& place, const std::string& name, std::uint64_t size)
{
    Bytes start;
    std::string error;
    return !ReadStart(place, {name}, LauncherHeaderBytes, start, error) || IsLauncherHeader(start, size);
}

// Finds the launchers of ours at the medium's root, listed through folders; false when one
// cannot be read, or there is none.
bool FindLaunchers(MediumFolders& folders, std::vector<FoundLauncher>& launchers, std::string& err)
{
    const MediumPlace& place = folders.place();
    bool ok = true;
    std::string error;
    const std::vector<FolderEntry>* entries = folders.Sorted({}, error);
    if (entries == nullptr) {
        err += "launcher-stamp: " + place.Shown({}) + ": " + error + "\n";
        return false;
    }
    for (const FolderEntry& entry : *entries) {
        FoundLauncher launcher;
        launcher.place = &place;
        launcher.fileName = entry.name;
        if (!entry.isFile || IsTemporaryName(entry.name))
            continue;
        // Its size from the file itself; one removed meanwhile is told so by ReadLauncher.
        std::uint64_t size = 0;
        place.Size({entry.name}, size, error);
        if (size > LargestLauncher)
            continue;
        const int read = MayBeLauncher(place, entry.name, size) ? ReadLauncher(launcher, err) : 0;
        ok = ok && read >= 0;
        if (read == 1)
            launchers.push_back(launcher);
    }
    if (launchers.empty() && ok) {
        err += "launcher-stamp: " + place.Shown({}) + " holds no launcher of ours\n";
        return false;
    }
    return ok;
}

// Finds the launchers named, each at the root of its own folder (places gets those folders).
bool FindNamedLaunchers(const std::vector<std::string>& paths, std::vector<std::unique_ptr<MediumPlace>>& places,
                        std::vector<FoundLauncher>& launchers, std::string& err)
{
    bool ok = true;
    for (const std::string& path : paths) {
        std::size_t slash = path.find_last_of("/\\");
        // "M:App.exe": App.exe in M:'s current folder, which "M:." names (a bare "M:" is its root).
        const bool driveRelative = slash == std::string::npos && DriveOf(path) != 0;
        if (driveRelative)
            slash = 1;
        places.push_back(FolderPlace(driveRelative ? path.substr(0, 2) + "."
                                                   : slash == std::string::npos ? "" : path.substr(0, slash + 1)));
        FoundLauncher launcher;
        launcher.place = places.back().get();
        launcher.fileName = slash == std::string::npos ? path : path.substr(slash + 1);
        // A path that names nothing was never there: it was not removed while it was read.
        if (launcher.place->Kind({launcher.fileName}) == EntryKind::Missing) {
            err += "launcher-stamp: " + path + ": no such file or folder\n";
            ok = false;
            continue;
        }
        const int read = ReadLauncher(launcher, err);
        if (read == 0)
            err += "launcher-stamp: " + path + ": not a launcher of ours\n";
        if (read == 1)
            launchers.push_back(launcher);
        ok = ok && read == 1;
    }
    return ok;
}

// The command that carries out a finding's advice, as check names it.
const char* RemedyHint(Remedy remedy)
{
    switch (remedy) {
    case Remedy::SetLaunchDirectory: return "launcher-stamp set";
    case Remedy::SixtyFourBitLauncher: return "make --arch x64";
    case Remedy::CodePage: return "--codepage";
    }
    return "";
}

// The findings as check prints them: each whose advice a command carries out names it before
// its full stop.
std::vector<std::string> PrintedFindings(const Prediction& p)
{
    std::vector<std::string> findings = p.findings;
    for (const auto& [index, remedy] : p.remedies) {
        std::string& finding = findings.at(index);
        const std::size_t stop = !finding.empty() && finding.back() == '.' ? finding.size() - 1 : finding.size();
        finding.insert(stop, std::string(" (") + RemedyHint(remedy) + ")");
    }
    return findings;
}

std::string Describe(const Prediction& p)
{
    std::string line = p.launcher + ": " + VerdictName(p.verdict);
    // A file that cannot run is only found: nothing starts.
    if (!p.starts.empty())
        line += (p.verdict == Verdict::CannotRun ? ": finds " : ": starts ") + p.starts +
                (p.arguments.empty() ? "" : " with the arguments \"" + p.arguments + "\"");
    line += "\n";
    for (const std::string& finding : PrintedFindings(p))
        line += "  " + finding + "\n";
    return line;
}

// The signature of the program a launcher starts (below: its components below the medium's
// root, as the prediction found them), read through the place in pieces; nothing when it is no
// Windows program or cannot be read.
std::optional<SignatureInfo> ProgramSignature(const MediumPlace& place, const std::vector<std::string>& below)
{
    if (below.empty())
        return std::nullopt;
    // Its size from the file itself: listing its folder again would look at every file there.
    std::uint64_t size = 0;
    std::string error;
    Bytes start;
    LauncherImage image;
    if (!place.Size(below, size, error) || !place.Read(below, 0, LauncherHeaderBytes, start, error) ||
        !ReadProgramImage(start, image, error))
        return std::nullopt;
    return ReadSignature(
        [&place, &below](std::uint64_t offset, std::size_t count, Bytes& bytes, std::string& reason) {
            return place.Read(below, offset, count, bytes, reason);
        },
        size);
}

nlohmann::ordered_json AsJson(const Prediction& p, bool isSigned)
{
    nlohmann::ordered_json received;
    if (p.received)
        received = {{"argv", p.received->argv}, {"command_line", p.received->afterProgram}};
    return {{"launcher", p.launcher},       {"launch_directory", p.launchDirectory},
            {"command", TextOrNull(p.command)}, {"starts", TextOrNull(p.starts)},
            {"arguments", p.arguments},     {"received", received},
            {"verdict", VerdictName(p.verdict)}, {"signed", isSigned},
            {"findings", PrintedFindings(p)}};
}

// Says what the place says of itself (a disc image: the tree Windows reads, what differs from
// what its author saw) before its launchers. False when that makes the medium not ok.
bool DescribePlace(const CheckOptions& options, const MediumPlace& place, std::string& out,
                   nlohmann::ordered_json& array)
{
    const PlaceFacts& facts = place.Facts();
    if (!facts.image)
        return true;
    const std::string path = place.Shown({});
    std::vector<std::string> said = facts.findings;
    // The disc it must fit, when one is named, and the smallest it fits.
    const Disc* required = DiscNamed(options.disc);
    if (required != nullptr && !DiscMisfit(facts.imageSize, *required).empty())
        said.push_back(DiscMisfit(facts.imageSize, *required));
    const bool ok = said.empty();
    said.insert(said.end(), facts.notes.begin(), facts.notes.end());
    said.push_back(DiscFitNote(facts.imageSize));
    auto discOrNull = [](const Disc* disc) { return TextOrNull(disc ? std::string(disc->name) : std::string()); };
    if (options.json)
        array.push_back({{"image", path}, {"tree", facts.tree}, {"label", facts.label},
                         {"verdict", ok ? "ok" : "needs-changes"}, {"findings", said}, {"size", facts.imageSize},
                         {"disc", discOrNull(SmallestDiscFor(facts.imageSize))}, {"required_disc", discOrNull(required)}});
    else {
        out += path + ": " + (ok ? "ok" : "needs changes") + ": Windows reads its " + facts.tree + " tree" +
               (facts.label.empty() ? "" : ", label " + facts.label) + "\n";
        for (const std::string& line : said)
            out += "  " + line + "\n";
    }
    return ok;
}

// The array as check prints it, each object with its layout's version; answer, when given,
// keeps it.
std::string Answer(nlohmann::ordered_json& array, nlohmann::ordered_json* answer)
{
    for (nlohmann::ordered_json& object : array)
        object["version"] = CheckAnswerVersion;
    if (answer != nullptr)
        *answer = array;
    return JsonAnswerText(array);
}

// Adds to the prediction's findings what the launcher's signature and that of the program it
// starts say (inImage: the medium is a disc image, whose files carry the mark of the web when
// copied from a download); programSignature gets the program's as JSON, null when there is none
// to read. False when either signature is broken.
bool AddSignatureFindings(const FoundLauncher& found, bool inImage, Prediction& prediction,
                      nlohmann::ordered_json& programSignature)
{
    bool noneBroken = true;
    const SignatureInfo& signature = found.signature;
    if (signature.state == SignatureState::Broken) {
        prediction.findings.push_back("Signature broken: " + signature.problem +
                                      ". Windows says \"The digital signature of this object did not verify\", which "
                                      "is worse than no signature: sign it again.");
        noneBroken = false;
    }
    if (!found.isSigned) {
        prediction.findings.push_back(UnsignedNote);
        if (inImage)
            prediction.findings.push_back(MarkOfTheWeb("the launcher"));
    }
    const std::optional<SignatureInfo> read =
        prediction.starts.empty() ? std::nullopt : ProgramSignature(*found.place, prediction.startsBelow);
    if (read) {
        const SignatureInfo& program = *read;
        programSignature = SignatureJson(program);
        // An unsigned launcher is told to be signed first (UnsignedNote); once it is, the
        // program it starts must be too.
        if (program.state == SignatureState::NotSigned && signature.state == SignatureState::Signed)
            prediction.findings.push_back(UnsignedProgramNote);
        if (program.state == SignatureState::NotSigned && inImage)
            prediction.findings.push_back(MarkOfTheWeb(prediction.starts));
        if (program.state == SignatureState::Broken) {
            prediction.findings.push_back("The program it starts has a broken signature: " + program.problem +
                                          ". Windows says \"The digital signature of this object did not verify\": "
                                          "sign it again.");
            noneBroken = false;
        }
    }
    return noneBroken;
}

// Predicts each launcher found, on its medium, then checks the medium's autorun.inf and
// leftovers when there is one medium (root), and prints it all.
int Report(const CheckOptions& options, const MediumPlace* root, const std::vector<FoundLauncher>& launchers,
           bool allRead, std::string& out, std::string& err, CheckSummary& summed, nlohmann::ordered_json* answer,
           std::map<const MediumPlace*, MediumFolders>& folders)
{
    const char drive = NamedDriveLetter(options.drive);
    nlohmann::ordered_json array = nlohmann::ordered_json::array();
    bool allOk = allRead;
    if (root != nullptr)
        allOk = DescribePlace(options, *root, out, array) && allOk;
    std::vector<Prediction> predictions;
    for (const FoundLauncher& found : launchers) {
        LauncherOnMedium launcher;
        launcher.fileName = found.fileName;
        launcher.launchDirectory = found.launchDirectory;
        launcher.drive = drive;
        launcher.codePage = options.codePage;
        launcher.thirtyTwoBit = found.thirtyTwoBit;
        MediumFolders& medium = folders.try_emplace(found.place, *found.place).first->second;
        Prediction prediction = PredictLaunch(launcher, medium);
        const bool counts = options.statusOf.empty() || SameComponent(found.fileName, options.statusOf);
        allOk = allOk && (prediction.verdict == Verdict::Ok || !counts);
        const SignatureInfo& signature = found.signature;
        nlohmann::ordered_json programSignature;
        if (!AddSignatureFindings(found, root != nullptr && root->Facts().image, prediction, programSignature))
            allOk = allOk && !counts;
        const bool whole = signature.state == SignatureState::Signed;
        if (options.json) {
            nlohmann::ordered_json element = AsJson(prediction, whole);
            element["signature"] = SignatureJson(signature);
            element["program_signature"] = programSignature;
            array.push_back(element);
        } else {
            out += Describe(prediction);
            if (whole)
                out += "  " + SignatureLine(signature) + "\n  " + SignatureMeaning + "\n";
        }
        summed.signatures.push_back(signature);
        summed.signatureLines.push_back(SignatureLine(signature));
        predictions.push_back(prediction);
        summed.counts.push_back(counts);
    }
    if (root != nullptr) {
        MediumFolders& medium = folders.try_emplace(root, *root).first->second;
        allOk = CheckAutorun(options, medium, drive, predictions, out, array, err, summed.autorun) && allOk;
        allOk = CheckLeftovers(options, medium, drive, out, array, summed.leftovers) && allOk;
    }
    summed.launchers = std::move(predictions);
    if (options.json)
        out += Answer(array, answer);
    return allOk ? 0 : 1;
}

}  // namespace

int CheckPlace(const CheckOptions& options, const MediumPlace& place, std::string& out, std::string& err,
               CheckSummary* summary, nlohmann::ordered_json* answer)
{
    CheckSummary unused;
    std::map<const MediumPlace*, MediumFolders> folders;  // one listing of each folder in a run
    std::vector<FoundLauncher> launchers;
    const bool allRead = FindLaunchers(folders.try_emplace(&place, place).first->second, launchers, err);
    return Report(options, &place, launchers, allRead, out, err, summary ? *summary : unused, answer, folders);
}

int CheckMedium(const CheckOptions& options, const std::string& path, const MediumPlace* place,
                const std::string& reason, std::string& out, std::string& err, CheckSummary* summary,
                nlohmann::ordered_json* answer)
{
    if (place == nullptr) {
        err += "launcher-stamp: " + path + ": " + reason + "\n";
        return 1;
    }
    if (!place->Facts().notCheckable.empty()) {
        const std::string finding = place->Facts().notCheckable +
                                    " What to do: make the image with UDF 1.02 to 2.01 or without UDF, or check "
                                    "the folder it is made from.";
        nlohmann::ordered_json array = nlohmann::ordered_json::array(
            {{{"image", path}, {"verdict", "not-checkable"}, {"findings", {finding}}}});
        if (options.json)
            out += Answer(array, answer);
        else
            out += path + ": not-checkable\n  " + finding + "\n";
        return 1;
    }
    if (!options.disc.empty() && !place->Facts().image)
        err += "launcher-stamp: note: --disc applies to a disc image; " + path + " is a folder\n";
    return CheckPlace(options, *place, out, err, summary, answer);
}

int RunCheck(const CheckOptions& options, std::string& out, std::string& err, CheckSummary* summary,
             nlohmann::ordered_json* answer)
{
    CheckSummary unused;
    CheckSummary& summed = summary ? *summary : unused;
    if (!IsDriveLetter(options.drive)) {
        err += "launcher-stamp: --drive takes a drive letter, such as D:\n";
        return 2;
    }
    if (!options.disc.empty() && DiscNamed(options.disc) == nullptr) {
        err += "launcher-stamp: --disc takes " + DiscNames() + "\n";
        return 2;
    }
    // One medium: a folder, or a disc image known by its volume descriptors whatever its name.
    if (options.paths.size() == 1) {
        const OpenedMedium medium = OpenMedium(options.paths[0], options.codePage);
        if (medium.place != nullptr || !medium.reason.empty())
            return CheckMedium(options, options.paths[0], medium.place.get(), medium.reason, out, err, &summed, answer);
    }
    // Launchers named, each with its own folder as the medium's root.
    std::vector<FoundLauncher> launchers;
    std::vector<std::unique_ptr<MediumPlace>> places;
    const bool allRead = FindNamedLaunchers(options.paths, places, launchers, err);
    std::map<const MediumPlace*, MediumFolders> folders;  // one listing of each folder in a run
    return Report(options, nullptr, launchers, allRead, out, err, summed, answer, folders);
}

nlohmann::ordered_json SignatureJson(const SignatureInfo& info)
{
    return {{"state", SignatureStateName(info.state)},
            {"algorithm", TextOrNull(info.algorithm)},
            {"signer", TextOrNull(info.signer)},
            {"timestamped", info.timestamped},
            {"problem", TextOrNull(info.state == SignatureState::Broken ? info.problem : std::string())},
            {"timestamp_problem", TextOrNull(info.timestamped ? std::string() : info.timestampProblem)}};
}

SignatureInfo SignatureOfFile(const std::string& path, std::string& error)
{
    std::error_code failed;
    const std::uint64_t size = std::filesystem::file_size(std::filesystem::u8path(path), failed);
    if (failed) {
        error = failed.message();
        return {};
    }
    return ReadSignature(
        [&path](std::uint64_t offset, std::size_t count, Bytes& bytes, std::string& reason) {
            return ReadFilePart(path, offset, count, bytes, reason);
        },
        size);
}
