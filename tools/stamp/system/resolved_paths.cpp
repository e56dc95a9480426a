// Where one path lies below another, the same on every system, on top of its resolution and
// comparison of names.
#include "system/system.h"

#include "base/windows_path.h"

#include <algorithm>

bool ComponentsBelow(const std::string& folder, const std::string& path, std::vector<std::string>& below)
{
    // Both resolved, their components without the empty ones a root or prefix leaves.
    auto parts = [](const std::string& resolved) {
        std::vector<std::string> named = SplitPathComponents(resolved);
        named.erase(std::remove(named.begin(), named.end(), std::string()), named.end());
        return named;
    };
    const std::vector<std::string> folderParts = parts(ResolvedPath(folder)), pathParts = parts(ResolvedPath(path));
    below.clear();
    if (folderParts.empty() || pathParts.size() < folderParts.size() ||
        !std::equal(folderParts.begin(), folderParts.end(), pathParts.begin(), SameComponent))
        return false;
    below.assign(pathParts.begin() + static_cast<std::ptrdiff_t>(folderParts.size()), pathParts.end());
    return true;
}

bool LetterCaseTwins(const std::string& a, const std::string& b)
{
    return a != b && FoldCase(a) == FoldCase(b);
}
