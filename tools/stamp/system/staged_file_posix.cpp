// Staged and held files on POSIX systems: written beside their place, put in place whole, or discarded.
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
#include <memory>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

using namespace posix_error;

namespace {

// The folder part of path, with its slash ("" for a bare name).
std::string FolderOf(const std::string& path)
{
    return path.substr(0, path.find_last_of('/') + 1);
}

void SyncFolderOf(const std::string& path)
{
    const std::string folder = FolderOf(path).empty() ? "." : FolderOf(path);
    const int folderFd = open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (folderFd >= 0) {
        fsync(folderFd);  // make the rename itself durable
        close(folderFd);
    }
}

}  // namespace

bool BeginStaged(const std::string& path, StagedFile& staged, std::string& error)
{
    if (FailsForTesting(StagingStep::Stage, path, error))
        return false;
    const std::string folder = FolderOf(path).empty() ? "." : FolderOf(path);
    staged.path = path;
    struct stat existing;
    const bool plainFile = lstat(path.c_str(), &existing) == 0 && S_ISREG(existing.st_mode);
    const mode_t mode = plainFile ? existing.st_mode & 07777 : 0644;
    // A file with no name yet, where the file system has them: it is locked before any other
    // run can see it, and vanishes by itself if this run is killed. Elsewhere (FAT) a named
    // temporary file, locked at once.
    int fd = open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, mode);
    if (fd < 0) {
        staged.temporary = FolderOf(path) + TemporaryNamePrefix + "XXXXXX";
        fd = mkstemp(staged.temporary.data());
    }
    if (fd < 0) {
        staged.temporary.clear();
        return Fail(error, "cannot create a temporary file in " + folder);
    }
    staged.handle = fd;
    // Locked for as long as it stays open: no other run takes it for a leftover meanwhile.
    if (flock(fd, LOCK_EX) != 0 || fchmod(fd, mode) != 0) {
        Fail(error, "cannot write");
        DiscardStaged(staged);
        return false;
    }
    return true;
}

bool AppendStaged(StagedFile& staged, const unsigned char* data, std::size_t count, std::string& error)
{
    const int fd = static_cast<int>(staged.handle);
    for (std::size_t written = 0; written < count;) {
        const ssize_t n = write(fd, data + written, count - written);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return Fail(error, "cannot write");
        written += static_cast<std::size_t>(n);
    }
    return true;
}

bool FinishStaged(StagedFile& staged, std::string& error)
{
    return fsync(static_cast<int>(staged.handle)) == 0 || Fail(error, "cannot write");
}

bool ReadStaged(const StagedFile& staged, std::uint64_t offset, std::size_t count, Bytes& bytes)
{
    bytes.resize(count);
    for (std::size_t got = 0; got < count;) {
        const ssize_t n = pread(static_cast<int>(staged.handle), bytes.data() + got, count - got,
                                static_cast<off_t>(offset + got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        got += static_cast<std::size_t>(n);
    }
    return true;
}

PartReader HeldStagedReader(const StagedFile& staged, std::string& error)
{
    const int held = fcntl(static_cast<int>(staged.handle), F_DUPFD_CLOEXEC, 0);
    if (held < 0) {
        Fail(error, "cannot hold it for reading");
        return {};
    }
    const std::shared_ptr<StagedFile> hold(new StagedFile{staged.path, {}, held}, [](StagedFile* file) {
        close(static_cast<int>(file->handle));
        delete file;
    });
    return [hold](std::uint64_t offset, std::size_t count, Bytes& bytes) { return ReadStaged(*hold, offset, count, bytes); };
}

namespace {

// Gives the open file fd, which has no name, the name path; never replaces anything there.
bool LinkUnnamed(int fd, const std::string& path)
{
    if (linkat(fd, "", AT_FDCWD, path.c_str(), AT_EMPTY_PATH) == 0)
        return true;
    if (errno == EEXIST)
        return false;
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    return linkat(AT_FDCWD, self.c_str(), AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW) == 0;
}

// Renames from to path unless something is there: a hard link where the file system has them,
// else a rename that does not replace, else (where neither exists) a look, then a rename.
bool RenameWithoutReplacing(const std::string& from, const std::string& path)
{
    if (link(from.c_str(), path.c_str()) == 0) {
        unlink(from.c_str());
        return true;
    }
    if (errno == EEXIST)
        return false;
    if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, path.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    struct stat info;
    if (lstat(path.c_str(), &info) == 0) {
        errno = EEXIST;
        return false;
    }
    return rename(from.c_str(), path.c_str()) == 0;
}

}  // namespace

bool PutInPlace(StagedFile& staged, bool replace, bool& exists, bool& readOnlyKept, std::string& error)
{
    exists = readOnlyKept = false;
    if (FailsForTesting(StagingStep::PutInPlace, staged.path, error)) {
        DiscardStaged(staged);
        return false;
    }
    const int fd = static_cast<int>(staged.handle);
    bool placed = false;
    if (staged.temporary.empty() && !replace) {
        placed = LinkUnnamed(fd, staged.path);
    } else {
        // A name of its own first, for the rename (it stays locked meanwhile).
        for (int attempt = 0; staged.temporary.empty() && attempt < 100; ++attempt) {
            std::string name = FolderOf(staged.path) + TemporaryNamePrefix + "XXXXXX";
            const int probe = mkstemp(name.data());
            if (probe < 0)
                break;
            close(probe);
            unlink(name.c_str());
            if (LinkUnnamed(fd, name))
                staged.temporary = name;
        }
        // rename replaces a link itself, never what it leads to.
        placed = !staged.temporary.empty() &&
                 (replace ? rename(staged.temporary.c_str(), staged.path.c_str()) == 0
                          : RenameWithoutReplacing(staged.temporary, staged.path));
        if (placed)
            staged.temporary.clear();
    }
    if (!placed) {
        exists = !replace && errno == EEXIST;
        Fail(error, exists ? "something appeared there meanwhile" : "cannot write");
    }
    DiscardStaged(staged);
    if (placed)
        SyncFolderOf(staged.path);
    return placed;
}

bool DateStaged(StagedFile& staged, std::int64_t seconds, std::string& error)
{
    struct timespec times[2] = {};
    times[0].tv_sec = times[1].tv_sec = seconds;
    return futimens(static_cast<int>(staged.handle), times) == 0 || Fail(error, "cannot set its date");
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

bool CreateHeldFile(const std::string& path, const Bytes& bytes, bool& exists, StagedFile& held, std::string& error)
{
    exists = false;
    if (!StageFile(path, bytes, held, error))
        return false;
    // Named while it stays open, so that its lock goes with it: locked before any other run sees it.
    const bool placed = held.temporary.empty() ? LinkUnnamed(static_cast<int>(held.handle), path)
                                               : RenameWithoutReplacing(held.temporary, path);
    if (!placed) {
        exists = errno == EEXIST;
        Fail(error, exists ? "something appeared there meanwhile" : "cannot write");
        DiscardStaged(held);
        return false;
    }
    held.temporary.clear();
    return true;
}

void RemoveHeldFile(StagedFile& held)
{
    // Removed while still locked: no other run can be taking it for a leftover at that moment.
    if (held.handle >= 0)
        unlink(held.path.c_str());
    DiscardStaged(held);
}

bool RemoveFile(const std::string& path, std::string& error)
{
    return unlink(path.c_str()) == 0 || Fail(error, "cannot remove");
}

namespace {

// The temporary file of ours at path, opened and locked, when no running process holds it (it
// is then a leftover); -1 otherwise.
int LockedLeftover(const std::string& path)
{
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return -1;
    struct stat info;
    if (fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && flock(fd, LOCK_EX | LOCK_NB) == 0)
        return fd;
    close(fd);
    return -1;
}

}  // namespace

bool IsHeldNow(const std::string& path)
{
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool held = flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    close(fd);
    return held;
}

bool IsLeftover(const std::string& path)
{
    const int fd = LockedLeftover(path);
    if (fd >= 0)
        close(fd);
    return fd >= 0 && !ExtendsAHeldFile(path);
}

bool RemoveIfLeftover(const std::string& path)
{
    // Locked while it is removed, so that no run can be writing it at that moment.
    const int fd = LockedLeftover(path);
    const bool removed = fd >= 0 && !ExtendsAHeldFile(path) && unlink(path.c_str()) == 0;
    if (fd >= 0)
        close(fd);
    return removed;
}
