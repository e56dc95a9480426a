// Staged and held files on Windows: written beside their place, put in place whole, or discarded.
#include "system/system.h"
#include "system/utf16_win32.h"
#include "system/win32_text.h"

#include "base/windows_path.h"

#include <windows.h>

#include <algorithm>
#include <memory>
#include <vector>

using namespace win32_text;

namespace {

constexpr DWORD BusyRetryMs = 2000;  // how long a file that another program holds is waited for

bool Busy(DWORD code)
{
    return code == ERROR_SHARING_VIOLATION || code == ERROR_ACCESS_DENIED || code == ERROR_LOCK_VIOLATION;
}

// The folder of a path, with its separator ("" for a bare name).
std::wstring FolderOf(const std::wstring& path)
{
    const std::size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
}

// Marks the open file for deletion when it is closed: a temporary file that is not kept.
void DiscardOnClose(HANDLE file)
{
    FILE_DISPOSITION_INFO discard{TRUE};
    SetFileInformationByHandle(file, FileDispositionInfo, &discard, sizeof discard);
}

// Renames the open file to path, replacing what is there when replace is set. Retries while
// another program holds path.
bool RenameOpenFile(HANDLE file, const std::wstring& path, bool replace)
{
    std::vector<unsigned char> buffer(sizeof(FILE_RENAME_INFO) + path.size() * sizeof(wchar_t));
    auto* rename = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
    if (rename == nullptr)
        return false;
    rename->ReplaceIfExists = replace ? TRUE : FALSE;
    rename->RootDirectory = nullptr;
    rename->FileNameLength = static_cast<DWORD>(path.size() * sizeof(wchar_t));
    std::copy(path.begin(), path.end(), rename->FileName);
    const DWORD start = GetTickCount();
    for (;;) {
        if (SetFileInformationByHandle(file, FileRenameInfo, rename, static_cast<DWORD>(buffer.size())))
            return true;
        if (!Busy(GetLastError()) || GetTickCount() - start >= BusyRetryMs)
            return false;
        Sleep(100);
    }
}

std::string HeldMessage(const std::string& what)
{
    const DWORD code = GetLastError();
    return Busy(code) ? what + ": another program, often security software, holds the file open; close it or wait, "
                               "then run again"
                      : what + ": " + ErrorText(code);
}

}  // namespace

bool BeginStaged(const std::string& path, StagedFile& staged, std::string& error)
{
    if (FailsForTesting(StagingStep::Stage, path, error))
        return false;
    static unsigned counter = 0;
    const std::wstring target = WidePath(path);
    const std::wstring temporary = FolderOf(target) + WidePath(TemporaryNamePrefix) + std::to_wstring(GetCurrentProcessId()) +
                                   L"-" + std::to_wstring(++counter);
    staged.path = path;
    // Opened for no one else: no other run can take it for a leftover, nor delete it, meanwhile.
    const HANDLE file = CreateFileW(temporary.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return Fail(error, "cannot create a temporary file beside it");
    bool exact = false;
    staged.temporary = Narrow(temporary, CP_UTF8, exact);
    staged.handle = reinterpret_cast<std::intptr_t>(file);
    return true;
}

bool AppendStaged(StagedFile& staged, const unsigned char* data, std::size_t count, std::string& error)
{
    const HANDLE file = reinterpret_cast<HANDLE>(staged.handle);
    for (std::size_t written = 0; written < count;) {
        const DWORD piece = static_cast<DWORD>(std::min<std::size_t>(count - written, 1u << 30));
        DWORD n = 0;
        if (!WriteFile(file, data + written, piece, &n, nullptr) || n == 0)
            return Fail(error, "cannot write");
        written += n;
    }
    return true;
}

bool FinishStaged(StagedFile& staged, std::string& error)
{
    return FlushFileBuffers(reinterpret_cast<HANDLE>(staged.handle)) || Fail(error, "cannot write");
}

bool ReadStaged(const StagedFile& staged, std::uint64_t offset, std::size_t count, Bytes& bytes)
{
    bytes.resize(count);
    for (std::size_t got = 0; got < count;) {
        OVERLAPPED at{};
        at.Offset = static_cast<DWORD>(offset + got);
        at.OffsetHigh = static_cast<DWORD>((offset + got) >> 32);
        const DWORD piece = static_cast<DWORD>(std::min<std::size_t>(count - got, 1u << 30));
        DWORD n = 0;
        if (!ReadFile(reinterpret_cast<HANDLE>(staged.handle), bytes.data() + got, piece, &n, &at) || n == 0)
            return false;
        got += n;
    }
    return true;
}

PartReader HeldStagedReader(const StagedFile& staged, std::string& error)
{
    HANDLE held = nullptr;
    if (!DuplicateHandle(GetCurrentProcess(), reinterpret_cast<HANDLE>(staged.handle), GetCurrentProcess(), &held, 0,
                         FALSE, DUPLICATE_SAME_ACCESS)) {
        Fail(error, "cannot hold it for reading");
        return {};
    }
    const std::shared_ptr<StagedFile> hold(new StagedFile{staged.path, {}, reinterpret_cast<std::intptr_t>(held)},
                                           [](StagedFile* file) {
                                               CloseHandle(reinterpret_cast<HANDLE>(file->handle));
                                               delete file;
                                           });
    return [hold](std::uint64_t offset, std::size_t count, Bytes& bytes) { return ReadStaged(*hold, offset, count, bytes); };
}

bool PutInPlace(StagedFile& staged, bool replace, bool& exists, bool& readOnlyKept, std::string& error)
{
    exists = readOnlyKept = false;
    if (FailsForTesting(StagingStep::PutInPlace, staged.path, error)) {
        DiscardStaged(staged);
        return false;
    }
    const std::wstring target = WidePath(staged.path);
    const HANDLE file = reinterpret_cast<HANDLE>(staged.handle);
    // Windows refuses to replace a read-only file: it is cleared for the rename, and the new
    // file is made read-only again.
    const DWORD attributes = replace ? GetFileAttributesW(target.c_str()) : INVALID_FILE_ATTRIBUTES;
    const bool readOnly = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0 &&
                          (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0;
    if (readOnly)
        SetFileAttributesW(target.c_str(), attributes & ~DWORD{FILE_ATTRIBUTE_READONLY});
    const bool placed = RenameOpenFile(file, target, replace);
    if (!placed) {
        const DWORD code = GetLastError();
        exists = !replace && (code == ERROR_ALREADY_EXISTS || code == ERROR_FILE_EXISTS);
        error = exists ? "something appeared there meanwhile" : HeldMessage(replace ? "cannot replace it" : "cannot create it");
        DiscardStaged(staged);
    } else {
        CloseHandle(file);
        staged.handle = -1;
        staged.temporary.clear();
    }
    if (readOnly) {
        const DWORD now = GetFileAttributesW(target.c_str());
        SetFileAttributesW(target.c_str(), (now == INVALID_FILE_ATTRIBUTES ? 0 : now) | FILE_ATTRIBUTE_READONLY);
        readOnlyKept = placed;
    }
    return placed;
}

bool DateStaged(StagedFile& staged, std::int64_t seconds, std::string& error)
{
    // FILETIME counts 100 ns from 1601; its last written and last read dates both get it.
    const std::uint64_t ticks = static_cast<std::uint64_t>(seconds + 11644473600LL) * 10000000ULL;
    FILETIME time;
    time.dwLowDateTime = static_cast<DWORD>(ticks);
    time.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
    return SetFileTime(reinterpret_cast<HANDLE>(staged.handle), nullptr, &time, &time) != 0 ||
           Fail(error, "cannot set its date");
}

void DiscardStaged(StagedFile& staged)
{
    if (staged.handle != -1) {
        const HANDLE file = reinterpret_cast<HANDLE>(staged.handle);
        DiscardOnClose(file);
        CloseHandle(file);
    }
    staged.handle = -1;
    staged.temporary.clear();
}

bool RemoveFile(const std::string& path, std::string& error)
{
    return DeleteFileW(WidePath(path).c_str()) || Fail(error, "cannot remove");
}

bool CreateHeldFile(const std::string& path, const Bytes& bytes, bool& exists, StagedFile& held, std::string& error)
{
    exists = false;
    held = StagedFile();
    held.path = path;
    if (FailsForTesting(StagingStep::Stage, path, error))
        return false;
    // Under its own name from the start, shared for reading and writing but never for deleting:
    // no other run can delete it, nor open it for itself alone, as it does a leftover.
    const std::wstring wide = WidePath(path);
    const HANDLE writer = CreateFileW(wide.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (writer == INVALID_HANDLE_VALUE) {
        const DWORD code = GetLastError();
        exists = code == ERROR_FILE_EXISTS || code == ERROR_ALREADY_EXISTS;
        return Fail(error, exists ? "something appeared there meanwhile" : "cannot create it");
    }
    held.handle = reinterpret_cast<std::intptr_t>(writer);
    if (!AppendStaged(held, bytes.data(), bytes.size(), error) || !FinishStaged(held, error)) {
        RemoveHeldFile(held);
        return false;
    }
    // Held by a handle that reads alone, so that another program may still open it to write.
    const HANDLE reader = CreateFileW(wide.c_str(), FILE_READ_DATA | FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (reader == INVALID_HANDLE_VALUE) {
        Fail(error, "cannot open it again");
        RemoveHeldFile(held);
        return false;
    }
    CloseHandle(writer);
    held.handle = reinterpret_cast<std::intptr_t>(reader);
    return true;
}

void RemoveHeldFile(StagedFile& held)
{
    if (held.handle != -1)
        CloseHandle(reinterpret_cast<HANDLE>(held.handle));
    held.handle = -1;
    DeleteFileW(WidePath(held.path).c_str());
}

bool IsHeldNow(const std::string& path)
{
    // A run that writes it holds it open for no one else.
    const HANDLE file = CreateFileW(WidePath(path).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return GetLastError() == ERROR_SHARING_VIOLATION;
    CloseHandle(file);
    return false;
}

bool IsLeftover(const std::string& path)
{
    // A run that writes it holds it open for no one else.
    const HANDLE file = CreateFileW(WidePath(path).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(file);
    return !ExtendsAHeldFile(path);
}

bool RemoveIfLeftover(const std::string& path)
{
    // Deleting fails while a running process holds the file.
    return !ExtendsAHeldFile(path) && DeleteFileW(WidePath(path).c_str()) != 0;
}
