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
