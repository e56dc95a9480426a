// The stamping tool on POSIX systems: files read and their kinds, the terminal, free space.
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

namespace {

// Opens path for reading without waiting (a FIFO's open would wait for a writer), then checks
// that it is a plain file before anything is read. flags adds O_NOFOLLOW, say. -1 with the reason
// when it cannot.
int OpenPlainFile(const std::string& path, int flags, std::string& error)
{
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | flags);
    if (fd < 0) {
        Fail(error, "cannot open");
        return -1;
    }
    struct stat info;
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(fd);
        error = S_ISDIR(info.st_mode) ? "is a folder" : "is not a plain file (a FIFO, device or socket)";
        return -1;
    }
    return fd;
}

}  // namespace

bool ReadFilePart(const std::string& path, std::uint64_t offset, std::size_t count, Bytes& bytes, std::string& error)
{
    const int fd = OpenPlainFile(path, 0, error);
    if (fd < 0)
        return false;
    bytes.clear();
    unsigned char buffer[65536];
    bool failed = offset > 0 && lseek(fd, static_cast<off_t>(offset), SEEK_SET) < 0;
    while (!failed && bytes.size() < count) {
        const ssize_t n = read(fd, buffer, std::min(sizeof buffer, count - bytes.size()));
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

bool FileSize(const std::string& path, std::uint64_t& size, std::string& error)
{
    size = 0;
    const int fd = OpenPlainFile(path, 0, error);
    if (fd < 0)
        return false;
    struct stat info;
    const bool known = fstat(fd, &info) == 0;
    const int reason = errno;
    close(fd);
    errno = reason;
    size = known ? static_cast<std::uint64_t>(info.st_size) : 0;
    return known || Fail(error, "cannot read its size");
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

bool ErrorIsTerminal()
{
    return isatty(STDERR_FILENO) == 1;
}

void WriteToTerminal(const std::string& text)
{
    if (!ErrorIsTerminal())
        return;
    for (std::size_t at = 0; at < text.size();) {
        const ssize_t n = write(STDERR_FILENO, text.data() + at, text.size() - at);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return;
        at += static_cast<std::size_t>(n);
    }
}

bool ConsoleOfItsOwn()
{
    return false;
}

unsigned SystemAnsiCodePage()
{
    return 0;
}

FileReader::~FileReader()
{
    if (handle_ >= 0)
        close(static_cast<int>(handle_));
}

bool FileReader::Open(const std::string& path, std::string& error)
{
    // The entry itself: a link is not followed.
    const int fd = OpenPlainFile(path, O_NOFOLLOW, error);
    handle_ = fd;
    return fd >= 0;
}

bool FileReader::Read(unsigned char* data, std::size_t count, std::size_t& got, std::string& error)
{
    for (;;) {
        const ssize_t n = read(static_cast<int>(handle_), data, count);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return Fail(error, "cannot read");
        got = static_cast<std::size_t>(n);
        return true;
    }
}

bool FreeSpaceAt(const std::string& folder, std::uint64_t& bytes)
{
    struct statvfs info;
    if (statvfs(folder.c_str(), &info) != 0)
        return false;
    bytes = std::uint64_t{info.f_bavail} * info.f_frsize;
    return true;
}
