// The window's choices apart from the window: its starting point, the programs it offers, the
// report's first line.
#include "window/medium_choices.h"

#include "window/make_medium_ids.h"

#include "base/windows_path.h"
#include "medium/medium_place.h"
#include "medium/program_file.h"
#include "pe/launcher_file.h"
#include "system/system.h"

#include <algorithm>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

// The names an author gives the program a medium is for, folded, without extension.
bool LooksLikeSetup(const std::string& fileName)
{
    std::string stem = FoldCase(fileName);
    stem = stem.substr(0, stem.rfind('.'));
    for (const char* word : {"SETUP", "INSTALL", "AUTORUN"}) {
        if (stem.compare(0, std::char_traits<char>::length(word), word) == 0)
            return true;
    }
    return false;
}

// Whether the file at below is a launcher of ours, by its headers and its size (asked of the file).
bool IsOurLauncher(const MediumPlace& place, const std::vector<std::string>& below)
{
    Bytes start;
    std::string error;
    std::uint64_t size = 0;
    return ReadStart(place, below, LauncherHeaderBytes, start, error) && place.Size(below, size, error) &&
           IsLauncherHeader(start, size);
}

// What a verdict means for the author, after the launcher's name.
std::string InWords(const Prediction& p)
{
    switch (p.verdict) {
    case Verdict::Ok: return "starts " + p.starts;
    case Verdict::Hijacked:
    case Verdict::WrongProgram: return "starts " + p.starts + " instead of its program";
    case Verdict::NothingStarts: return "starts nothing";
    case Verdict::DirectoryMissing: return "shows its message box: its program's folder cannot be entered";
    case Verdict::StartsItself: return "starts itself instead of its program";
    case Verdict::CannotRun: return "finds " + (p.starts.empty() ? std::string("its program") : p.starts) +
                                    ", which Windows cannot run";
    case Verdict::NotCheckable: return "cannot be checked from here";
    }
    return "cannot be checked from here";
}

}  // namespace

StartingPoint StartingPointFor(const std::vector<std::string>& arguments)
{
    if (arguments.size() != 1 || arguments[0].empty())
        return {};
    std::error_code ignored;
    const fs::path given = fs::u8path(arguments[0]);
    // Only what it is counts here, not its names, so any code page does.
    const MediumKind kind = MediumKindAt(arguments[0]);
    if (kind == MediumKind::Folder)
        return {arguments[0], {}, false, {}};
    if (!fs::is_regular_file(given, ignored))
        return {};
    if (const std::string extension = given.extension().u8string(); FoldCase(extension) == FoldCase(".toml"))
        return {{}, {}, false, arguments[0]};
    if (kind == MediumKind::Image)
        return {arguments[0], {}, true, {}};
    const fs::path absolute = fs::absolute(given, ignored);
    const fs::path folder = absolute.parent_path();
    const bool hasParent = folder.has_relative_path() && folder.parent_path() != folder;
    return {(hasParent ? folder.parent_path() : folder).u8string(), absolute.u8string(), false, {}};
}

void RankCandidates(std::vector<Candidate>& candidates)
{
    auto key = [](const Candidate& c) {
        const std::size_t slash = c.relative.rfind('\\');
        const std::string name = slash == std::string::npos ? c.relative : c.relative.substr(slash + 1);
        return std::make_tuple(!LooksLikeSetup(name), c.depth, FoldCase(c.relative), c.relative);
    };
    std::stable_sort(candidates.begin(), candidates.end(),
                     [&key](const Candidate& a, const Candidate& b) { return key(a) < key(b); });
}

std::vector<Candidate> FindCandidates(const MediumPlace& place, const SearchLimits& limits,
                                      const std::atomic<bool>& stop, bool& cutShort)
{
    MediumFolders folders(place);
    return FindCandidates(folders, limits, stop, cutShort);
}

std::vector<Candidate> FindCandidates(MediumFolders& folders, const SearchLimits& limits,
                                      const std::atomic<bool>& stop, bool& cutShort)
{
    const MediumPlace& place = folders.place();
    std::vector<Candidate> found;
    cutShort = false;
    std::size_t seen = 0;
    // Breadth first, so that the limits cut off the deepest folders, not the shallow ones.
    struct Folder {
        std::vector<std::string> below;
        std::string relative;
        std::size_t depth;
    };
    std::vector<Folder> level{{{}, "", 0}};
    while (!level.empty() && !cutShort) {
        std::vector<Folder> next;
        for (const Folder& folder : level) {
            std::string error;
            const std::vector<FolderEntry>* entries = stop ? nullptr : folders.Sorted(folder.below, error);
            if (entries == nullptr) {
                cutShort = cutShort || stop;
                continue;
            }
            for (const FolderEntry& entry : *entries) {
                if (++seen > limits.entries || found.size() >= limits.found || stop) {
                    cutShort = true;
                    break;
                }
                std::vector<std::string> below = folder.below;
                below.push_back(entry.name);
                const std::string relative = folder.relative.empty() ? entry.name : folder.relative + "\\" + entry.name;
                if (entry.isFolder && folder.depth < limits.depth)
                    next.push_back({below, relative, folder.depth + 1});
                if (entry.isFile && folder.depth > 0 && entry.name.size() > 4 && IsStartableName(entry.name) &&
                    !IsTemporaryName(entry.name) && !IsOurLauncher(place, below))
                    found.push_back({place.Shown(below), relative, folder.depth, "", ""});
            }
            if (cutShort)
                break;
        }
        level = std::move(next);
    }
    RankCandidates(found);
    return found;
}

void JudgeCandidate(const MakeOptions& choice, Candidate& candidate, MediumFolders& folders)
{
    MakeOptions options = choice;
    options.program = candidate.path;
    LaunchPlan plan;
    std::string reason;
    if (!PlanLaunch(options, plan, reason)) {
        candidate.verdict = VerdictName(plan.refusedAs);
        candidate.says = reason;
        return;
    }
    LauncherOnMedium launcher;
    launcher.fileName = plan.launcherName;
    launcher.launchDirectory = plan.stored;
    launcher.drive = NamedDriveLetter(options.drive);
    launcher.codePage = options.codePage;
    launcher.thirtyTwoBit = options.arch == "x86";
    const Prediction prediction = PredictLaunch(launcher, folders);
    candidate.verdict = VerdictName(prediction.verdict);
    candidate.says.clear();
    if (prediction.verdict != Verdict::Ok) {
        candidate.says = prediction.findings.empty() ? InWords(prediction) : prediction.findings.front();
        return;
    }
    for (const std::string& finding : prediction.findings) {
        if (finding.find("administrator rights") != std::string::npos)
            candidate.says = "asks for administrator rights";
    }
}

std::string Headline(const CheckSummary& summary, const std::string& made, bool image)
{
    const std::string its = image ? "the image's " : "";
    std::vector<const Prediction*> counted;
    for (std::size_t i = 0; i < summary.launchers.size(); ++i) {
        if (i >= summary.counts.size() || summary.counts[i])
            counted.push_back(&summary.launchers[i]);
    }
    if (counted.empty() && image)
        return made.empty() ? "Not ready: no launcher of ours lies at the image's root."
                            : "Not ready: " + made + " was not found at the image's root after make.";
    if (counted.empty())
        return made.empty() ? "Not ready: no launcher of ours lies at the medium's root. Choose a program and press Make."
                            : "Not ready: " + made + " was not found at the medium's root after make.";
    for (const Prediction* p : counted) {
        if (p->verdict != Verdict::Ok)
            return "Not ready: " + its + p->launcher + " " + InWords(*p) + ". What to do is below.";
    }
    const std::string starts = counted.size() == 1 ? its + counted[0]->launcher + " " + InWords(*counted[0])
                                                   : "each of the " + (image ? std::string("image's ") : std::string()) +
                                                         std::to_string(counted.size()) + " launchers starts its program";
    if (!summary.autorun.empty())
        return "Almost ready: " + starts + ", but autorun.inf needs changes, listed below.";
    if (!summary.leftovers.empty())
        return "Almost ready: " + starts + ", but " + summary.leftovers.front() +
               " is not part of the medium: see below.";
    return "Ready: " + starts + ".";
}

std::string RefusalHeadline(const MakeOutcome& outcome)
{
    // The files of each fate, named.
    auto named = [&outcome](FileFate fate) {
        std::string list;
        for (const MadeFile& file : outcome.files) {
            if (file.fate == fate)
                list += (list.empty() ? "" : ", ") + file.path;
        }
        return list;
    };
    const std::string written = named(FileFate::Written), restored = named(FileFate::Restored),
                      left = named(FileFate::NotRestored);
    if (!left.empty())
        return "Not made, and the medium is half-made: " + left + " written, and what was there could not be given "
               "back: " + outcome.reason;
    if (!written.empty())
        return "Not made whole: " + written + " written and kept, then: " + outcome.reason;
    if (!restored.empty())
        return "Not made, nothing was changed: " + outcome.reason + " (" + restored + " given back as it was)";
    return "Not made, nothing was written: " + outcome.reason;
}

std::string CancelledHeadline(const MakeOutcome& outcome)
{
    const std::string prefix = "cancelled: ";
    const std::string said = outcome.reason.compare(0, prefix.size(), prefix) == 0 ? outcome.reason.substr(prefix.size())
                                                                                  : outcome.reason;
    return "Cancelled: " + said + ".";
}

std::string DefaultImagePath(const std::string& root, const std::string& label)
{
    const fs::path folder = fs::u8path(root).lexically_normal();
    // "C:\Media\" names C:\Media; a drive's root or "/" has no name, and nothing above it.
    const fs::path named = folder.has_filename() ? folder : folder.parent_path();
    if (!named.has_filename() || !named.has_parent_path() || named.parent_path() == named)
        return {};
    std::string name = named.filename().u8string();
    if (!label.empty() && WhyWindowsCannotHold(label).empty())
        name = label;
    return (named.parent_path() / fs::u8path(name + ".iso")).u8string();
}

MakeOptions OptionsFor(const DialogFields& fields)
{
    MakeOptions options;
    options.root = fields.root;
    options.program = fields.program;
    if (fields.icon == ICON_PICTURE)
        options.icon = fields.picture;
    options.launcherIcon = fields.icon == ICON_LAUNCHERS_OWN;
    options.label = fields.label;
    options.arch = fields.x64 ? "x64" : "x86";
    options.codePage = fields.codePage;
    options.autorun = fields.autorun;
    if (fields.image) {
        options.iso = fields.imagePath;
        options.disc = fields.disc;
    }
    // A field of blanks looks empty, and is taken as such.
    if (fields.signCommand.find_first_not_of(" \t") != std::string::npos)
        options.signCommand = fields.signCommand;
    options.showSignOutput = false;
    options.signTimeoutSeconds = WindowSignMinutes * 60;
    return options;
}

std::string MadeSignature(const CheckSummary& summary, const std::string& made)
{
    for (std::size_t i = 0; i < summary.launchers.size() && i < summary.signatureLines.size(); ++i) {
        if (!made.empty() && summary.launchers[i].launcher == made)
            return made + ": " + summary.signatureLines[i];
    }
    return {};
}

DialogFields FieldsFor(const MakeOptions& options)
{
    DialogFields fields;
    fields.root = options.root;
    const fs::path program = fs::u8path(options.program);
    fields.program = program.is_absolute() ? options.program : (fs::u8path(options.root) / program).make_preferred().u8string();
    fields.icon = options.launcherIcon ? ICON_LAUNCHERS_OWN : options.icon.empty() ? ICON_PROGRAMS_OWN : ICON_PICTURE;
    fields.picture = options.icon;
    fields.label = options.label;
    fields.x64 = options.arch == "x64";
    fields.codePage = options.codePage;
    fields.autorun = options.autorun;
    fields.image = !options.iso.empty();
    fields.imagePath = options.iso;
    fields.signCommand = options.signCommand;
    return fields;
}

MakeOptions OptionsForMediumFile(const std::string& file, const MakeOptions& fromFile, const DialogFields& fields)
{
    MakeOptions options = OptionsFor(fields);
    options.drive = fromFile.drive;
    options.disc = fromFile.disc;
    options.signTimeoutSeconds = fromFile.signTimeoutSeconds;
    options.requireTimestamp = fromFile.requireTimestamp;
    options.signRetries = fromFile.signRetries;
    options.mediumFile = file;
    return options;
}

std::vector<std::string> MediumFileArguments(const std::string& file, const MakeOptions& fromFile,
                                             const MakeOptions& options)
{
    std::vector<std::string> arguments = {"make", "--file", file};
    std::error_code ignored;
    const fs::path programPath = fs::u8path(fromFile.root) / fs::u8path(fromFile.program);
    const bool sameProgram = fs::u8path(options.program).lexically_normal() == programPath.lexically_normal() ||
                             fs::equivalent(fs::u8path(options.program), programPath, ignored);
    if (options.root != fromFile.root || !sameProgram)
        arguments.insert(arguments.begin() + 1, {options.root, options.program});
    // A key turned back to make's default has no option to say so.
    if ((options.autorun && !fromFile.autorun) || (options.iso.empty() && !fromFile.iso.empty()) ||
        (options.signCommand.empty() && !fromFile.signCommand.empty()) ||
        (!options.launcherIcon && options.icon.empty() && (fromFile.launcherIcon || !fromFile.icon.empty())))
        return {};
    if (options.launcherIcon != fromFile.launcherIcon || options.icon != fromFile.icon) {
        if (options.launcherIcon)
            arguments.push_back("--launcher-icon");
        else
            arguments.insert(arguments.end(), {"--icon", options.icon});
    }
    if (options.label != fromFile.label)
        arguments.insert(arguments.end(), {"--label", options.label});
    if (options.arch != fromFile.arch)
        arguments.insert(arguments.end(), {"--arch", options.arch});
    if (options.codePage != fromFile.codePage)
        arguments.insert(arguments.end(), {"--codepage", std::to_string(options.codePage)});
    if (options.autorun != fromFile.autorun && !options.autorun)
        arguments.push_back("--no-autorun");
    if (options.iso != fromFile.iso && !options.iso.empty())
        arguments.insert(arguments.end(), {"--iso", options.iso});
    if (options.signCommand != fromFile.signCommand && !options.signCommand.empty())
        arguments.insert(arguments.end(), {"--sign", options.signCommand});
    return arguments;
}
