// Windows path names as text.
#include "base/windows_path.h"

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
