// The program-start service's search for an unquoted command, modelled on Windows' own.
#include "medium/start_service.h"

#include "base/windows_path.h"

namespace {

// The files the start service tries for one candidate, in order.
std::vector<std::string> Tries(const std::string& candidate, StartService service)
{
    if (HasExtension(candidate))
        return {candidate};
    if (service == StartService::Wine)
        return {candidate + ".exe", candidate};
    return {candidate + ".exe"};
}

}  // namespace

bool HasExtension(const std::string& path)
{
    const std::size_t slash = path.find_last_of('\\');
    const std::string last = slash == std::string::npos ? path : path.substr(slash + 1);
    return last.find('.') != std::string::npos;
}

std::vector<std::string> BelowRoot(const std::string& windowsPath)
{
    return NormalisePath({}, windowsPath.substr(3));
}

Found FirstCandidate(MediumFolders& folders, StartService service, const std::string& command, std::string& arguments)
{
    for (std::size_t end = command.find(' ');; end = command.find(' ', end + 1)) {
        const std::string candidate = command.substr(0, end);
        for (const std::string& attempt : Tries(candidate, service)) {
            const Found file = FindOnMedium(folders, BelowRoot(attempt));
            if (file.exists && !file.isFolder) {
                arguments = end == std::string::npos ? std::string() : command.substr(end + 1);
                return file;
            }
        }
        if (end == std::string::npos)
            return Found();
    }
}
