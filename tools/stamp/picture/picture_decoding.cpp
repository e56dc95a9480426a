// Pictures decoded: PNG and BMP through stb_image, ICO files' own images, sizes checked first.
#include "picture/picture_decoding.h"

#include "pe/icon_resource.h"

#include <stb/stb_image.h>

#include <cstring>
#include <memory>

namespace picture_decoding {

namespace {

constexpr long LargestSide = 4096;  // larger pictures are refused before decoding

// A PNG's numbers are big-endian.
std::uint32_t Big32(const unsigned char* p)
{
    return std::uint32_t{p[0]} << 24 | std::uint32_t{p[1]} << 16 | std::uint32_t{p[2]} << 8 | p[3];
}

// The width and height a PNG or BMP header states, read before anything is decoded (a BMP's
// height may be negative: rows top-down). False when data is neither.
bool StatedSize(const unsigned char* data, std::size_t size, long& width, long& height)
{
    if (size >= 24 && std::memcmp(data, "\x89PNG\r\n\x1A\n", 8) == 0 && std::memcmp(data + 12, "IHDR", 4) == 0) {
        width = static_cast<long>(Big32(data + 16));
        height = static_cast<long>(Big32(data + 20));
        return true;
    }
    if (size >= 26 && data[0] == 'B' && data[1] == 'M') {
        width = static_cast<std::int32_t>(Little32(data + 18));
        height = static_cast<std::int32_t>(Little32(data + 22));
        height = height < 0 ? -height : height;
        return true;
    }
    return false;
}

// A PNG's chunks, walked before stb_image reads them. stb_image grows its buffer to a data
// chunk's stated length before it reads the chunk, so a few bytes stating a chunk of 600 MB would
// take 600 MB; and it sizes its output from the header before it inflates. So every chunk must
// lie within the file, and the pixels the header states must be within what deflate can make of
// the data chunks (at most 1032 bytes out for each byte in): what decoding takes is then bounded
// by the file's own size. An empty answer when the file is sound.
std::string PngChunksFault(const unsigned char* data, std::size_t size)
{
    std::uint64_t compressed = 0;
    std::size_t at = 8;
    for (bool end = false; !end;) {
        if (size - at < 12)
            return "the PNG file ends before its last chunk (IEND): it is cut short";
        const std::uint64_t length = Big32(data + at);
        if (length > size - at - 12)
            return "a chunk of the PNG file states " + std::to_string(length) +
                   " bytes, more than the file holds: the file is damaged or cut short";
        if (std::memcmp(data + at + 4, "IDAT", 4) == 0)
            compressed += length;
        end = std::memcmp(data + at + 4, "IEND", 4) == 0;
        at += 12 + static_cast<std::size_t>(length);
    }
    // The header and the last chunk make at least 32 bytes: the bit depth and colour type are here.
    static constexpr unsigned ChannelsOfColourType[7] = {1, 0, 3, 1, 2, 0, 4};
    const unsigned depth = data[24];
    const unsigned channels = data[25] < 7 ? ChannelsOfColourType[data[25]] : 0;
    // In floating point: two sides of up to 4 G each, times 64 bits a pixel, pass 64 bits.
    const double pixelBytes = static_cast<double>(Big32(data + 16)) * Big32(data + 20) * channels * depth / 8;
    if (pixelBytes / 1032 > static_cast<double>(compressed + 16))
        return "the PNG file's header states " + std::to_string(Big32(data + 16)) + "x" +
               std::to_string(Big32(data + 20)) + " pixels, more than its " + std::to_string(compressed) +
               " bytes of image data can hold: the file is damaged or cut short";
    return {};
}

std::string TooLarge(long width, long height)
{
    return "the picture is " + std::to_string(width) + "x" + std::to_string(height) + " pixels; at most " +
           std::to_string(LargestSide) + "x" + std::to_string(LargestSide) +
           " is taken. What to do: scale it down (256x256 is plenty for an icon) and give that";
}

// Decodes one bitmap image of an ICO (a header, palette, colour rows and mask rows, bottom
// up, as stb_image reads a BMP file once it is given the file header and half the height),
// then makes the pixels its mask marks transparent.
bool DecodeIcoBitmap(const unsigned char* data, std::size_t size, Rgba& picture, std::string& error)
{
    if (size < 40 || Little32(data) < 40 || Little32(data) > size) {
        error = "an image of the ICO file has no bitmap header";
        return false;
    }
    const std::uint32_t headerSize = Little32(data);
    const auto width = static_cast<std::int32_t>(Little32(data + 4));
    const auto doubled = static_cast<std::int32_t>(Little32(data + 8));
    const std::uint32_t bits = Little16(data + 14);
    const std::uint32_t used = Little32(data + 32);
    if (width <= 0 || width > 256 || doubled <= 0 || doubled > 512 || (bits != 1 && bits != 4 && bits != 8 &&
                                                                       bits != 24 && bits != 32)) {
        error = "an image of the ICO file has a bitmap format that is not taken";
        return false;
    }
    const std::size_t paletteSize = bits <= 8 ? 4 * std::size_t{used != 0 && used < (1u << bits) ? used : 1u << bits} : 0;
    Bytes file = {'B', 'M'};
    Put32(file, 14 + size);
    Put32(file, 0);
    Put32(file, 14 + headerSize + paletteSize);
    file.insert(file.end(), data, data + size);
    const auto height = static_cast<std::uint32_t>(doubled / 2);
    for (std::size_t k = 0; k < 4; ++k)
        file[14 + 8 + k] = static_cast<unsigned char>(height >> (8 * k));
    if (!Decode(file.data(), file.size(), picture, error))
        return false;

    const auto w = static_cast<std::size_t>(width);
    const std::size_t colourRow = (w * bits + 31) / 32 * 4;
    const std::size_t maskRow = (w + 31) / 32 * 4;
    const std::size_t mask = headerSize + paletteSize + colourRow * height;
    if (mask + maskRow * height > size)
        return true;  // no mask: the colour bits alone
    for (std::size_t y = 0; y < height; ++y) {
        const unsigned char* row = data + mask + (height - 1 - y) * maskRow;
        for (std::size_t x = 0; x < w; ++x) {
            if (row[x / 8] & (0x80 >> (x % 8)))
                picture.pixels[4 * (y * w + x) + 3] = 0;
        }
    }
    return true;
}

}  // namespace

bool Decode(const unsigned char* data, std::size_t size, Rgba& picture, std::string& error)
{
    long statedWidth = 0, statedHeight = 0;
    const bool stated = StatedSize(data, size, statedWidth, statedHeight);
    if (stated && (statedWidth > LargestSide || statedHeight > LargestSide)) {
        error = TooLarge(statedWidth, statedHeight);
        return false;
    }
    if (stated && data[0] == 0x89) {
        if (std::string fault = PngChunksFault(data, size); !fault.empty()) {
            error = "cannot decode the picture (" + fault + ")";
            return false;
        }
    }
    const int length = static_cast<int>(std::min<std::size_t>(size, 0x7FFFFFFF));
    int width = 0, height = 0, channels = 0;
    if (!stbi_info_from_memory(data, length, &width, &height, &channels)) {
        error = std::string("cannot decode the picture (") + stbi_failure_reason() + ")";
        return false;
    }
    if (width > LargestSide || height > LargestSide) {
        error = TooLarge(width, height);
        return false;
    }
    const std::unique_ptr<unsigned char, void (*)(void*)> pixels(
        stbi_load_from_memory(data, length, &width, &height, &channels, 4), stbi_image_free);
    if (pixels == nullptr) {
        error = std::string("cannot decode the picture (") + stbi_failure_reason() + ")";
        return false;
    }
    picture.width = width;
    picture.height = height;
    picture.pixels.assign(pixels.get(), pixels.get() + std::size_t{4} * static_cast<std::size_t>(width * height));
    return true;
}

// Reads an ICO file: its 32x32 4-bit image as it is, when it holds one (found true), else
// its largest image decoded.
bool ReadIco(const Bytes& file, Bytes& exact, bool& found, Rgba& picture, std::string& error)
{
    const std::size_t count = Little16(file.data() + 4);
    if (count == 0 || file.size() < 6 + 16 * count) {
        error = "the ICO file's directory is truncated";
        return false;
    }
    std::size_t best = count;
    std::uint32_t bestSide = 0, bestBits = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const unsigned char* entry = file.data() + 6 + 16 * i;
        const std::uint32_t size = Little32(entry + 8), offset = Little32(entry + 12);
        if (offset > file.size() || file.size() - offset < size) {
            error = "an image of the ICO file lies past its end";
            return false;
        }
        if (IsLauncherIconImage(file.data() + offset, size)) {
            exact.assign(file.data() + offset, file.data() + offset + size);
            found = true;
            return true;
        }
        const std::uint32_t side = entry[0] == 0 ? 256 : entry[0];
        const std::uint32_t bits = Little16(entry + 6);
        if (side > bestSide || (side == bestSide && bits > bestBits)) {
            best = i;
            bestSide = side;
            bestBits = bits;
        }
    }
    const unsigned char* entry = file.data() + 6 + 16 * best;
    const unsigned char* data = file.data() + Little32(entry + 12);
    const std::size_t size = Little32(entry + 8);
    const bool png = size >= 8 && std::memcmp(data, "\x89PNG\r\n\x1A\n", 8) == 0;
    return png ? Decode(data, size, picture, error) : DecodeIcoBitmap(data, size, picture, error);
}

}  // namespace picture_decoding
