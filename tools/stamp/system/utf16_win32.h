// Text between the tool's UTF-8 and the UTF-16 of Windows' own interfaces (arguments, the
// console, windows, error messages), on Windows only. A sequence that does not convert becomes
// U+FFFD.
#pragma once

#include <string>

std::wstring Utf16FromUtf8(const std::string& utf8);
std::string Utf8FromUtf16(const std::wstring& utf16);

// The system's own words for a Win32 error code, in UTF-8, without the closing full stop.
std::string ErrorText(unsigned long code);
