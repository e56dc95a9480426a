// What stands in the way of a launcher's program starting, in its names alone, and the name a
// launcher gives back from its command line, computed by the launcher's own naming code.
#include "medium/launch_check.h"

#include "base/unicode.h"
#include "base/windows_path.h"
#include "medium/program_file.h"
#include "target_name.h"

#include <algorithm>

namespace {

// The double-byte code pages: the launcher finds lead bytes in their OEM code page.
bool IsDoubleByteCodePage(unsigned codePage)
{
    return codePage == 932 || codePage == 936 || codePage == 949 || codePage == 950 || codePage == 1361;
}

}  // namespace

std::string WhyLauncherCannotStart(const std::vector<std::string>& folders, const std::string& program,
                                   const std::string& launcherName, char drive, unsigned codePage, Verdict* verdict,
                                   std::optional<Remedy>* remedy)
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
    if (!ToCodePage(path, codePage, bytes, error) || !ToCodePage(launcherName, codePage, bytes, error)) {
        if (remedy != nullptr)
            *remedy = Remedy::CodePage;
        return error + ", so Windows hands the launcher and its program other names. What to do: rename them, or "
               "give the code page of the systems the medium is for.";
    }
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

std::string TargetName(const std::string& commandLine, unsigned codePage)
{
    char name[MaxTargetNameLength + 1];
    ExtractTargetNameIn(commandLine.c_str(), name, IsDoubleByteCodePage(codePage));
    return name;
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
