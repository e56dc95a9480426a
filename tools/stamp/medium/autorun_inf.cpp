// autorun.inf: writing make's, reading the [autorun] section, and what check finds in it.
#include "medium/autorun_inf.h"

#include "base/unicode.h"
#include "system/system.h"

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
std::string NamedFile(const std::string& value, const std::string& root, bool command)
{
    if (!value.empty() && value[0] == '"') {
        const std::size_t close = value.find('"', 1);
        return value.substr(1, close == std::string::npos ? std::string::npos : close - 1);
    }
    if (!command)
        return Trimmed(value.substr(0, value.find(',')));
    std::string disk;
    return FindFileOnMedium(root, value, disk) ? value : value.substr(0, value.find(' '));
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

bool ReadAutorunInf(const Bytes& file, unsigned codePage, AutorunInf& inf, std::string& error)
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
            inAutorun = FoldCase(line) == "[AUTORUN]";
            continue;
        }
        const std::size_t equals = line.find('=');
        if (!inAutorun || equals == std::string::npos)
            continue;
        const std::string key = FoldCase(Trimmed(line.substr(0, equals)));
        std::optional<std::string>* slot = key == "OPEN" ? &inf.open : key == "ICON" ? &inf.icon
                                         : key == "LABEL" ? &inf.label : nullptr;
        if (slot != nullptr && !*slot)
            *slot = Trimmed(line.substr(equals + 1));
    }
    return true;
}

std::vector<std::string> AutorunFindings(const AutorunInf& inf, const std::string& root, char drive,
                                         const std::vector<Prediction>& launchers)
{
    std::vector<std::string> findings;
    const std::string driveRoot = std::string(1, drive) + ":\\";
    std::string disk;
    if (inf.open) {
        const std::string file = NamedFile(*inf.open, root, true);
        if (!FindFileOnMedium(root, file, disk)) {
            findings.push_back("open= names " + driveRoot + file + ", which is not on the medium: AutoPlay offers nothing to run.");
        } else {
            for (const Prediction& launcher : launchers) {
                if (launcher.launcher == driveRoot + disk && launcher.verdict != Verdict::Ok)
                    findings.push_back("open= names " + launcher.launcher + ", whose verdict is " +
                                       VerdictName(launcher.verdict) + " (see above).");
            }
        }
    }
    if (inf.icon) {
        const std::string file = NamedFile(*inf.icon, root, false);
        if (!FindFileOnMedium(root, file, disk))
            findings.push_back("icon= names " + driveRoot + file + ", which is not on the medium: Explorer shows no icon of it.");
    }
    if (inf.label && CharacterCount(*inf.label) > MaxLabelCharacters)
        findings.push_back("label= has " + std::to_string(CharacterCount(*inf.label)) + " characters; Windows shows at most " +
                           std::to_string(MaxLabelCharacters) + ".");
    return findings;
}
