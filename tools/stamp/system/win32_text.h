// Text the system room's Win32 files share: code-page conversions, a path's UTF-16, a failed call in words.
#pragma once

#include "system/utf16_win32.h"

#include <windows.h>

#include <string>

namespace win32_text {

inline std::wstring Wide(const std::string& text, UINT codePage, bool& valid)
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

inline std::string Narrow(const std::wstring& wide, UINT codePage, bool& exact)
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

inline std::wstring WidePath(const std::string& path)
{
    bool valid = false;
    return Wide(path, CP_UTF8, valid);
}

inline bool Fail(std::string& error, const std::string& what)
{
    error = what + ": " + ErrorText(GetLastError());
    return false;
}

}  // namespace win32_text
