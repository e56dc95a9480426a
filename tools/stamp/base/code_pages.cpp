// Code page conversion through the generated tables.
#include "base/code_pages.h"

#include "base/code_page_table.h"
#include "base/unicode.h"

#include <algorithm>
#include <vector>

namespace {

constexpr unsigned Utf8CodePage = 65001;

const CodePageTable* TableOf(unsigned codePage)
{
    for (std::size_t i = 0; i < CodePageTableCount; ++i) {
        if (CodePageTables[i].codePage == codePage)
            return &CodePageTables[i];
    }
    return nullptr;
}

// The entry of a sorted table whose upper half is key, or null.
const std::uint32_t* Find(const std::uint32_t* table, std::size_t count, std::uint32_t key)
{
    const std::uint32_t* end = table + count;
    const std::uint32_t* found =
        std::lower_bound(table, end, key << 16, [](std::uint32_t entry, std::uint32_t wanted) { return entry < wanted; });
    return found != end && found[0] >> 16 == key ? found : nullptr;
}

// Whether text is valid UTF-8: no stray or missing continuation bytes, no overlong forms, no
// surrogates, nothing past U+10FFFF.
bool IsValidUtf8(const std::string& text)
{
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t extra = 0;
        if (lead >= 0xC2 && lead < 0xE0)
            extra = 1;
        else if (lead >= 0xE0 && lead < 0xF0)
            extra = 2;
        else if (lead >= 0xF0 && lead < 0xF5)
            extra = 3;
        else if (lead >= 0x80)
            return false;
        if (text.size() - i <= extra)
            return false;
        for (std::size_t k = 1; k <= extra; ++k) {
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80)
                return false;
        }
        std::size_t next = i;
        const unsigned c = NextCodePoint(text, next);
        if ((extra == 2 && (c < 0x800 || (c >= 0xD800 && c < 0xE000))) || (extra == 3 && (c < 0x10000 || c > 0x10FFFF)))
            return false;
        i = next;
    }
    return true;
}

// text with each pair of a character and a combining mark that has a composed form replaced by
// it, as NFC composes them: the composed form Windows names carry, from the decomposed one that
// text copied from macOS has.
std::string Composed(const std::string& text)
{
    std::string composed;
    std::vector<unsigned> characters;
    for (std::size_t i = 0; i < text.size();) {
        const unsigned c = NextCodePoint(text, i);
        if (!characters.empty() && characters.back() < 0x10000 && c < 0x10000) {
            const std::uint64_t key = std::uint64_t{characters.back()} << 32 | std::uint64_t{c} << 16;
            const std::uint64_t* end = Compositions + CompositionCount;
            const std::uint64_t* found = std::lower_bound(Compositions, end, key);
            if (found != end && (*found & ~std::uint64_t{0xFFFF}) == key) {
                characters.back() = static_cast<unsigned>(*found & 0xFFFF);
                continue;
            }
        }
        characters.push_back(c);
    }
    for (const unsigned c : characters)
        AppendUtf8(composed, c);
    return composed;
}

std::string Unknown(unsigned codePage)
{
    return "unknown code page " + std::to_string(codePage) + " (known: " + KnownCodePages() + ")";
}

}  // namespace

bool IsKnownCodePage(unsigned codePage)
{
    return codePage == Utf8CodePage || TableOf(codePage) != nullptr;
}

std::string KnownCodePages()
{
    std::string list;
    for (std::size_t i = 0; i < CodePageTableCount; ++i)
        list += std::to_string(CodePageTables[i].codePage) + ", ";
    return list + std::to_string(Utf8CodePage);
}

bool ToCodePage(const std::string& decomposed, unsigned codePage, std::string& bytes, std::string& error)
{
    const CodePageTable* table = TableOf(codePage);
    if (table == nullptr && codePage != Utf8CodePage) {
        error = Unknown(codePage);
        return false;
    }
    if (!IsValidUtf8(decomposed)) {
        error = "the name is not valid UTF-8";
        return false;
    }
    const std::string utf8 = Composed(decomposed);
    if (table == nullptr) {
        bytes = utf8;
        return true;
    }
    bytes.clear();
    for (std::size_t i = 0; i < utf8.size();) {
        const std::size_t start = i;
        const unsigned c = NextCodePoint(utf8, i);
        const std::uint32_t* entry = c < 0x10000 ? Find(table->encode, table->encodeCount, c) : nullptr;
        if (entry == nullptr) {
            error = "the character \"" + utf8.substr(start, i - start) + "\" at byte " + std::to_string(start) +
                    " of the name has no place in code page " + std::to_string(codePage);
            return false;
        }
        const unsigned value = *entry & 0xFFFF;
        if (value > 0xFF)
            bytes += static_cast<char>(value >> 8);
        bytes += static_cast<char>(value & 0xFF);
    }
    return true;
}

bool FromCodePage(const std::string& bytes, unsigned codePage, std::string& utf8, std::string& error)
{
    const CodePageTable* table = TableOf(codePage);
    if (table == nullptr && codePage != Utf8CodePage) {
        error = Unknown(codePage);
        return false;
    }
    if (table == nullptr) {
        if (!IsValidUtf8(bytes)) {
            error = "the stored name is not valid UTF-8";
            return false;
        }
        utf8 = bytes;
        return true;
    }
    std::string wide;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        std::uint32_t c = table->single[byte];
        if (c == LeadByte && i + 1 < bytes.size()) {
            const std::uint32_t* entry =
                Find(table->decode, table->decodeCount,
                     static_cast<std::uint32_t>(byte) << 8 | static_cast<unsigned char>(bytes[i + 1]));
            c = entry == nullptr ? NoCharacter : *entry & 0xFFFF;
            ++i;
        }
        if (c == NoCharacter || c == LeadByte) {
            error = "the stored name is not valid text in code page " + std::to_string(codePage) + " (byte " +
                    std::to_string(i) + ")";
            return false;
        }
        wide += static_cast<char>(c & 0xFF);
        wide += static_cast<char>(c >> 8);
    }
    return Utf8FromUtf16Le(reinterpret_cast<const unsigned char*>(wide.data()), wide.size(), utf8) ||
           (error = "the stored name is not valid text in code page " + std::to_string(codePage), false);
}

unsigned OemCodePageFor(unsigned ansiCodePage)
{
    switch (ansiCodePage) {
    case 874: case 932: case 936: case 949: case 950: return ansiCodePage;
    case 1250: return 852;
    case 1251: return 866;
    case 1253: return 737;
    case 1254: return 857;
    case 1255: return 862;
    case 1256: return 720;
    case 1257: return 775;
    case 1258: return 1258;
    default: return 850;
    }
}
