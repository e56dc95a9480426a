// Text between the tool's UTF-8 and the UTF-16 of Windows' own interfaces (arguments, the
// console, windows), on Windows only. A sequence that does not convert becomes U+FFFD.
#pragma once

#include <string>

std::wstring Utf16FromUtf8(const std::string& utf8);
std::string Utf8FromUtf16(const std::wstring& utf16);
