// UTF-8 text read character by character, and converted to and from UTF-16LE.
#pragma once

#include "base/bytes.h"

#include <cstddef>
#include <string>

// The next code point of UTF-8 text, advancing i past it (validity is checked by the
// conversions, not here).
unsigned NextCodePoint(const std::string& text, std::size_t& i);

// Appends code point c to text in UTF-8.
void AppendUtf8(std::string& text, unsigned c);

// The number of characters (code points) in UTF-8 text.
std::size_t CharacterCount(const std::string& utf8);

// UTF-8 text as UTF-16LE, without a byte-order mark.
Bytes Utf16LeFromUtf8(const std::string& utf8);

// UTF-16LE bytes (no byte-order mark) as UTF-8. False when they are not whole, valid UTF-16.
bool Utf8FromUtf16Le(const unsigned char* data, std::size_t size, std::string& utf8);
