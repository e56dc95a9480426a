// Folders and paths on Windows: listings, case folding, drives and paths resolved.
#include "system/system.h"
#include "system/utf16_win32.h"
#include "system/win32_text.h"

#include "base/windows_path.h"

#include <windows.h>

#include <algorithm>
#include <vector>

using namespace win32_text;

namespace {

// A file time (100 ns steps since 1601) in whole seconds since 1970, rounded down.
std::int64_t SecondsSince1970(FILETIME time)
{
    const std::int64_t ticks = static_cast<std::int64_t>(std::uint64_t{time.dwHighDateTime} << 32 | time.dwLowDateTime);
    const std::int64_t since1970 = ticks - 116444736000000000;
    return since1970 >= 0 ? since1970 / 10000000 : -((-since1970 + 9999999) / 10000000);
}

}  // namespace

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

