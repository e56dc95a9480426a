// autorun.inf: writing make's, reading the [autorun] section, and what check finds in it.
#include "medium/autorun_inf.h"

#include "base/unicode.h"
#include "base/windows_path.h"
#include "system/system.h"
#include "target_name.h"

#include <algorithm>

namespace {

std::string Trimmed(const std::string& text)
{
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return "";
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// The file a value names: the text in double quotes when it starts with one, else the text
// up to a comma (icon= may give the icon's index after one) or, for a command, the whole
// value when that names a file and the text up to the first space otherwise.
std::string NamedFile(const std::string& value, MediumFolders& folders, bool command)
{
    if (!value.empty() && value[0] == '"') {
        const std::size_t close = value.find('"', 1);
        return value.substr(1, close == std::string::npos ? std::string::npos : close - 1);
    }
    if (!command)
        return Trimmed(value.substr(0, value.find(',')));
    Found found;
    return FindFileOnMedium(folders, value, found) ? value : value.substr(0, value.find(' '));
}

// A path as Windows reads it on the medium: "D:\\x" (the medium's drive), "\\x" and "x" all name x
// below the root. False for another drive.
bool OnMedium(const std::string& path, char drive, std::string& relative)
{
    relative = path;
    if (const char letter = DriveLetterOf(relative); letter != 0) {
        if (letter != drive)
            return false;
        relative = relative.substr(2);
    }
    while (!relative.empty() && (relative[0] == '\\' || relative[0] == '/'))
        relative.erase(0, 1);
    return true;
}

// What follows the named file in a command (its arguments).
std::string ArgumentsAfter(const std::string& command, const std::string& file)
{
    const std::size_t at = command.find(file);
    if (at == std::string::npos)
        return "";
    std::size_t end = at + file.size();
    if (end < command.size() && command[end] == '"')
        ++end;
    return command.substr(end);
}

}  // namespace

Bytes AutorunInfFor(const std::string& launcherName, const std::string& label, unsigned codePage)
{
    // Quoted whenever Windows would read the name otherwise: a space ends a command, a comma
    // starts an icon's index, and values are trimmed.
    const bool plain = launcherName.find_first_of(" ,;\t") == std::string::npos;
    const std::string name = plain ? launcherName : "\"" + launcherName + "\"";
    std::string text = "[autorun]\r\nopen=" + name + "\r\nicon=" + name + "\r\n";
    if (!label.empty())
        text += "label=" + label + "\r\n";
    std::string bytes, error;
    if (ToCodePage(text, codePage, bytes, error))
        return Bytes(bytes.begin(), bytes.end());
    Bytes wide{0xFF, 0xFE};
    const Bytes units = Utf16LeFromUtf8(text);
    wide.insert(wide.end(), units.begin(), units.end());
    return wide;
}

bool ReadAutorunInf(const Bytes& file, unsigned codePage, AutorunInf& inf, std::string& error, const std::string& section)
{
    std::string text;
    if (file.size() >= 2 && file[0] == 0xFF && file[1] == 0xFE) {
        if (!Utf8FromUtf16Le(file.data() + 2, file.size() - 2, text)) {
            error = "it is not valid UTF-16 text";
            return false;
        }
    } else if (file.size() >= 3 && file[0] == 0xEF && file[1] == 0xBB && file[2] == 0xBF) {
        text.assign(file.begin() + 3, file.end());
    } else if (!FromCodePage(std::string(file.begin(), file.end()), codePage, text, error)) {
        return false;
    }
    inf = AutorunInf();
    bool inAutorun = false;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        line = Trimmed(line);
        if (line.empty() || line[0] == ';')
            continue;
        if (line[0] == '[') {
            inAutorun = FoldCase(line) == FoldCase("[" + section + "]");
            inf.amd64Section = inf.amd64Section || FoldCase(line) == FoldCase(std::string("[") + Amd64Section + "]");
            continue;
        }
        const std::size_t equals = line.find('=');
        if (!inAutorun || equals == std::string::npos)
            continue;
        const std::string key = FoldCase(Trimmed(line.substr(0, equals)));
        std::optional<std::string>* slot = key == "OPEN" ? &inf.open : key == "ICON" ? &inf.icon
                                         : key == "LABEL" ? &inf.label : key == "SHELLEXECUTE" ? &inf.shellexecute
                                                                                             : nullptr;
        if (slot != nullptr && !*slot)
            *slot = Trimmed(line.substr(equals + 1));
    }
    return true;
}

std::string WhyLabelCannotBeWritten(const std::string& label)
{
    if (std::any_of(label.begin(), label.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; }))
        return "the label holds a control character, which would break autorun.inf's lines";
    if (!label.empty() && (label.front() == ' ' || label.back() == ' '))
        return "the label begins or ends with a space, which Windows drops when it reads autorun.inf";
    if (CharacterCount(label) > MaxLabelCharacters)
        return "the label has " + std::to_string(CharacterCount(label)) + " characters; at most " +
               std::to_string(MaxLabelCharacters) + " are shown";
    return {};
}

std::vector<std::string> AutorunFindings(const AutorunInf& inf, MediumFolders& folders, char drive, unsigned codePage,
                                         const std::vector<Prediction>& launchers)
{
    std::vector<std::string> findings;
    const std::string driveRoot = std::string(1, drive) + ":\\";
    Found found;
    const std::optional<std::string>& command = inf.shellexecute ? inf.shellexecute : inf.open;
    const std::string key = inf.shellexecute ? "shellexecute=" : "open=";
    if (inf.shellexecute && inf.open)
        findings.push_back("Both open= and shellexecute= are given: Windows runs shellexecute= and ignores open=.");
    const std::string named = command ? NamedFile(*command, folders, true) : std::string();
    std::string file;  // what open= (or shellexecute=) names, below the root
    if (command && OnMedium(named, drive, file)) {
        if (!FindFileOnMedium(folders, file, found)) {
            findings.push_back(key + " names " + driveRoot + file + ", which is not on the medium: AutoPlay offers nothing to run.");
        } else {
            const std::string disk = found.Disk();
            const std::string arguments = Trimmed(ArgumentsAfter(*command, named));
            for (const Prediction& launcher : launchers) {
                if (FoldCase(launcher.launcher) != FoldCase(driveRoot + disk))
                    continue;
                if (launcher.verdict != Verdict::Ok)
                    findings.push_back(key + " names " + launcher.launcher + ", whose verdict is " +
                                       VerdictName(launcher.verdict) + " (see above).");
                // What the launcher takes from its command line, in the code page's bytes.
                std::string commandBytes, name, error;
                if (!ToCodePage(driveRoot + disk + " " + arguments, codePage, commandBytes, error) ||
                    !FromCodePage(TargetName(commandBytes, codePage), codePage, name, error))
                    name = arguments;
                const std::string own = disk.substr(0, disk.rfind('.'));
                if (!arguments.empty() && FoldCase(name) != FoldCase(own.substr(own.find_last_of('\\') + 1)))
                    findings.push_back(key + " hands " + launcher.launcher + " the arguments \"" + arguments +
                                       "\", from which it takes \"" + name + "\" as its program's name, so it does "
                                       "not start its own program. What to do: drop the arguments.");
            }
        }
    } else if (command) {
        findings.push_back(key + " names " + named + ", which is not on the medium (drive " +
                           std::string(1, drive) + ":).");
    }
    if (inf.icon) {
        const std::string icon = NamedFile(*inf.icon, folders, false);
        if (!FindFileOnMedium(folders, icon, found))
            findings.push_back("icon= names " + driveRoot + icon + ", which is not on the medium: Explorer shows no icon of it.");
    }
    if (inf.label && CharacterCount(*inf.label) > MaxLabelCharacters)
        findings.push_back("label= has " + std::to_string(CharacterCount(*inf.label)) + " characters; Windows shows at most " +
                           std::to_string(MaxLabelCharacters) + ".");
    return findings;
}
