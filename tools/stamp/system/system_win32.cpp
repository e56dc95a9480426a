// The stamping tool on Windows: code pages through the Win32 conversions, files through
// wide-character paths (the tool's strings are UTF-8).
#include "system/system.h"

#include <windows.h>

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
    error = what + " (error " + std::to_string(GetLastError()) + ")";
    return false;
}

// Converts text from one code page to another through UTF-16; false with the reason when the
// input is not valid in from or a character has no exact place in to.
bool Recode(const std::string& input, UINT from, UINT to, std::string& output, std::string& error)
{
    const UINT codePage = from == CP_UTF8 ? to : from;
    const std::string name = "code page " + std::to_string(codePage);
    if (!IsValidCodePage(codePage)) {
        error = "unknown " + name;
        return false;
    }
    bool ok = false;
    const std::wstring wide = Wide(input, from, ok);
    if (!ok) {
        error = from == CP_UTF8 ? "the name is not valid UTF-8" : "the stored name is not valid text in " + name;
        return false;
    }
    output = Narrow(wide, to, ok);
    if (!ok) {
        error = "the name holds characters that have no place in " + name;
        return false;
    }
    return true;
}

}  // namespace

bool ToCodePage(const std::string& utf8, unsigned codePage, std::string& bytes, std::string& error)
{
    return Recode(utf8, CP_UTF8, codePage, bytes, error);
}

bool FromCodePage(const std::string& bytes, unsigned codePage, std::string& utf8, std::string& error)
{
    return Recode(bytes, codePage, CP_UTF8, utf8, error);
}

bool ReadFileStart(const std::string& path, std::size_t limit, Bytes& bytes, std::string& error)
{
    const HANDLE file = CreateFileW(WidePath(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return Fail(error, "cannot open");
    bytes.clear();
    unsigned char buffer[65536];
    DWORD n = 0;
    bool ok = true;
    while (bytes.size() < limit) {
        const std::size_t wanted = limit - bytes.size() < sizeof buffer ? limit - bytes.size() : sizeof buffer;
        ok = ReadFile(file, buffer, static_cast<DWORD>(wanted), &n, nullptr) != 0;
        if (!ok || n == 0)
            break;
        bytes.insert(bytes.end(), buffer, buffer + n);
    }
    CloseHandle(file);
    return ok || Fail(error, "cannot read");
}

bool ReplaceFileAtomically(const std::string& path, const Bytes& bytes, std::string& error)
{
    const std::wstring target = WidePath(path);
    const std::wstring temporary = target + L".launcher-stamp-" + std::to_wstring(GetCurrentProcessId());
    const HANDLE file = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                                    nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return Fail(error, "cannot create a temporary file beside it");
    DWORD written = 0;
    const bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                    written == bytes.size() && FlushFileBuffers(file);
    CloseHandle(file);
    if (!ok || !MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        Fail(error, "cannot write");
        DeleteFileW(temporary.c_str());
        return false;
    }
    return true;
}

std::string ChildPath(const std::string& folder, const std::string& name)
{
    const bool separated = !folder.empty() && (folder.back() == '\\' || folder.back() == '/');
    return separated ? folder + name : folder + "\\" + name;
}

bool ListFolder(const std::string& path, std::vector<FolderEntry>& entries, std::string& error)
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

bool PathExists(const std::string& path)
{
    return GetFileAttributesW(WidePath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool ConsoleOfItsOwn()
{
    DWORD processes[2];
    return GetConsoleProcessList(processes, 2) == 1;
}
