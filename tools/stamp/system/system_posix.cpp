// The stamping tool on POSIX systems: iconv for code pages, POSIX files.
#include "system/system.h"

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
#include <iconv.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Converts with iconv; false (with the reason) on any character it cannot convert exactly.
bool Convert(const std::string& input, const std::string& from, const std::string& to, std::string& output,
             std::string& error)
{
    const iconv_t converter = iconv_open(to.c_str(), from.c_str());
    if (converter == reinterpret_cast<iconv_t>(-1)) {
        error = "unknown code page (" + (from == "UTF-8" ? to : from) + ")";
        return false;
    }
    std::string in = input;
    output.assign(input.size() * 4 + 16, '\0');
    char* inPosition = in.data();
    std::size_t inLeft = in.size();
    char* outPosition = output.data();
    std::size_t outLeft = output.size();
    const std::size_t result = iconv(converter, &inPosition, &inLeft, &outPosition, &outLeft);
    const int reason = errno;
    iconv_close(converter);
    if (result == static_cast<std::size_t>(-1) || result != 0) {
        const std::size_t at = in.size() - inLeft;
        error = reason == EILSEQ && from == "UTF-8"
                    ? "the character at byte " + std::to_string(at) + " of the name has no place in code page " + to.substr(2)
                    : "the text is not valid in " + from + " (byte " + std::to_string(at) + ")";
        return false;
    }
    output.resize(output.size() - outLeft);
    return true;
}

std::string CodePageName(unsigned codePage)
{
    return "CP" + std::to_string(codePage);
}

bool Fail(std::string& error, const std::string& what)
{
    error = what + ": " + std::strerror(errno);
    return false;
}

bool WriteAll(int fd, const Bytes& bytes)
{
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = write(fd, bytes.data() + written, bytes.size() - written);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        written += static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace

bool ToCodePage(const std::string& utf8, unsigned codePage, std::string& bytes, std::string& error)
{
    return Convert(utf8, "UTF-8", CodePageName(codePage), bytes, error);
}

bool FromCodePage(const std::string& bytes, unsigned codePage, std::string& utf8, std::string& error)
{
    return Convert(bytes, CodePageName(codePage), "UTF-8", utf8, error);
}

bool ReadFileStart(const std::string& path, std::size_t limit, Bytes& bytes, std::string& error)
{
    FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr)
        return Fail(error, "cannot open");
    bytes.clear();
    unsigned char buffer[65536];
    std::size_t n = 0;
    while (bytes.size() < limit && (n = std::fread(buffer, 1, std::min(sizeof buffer, limit - bytes.size()), file)) > 0)
        bytes.insert(bytes.end(), buffer, buffer + n);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed)
        return Fail(error, "cannot read");
    return true;
}

bool ReplaceFileAtomically(const std::string& path, const Bytes& bytes, std::string& error)
{
    // Replace the file a symbolic link points to, not the link.
    std::string target = path;
    char resolved[PATH_MAX];
    struct stat linkInfo;
    if (lstat(path.c_str(), &linkInfo) == 0 && S_ISLNK(linkInfo.st_mode) && realpath(path.c_str(), resolved) != nullptr)
        target = resolved;
    const std::size_t slash = target.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "." : target.substr(0, slash + 1);
    std::string temporary = (slash == std::string::npos ? std::string() : folder) + ".launcher-stamp-XXXXXX";

    const int fd = mkstemp(temporary.data());
    if (fd < 0)
        return Fail(error, "cannot create a temporary file in " + folder);
    struct stat existing;
    const mode_t mode = stat(target.c_str(), &existing) == 0 ? existing.st_mode & 07777 : 0644;
    const bool written = fchmod(fd, mode) == 0 && WriteAll(fd, bytes) && fsync(fd) == 0;
    const int writeErrno = errno;
    if (close(fd) != 0 || !written || rename(temporary.c_str(), target.c_str()) != 0) {
        if (!written)
            errno = writeErrno;
        Fail(error, "cannot write");
        unlink(temporary.c_str());
        return false;
    }
    const int folderFd = open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (folderFd >= 0) {
        fsync(folderFd);  // make the rename itself durable
        close(folderFd);
    }
    return true;
}

std::string ChildPath(const std::string& folder, const std::string& name)
{
    return !folder.empty() && folder.back() == '/' ? folder + name : folder + "/" + name;
}

bool ListFolder(const std::string& path, std::vector<FolderEntry>& entries, std::string& error)
{
    DIR* folder = opendir(path.c_str());
    if (folder == nullptr)
        return Fail(error, "cannot read the folder " + path);
    entries.clear();
    while (const dirent* entry = readdir(folder)) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..")
            continue;
        struct stat info;
        FolderEntry found;
        found.name = name;
        if (stat(ChildPath(path, name).c_str(), &info) == 0) {
            found.isFolder = S_ISDIR(info.st_mode);
            found.isFile = S_ISREG(info.st_mode);
            found.size = static_cast<std::uint64_t>(info.st_size);
        }
        entries.push_back(found);
    }
    closedir(folder);
    return true;
}

std::string FoldCase(const std::string& utf8)
{
    // Each character is upper-cased as a whole code point, through UTF-32.
    static const locale_t unicode = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
    std::string characters, folded, error;
    if (unicode == static_cast<locale_t>(nullptr) || !Convert(utf8, "UTF-8", "UTF-32LE", characters, error))
        return utf8;
    for (std::size_t i = 0; i + 4 <= characters.size(); i += 4) {
        auto* unit = reinterpret_cast<unsigned char*>(&characters[i]);
        const std::uint32_t upper = towupper_l(Little32(unit), unicode);
        for (std::size_t k = 0; k < 4; ++k)
            unit[k] = static_cast<unsigned char>(upper >> (8 * k));
    }
    return Convert(characters, "UTF-32LE", "UTF-8", folded, error) ? folded : utf8;
}

bool PathExists(const std::string& path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0;
}

bool ConsoleOfItsOwn()
{
    return false;
}
