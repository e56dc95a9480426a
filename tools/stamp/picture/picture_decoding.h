// Pictures decoded for the launcher's icon: PNG, BMP and ICO files to RGBA pixels, bounded before decoding.
#pragma once

#include "base/bytes.h"

#include <cstdint>
#include <string>
#include <vector>

namespace picture_decoding {

// A decoded picture: width x height pixels of red, green, blue, alpha, rows top-down.
struct Rgba {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> pixels;
};


inline void Put16(Bytes& bytes, std::uint64_t value)
{
    bytes.push_back(static_cast<unsigned char>(value));
    bytes.push_back(static_cast<unsigned char>(value >> 8));
}

inline void Put32(Bytes& bytes, std::uint64_t value)
{
    Put16(bytes, value & 0xFFFF);
    Put16(bytes, value >> 16);
}


// Decodes a PNG or BMP file of size bytes at data into picture; a picture larger than the
// largest side taken is refused before decoding. False with the reason in error.
bool Decode(const unsigned char* data, std::size_t size, Rgba& picture, std::string& error);

// Reads an ICO file: its 32x32 4-bit image as it is, when it holds one (found true), else
// its largest image decoded.
bool ReadIco(const Bytes& file, Bytes& exact, bool& found, Rgba& picture, std::string& error);

}  // namespace picture_decoding
