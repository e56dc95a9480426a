// UTF-8 and UTF-16LE.
#include "base/unicode.h"

namespace {

void AppendUnit(Bytes& bytes, unsigned unit)
{
    bytes.push_back(static_cast<unsigned char>(unit & 0xFF));
    bytes.push_back(static_cast<unsigned char>(unit >> 8));
}

}  // namespace

void AppendUtf8(std::string& text, unsigned c)
{
    if (c < 0x80) {
        text += static_cast<char>(c);
    } else if (c < 0x800) {
        text += static_cast<char>(0xC0 | c >> 6);
        text += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        text += static_cast<char>(0xE0 | c >> 12);
        text += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        text += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        text += static_cast<char>(0xF0 | c >> 18);
        text += static_cast<char>(0x80 | (c >> 12 & 0x3F));
        text += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        text += static_cast<char>(0x80 | (c & 0x3F));
    }
}

unsigned NextCodePoint(const std::string& text, std::size_t& i)
{
    const auto lead = static_cast<unsigned char>(text[i++]);
    const int extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
    unsigned value = extra == 0 ? lead : lead & (0x3Fu >> extra);
    for (int k = 0; k < extra && i < text.size(); ++k)
        value = value << 6 | (static_cast<unsigned char>(text[i++]) & 0x3Fu);
    return value;
}

std::size_t CharacterCount(const std::string& utf8)
{
    std::size_t count = 0;
    for (std::size_t i = 0; i < utf8.size(); ++count)
        NextCodePoint(utf8, i);
    return count;
}

Bytes Utf16LeFromUtf8(const std::string& utf8)
{
    Bytes bytes;
    for (std::size_t i = 0; i < utf8.size();) {
        const unsigned c = NextCodePoint(utf8, i);
        if (c >= 0x10000) {
            AppendUnit(bytes, 0xD800 | (c - 0x10000) >> 10);
            AppendUnit(bytes, 0xDC00 | ((c - 0x10000) & 0x3FF));
        } else {
            AppendUnit(bytes, c);
        }
    }
    return bytes;
}

bool Utf8FromUtf16Le(const unsigned char* data, std::size_t size, std::string& utf8)
{
    if (size % 2 != 0)
        return false;
    utf8.clear();
    for (std::size_t i = 0; i < size; i += 2) {
        unsigned c = Little16(data + i);
        if (c >= 0xDC00 && c < 0xE000)
            return false;
        if (c >= 0xD800 && c < 0xDC00) {
            if (i + 4 > size)
                return false;
            const unsigned low = Little16(data + i + 2);
            if (low < 0xDC00 || low >= 0xE000)
                return false;
            c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
            i += 2;
        }
        AppendUtf8(utf8, c);
    }
    return true;
}
