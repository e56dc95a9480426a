// What a program file on a medium is to Windows, read through the medium's place.
#include "medium/program_file.h"

#include "base/unicode.h"
#include "base/windows_path.h"
#include "medium/command_line.h"
#include "pe/executable_format.h"
#include "pe/run_level.h"

#include <functional>

std::string WhyWindowsCannotHold(const std::string& name, bool last)
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

std::string WhyPathIsTooLong(const std::string& path)
{
    constexpr std::size_t MaxPathCharacters = 260;  // MAX_PATH, with the terminating NUL
    const std::size_t characters = Utf16LeFromUtf8(path).size() / 2;
    if (characters < MaxPathCharacters)
        return "";
    return "The program's full path " + path + " takes " + std::to_string(characters) + " characters; Windows "
           "starts no program whose path takes 260 or more. What to do: shorten the folders' names.";
}

namespace {

// A reason for a failed read as a clause of its own: "is not a plain file" becomes "it is ...".
std::string Predicate(const std::string& reason)
{
    return reason.rfind("is ", 0) == 0 ? "it " + reason : reason;
}

// Why Windows' loader refuses the Windows program at below (start: its first bytes), or empty:
// what its headers say, then whether the file holds all its sections' data (a cut-short copy
// does not). unread words a read that fails.
std::string WhyLoaderRefuses(const MediumPlace& place, const std::vector<std::string>& below, const std::string& shown,
                             const Bytes& start, const std::function<std::string(const std::string&)>& unread)
{
    const LoaderJudgment judged = JudgeProgramHeaders(start, LauncherHeaderBytes);
    if (!judged.refusal.empty())
        return shown + " " + judged.refusal + ". What to do: start a Windows program instead; this file may be "
               "damaged, or only named like one.";
    if (judged.dataEnd <= start.size())
        return "";
    Bytes last;
    std::string error;
    if (!place.Read(below, judged.dataEnd - 1, 1, last, error))
        return unread(error);
    if (!last.empty())
        return "";
    return shown + " is cut short: its sections' data reach byte " + std::to_string(judged.dataEnd) +
           ", past the end of the file, so Windows says it is not a valid Win32 application. What to do: copy the "
           "program there again, whole.";
}

}  // namespace

std::string WhyProgramCannotRun(const MediumPlace& place, const std::vector<std::string>& below,
                                const std::string& shown, bool* unreadable)
{
    Bytes start;
    std::string error;
    if (unreadable != nullptr)
        *unreadable = false;
    auto unread = [&](const std::string& why) {
        if (unreadable != nullptr)
            *unreadable = true;
        return shown + " cannot be read: " + Predicate(why) + "; what Windows makes of it cannot be told. What to do: "
               "put the program itself there, readable.";
    };
    if (!ReadStart(place, below, LauncherHeaderBytes, start, error))
        return unread(error);
    const Executable executable = ClassifyExecutable(start, shown);
    switch (executable.format) {
    case ExecutableFormat::Pe:
        if (!RunsOnX64Windows(executable.machine))
            return shown + " is a program for " + MachineName(executable.machine) +
                   ", which Windows on x86 and x64 processors cannot run.";
        return WhyLoaderRefuses(place, below, shown, start, unread);
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

std::string WhyStartedFileCannotRun(const MediumPlace& place, const std::vector<std::string>& below,
                                    const std::string& shown, const std::string& command, bool* unreadable)
{
    if (!IsBatchFileName(shown))
        return WhyProgramCannotRun(place, below, shown, unreadable);
    Bytes start;
    std::string error;
    const bool read = ReadStart(place, below, 1, start, error);
    if (unreadable != nullptr)
        *unreadable = !read;
    if (!read)
        return shown + " cannot be read: " + Predicate(error) + "; what cmd makes of it cannot be told. What to do: put "
               "the batch file itself there, readable.";
    if (CmdRunsBatchFile(command))
        return "";
    return "Windows runs " + shown + " as cmd /c \"" + command + "\"; cmd keeps those quotes only around a "
           "path with a space and none of " + CmdSpecialCharacters + ", and unquoted the path breaks at a space "
           "or one of " + CmdBreakingCharacters + ", so cmd does not find the batch file. What to do: rename its "
           "folder (or the batch file) so that its path holds none of " + CmdSpecialCharacters + ".";
}

std::string ElevationReason(const MediumPlace& place, const std::vector<std::string>& below,
                            const std::string& fileName)
{
    constexpr std::size_t ResourcesReadLimit = 64u << 20;  // beyond this, not judged
    Bytes bytes;
    LauncherImage image;
    RunLevel level = RunLevel::Unstated;
    std::string error;
    const FileStartReader readStart = [&place, &below](std::size_t limit, Bytes& read, std::string& reason) {
        return ReadStart(place, below, limit, read, reason);
    };
    if (!ReadProgramResources(readStart, ResourcesReadLimit, bytes, error))
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

std::string OldestWindowsNote(const MediumPlace& place, const std::vector<std::string>& below, const std::string& shown)
{
    Bytes start;
    std::string error;
    if (!ReadStart(place, below, LauncherHeaderBytes, start, error) ||
        ClassifyExecutable(start, shown).format != ExecutableFormat::Pe)
        return "";
    const LoaderJudgment judged = JudgeProgramHeaders(start, LauncherHeaderBytes);
    const std::string oldest = OldestWindowsFor(judged.subsystemMajor, judged.subsystemMinor);
    if (!judged.refusal.empty() || oldest.empty())
        return "";
    return shown + " asks for version " + std::to_string(judged.subsystemMajor) + "." +
           std::to_string(judged.subsystemMinor) + " of the Windows subsystem: it starts on " + oldest +
           " and later; older Windows says it is not a valid Win32 application.";
}
