// Predicting what a launcher on a medium starts, modelled on Windows' own rules.
#include "medium/launch_check.h"

#include "base/unicode.h"
#include "base/windows_path.h"
#include "medium/program_file.h"

#include <algorithm>

namespace {

constexpr std::size_t MaxPath = 260;  // a current directory this long or longer is refused

bool IsSeparator(char c)
{
    return c == '\\' || c == '/';
}

std::string Join(const std::vector<std::string>& components, std::size_t count)
{
    std::string path;
    for (std::size_t i = 0; i < count; ++i)
        path += (i == 0 ? "" : "\\") + components[i];
    return path;
}

// The launch directory name resolved as Windows resolves it against a current directory
// (current, its components below the medium's root): "\\x" and "D:\\x" from the root, "x"
// and "D:x" from current. False with a finding for a name on another drive or a network path,
// which cannot be seen from here.
bool ResolveLaunchDirectory(const std::string& name, char drive, const std::vector<std::string>& current,
                            std::vector<std::string>& components, std::string& finding)
{
    std::string rest = name;
    if (rest.size() >= 2 && IsSeparator(rest[0]) && IsSeparator(rest[1])) {
        finding = "The launch directory \"" + name + "\" is a network or device path, which cannot be seen from here.";
        return false;
    }
    if (const char letter = DriveLetterOf(rest); letter != 0) {
        if (letter != drive) {
            finding = "The launch directory \"" + name + "\" lies on drive " + std::string(1, letter) +
                      ":, not on the medium (drive " + std::string(1, drive) + ":), so it cannot be seen from here.";
            return false;
        }
        rest = rest.substr(2);
    }
    components = NormalisePath(current, rest);
    return true;
}


// What a program receives of an unquoted command that holds a space, in words.
std::string ReceivedFinding(const ReceivedCommandLine& received)
{
    std::string arguments;
    for (std::size_t i = 1; i < received.argv.size(); ++i)
        arguments += (i == 1 ? "\"" : " \"") + received.argv[i] + "\"";
    return "Windows hands the program its command line unquoted: a program that splits it as the C runtime "
           "does sees \"" + received.argv[0] + "\" as its own path and the arguments " + arguments +
           ". A folder name without spaces avoids this, and the risk that another file starts first.";
}

// Why the folder components[missingAt] below root is not there, in words: a folder whose name
// ends in a dot or space, which Windows cannot reach, or none at all.
std::string WhyFolderIsMissing(MediumFolders& folders, const std::vector<std::string>& components,
                               std::size_t missingAt, const std::string& driveRoot)
{
    const std::string& missing = components[missingAt];
    const Found parent = FindOnMedium(
        folders, std::vector<std::string>(components.begin(), components.begin() + static_cast<std::ptrdiff_t>(missingAt)));
    if (parent.exists && parent.isFolder) {
        for (const auto& [folded, entries] : folders.Entries(parent.below)) {
            for (const FolderEntry& entry : entries) {
                if (entry.isFolder && entry.name != TrimmedComponent(entry.name) &&
                    FoldCase(TrimmedComponent(entry.name)) == FoldCase(TrimmedComponent(missing)))
                    return "The folder \"" + entry.name + "\" ends in a dot or space, which Windows drops, so it "
                           "cannot reach it. What to do: rename it to \"" + TrimmedComponent(missing) + "\".";
            }
        }
    }
    return "There is no folder " + driveRoot + Join(components, missingAt + 1) + " on the medium.";
}

// What the copies of a launcher that started itself do (self is the launcher, entered the
// launch directory's components, command the command it handed on). Each copy starts in the
// folder the one before it entered, with that one's command as its command line, enters the
// launch directory resolved from there and runs the command built there: a copy that cannot
// enter it shows the message box once; one that enters a folder a copy before it entered
// starts itself again and again.
std::string WhatCopiesDo(MediumFolders& folders, const LauncherOnMedium& launcher, const std::string& launchDirectory,
                         std::string command, const Found& self, std::vector<std::string> entered)
{
    constexpr int MostCopiesFollowed = 16;
    const std::string driveRoot = std::string(1, launcher.drive) + ":\\";
    std::vector<std::vector<std::string>> visited{entered};
    for (int copy = 0; copy < MostCopiesFollowed; ++copy) {
        // The copy's own name, from the command line it was given ("A.B" from "D:\\x\\A.B").
        std::string bytes, name, error;
        ToCodePage(command, launcher.codePage, bytes, error);
        std::string nameBytes = TargetName(bytes, launcher.codePage);
        std::replace(nameBytes.begin(), nameBytes.end(), '\xA0', ' ');
        FromCodePage(nameBytes, launcher.codePage, name, error);
        std::vector<std::string> next;
        std::string finding;
        ResolveLaunchDirectory(launchDirectory, launcher.drive, entered, next, finding);
        const std::string from = driveRoot + Join(entered, entered.size());
        const std::string to = driveRoot + Join(next, next.size());
        const Found directory = FindOnMedium(folders, next);
        if (!directory.exists || !directory.isFolder)
            return "The copy it starts begins in " + from + ", from where the launch directory \"" + launchDirectory +
                   "\" leads to " + to + ", which is not there: that copy shows the message Failed changing directory "
                   "to \"" + launchDirectory + "\". once, and nothing else starts.";
        if (std::find(visited.begin(), visited.end(), next) != visited.end())
            return "The copy it starts enters " + to + " again and finds itself again, and so does every copy after "
                   "it: the launcher starts itself again and again, without end.";
        std::string arguments;
        command = (to.back() == '\\' ? to : to + "\\") + name;
        const Found picked = FirstCandidate(folders, launcher.service, command, arguments);
        if (!picked.exists || picked.below != self.below)
            return "The copy it starts enters " + to + " and starts " +
                   (picked.exists ? driveRoot + picked.Disk() : std::string("nothing")) + " from there.";
        visited.push_back(next);
        entered = next;
    }
    return "Each copy it starts enters another folder and starts itself again, more than " +
           std::to_string(MostCopiesFollowed) + " times.";
}

// Adds a finding to p whose advice a command carries out.
void AddRemedy(Prediction& p, const std::string& finding, Remedy remedy)
{
    p.remedies[p.findings.size()] = remedy;
    p.findings.push_back(finding);
}

// Adds to p the sentences that explain its verdict and say what to do; copies says what the
// copies of a launcher that starts itself do.
void Explain(Prediction& p, const std::string& directoryPath, const std::string& intended, const std::string& name,
             const std::string& copies)
{
    const bool nameHasSpace = name.find(' ') != std::string::npos;
    switch (p.verdict) {
    case Verdict::Ok:
        break;
    case Verdict::Hijacked:
        p.findings.push_back("Windows reads the unquoted command " + p.command + " from the left and finds " +
                             p.starts + " first, outside the launch directory, so it starts that file" +
                             (p.arguments.empty() ? "." : " with the arguments \"" + p.arguments + "\"."));
        AddRemedy(p, "What to do: rename or remove " + p.starts + ", or give the launch directory a name without spaces.",
                  Remedy::SetLaunchDirectory);
        break;
    case Verdict::WrongProgram:
        p.findings.push_back(std::string(nameHasSpace ? "The launcher's name holds a space, so " : "") +
                             "Windows starts " + p.starts + (p.arguments.empty() ? "" : " with the arguments \"" +
                             p.arguments + "\"") + " instead of " + intended + ".");
        p.findings.push_back("What to do: rename or remove " + p.starts + ", or rename " + p.launcher +
                             " and its program so that their names hold no space.");
        break;
    case Verdict::NothingStarts:
        p.findings.push_back("No file " + intended + " exists, so the launcher ends without starting anything "
                             "and without a message.");
        if (HasExtension(name))
            p.findings.push_back("The launcher's name gives the program name \"" + name +
                                 "\", which has an extension of its own, so Windows appends no .exe to it.");
        p.findings.push_back("What to do: put the program at " + intended + ", or rename " + p.launcher +
                             " after the program in " + directoryPath + ".");
        break;
    case Verdict::StartsItself:
        if (directoryPath.size() > 3) {
            p.findings.push_back("Windows reads the unquoted command " + p.command + " from the left and finds the "
                                 "launcher itself, " + p.starts + ", first, so the launcher starts itself.");
            p.findings.push_back(copies);
            p.findings.push_back("What to do: rename the folder of " + directoryPath + " that holds a space, or the "
                                 "launcher and its program, so that no part of the command up to a space names " +
                                 p.starts + ".");
            break;
        }
        p.findings.push_back("The launch directory leads back to the launcher's own folder, the medium's root, so "
                             "the launcher starts itself.");
        p.findings.push_back(copies);
        AddRemedy(p, "What to do: set a launch directory that leads elsewhere.", Remedy::SetLaunchDirectory);
        break;
    case Verdict::CannotRun:
    case Verdict::DirectoryMissing:
    case Verdict::NotCheckable:
        break;
    }
}

}  // namespace

const char* VerdictName(Verdict verdict)
{
    switch (verdict) {
    case Verdict::Ok: return "ok";
    case Verdict::Hijacked: return "hijacked";
    case Verdict::WrongProgram: return "wrong-program";
    case Verdict::NothingStarts: return "nothing-starts";
    case Verdict::DirectoryMissing: return "directory-missing";
    case Verdict::StartsItself: return "starts-itself";
    case Verdict::CannotRun: return "cannot-run";
    case Verdict::NotCheckable: return "not-checkable";
    }
    return "not-checkable";
}

namespace {

// What PredictLaunch finds on the launcher's way, step by step.
struct LaunchWay {
    std::string driveRoot;                // such as "D:\"
    std::string nameBytes;                // the name the launcher builds, in its code page
    std::vector<std::string> components;  // the launch directory's, below the root
    std::string directoryPath;            // the launch directory, from the drive's root
    std::string directoryBytes;           // and in the code page
    Found directory;
    std::string name;  // the name the launcher builds, as text
    Found intended, picked, self;
    std::string intendedText;  // the program the name means, as found or as meant
    std::string cannotRun;     // why Windows cannot run the file the command names
    std::string copies;        // what the copies of a launcher that starts itself do
};

// The stored launch directory as text (p.launchDirectory) and the name the launcher builds (in
// way.nameBytes). False when either cannot be had, with p's findings saying why.
bool ReadNameBytes(Prediction& p, const LauncherOnMedium& launcher, LaunchWay& way)
{
    std::string error;
    if (!FromCodePage(launcher.launchDirectory, launcher.codePage, p.launchDirectory, error)) {
        p.findings.push_back("The stored launch directory is not text in code page " +
                             std::to_string(launcher.codePage) + ".");
        return false;
    }

    // The name comes from the launcher's own quoted path, in the ANSI code page.
    std::string launcherBytes;
    if (!ToCodePage(launcher.fileName, launcher.codePage, launcherBytes, error)) {
        p.findings.push_back("The launcher's file name holds characters that have no place in code page " +
                             std::to_string(launcher.codePage) +
                             ": Windows hands them to the launcher as other characters. What to do: rename it.");
        return false;
    }
    way.nameBytes = TargetName("\"" + way.driveRoot + launcherBytes + "\"", launcher.codePage);
    std::string corrupted;
    if (RewriteCorruptsName(way.nameBytes, launcher.codePage, corrupted)) {
        p.verdict = Verdict::NothingStarts;
        p.findings.push_back("The launcher turns every byte 0xA0 of its name into a space; in code page " +
                             std::to_string(launcher.codePage) + " that byte is part of " + corrupted +
                             ", so the name it builds is not its program's and nothing starts.");
        p.findings.push_back("What to do: rename " + p.launcher + " and its program without " + corrupted + ".");
        return false;
    }
    std::replace(way.nameBytes.begin(), way.nameBytes.end(), '\xA0', ' ');
    return true;
}

// The launch directory on the medium. False when the launcher cannot change to it, with p's
// verdict and findings saying why.
bool FindLaunchFolder(Prediction& p, const LauncherOnMedium& launcher, MediumFolders& folders, LaunchWay& way)
{
    std::string finding, error;
    if (!ResolveLaunchDirectory(p.launchDirectory, launcher.drive, {}, way.components, finding)) {
        p.findings.push_back(finding);
        return false;
    }
    way.directoryPath = way.driveRoot + Join(way.components, way.components.size());
    ToCodePage(way.directoryPath, launcher.codePage, way.directoryBytes, error);
    way.directory = FindOnMedium(folders, way.components);
    const Found& directory = way.directory;
    if (directory.exists && directory.isFolder && way.directoryBytes.size() < MaxPath)
        return true;
    p.verdict = Verdict::DirectoryMissing;
    if (way.directoryBytes.size() >= MaxPath) {
        p.findings.push_back("The launch directory's path " + way.directoryPath + " takes " +
                             std::to_string(way.directoryBytes.size()) +
                             " bytes; the launcher reads a current directory of at most 259.");
    } else if (directory.exists) {
        p.findings.push_back(way.directoryPath + " is a file, not a folder.");
    } else {
        p.findings.push_back(WhyFolderIsMissing(folders, way.components, directory.missingAt, way.driveRoot));
    }
    if (const std::string reading = HowWindowsReadsComponents(p.launchDirectory); !reading.empty())
        p.findings.push_back(reading);
    AddRemedy(p, "The launcher shows the message Failed changing directory to \"" + p.launchDirectory +
                     "\". and starts nothing. What to do: create the folder, or set another launch directory.",
              Remedy::SetLaunchDirectory);
    return false;
}

// The command as the launcher builds it from the current directory and the name (p.command,
// way.name). False when it is no text, with p's findings saying so.
bool BuildCommand(Prediction& p, const LauncherOnMedium& launcher, LaunchWay& way)
{
    std::string commandBytes = way.directoryBytes;
    if (commandBytes.back() != '\\')
        commandBytes += '\\';
    commandBytes += way.nameBytes;
    std::string error;
    if (!FromCodePage(commandBytes, launcher.codePage, p.command, error) ||
        !FromCodePage(way.nameBytes, launcher.codePage, way.name, error)) {
        p.findings.push_back("The launcher's name does not cut into whole characters of code page " +
                             std::to_string(launcher.codePage) + ".");
        return false;
    }
    return true;
}

// What Windows picks for the command, against what the name means, and the verdict of that.
void ChooseProgram(Prediction& p, const LauncherOnMedium& launcher, MediumFolders& folders, LaunchWay& way)
{
    const std::string intendedPath = p.command + (HasExtension(way.name) ? "" : ".exe");
    way.intended = FindOnMedium(folders, BelowRoot(intendedPath));
    way.intendedText = way.intended.exists ? way.driveRoot + way.intended.Disk() : intendedPath;

    way.picked = FirstCandidate(folders, launcher.service, p.command, p.arguments);
    way.self = FindOnMedium(folders, {launcher.fileName});
    const Found& picked = way.picked;
    if (!picked.exists) {
        p.verdict = Verdict::NothingStarts;
        return;
    }
    p.starts = way.driveRoot + picked.Disk();
    p.startsBelow = picked.below;
    const std::size_t slash = picked.Disk().rfind('\\');
    const bool inLaunchDirectory = (slash == std::string::npos ? "" : picked.Disk().substr(0, slash)) == way.directory.Disk();
    p.received = SplitLikeTheCRuntime(p.command);
    if (way.self.exists && picked.below == way.self.below) {
        p.verdict = Verdict::StartsItself;
        way.copies = WhatCopiesDo(folders, launcher, p.launchDirectory, p.command, way.self, way.components);
        return;
    }
    bool unreadable = false;
    way.cannotRun = WhyStartedFileCannotRun(folders.place(), picked.below, p.starts, p.command, &unreadable);
    if (unreadable)
        p.verdict = Verdict::NotCheckable;
    else if (way.intended.exists && picked.below == way.intended.below && p.arguments.empty())
        p.verdict = way.cannotRun.empty() ? Verdict::Ok : Verdict::CannotRun;
    else if (!way.cannotRun.empty())
        p.verdict = Verdict::CannotRun;
    else
        p.verdict = inLaunchDirectory ? Verdict::WrongProgram : Verdict::Hijacked;
}

// The findings of the verdict: why it cannot run, and what a medium made elsewhere may hold that
// Windows cannot start.
void VerdictFindings(Prediction& p, const LaunchWay& way)
{
    if (p.verdict == Verdict::NotCheckable && !way.cannotRun.empty())
        p.findings.push_back(way.cannotRun);
    if (p.verdict == Verdict::CannotRun) {
        if (way.picked.below != way.intended.below || !p.arguments.empty())
            p.findings.push_back("Windows reads the unquoted command " + p.command + " from the left and finds " +
                                 p.starts + " first, in place of " + way.intendedText + ".");
        p.findings.push_back(way.cannotRun);
        p.findings.push_back("Nothing starts: the launcher ends without a message.");
    }
    if (p.verdict == Verdict::Ok) {
        std::string unheld;
        const std::vector<std::string> names = SplitPathComponents(way.intended.Disk());
        for (std::size_t i = 0; i < names.size() && unheld.empty(); ++i)
            unheld = WhyWindowsCannotHold(names[i], i + 1 == names.size());
        if (const std::string tooLong = WhyPathIsTooLong(p.starts); !tooLong.empty()) {
            p.verdict = Verdict::NothingStarts;
            p.findings.push_back(tooLong);
        } else if (!unheld.empty()) {
            p.verdict = Verdict::CannotRun;
            p.findings.push_back(unheld);
        }
    }
}

// Names on the launcher's way that differ only in letter case: Windows holds one of each, so
// nothing can be told.
void TwinFindings(Prediction& p, const LaunchWay& way)
{
    for (const Found* found : {&way.directory, &way.intended, &way.picked, &way.self}) {
        if (found->twin.empty())
            continue;
        p.verdict = Verdict::NotCheckable;
        p.remedies.clear();
        p.findings = {way.driveRoot + found->twinOf + " and " + way.driveRoot + found->twin +
                      " differ only in letter case. "
                      "Windows holds one of them, and which one a copy or a disc image keeps is not known, so "
                      "what this launcher starts cannot be told. What to do: rename or remove one of them."};
        break;
    }
}

// What a launch that is ok may yet want known: the 32-bit cmd, the arguments the program
// receives, the oldest Windows it runs on, administrator rights.
void OkNotes(Prediction& p, const LauncherOnMedium& launcher, MediumFolders& folders, const LaunchWay& way)
{
    if (p.verdict == Verdict::Ok && IsBatchFileName(p.starts) && launcher.thirtyTwoBit)
        AddRemedy(p, "The 32-bit launcher runs a batch file in the 32-bit cmd on 64-bit Windows, which sees the "
                     "32-bit views of the system folder and registry; choose the 64-bit launcher where that matters.",
                  Remedy::SixtyFourBitLauncher);
    if (p.verdict == Verdict::Ok && !IsBatchFileName(p.starts) && p.received->argv.size() > 1)
        p.findings.push_back(ReceivedFinding(*p.received));
    if (p.verdict == Verdict::Ok && !IsBatchFileName(p.starts)) {
        if (const std::string note = OldestWindowsNote(folders.place(), way.picked.below, p.starts); !note.empty())
            p.findings.push_back(note);
    }
    if (p.verdict == Verdict::Ok) {
        const std::string reason = ElevationReason(folders.place(), way.intended.below, BelowRoot(p.starts).back());
        if (!reason.empty())
            p.findings.push_back("Windows asks for administrator rights before " + p.starts + " starts (" + reason +
                                 "); the launcher hands it to the shell, which asks.");
    }
}

}  // namespace

Prediction PredictLaunch(const LauncherOnMedium& launcher, MediumFolders& folders)
{
    Prediction p;
    LaunchWay way;
    way.driveRoot = std::string(1, launcher.drive) + ":\\";
    p.launcher = way.driveRoot + launcher.fileName;
    if (!ReadNameBytes(p, launcher, way) || !FindLaunchFolder(p, launcher, folders, way) || !BuildCommand(p, launcher, way))
        return p;
    ChooseProgram(p, launcher, folders, way);
    Explain(p, way.directoryPath, way.intendedText, way.name, way.copies);
    VerdictFindings(p, way);
    TwinFindings(p, way);
    OkNotes(p, launcher, folders, way);
    return p;
}
