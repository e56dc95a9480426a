// Predicting what a launcher on a medium starts, modelled on Windows' own rules.
#include "medium/launch_check.h"

#include "double_byte.h"
#include "pe/executable_format.h"
#include "pe/run_level.h"
#include "system/system.h"
#include "target_name.h"
#include "base/unicode.h"
#include "base/windows_path.h"

#include <algorithm>

namespace {

constexpr std::size_t MaxPath = 260;  // a current directory this long or longer is refused

// The double-byte code pages: the launcher finds lead bytes in their OEM code page.
bool IsDoubleByteCodePage(unsigned codePage)
{
    return codePage == 932 || codePage == 936 || codePage == 949 || codePage == 950 || codePage == 1361;
}

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

// A path below the medium's root, found on disk.
struct Found {
    bool exists = false;
    bool isFolder = false;
    std::string host;  // the host path
    std::string disk;  // the components joined by backslashes, each named as on disk
    std::size_t missingAt = 0;  // when not found: the first component that is not there
    std::string twinOf;  // when a component matched two names on disk: the one taken, as disk
    std::string twin;    // and the other one
};

// Looks components (normalised, see NormalisePath) up below root one by one, as Windows
// would: letter case ignored. Every component but the last must be a folder. Of names that
// differ only in letter case the first in name order is taken, and the other named in twin.
Found FindOnMedium(MediumFolders& folders, const std::string& root, const std::vector<std::string>& components)
{
    Found found;
    found.host = root;
    found.isFolder = true;
    found.exists = true;
    for (std::size_t i = 0; i < components.size(); ++i) {
        static const std::vector<FolderEntry> none;
        const std::vector<FolderEntry>& matches = found.isFolder ? folders.Matches(found.host, components[i]) : none;
        if (matches.empty()) {
            found = Found();
            found.missingAt = i;
            return found;
        }
        const std::string parent = found.disk.empty() ? "" : found.disk + "\\";
        if (matches.size() > 1 && found.twin.empty()) {
            found.twinOf = parent + matches[0].name;
            found.twin = parent + matches[1].name;
        }
        found.host = ChildPath(found.host, matches[0].name);
        found.disk = parent + matches[0].name;
        found.isFolder = matches[0].isFolder;
    }
    return found;
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
    if (rest.size() >= 2 && rest[1] == ':') {
        const char letter = static_cast<char>(rest[0] & ~0x20);
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

// The name ExtractTargetName gives for a command line, in the double-byte mode of codePage,
// before the launcher rewrites its bytes 0xA0.
std::string TargetName(const std::string& commandLine, unsigned codePage)
{
    const bool previous = DoubleByteMode;
    DoubleByteMode = IsDoubleByteCodePage(codePage);
    char name[MaxTargetNameLength + 1];
    ExtractTargetName(commandLine.c_str(), name);
    DoubleByteMode = previous;
    return name;
}

// Why Windows cannot run the file at host (named as shown), which the command starts, or
// empty when it can (or when its bytes cannot be read): a batch file cmd cannot find behind the
// quotes it drops, or a file WhyProgramCannotRun names.
std::string WhyItCannotRun(const std::string& host, const std::string& shown, const std::string& command)
{
    if (!IsBatchFileName(shown))
        return WhyProgramCannotRun(host, shown);
    if (CmdRunsBatchFile(command))
        return "";
    return "Windows runs " + shown + " as cmd /c \"" + command + "\"; cmd keeps those quotes only around a "
           "path with a space and none of " + CmdSpecialCharacters + ", and unquoted the path breaks at a space "
           "or one of " + CmdBreakingCharacters + ", so cmd does not find the batch file. What to do: rename its "
           "folder (or the batch file) so that its path holds none of " + CmdSpecialCharacters + ".";
}

bool HasExtension(const std::string& path)
{
    const std::size_t slash = path.find_last_of('\\');
    const std::string last = slash == std::string::npos ? path : path.substr(slash + 1);
    return last.find('.') != std::string::npos;
}

// The files the start service tries for one candidate, in order.
std::vector<std::string> Tries(const std::string& candidate, StartService service)
{
    if (HasExtension(candidate))
        return {candidate};
    if (service == StartService::Wine)
        return {candidate + ".exe", candidate};
    return {candidate + ".exe"};
}

// The part of a Windows path below the drive's root, normalised as Windows normalises it
// ("D:\\a\\b." gives {"a", "b"}).
std::vector<std::string> BelowRoot(const std::string& windowsPath)
{
    return NormalisePath({}, windowsPath.substr(3));
}

// The file an unquoted command starts: read from the left, the text up to each space in turn,
// then the whole; the first candidate that is a file starts, with the rest as its arguments.
Found FirstCandidate(MediumFolders& folders, const LauncherOnMedium& launcher, const std::string& command,
                     std::string& arguments)
{
    for (std::size_t end = command.find(' ');; end = command.find(' ', end + 1)) {
        const std::string candidate = command.substr(0, end);
        for (const std::string& attempt : Tries(candidate, launcher.service)) {
            const Found file = FindOnMedium(folders, launcher.root, BelowRoot(attempt));
            if (file.exists && !file.isFolder) {
                arguments = end == std::string::npos ? std::string() : command.substr(end + 1);
                return file;
            }
        }
        if (end == std::string::npos)
            return Found();
    }
}

// Why Windows asks for administrator rights before it starts the program at host, named
// fileName, or empty when it does not (or when the file is no program that can be read): its
// manifest's run level, or, for a 32-bit program that states none, installer detection, which
// takes a program whose name holds one of its keywords for an installer.
std::string ElevationReason(const std::string& host, const std::string& fileName)
{
    constexpr std::size_t ResourcesReadLimit = 64u << 20;  // beyond this, not judged
    Bytes bytes;
    LauncherImage image;
    RunLevel level = RunLevel::Unstated;
    std::string error;
    if (!ReadProgramResources(host, ResourcesReadLimit, bytes, error))
        return "";
    if (!ProgramRunLevel(bytes, image, level, error))
        return "";
    if (level == RunLevel::RequireAdministrator)
        return "its manifest asks for requireAdministrator";
    if (level == RunLevel::HighestAvailable)
        return "its manifest asks for highestAvailable";
    constexpr std::uint16_t MachineI386 = 0x014C;
    if (level != RunLevel::Unstated || image.machine != MachineI386)
        return "";
    const std::string folded = FoldCase(fileName);
    for (const char* keyword : {"instal", "setup", "update", "patch"}) {
        if (folded.find(FoldCase(keyword)) != std::string::npos)
            return "Windows takes a 32-bit program without a run level whose name holds \"" + std::string(keyword) +
                   "\" for an installer";
    }
    return "";
}

// Why Windows cannot hold name as a file or folder name, with what to do, or empty: a
// character it forbids, a reserved device name, or, for the last name of a path, a dot or space
// at its end, which it drops (a folder inside a path keeps its spaces and loses one dot).
std::string WhyWindowsCannotHold(const std::string& name, bool last = true)
{
    const int forbidden = ForbiddenCharacter(name);
    if (forbidden >= 0)
        return "\"" + name + "\" holds " + (forbidden < 0x20 ? std::string("a control character")
                                                           : "'" + std::string(1, static_cast<char>(forbidden)) + "'") +
               ", which Windows forbids in a name. What to do: rename it.";
    if (!ReservedDeviceComponent(name).empty())
        return "\"" + name + "\" is a device name Windows reserves, which no program can be started from. What to "
               "do: rename it.";
    if (last && TrimmedComponent(name) != name)
        return "\"" + name + "\" ends in a dot or space, which Windows drops, so it cannot reach it. What to do: "
               "rename it.";
    return "";
}

// Why Windows starts no program at the full path path, or empty: a path of MAX_PATH characters
// or more.
std::string WhyPathIsTooLong(const std::string& path)
{
    constexpr std::size_t MaxPathCharacters = 260;  // MAX_PATH, with the terminating NUL
    const std::size_t characters = Utf16LeFromUtf8(path).size() / 2;
    if (characters < MaxPathCharacters)
        return "";
    return "The program's full path " + path + " takes " + std::to_string(characters) + " characters; Windows "
           "starts no program whose path takes 260 or more. What to do: shorten the folders' names.";
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
std::string WhyFolderIsMissing(MediumFolders& folders, const std::string& root,
                               const std::vector<std::string>& components, std::size_t missingAt,
                               const std::string& driveRoot)
{
    const std::string& missing = components[missingAt];
    const Found parent = FindOnMedium(
        folders, root, std::vector<std::string>(components.begin(), components.begin() + static_cast<std::ptrdiff_t>(missingAt)));
    if (parent.exists && parent.isFolder) {
        for (const auto& [folded, entries] : folders.Entries(parent.host)) {
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
        const Found directory = FindOnMedium(folders, launcher.root, next);
        if (!directory.exists || !directory.isFolder)
            return "The copy it starts begins in " + from + ", from where the launch directory \"" + launchDirectory +
                   "\" leads to " + to + ", which is not there: that copy shows the message Failed changing directory "
                   "to \"" + launchDirectory + "\". once, and nothing else starts.";
        if (std::find(visited.begin(), visited.end(), next) != visited.end())
            return "The copy it starts enters " + to + " again and finds itself again, and so does every copy after "
                   "it: the launcher starts itself again and again, without end.";
        std::string arguments;
        command = (to.back() == '\\' ? to : to + "\\") + name;
        const Found picked = FirstCandidate(folders, launcher, command, arguments);
        if (!picked.exists || picked.host != self.host)
            return "The copy it starts enters " + to + " and starts " +
                   (picked.exists ? driveRoot + picked.disk : std::string("nothing")) + " from there.";
        visited.push_back(next);
        entered = next;
    }
    return "Each copy it starts enters another folder and starts itself again, more than " +
           std::to_string(MostCopiesFollowed) + " times.";
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
        p.findings.push_back("What to do: rename or remove " + p.starts +
                             ", or give the launch directory a name without spaces (launcher-stamp set).");
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
        p.findings.push_back("What to do: set a launch directory that leads elsewhere (launcher-stamp set).");
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

Prediction PredictLaunch(const LauncherOnMedium& launcher, MediumFolders& folders)
{
    Prediction p;
    const std::string driveRoot = std::string(1, launcher.drive) + ":\\";
    p.launcher = driveRoot + launcher.fileName;
    std::string error;
    if (!FromCodePage(launcher.launchDirectory, launcher.codePage, p.launchDirectory, error)) {
        p.findings.push_back("The stored launch directory is not text in code page " +
                             std::to_string(launcher.codePage) + ".");
        return p;
    }

    // The name comes from the launcher's own quoted path, in the ANSI code page.
    std::string launcherBytes;
    if (!ToCodePage(launcher.fileName, launcher.codePage, launcherBytes, error)) {
        p.findings.push_back("The launcher's file name holds characters that have no place in code page " +
                             std::to_string(launcher.codePage) +
                             ": Windows hands them to the launcher as other characters. What to do: rename it.");
        return p;
    }
    std::string nameBytes = TargetName("\"" + driveRoot + launcherBytes + "\"", launcher.codePage);
    std::string corrupted;
    if (RewriteCorruptsName(nameBytes, launcher.codePage, corrupted)) {
        p.verdict = Verdict::NothingStarts;
        p.findings.push_back("The launcher turns every byte 0xA0 of its name into a space; in code page " +
                             std::to_string(launcher.codePage) + " that byte is part of " + corrupted +
                             ", so the name it builds is not its program's and nothing starts.");
        p.findings.push_back("What to do: rename " + p.launcher + " and its program without " + corrupted + ".");
        return p;
    }
    std::replace(nameBytes.begin(), nameBytes.end(), '\xA0', ' ');

    std::vector<std::string> components;
    std::string finding;
    if (!ResolveLaunchDirectory(p.launchDirectory, launcher.drive, {}, components, finding)) {
        p.findings.push_back(finding);
        return p;
    }
    const std::string directoryPath = driveRoot + Join(components, components.size());
    std::string directoryBytes;
    ToCodePage(directoryPath, launcher.codePage, directoryBytes, error);
    const Found directory = FindOnMedium(folders, launcher.root, components);
    if (!directory.exists || !directory.isFolder || directoryBytes.size() >= MaxPath) {
        p.verdict = Verdict::DirectoryMissing;
        if (directoryBytes.size() >= MaxPath) {
            p.findings.push_back("The launch directory's path " + directoryPath + " takes " +
                                 std::to_string(directoryBytes.size()) +
                                 " bytes; the launcher reads a current directory of at most 259.");
        } else if (directory.exists) {
            p.findings.push_back(directoryPath + " is a file, not a folder.");
        } else {
            p.findings.push_back(WhyFolderIsMissing(folders, launcher.root, components, directory.missingAt,
                                                    driveRoot));
        }
        if (const std::string reading = HowWindowsReadsComponents(p.launchDirectory); !reading.empty())
            p.findings.push_back(reading);
        p.findings.push_back("The launcher shows the message Failed changing directory to \"" +
                             p.launchDirectory + "\". and starts nothing. What to do: create the folder, or set "
                             "another launch directory (launcher-stamp set).");
        return p;
    }

    // The command as the launcher builds it from the current directory and the name.
    std::string commandBytes = directoryBytes;
    if (commandBytes.back() != '\\')
        commandBytes += '\\';
    commandBytes += nameBytes;
    std::string name;
    if (!FromCodePage(commandBytes, launcher.codePage, p.command, error) ||
        !FromCodePage(nameBytes, launcher.codePage, name, error)) {
        p.findings.push_back("The launcher's name does not cut into whole characters of code page " +
                             std::to_string(launcher.codePage) + ".");
        return p;
    }
    const std::string intendedPath = p.command + (HasExtension(name) ? "" : ".exe");
    const Found intended = FindOnMedium(folders, launcher.root, BelowRoot(intendedPath));
    const std::string intendedText = intended.exists ? driveRoot + intended.disk : intendedPath;

    const Found picked = FirstCandidate(folders, launcher, p.command, p.arguments);
    const Found self = FindOnMedium(folders, launcher.root, {launcher.fileName});
    std::string cannotRun;  // why Windows cannot run the file the command names
    std::string copies;     // what the copies of a launcher that starts itself do
    if (!picked.exists) {
        p.verdict = Verdict::NothingStarts;
    } else {
        p.starts = driveRoot + picked.disk;
        const std::size_t slash = picked.disk.rfind('\\');
        const bool inLaunchDirectory = (slash == std::string::npos ? "" : picked.disk.substr(0, slash)) == directory.disk;
        p.received = SplitLikeTheCRuntime(p.command);
        if (self.exists && picked.host == self.host) {
            p.verdict = Verdict::StartsItself;
            copies = WhatCopiesDo(folders, launcher, p.launchDirectory, p.command, self, components);
        } else {
            cannotRun = WhyItCannotRun(picked.host, p.starts, p.command);
            if (intended.exists && picked.host == intended.host && p.arguments.empty())
                p.verdict = cannotRun.empty() ? Verdict::Ok : Verdict::CannotRun;
            else if (!cannotRun.empty())
                p.verdict = Verdict::CannotRun;
            else
                p.verdict = inLaunchDirectory ? Verdict::WrongProgram : Verdict::Hijacked;
        }
    }
    Explain(p, directoryPath, intendedText, name, copies);
    if (p.verdict == Verdict::CannotRun) {
        if (picked.host != intended.host || !p.arguments.empty())
            p.findings.push_back("Windows reads the unquoted command " + p.command + " from the left and finds " +
                                 p.starts + " first, in place of " + intendedText + ".");
        p.findings.push_back(cannotRun);
        p.findings.push_back("Nothing starts: the launcher ends without a message.");
    }
    if (p.verdict == Verdict::Ok) {
        // What a medium made elsewhere may hold that Windows cannot start.
        std::string unheld;
        const std::vector<std::string> names = SplitPathComponents(intended.disk);
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
    // Names on the launcher's way that differ only in letter case: Windows holds one of each.
    for (const Found* found : {&directory, &intended, &picked, &self}) {
        if (found->twin.empty())
            continue;
        p.verdict = Verdict::NotCheckable;
        p.findings = {driveRoot + found->twinOf + " and " + driveRoot + found->twin + " differ only in letter case. "
                      "Windows holds one of them, and which one a copy or a disc image keeps is not known, so "
                      "what this launcher starts cannot be told. What to do: rename or remove one of them."};
        break;
    }
    if (p.verdict == Verdict::Ok && IsBatchFileName(p.starts) && launcher.thirtyTwoBit)
        p.findings.push_back("The 32-bit launcher runs a batch file in the 32-bit cmd on 64-bit Windows, which "
                             "sees the 32-bit views of the system folder and registry; make --arch x64 where "
                             "that matters.");
    if (p.verdict == Verdict::Ok && !IsBatchFileName(p.starts) && p.received->argv.size() > 1)
        p.findings.push_back(ReceivedFinding(*p.received));
    if (p.verdict == Verdict::Ok) {
        const std::string reason = ElevationReason(intended.host, BelowRoot(p.starts).back());
        if (!reason.empty())
            p.findings.push_back("Windows asks for administrator rights before " + p.starts + " starts (" + reason +
                                 "); the launcher hands it to the shell, which asks.");
    }
    return p;
}

Prediction PredictLaunch(const LauncherOnMedium& launcher)
{
    MediumFolders folders;
    return PredictLaunch(launcher, folders);
}

const MediumFolders::Listing& MediumFolders::Entries(const std::string& host)
{
    auto listed = folders_.find(host);
    if (listed == folders_.end()) {
        std::vector<FolderEntry> entries;
        std::string error;
        Listing byName;
        if (ListFolder(host, entries, error, FolderDetail::Kinds)) {
            std::sort(entries.begin(), entries.end(),
                      [](const FolderEntry& x, const FolderEntry& y) { return x.name < y.name; });
            for (FolderEntry& entry : entries)
                byName[FoldCase(entry.name)].push_back(std::move(entry));
        }
        listed = folders_.emplace(host, std::move(byName)).first;
    }
    return listed->second;
}

const std::vector<FolderEntry>& MediumFolders::Matches(const std::string& host, const std::string& name)
{
    static const std::vector<FolderEntry> none;
    const Listing& listing = Entries(host);
    const auto match = listing.find(FoldCase(name));
    return match == listing.end() ? none : match->second;
}

std::string WhyProgramCannotRun(const std::string& host, const std::string& shown)
{
    Bytes start;
    std::string error;
    if (!ReadFileStart(host, 4096, start, error))
        return "";
    const Executable executable = ClassifyExecutable(start, shown);
    switch (executable.format) {
    case ExecutableFormat::Pe:
        if (RunsOnX64Windows(executable.machine))
            return "";
        return shown + " is a program for " + MachineName(executable.machine) +
               ", which Windows on x86 and x64 processors cannot run.";
    case ExecutableFormat::SixteenBit:
        return shown + " is a 16-bit Windows program, which 64-bit Windows cannot run (apart from a few old "
               "installers it knows and replaces). What to do: start a 32-bit or 64-bit installer instead.";
    case ExecutableFormat::Dos:
        return shown + " is a DOS program, which 64-bit Windows cannot run. What to do: start a Windows program "
               "instead.";
    case ExecutableFormat::NotAProgram:
        break;
    }
    if (start.empty())
        return shown + " is empty, not a program: Windows cannot run it. What to do: copy the program there again.";
    if (IsStartableName(shown) && !IsBatchFileName(shown))
        return shown + " is no program: it does not start with the MZ header every program has, so Windows cannot "
               "run it. What to do: copy the program there again; it may be damaged or only named like one.";
    return shown + " is a document, not a program: the program-start service runs programs and batch files "
           "(.bat, .cmd) only, and starts nothing for a document. What to do: start the program that opens it.";
}

bool FindFileOnMedium(const std::string& root, const std::string& relative, std::string& disk)
{
    MediumFolders folders;
    const std::vector<std::string> components = NormalisePath({}, relative);
    const Found found = FindOnMedium(folders, root, components);
    disk = found.disk;
    return !components.empty() && found.exists && !found.isFolder;
}

std::string WhyLauncherCannotStart(const std::vector<std::string>& folders, const std::string& program,
                                   const std::string& launcherName, char drive, unsigned codePage, Verdict* verdict)
{
    Verdict unused;
    Verdict& would = verdict ? *verdict : unused;
    would = Verdict::CannotRun;
    const std::string driveRoot = std::string(1, drive) + ":\\";
    std::string path = driveRoot, error, bytes;
    for (const std::string& folder : folders)
        path += folder + "\\";
    path += program;
    if (!IsStartableName(program))
        return path + " is a document, not a program: Windows starts programs (.exe, .com) and batch files (.bat, "
               ".cmd) only, and nothing for a document. What to do: give make the program that opens it.";
    if (program.size() == 4)
        return "A program named only \"" + program + "\" leaves its launcher no name to give back. What to do: "
               "rename the program.";
    std::vector<std::string> names = folders;
    names.push_back(program);
    for (const std::string& name : names) {
        if (const std::string unheld = WhyWindowsCannotHold(name); !unheld.empty())
            return unheld;
    }
    if (!ToCodePage(path, codePage, bytes, error) || !ToCodePage(launcherName, codePage, bytes, error))
        return error + ", so Windows hands the launcher and its program other names. What to do: rename them, or "
               "give the code page of the systems the medium is for (--codepage).";
    // The name the launcher gives back, as it reads its own name: its 0xA0 bytes become spaces.
    std::string corrupted;
    const std::string given = launcherName.substr(0, launcherName.rfind('.'));
    if (ToCodePage(given, codePage, bytes, error) && RewriteCorruptsName(bytes, codePage, corrupted))
        return "The program's name holds " + corrupted + ", whose bytes in code page " + std::to_string(codePage) +
               " hold 0xA0, which the launcher turns into a space. What to do: rename the program.";
    would = Verdict::NothingStarts;
    if (const std::string tooLong = WhyPathIsTooLong(path); !tooLong.empty())
        return tooLong;
    would = Verdict::StartsItself;
    // The unquoted command read from the left: a candidate in the root named like the launcher.
    const std::string command = driveRoot + (folders.empty() ? "" : folders[0]);
    for (std::size_t space = command.find(' ', 3); space != std::string::npos; space = command.find(' ', space + 1)) {
        const std::string candidate = command.substr(3, space - 3);
        const std::string tried = candidate.find('.') == std::string::npos ? candidate + ".exe" : candidate;
        if (FoldCase(TrimmedComponent(tried)) == FoldCase(launcherName)) {
            std::string renamed = folders[0];
            renamed.erase(std::remove(renamed.begin(), renamed.end(), ' '), renamed.end());
            return "Windows reads the unquoted command " + driveRoot + folders[0] + "\\...\\" + given +
                   " from the left and finds the launcher itself, " + driveRoot + tried + ", first: it would start "
                   "itself again and again. What to do: rename the folder \"" + folders[0] + "\", for example to \"" +
                   renamed + "\", or the program.";
        }
    }
    return "";
}

bool RewriteCorruptsName(const std::string& nameBytes, unsigned codePage, std::string& corrupted)
{
    corrupted.clear();
    if ((!IsDoubleByteCodePage(codePage) && codePage != 65001) || nameBytes.find('\xA0') == std::string::npos)
        return false;
    // The characters whose bytes hold 0xA0, named as text.
    std::string text, error, bytes;
    if (FromCodePage(nameBytes, codePage, text, error)) {
        for (std::size_t i = 0; i < text.size();) {
            const std::size_t start = i;
            NextCodePoint(text, i);
            const std::string character = text.substr(start, i - start);
            if (ToCodePage(character, codePage, bytes, error) && bytes.find('\xA0') != std::string::npos &&
                corrupted.find("\"" + character + "\"") == std::string::npos)
                corrupted += (corrupted.empty() ? "\"" : ", \"") + character + "\"";
        }
    }
    if (corrupted.empty())
        corrupted = "a character";
    return true;
}

std::string LetterCaseTwin(const std::string& folder, const std::string& name)
{
    std::vector<FolderEntry> entries;
    std::string error;
    if (!ListFolder(folder, entries, error))
        return "";
    for (const FolderEntry& entry : entries) {
        if (entry.name != name && FoldCase(entry.name) == FoldCase(name))
            return entry.name;
    }
    return "";
}
