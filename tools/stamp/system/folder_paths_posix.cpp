// Folders and paths on POSIX systems: listings, case folding and paths resolved.
#include "system/system.h"
#include "system/posix_error.h"

#include "base/unicode.h"

#include <algorithm>
#include <cerrno>
#include <locale.h>
#include <wctype.h>
#include <dirent.h>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

using namespace posix_error;

std::string ChildPath(const std::string& folder, const std::string& name)
{
    return !folder.empty() && folder.back() == '/' ? folder + name : folder + "/" + name;
}

bool ListFolder(const std::string& path, std::vector<FolderEntry>& entries, std::string& error, FolderDetail detail)
{
    DIR* folder = opendir(path.c_str());
    if (folder == nullptr)
        return Fail(error, "cannot read the folder " + path);
    entries.clear();
    while (const dirent* entry = readdir(folder)) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..")
            continue;
        FolderEntry found;
        found.name = name;
        // A link's kind is that of what it leads to, which only stat tells; so does a file system
        // that gives no kinds in its listing.
        if (detail == FolderDetail::Kinds && entry->d_type != DT_LNK && entry->d_type != DT_UNKNOWN) {
            found.isFolder = entry->d_type == DT_DIR;
            found.isFile = entry->d_type == DT_REG;
            entries.push_back(found);
            continue;
        }
        struct stat info;
        if (stat(ChildPath(path, name).c_str(), &info) == 0) {
            found.isFolder = S_ISDIR(info.st_mode);
            found.isFile = S_ISREG(info.st_mode);
            found.size = static_cast<std::uint64_t>(info.st_size);
            found.modified = info.st_mtime;
        }
        entries.push_back(found);
    }
    closedir(folder);
    return true;
}

std::string FoldCase(const std::string& utf8)
{
    // Each character is upper-cased as a whole code point.
    static const locale_t unicode = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
    if (unicode == static_cast<locale_t>(nullptr))
        return utf8;
    std::string folded;
    for (std::size_t i = 0; i < utf8.size();) {
        const wint_t character = NextCodePoint(utf8, i);
        AppendUtf8(folded, towupper_l(character, unicode));
    }
    return folded;
}

char DriveOf(const std::string&)
{
    return 0;
}

std::string FolderPath(const std::string& path)
{
    return path;
}

std::string ResolvedPath(const std::string& path)
{
    char resolved[PATH_MAX];
    return realpath(path.c_str(), resolved) == nullptr ? std::string() : std::string(resolved);
}

bool SameComponent(const std::string& a, const std::string& b)
{
    return a == b;
}

bool PathExists(const std::string& path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0;
}

