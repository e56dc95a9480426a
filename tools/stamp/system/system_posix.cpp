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
#include <sys/file.h>
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
    return codePage == 65001 ? "UTF-8" : "CP" + std::to_string(codePage);
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
    // Opened without waiting (a FIFO's open would wait for a writer), then checked to be a
    // plain file before anything is read.
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return Fail(error, "cannot open");
    struct stat info;
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(fd);
        error = S_ISDIR(info.st_mode) ? "is a folder" : "is not a plain file (a FIFO, device or socket)";
        return false;
    }
    bytes.clear();
    unsigned char buffer[65536];
    bool failed = false;
    while (bytes.size() < limit) {
        const ssize_t n = read(fd, buffer, std::min(sizeof buffer, limit - bytes.size()));
        if (n < 0 && errno == EINTR)
            continue;
        failed = n < 0;
        if (n <= 0)
            break;
        bytes.insert(bytes.end(), buffer, buffer + n);
    }
    const int reason = errno;
    close(fd);
    errno = reason;
    return !failed || Fail(error, "cannot read");
}

EntryKind KindOf(const std::string& path, std::string& leadsTo)
{
    leadsTo.clear();
    struct stat info;
    if (lstat(path.c_str(), &info) != 0)
        return EntryKind::Missing;
    if (S_ISLNK(info.st_mode)) {
        char resolved[PATH_MAX];
        if (realpath(path.c_str(), resolved) != nullptr) {
            leadsTo = resolved;
        } else {
            // Dangling: where it would lead, made absolute against the link's folder.
            char target[PATH_MAX];
            const ssize_t n = readlink(path.c_str(), target, sizeof target - 1);
            leadsTo = n < 0 ? std::string() : std::string(target, static_cast<std::size_t>(n));
            const std::size_t slash = path.find_last_of('/');
            if (!leadsTo.empty() && leadsTo[0] != '/') {
                char folder[PATH_MAX];
                const std::string parent = slash == std::string::npos ? "." : path.substr(0, slash + 1);
                leadsTo = (realpath(parent.c_str(), folder) != nullptr ? std::string(folder) : parent) + "/" + leadsTo;
            }
        }
        return EntryKind::Link;
    }
    if (S_ISREG(info.st_mode))
        return EntryKind::File;
    return S_ISDIR(info.st_mode) ? EntryKind::Folder : EntryKind::Other;
}

namespace {

const char TemporaryPrefix[] = ".launcher-stamp-";

void SyncFolderOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    const int folderFd = open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (folderFd >= 0) {
        fsync(folderFd);  // make the rename itself durable
        close(folderFd);
    }
}

}  // namespace

bool StageFile(const std::string& path, const Bytes& bytes, StagedFile& staged, std::string& error)
{
    const std::size_t slash = path.find_last_of('/');
    const std::string folder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    staged.path = path;
    staged.temporary = folder + TemporaryPrefix + "XXXXXX";
    const int fd = mkstemp(staged.temporary.data());
    if (fd < 0) {
        staged.temporary.clear();
        return Fail(error, "cannot create a temporary file in " + (folder.empty() ? std::string(".") : folder));
    }
    staged.handle = fd;
    // Locked for as long as it stays open: no other run takes it for a leftover meanwhile.
    struct stat existing;
    const bool plainFile = lstat(path.c_str(), &existing) == 0 && S_ISREG(existing.st_mode);
    const mode_t mode = plainFile ? existing.st_mode & 07777 : 0644;
    if (flock(fd, LOCK_EX) != 0 || fchmod(fd, mode) != 0 || !WriteAll(fd, bytes) || fsync(fd) != 0) {
        Fail(error, "cannot write");
        DiscardStaged(staged);
        return false;
    }
    return true;
}

bool PutInPlace(StagedFile& staged, bool replace, bool& exists, bool& readOnlyKept, std::string& error)
{
    exists = readOnlyKept = false;
    // rename replaces a link itself, never what it leads to; a hard link never replaces anything.
    const bool placed = replace ? rename(staged.temporary.c_str(), staged.path.c_str()) == 0
                                : link(staged.temporary.c_str(), staged.path.c_str()) == 0;
    if (!placed) {
        exists = !replace && errno == EEXIST;
        Fail(error, exists ? "something appeared there meanwhile" : "cannot write");
    }
    if (placed && replace)
        staged.temporary.clear();
    DiscardStaged(staged);
    if (placed)
        SyncFolderOf(staged.path);
    return placed;
}

void DiscardStaged(StagedFile& staged)
{
    if (!staged.temporary.empty())
        unlink(staged.temporary.c_str());
    if (staged.handle >= 0)
        close(static_cast<int>(staged.handle));
    staged.temporary.clear();
    staged.handle = -1;
}

bool RemoveFile(const std::string& path, std::string& error)
{
    return unlink(path.c_str()) == 0 || Fail(error, "cannot remove");
}

bool IsTemporaryName(const std::string& name)
{
    return name.compare(0, sizeof TemporaryPrefix - 1, TemporaryPrefix) == 0;
}

bool IsLeftover(const std::string& path)
{
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat info;
    const bool leftover = fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && flock(fd, LOCK_EX | LOCK_NB) == 0;
    close(fd);
    return leftover;
}

std::vector<std::string> RemoveLeftovers(const std::string& folder)
{
    std::vector<std::string> removed;
    std::vector<FolderEntry> entries;
    std::string error;
    if (!ListFolder(folder, entries, error))
        return removed;
    for (const FolderEntry& entry : entries) {
        const std::string path = ChildPath(folder, entry.name);
        // Locked while it is removed, so that no run can be writing it at that moment.
        const int fd = IsTemporaryName(entry.name) ? open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC) : -1;
        if (fd < 0)
            continue;
        struct stat info;
        if (fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && flock(fd, LOCK_EX | LOCK_NB) == 0 &&
            unlink(path.c_str()) == 0)
            removed.push_back(entry.name);
        close(fd);
    }
    return removed;
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
