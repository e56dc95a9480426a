// What a program file on a medium is to Windows, read through the medium's place.
#include "medium/program_file.h"

#include "base/unicode.h"
#include "base/windows_path.h"
#include "medium/command_line.h"
#include "pe/executable_format.h"
#include "pe/run_level.h"

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

std::string WhyProgramCannotRun(const MediumPlace& place, const std::vector<std::string>& below,
                                const std::string& shown)
{
    Bytes start;
    std::string error;
    if (!ReadStart(place, below, 4096, start, error))
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

std::string WhyStartedFileCannotRun(const MediumPlace& place, const std::vector<std::string>& below,
                                    const std::string& shown, const std::string& command)
{
    if (!IsBatchFileName(shown))
        return WhyProgramCannotRun(place, below, shown);
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
