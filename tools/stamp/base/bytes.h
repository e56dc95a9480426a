// A file's bytes, and little-endian values read from them.
#pragma once

#include <cstdint>
#include <vector>

using Bytes = std::vector<unsigned char>;

// Little-endian values at p, which the caller has checked to lie inside its bytes.
inline std::uint32_t Little16(const unsigned char* p)
{
    return static_cast<std::uint32_t>(p[0] | p[1] << 8);
}

inline std::uint32_t Little32(const unsigned char* p)
{
    return Little16(p) | Little16(p + 2) << 16;
}
