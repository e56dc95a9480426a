// The stamping tool on Windows: files read through wide-character paths (the tool's strings are
// UTF-8), their kinds, the terminal, code pages through the Win32 conversions, free space.
#include "system/system.h"
#include "system/utf16_win32.h"
#include "system/win32_text.h"

#include "base/windows_path.h"

#include <windows.h>

#include <algorithm>
#include <vector>

using namespace win32_text;

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
