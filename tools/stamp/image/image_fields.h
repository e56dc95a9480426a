// The fields of an image's records as the image room reads them: little-endian numbers, text
// compared in place, UCS-2 names, and Windows' name for a recorded one. Every caller has checked
// that the bytes read lie inside b.
#pragma once

#include "base/bytes.h"
#include "base/unicode.h"

#include <algorithm>
#include <cstdint>
#include <string>

inline std::uint32_t Le32(const Bytes& b, std::size_t at)
{
    return static_cast<std::uint32_t>(b[at]) | static_cast<std::uint32_t>(b[at + 1]) << 8 |
           static_cast<std::uint32_t>(b[at + 2]) << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

inline std::uint16_t Le16(const Bytes& b, std::size_t at)
{
    return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
}

// Whether b holds text at at.
inline bool Has(const Bytes& b, std::size_t at, const char* text)
{
    const std::size_t length = std::char_traits<char>::length(text);
    return b.size() >= at + length && std::equal(text, text + length, b.begin() + static_cast<std::ptrdiff_t>(at));
}

// Windows' name from a recorded one: cut at the first ';' (the version), one trailing '.' dropped.
inline std::string WindowsName(std::string name)
{
    name = name.substr(0, name.find(';'));
    if (!name.empty() && name.back() == '.')
        name.pop_back();
    return name;
}

// length bytes of big-endian UCS-2 at at as UTF-8, surrogate pairs joined as UTF-16 writers
// record characters beyond the basic plane.
inline std::string FromUcs2(const Bytes& b, std::size_t at, std::size_t length)
{
    std::string utf8;
    for (std::size_t i = 0; i + 1 < length; i += 2) {
        std::uint32_t unit = static_cast<std::uint32_t>(b[at + i]) << 8 | b[at + i + 1];
        if (unit >= 0xD800 && unit < 0xDC00 && i + 3 < length) {
            const std::uint32_t low = static_cast<std::uint32_t>(b[at + i + 2]) << 8 | b[at + i + 3];
            if (low >= 0xDC00 && low < 0xE000) {
                unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
                i += 2;
            }
        }
        AppendUtf8(utf8, unit);
    }
    return utf8;
}
