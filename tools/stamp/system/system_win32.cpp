// The stamping tool on Windows: code pages through the Win32 conversions, files through
// wide-character paths (the tool's strings are UTF-8).
#include "system/system.h"
#include "system/utf16_win32.h"

#include "base/windows_path.h"

#include <windows.h>

#include <algorithm>
#include <vector>

namespace {

std::wstring Wide(const std::string& text, UINT codePage, bool& valid)
{
    valid = true;
    if (text.empty())
        return std::wstring();
    const int size = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text.data(), size, nullptr, 0);
    if (length <= 0) {
        valid = false;
        return std::wstring();
    }
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text.data(), size, wide.data(), length);
    return wide;
}

std::string Narrow(const std::wstring& wide, UINT codePage, bool& exact)
{
    exact = true;
    if (wide.empty())
        return std::string();
    const int size = static_cast<int>(wide.size());
    BOOL usedDefault = FALSE;
    BOOL* check = codePage == CP_UTF8 ? nullptr : &usedDefault;
    const DWORD flags = codePage == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS;
    const int length = WideCharToMultiByte(codePage, flags, wide.data(), size, nullptr, 0, nullptr, check);
    std::string text(static_cast<std::size_t>(length > 0 ? length : 0), '\0');
    WideCharToMultiByte(codePage, flags, wide.data(), size, text.data(), length, nullptr, check);
    exact = length > 0 && !usedDefault;
    return text;
}

std::wstring WidePath(const std::string& path)
{
    bool valid = false;
    return Wide(path, CP_UTF8, valid);
}

bool Fail(std::string& error, const std::string& what)
{
    error = what + ": " + ErrorText(GetLastError());
    return false;
}

// A file time (100 ns steps since 1601) in whole seconds since 1970, rounded down.
std::int64_t SecondsSince1970(FILETIME time)
{
    const std::int64_t ticks = static_cast<std::int64_t>(std::uint64_t{time.dwHighDateTime} << 32 | time.dwLowDateTime);
    const std::int64_t since1970 = ticks - 116444736000000000;
    return since1970 >= 0 ? since1970 / 10000000 : -((-since1970 + 9999999) / 10000000);
}

}  // namespace

// The system's own words for an error code, in UTF-8.
std::string ErrorText(unsigned long code)
{
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                            FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring wide(text != nullptr ? text : L"", length);
    LocalFree(text);
    while (!wide.empty() && (wide.back() == L'\n' || wide.back() == L'\r' || wide.back() == L' ' || wide.back() == L'.'))
        wide.pop_back();
    bool exact = false;
    return wide.empty() ? "error " + std::to_string(code) : Narrow(wide, CP_UTF8, exact);
}

bool ReadFilePart(const std::string& path, std::uint64_t offset, std::size_t count, Bytes& bytes, std::string& error)
{
    // Another program may write or delete the file meanwhile; only a file on disk is read.
    const HANDLE file = CreateFileW(WidePath(path).c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return Fail(error, "cannot open");
    if (GetFileType(file) != FILE_TYPE_DISK) {
        CloseHandle(file);
        error = "is not a plain file (a pipe or device)";
        return false;
    }
    bytes.clear();
    unsigned char buffer[65536];
    DWORD n = 0;
    LARGE_INTEGER at;
    at.QuadPart = static_cast<LONGLONG>(offset);
    bool ok = offset == 0 || SetFilePointerEx(file, at, nullptr, FILE_BEGIN) != 0;
    while (ok && bytes.size() < count) {
        const std::size_t wanted = count - bytes.size() < sizeof buffer ? count - bytes.size() : sizeof buffer;
        ok = ReadFile(file, buffer, static_cast<DWORD>(wanted), &n, nullptr) != 0;
        if (!ok || n == 0)
            break;
        bytes.insert(bytes.end(), buffer, buffer + n);
    }
    const DWORD reason = GetLastError();
    CloseHandle(file);
    SetLastError(reason);
    return ok || Fail(error, "cannot read");
}

bool FileSize(const std::string& path, std::uint64_t& size, std::string& error)
{
    size = 0;
    const HANDLE file = CreateFileW(WidePath(path).c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return Fail(error, "cannot open");
    LARGE_INTEGER length{};
    const bool disk = GetFileType(file) == FILE_TYPE_DISK;
    const bool known = disk && GetFileSizeEx(file, &length) != 0;
    const DWORD reason = GetLastError();
    CloseHandle(file);
    SetLastError(reason);
    if (!disk) {
        error = "is not a plain file (a pipe or device)";
        return false;
    }
    size = known ? static_cast<std::uint64_t>(length.QuadPart) : 0;
    return known || Fail(error, "cannot read its size");
}

EntryKind KindOf(const std::string& path, std::string& leadsTo)
{
    leadsTo.clear();
    const std::wstring wide = WidePath(path);
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return EntryKind::Missing;
    if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
        const HANDLE target = CreateFileW(wide.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                          nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        if (target != INVALID_HANDLE_VALUE) {
            wchar_t final[32768];
            const DWORD length = GetFinalPathNameByHandleW(target, final, 32768, FILE_NAME_NORMALIZED);
            std::wstring resolved(final, length < 32768 ? length : 0);
            if (resolved.compare(0, 8, L"\\\\?\\UNC\\") == 0)
                resolved = L"\\" + resolved.substr(7);
            else if (resolved.compare(0, 4, L"\\\\?\\") == 0)
                resolved = resolved.substr(4);
            bool exact = false;
            leadsTo = Narrow(resolved, CP_UTF8, exact);
            CloseHandle(target);
        }
        return EntryKind::Link;
    }
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return EntryKind::Folder;
    return (attributes & FILE_ATTRIBUTE_DEVICE) != 0 ? EntryKind::Other : EntryKind::File;
}

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

std::string ChildPath(const std::string& folder, const std::string& name)
{
    const bool separated = !folder.empty() && (folder.back() == '\\' || folder.back() == '/');
    return separated ? folder + name : folder + "\\" + name;
}

bool ListFolder(const std::string& path, std::vector<FolderEntry>& entries, std::string& error, FolderDetail)
{
    WIN32_FIND_DATAW data;
    const HANDLE search = FindFirstFileW(WidePath(ChildPath(path, "*")).c_str(), &data);
    if (search == INVALID_HANDLE_VALUE)
        return Fail(error, "cannot read the folder " + path);
    entries.clear();
    do {
        bool exact = false;
        FolderEntry entry;
        entry.name = Narrow(data.cFileName, CP_UTF8, exact);
        if (entry.name == "." || entry.name == "..")
            continue;
        entry.isFolder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        entry.isFile = !entry.isFolder && (data.dwFileAttributes & FILE_ATTRIBUTE_DEVICE) == 0;
        entry.size = std::uint64_t{data.nFileSizeHigh} << 32 | data.nFileSizeLow;
        entry.modified = SecondsSince1970(data.ftLastWriteTime);
        entries.push_back(entry);
    } while (FindNextFileW(search, &data));
    FindClose(search);
    return true;
}

std::string FoldCase(const std::string& utf8)
{
    bool valid = false;
    std::wstring wide = Wide(utf8, CP_UTF8, valid);
    if (!valid)
        return utf8;
    CharUpperBuffW(wide.data(), static_cast<DWORD>(wide.size()));
    bool exact = false;
    return Narrow(wide, CP_UTF8, exact);
}

namespace {

// path without a \\?\\ or \\.\\ prefix (\\?\\UNC\\ becomes \\\\), with backslashes.
std::string Plain(std::string path)
{
    std::replace(path.begin(), path.end(), '/', '\\');
    if (path.compare(0, 8, "\\\\?\\UNC\\") == 0)
        return "\\" + path.substr(7);
    if (path.compare(0, 4, "\\\\?\\") == 0 || path.compare(0, 4, "\\\\.\\") == 0)
        return path.substr(4);
    return path;
}

}  // namespace

char DriveOf(const std::string& path)
{
    return DriveLetterOf(Plain(path));
}

std::string FolderPath(const std::string& path)
{
    return path.size() == 2 && DriveOf(path) != 0 ? path + "\\" : path;
}

std::string ResolvedPath(const std::string& path)
{
    const HANDLE file = CreateFileW(WidePath(FolderPath(path)).c_str(), 0,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::string();
    std::vector<wchar_t> final(32768);
    const DWORD length = GetFinalPathNameByHandleW(file, final.data(), 32768, FILE_NAME_NORMALIZED);
    CloseHandle(file);
    bool exact = false;
    return length == 0 || length >= 32768 ? std::string()
                                          : Plain(Narrow(std::wstring(final.data(), length), CP_UTF8, exact));
}

bool SameComponent(const std::string& a, const std::string& b)
{
    auto key = [](std::string name) {
        while (!name.empty() && (name.back() == '.' || name.back() == ' '))
            name.pop_back();
        return FoldCase(name);
    };
    return key(a) == key(b);
}

bool PathExists(const std::string& path)
{
    return GetFileAttributesW(WidePath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool ErrorIsTerminal()
{
    DWORD mode = 0;
    return GetConsoleMode(GetStdHandle(STD_ERROR_HANDLE), &mode) != 0;
}

void WriteToTerminal(const std::string& text)
{
    if (!ErrorIsTerminal())
        return;
    const std::wstring wide = Utf16FromUtf8(text);
    DWORD written = 0;
    WriteConsoleW(GetStdHandle(STD_ERROR_HANDLE), wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
}

bool ConsoleOfItsOwn()
{
    DWORD processes[2];
    return GetConsoleProcessList(processes, 2) == 1;
}

unsigned SystemAnsiCodePage()
{
    return GetACP();
}

std::wstring Utf16FromUtf8(const std::string& utf8)
{
    const int size = static_cast<int>(utf8.size());
    const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
    std::wstring utf16(static_cast<std::size_t>(length > 0 ? length : 0), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, utf16.data(), length);
    return utf16;
}

std::string Utf8FromUtf16(const std::wstring& utf16)
{
    const int size = static_cast<int>(utf16.size());
    const int length = WideCharToMultiByte(CP_UTF8, 0, utf16.data(), size, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(length > 0 ? length : 0), '\0');
    WideCharToMultiByte(CP_UTF8, 0, utf16.data(), size, utf8.data(), length, nullptr, nullptr);
    return utf8;
}

FileReader::~FileReader()
{
    if (handle_ != -1)
        CloseHandle(reinterpret_cast<HANDLE>(handle_));
}

bool FileReader::Open(const std::string& path, std::string& error)
{
    // The entry itself, a link never followed; only a file on disk is read.
    const HANDLE file = CreateFileW(WidePath(path).c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return Fail(error, "cannot open");
    BY_HANDLE_FILE_INFORMATION information{};
    if (GetFileType(file) != FILE_TYPE_DISK || !GetFileInformationByHandle(file, &information) ||
        (information.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) != 0) {
        CloseHandle(file);
        error = "is not a plain file (a folder, link, pipe or device)";
        return false;
    }
    handle_ = reinterpret_cast<std::intptr_t>(file);
    return true;
}

bool FileReader::Read(unsigned char* data, std::size_t count, std::size_t& got, std::string& error)
{
    DWORD n = 0;
    if (!ReadFile(reinterpret_cast<HANDLE>(handle_), data, static_cast<DWORD>(std::min<std::size_t>(count, 1u << 30)), &n,
                  nullptr))
        return Fail(error, "cannot read");
    got = n;
    return true;
}

bool FreeSpaceAt(const std::string& folder, std::uint64_t& bytes)
{
    ULARGE_INTEGER available{};
    if (!GetDiskFreeSpaceExW(WidePath(FolderPath(folder)).c_str(), &available, nullptr, nullptr))
        return false;
    bytes = available.QuadPart;
    return true;
}
