// Windows path names as text.
#include "base/windows_path.h"

#include <cstring>

std::vector<std::string> SplitPathComponents(const std::string& path)
{
    std::vector<std::string> components(1);
    for (const char c : path) {
        if (c == '\\' || c == '/')
            components.emplace_back();
        else
            components.back() += c;
    }
    return components;
}

std::string TrimmedComponent(std::string component)
{
    while (!component.empty() && (component.back() == '.' || component.back() == ' '))
        component.pop_back();
    return component;
}

std::vector<std::string> NormalisePath(std::vector<std::string> start, const std::string& relative)
{
    if (!relative.empty() && (relative[0] == '\\' || relative[0] == '/'))
        start.clear();
    const std::vector<std::string> components = SplitPathComponents(relative);
    for (std::size_t i = 0; i < components.size(); ++i) {
        std::string component = components[i];
        if (component.empty() || component == ".")
            continue;
        if (component == "..") {
            if (!start.empty())
                start.pop_back();
            continue;
        }
        if (i + 1 == components.size())
            component = TrimmedComponent(component);
        else if (component.back() == '.')
            component.pop_back();
        if (!component.empty())
            start.push_back(component);
    }
    return start;
}

std::string HowWindowsReadsComponents(const std::string& path)
{
    std::string note;
    const std::vector<std::string> components = SplitPathComponents(path);
    for (std::size_t i = 0; i < components.size(); ++i) {
        const std::string& written = components[i];
        if (written.empty() || written == "." || written == ".." || (i == 0 && written.size() == 2 && DriveLetterOf(written) != 0))
            continue;
        const bool last = i + 1 == components.size();
        const std::vector<std::string> normalised = NormalisePath({}, last ? written : written + "\\x");
        const std::string read = normalised.empty() ? std::string() : normalised.front();
        if (last && read != written)
            note += "Windows reads the last folder \"" + written + "\" " +
                    (read.empty() ? std::string("as nothing") : "as \"" + read + "\"") +
                    ", without its trailing dots and spaces. ";
        else if (!last && read != written)
            note += "Windows reads the folder \"" + written + "\" as \"" + read + "\": a folder inside the path loses "
                    "one trailing dot. ";
        else if (!last && written.back() == ' ')
            note += "Windows keeps the trailing space of the folder \"" + written + "\": only the last folder of "
                    "the path loses its trailing spaces. ";
    }
    if (!note.empty())
        note.pop_back();
    return note;
}

std::string ReservedDeviceComponent(const std::string& path)
{
    for (const std::string& component : SplitPathComponents(path)) {
        std::string stem = TrimmedComponent(component.substr(0, component.find('.')));
        for (char& c : stem)
            c = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
        const bool numbered = stem.size() == 4 && (stem.compare(0, 3, "COM") == 0 || stem.compare(0, 3, "LPT") == 0) &&
                              stem[3] >= '1' && stem[3] <= '9';
        if (numbered || stem == "CON" || stem == "PRN" || stem == "AUX" || stem == "NUL")
            return component;
    }
    return std::string();
}

int ForbiddenCharacter(const std::string& name)
{
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || (byte < 0x80 && std::strchr("<>:\"/\\|?*", static_cast<int>(byte)) != nullptr))
            return byte;
    }
    return -1;
}

char DriveLetterOf(const std::string& path)
{
    if (path.size() < 2 || path[1] != ':')
        return 0;
    const char letter = static_cast<char>(path[0] & ~0x20);
    return letter >= 'A' && letter <= 'Z' ? letter : 0;
}

char NamedDriveLetter(const std::string& drive)
{
    return drive.size() == 1 ? DriveLetterOf(drive + ":") : drive.size() == 2 ? DriveLetterOf(drive) : 0;
}

bool IsDriveLetter(const std::string& drive)
{
    return NamedDriveLetter(drive) != 0;
}

bool IsBatchFileName(const std::string& name)
{
    if (name.size() <= 4 || name[name.size() - 4] != '.')
        return false;
    std::string extension = name.substr(name.size() - 3);
    for (char& c : extension)
        c = static_cast<char>(c | 0x20);
    return extension == "bat" || extension == "cmd";
}

bool IsStartableName(const std::string& name)
{
    if (name.size() < 4 || name[name.size() - 4] != '.')
        return false;
    std::string extension = name.substr(name.size() - 3);
    for (char& c : extension)
        c = static_cast<char>(c | 0x20);
    return extension == "exe" || extension == "com" || extension == "bat" || extension == "cmd";
}
