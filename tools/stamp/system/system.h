// What the stamping tool needs from the operating system: files and folders (code pages are
// converted the same way on every system, in base/).
// system_posix.cpp and system_win32.cpp supply it, each with the program's entry point, with
// staged_file_*.cpp (staged and held files) and folder_paths_*.cpp (listings and paths).
#pragma once

#include "base/bytes.h"
#include "base/code_pages.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Reads up to count bytes at offset of a plain file (fewer at its end, none past it). A FIFO,
// device, socket or folder is refused at once, never opened for reading (so never waited on); a
// link is followed. Another program may have the file open for writing or deleting meanwhile.
bool ReadFilePart(const std::string& path, std::uint64_t offset, std::size_t count, Bytes& bytes, std::string& error);

// The size of a plain file, from the file opened as ReadFilePart opens it (never a listing).
bool FileSize(const std::string& path, std::uint64_t& size, std::string& error);

// Reads the first limit bytes of a plain file, or all of a shorter one, as ReadFilePart.
inline bool ReadFileStart(const std::string& path, std::size_t limit, Bytes& bytes, std::string& error)
{
    return ReadFilePart(path, 0, limit, bytes, error);
}

// Reads a whole file.
inline bool ReadWholeFile(const std::string& path, Bytes& bytes, std::string& error)
{
    return ReadFileStart(path, SIZE_MAX, bytes, error);
}

// What is at a path, the entry itself: a link (symbolic link, junction or other reparse point)
// is a link, whatever it leads to.
enum class EntryKind { Missing, File, Folder, Link, Other };

// The kind of the entry at path; for a link, leadsTo gets the absolute path it leads to (as far
// as it resolves), else is emptied.
EntryKind KindOf(const std::string& path, std::string& leadsTo);

// A file written whole and flushed to disk beside its destination, under a temporary name of
// ours, and not yet put in place. While it is staged, no other run takes it for a leftover.
struct StagedFile {
    std::string path;       // the destination
    std::string temporary;  // where it is written
    std::intptr_t handle = -1;  // held open (a descriptor or a HANDLE) until it is put in place or discarded
};

// Writes bytes as a staged file for path, in path's folder. False with the reason when it
// cannot be written (nothing is then left behind).
bool StageFile(const std::string& path, const Bytes& bytes, StagedFile& staged, std::string& error);

// The same in pieces, for a file too large to hold in memory: BeginStaged creates the staged file
// empty, AppendStaged adds bytes at its end, FinishStaged flushes them to disk. ReadStaged reads
// back count bytes at offset (false when they are not all there). On a failure the caller
// discards it.
bool BeginStaged(const std::string& path, StagedFile& staged, std::string& error);
bool AppendStaged(StagedFile& staged, const unsigned char* data, std::size_t count, std::string& error);
bool FinishStaged(StagedFile& staged, std::string& error);
bool ReadStaged(const StagedFile& staged, std::uint64_t offset, std::size_t count, Bytes& bytes);

// Reads count bytes at offset of one file (false when they are not all there).
using PartReader = std::function<bool(std::uint64_t offset, std::size_t count, Bytes& bytes)>;

// A reader of the staged file's bytes through a hold of its own, which outlasts putting the file
// in place: what was written and read back is what it reads, whatever is put at the path later.
// The hold ends with the last copy of the reader. Empty with the reason when it cannot be had.
PartReader HeldStagedReader(const StagedFile& staged, std::string& error);

// Puts a staged file in place with one rename. With replace, the entry at the destination is
// replaced: a link itself, never what it leads to; a read-only file all the same, its
// replacement made read-only again (readOnlyKept tells). Without replace, only if nothing is
// there at that moment (exists tells when something is). Renames that another program (often
// security software) blocks for a moment are retried for about two seconds. On failure the staged
// file is discarded and the destination left as it was.
bool PutInPlace(StagedFile& staged, bool replace, bool& exists, bool& readOnlyKept, std::string& error);

// Removes a staged file that is not to be put in place.
void DiscardStaged(StagedFile& staged);

// Sets a staged file's last-written date to seconds since 1970 UTC, once all its bytes are
// written; putting it in place keeps that date.
bool DateStaged(StagedFile& staged, std::int64_t seconds, std::string& error);

// The date SOURCE_DATE_EPOCH fixes for what is written, as reproducible builds set it: None when
// it is unset or empty, Set with seconds when it is a decimal number of seconds since 1970 UTC
// (ASCII digits alone, at most 253402300799, the last second of 9999), Malformed otherwise.
enum class SourceDate { None, Set, Malformed };
SourceDate SourceDateEpoch(std::int64_t& seconds);

// Stages a copy of the plain file at path beside it, read in pieces (never a link, FIFO or
// device), so that it can be put back in place later: size gets its size. False with the reason
// (nothing left behind) when it cannot be read or the disk has no room for the copy.
bool StageCopy(const std::string& path, StagedFile& copy, std::uint64_t& size, std::string& error);

// The system room's test seam: the next staging (BeginStaged) or putting in place (PutInPlace)
// of a file whose file name is fileName fails once, as a full disk or another program's lock
// would make it fail. Tests alone call this.
enum class StagingStep { Stage, PutInPlace };
void FailNextForTesting(StagingStep step, const std::string& fileName);

// Whether the test seam fails this step for path now (once); error then gets the reason.
bool FailsForTesting(StagingStep step, const std::string& path, std::string& error);

// Replaces the entry at path with a plain file holding bytes atomically (StageFile, then
// PutInPlace with replace). Keeps a plain file's permissions.
bool ReplaceFileAtomically(const std::string& path, const Bytes& bytes, bool& readOnlyKept, std::string& error);
bool ReplaceFileAtomically(const std::string& path, const Bytes& bytes, std::string& error);

// Creates path as a plain file holding bytes, atomically and only if nothing is there at the
// moment it is put in place. False with the reason, and exists set, when something is.
bool CreateFileAtomically(const std::string& path, const Bytes& bytes, bool& exists, std::string& error);

// Creates path as a plain file holding bytes, only if nothing is there (exists tells when
// something is), and keeps it held in held while other programs read and write it: held as a
// staged file is, so that no other run takes it for a leftover. RemoveHeldFile removes it and
// lets it go. False with the reason when it cannot be written (nothing is then left behind).
bool CreateHeldFile(const std::string& path, const Bytes& bytes, bool& exists, StagedFile& held, std::string& error);
void RemoveHeldFile(StagedFile& held);

// Removes the file at path (not a folder; a link itself, never what it leads to).
bool RemoveFile(const std::string& path, std::string& error);

// How the names of the temporary files of ours begin.
constexpr char TemporaryNamePrefix[] = ".launcher-stamp-";

// Whether name is that of a temporary file of ours.
bool IsTemporaryName(const std::string& name);

// Removes the temporary file of ours at path unless a running process holds it. True when it
// was removed.
bool RemoveIfLeftover(const std::string& path);

// Removes from folder the temporary files of ours that an interrupted run left behind, never
// one that a running process still writes (it keeps a lock on it). Returns their names.
std::vector<std::string> RemoveLeftovers(const std::string& folder);

// Whether the temporary file of ours at path was left behind: no running process holds it,
// nor a temporary file beside it whose name it extends (a signer's {out}, or its own temporary
// file, beside the file it signs). RemoveIfLeftover and RemoveLeftovers spare those too.
bool IsLeftover(const std::string& path);

// Whether a running process holds the temporary file at path itself (IsLeftover without the
// files beside it); and whether one beside path whose name path extends (its name up to its
// extension, then "." or "-") is held so.
bool IsHeldNow(const std::string& path);
bool ExtendsAHeldFile(const std::string& path);

// One entry of a folder: its name (UTF-8) and whether it is a folder (links followed).
struct FolderEntry {
    std::string name;
    bool isFolder = false;
    bool isFile = false;        // a regular file
    std::uint64_t size = 0;     // in bytes, for a regular file
    std::int64_t modified = 0;  // last written, in seconds since 1970 UTC (with FolderDetail::Sizes)
};

// The path of the entry name inside folder.
std::string ChildPath(const std::string& folder, const std::string& name);

// How much ListFolder tells of each entry.
enum class FolderDetail {
    Sizes,  // kind and size: each entry looked at on its own where the system needs it
    Kinds,  // kind only, from the folder's own entries (a link's, or one of no kind there, looked
            // up on its own), sizes left 0 where the listing does not give them
};

// Lists a folder's entries, "." and ".." left out, in no particular order. False with the
// reason when it cannot be read.
bool ListFolder(const std::string& path, std::vector<FolderEntry>& entries, std::string& error,
                FolderDetail detail = FolderDetail::Sizes);

// The drive letter path names on Windows ("M:", "m:\\x", "\\\\?\\M:\\x" give 'M'), or 0 when it names
// none (always on POSIX systems).
char DriveOf(const std::string& path);

// path as a folder the system opens: a bare drive ("M:") as its root ("M:\\") on Windows; else
// path as it is.
std::string FolderPath(const std::string& path);

// path made absolute and resolved as the system resolves it (links followed), in its plain
// form: on Windows with backslashes, and without a \\?\\ or \\.\\ prefix. Empty when it
// cannot be resolved.
std::string ResolvedPath(const std::string& path);

// The components of path below folder, both resolved as the system resolves them (ResolvedPath)
// and their names compared as it compares them (SameComponent): none when path is folder itself.
// False when path lies outside folder, or either cannot be resolved.
bool ComponentsBelow(const std::string& folder, const std::string& path, std::vector<std::string>& below);

// Whether two names of a path component name the same entry, as the system compares them:
// exactly on POSIX systems; on Windows without regard to letter case, trailing dots and spaces
// dropped.
bool SameComponent(const std::string& a, const std::string& b);

// A plain file read from its start in pieces. A link, FIFO, device, socket or folder is refused
// at once, never read from (so never waited on).
class FileReader {
public:
    FileReader() = default;
    ~FileReader();
    FileReader(const FileReader&) = delete;
    FileReader& operator=(const FileReader&) = delete;

    bool Open(const std::string& path, std::string& error);
    // Reads up to count bytes; got is 0 at the end of the file.
    bool Read(unsigned char* data, std::size_t count, std::size_t& got, std::string& error);

private:
    std::intptr_t handle_ = -1;
};

// The bytes this user may still write on the file system that holds folder; false when the
// system does not tell.
bool FreeSpaceAt(const std::string& folder, std::uint64_t& bytes);

// Whether something (a file or a folder) exists at path.
bool PathExists(const std::string& path);

// Whether this process is alone on a console of its own, as when Explorer opened a console
// program, rather than sharing one with the command prompt or program that started it.
// Never on POSIX systems.
bool ConsoleOfItsOwn();

// Whether this process's standard error is a terminal (a console on Windows) that a person
// reads, rather than a file or a pipe that a script reads.
bool ErrorIsTerminal();

// Writes text (UTF-8) to that terminal as it is, at once: control characters such as a carriage
// return reach it unchanged. Does nothing when standard error is no terminal.
void WriteToTerminal(const std::string& text);

// The ANSI code page of the system this runs on (Windows' GetACP), or 0 on POSIX systems,
// which have none.
unsigned SystemAnsiCodePage();

// A name in the letter case Windows compares file names in, so that two names that Windows
// takes for the same file fold to the same text. Invalid UTF-8 is returned as it is.
std::string FoldCase(const std::string& utf8);

// Whether a and b are letter-case twins: names that differ, yet fold to the same text
// (FoldCase), so that Windows takes them for one entry and finds only one of them. The one
// rule for twins, in a folder on this system and in a disc image alike.
bool LetterCaseTwins(const std::string& a, const std::string& b);
