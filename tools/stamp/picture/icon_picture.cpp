// Pictures to the launcher's 32x32 16-colour icon image: decoding, scaling, palette, dither.
#include "picture/icon_picture.h"

#include "system/system.h"

#include "pe/icon_resource.h"

#include <stb/stb_image.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <memory>

namespace {

constexpr int Side = 32;
constexpr int Colours = 16;
constexpr long LargestSide = 4096;  // larger pictures are refused before decoding

// A decoded picture: width x height pixels of red, green, blue, alpha, rows top-down.
struct Rgba {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> pixels;
};

// One pixel of the icon before palette mapping.
struct Pixel {
    std::array<double, 3> colour{};  // red, green, blue, 0-255
    bool opaque = false;
};

void Put16(Bytes& bytes, std::uint64_t value)
{
    bytes.push_back(static_cast<unsigned char>(value));
    bytes.push_back(static_cast<unsigned char>(value >> 8));
}

void Put32(Bytes& bytes, std::uint64_t value)
{
    Put16(bytes, value & 0xFFFF);
    Put16(bytes, value >> 16);
}

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

// Scales the picture to fit 32x32, aspect kept, centred on transparent. Each icon pixel is
// the average of the picture's area it covers, weighted by opacity so that the colour of
// transparent pixels does not bleed into their neighbours.
std::vector<Pixel> Scale(const Rgba& picture)
{
    std::vector<Pixel> icon(Side * Side);
    const double scale = static_cast<double>(Side) / std::max(picture.width, picture.height);
    const int width = std::clamp(static_cast<int>(std::lround(picture.width * scale)), 1, Side);
    const int height = std::clamp(static_cast<int>(std::lround(picture.height * scale)), 1, Side);
    const int left = (Side - width) / 2, top = (Side - height) / 2;
    const double xStep = static_cast<double>(picture.width) / width, yStep = static_cast<double>(picture.height) / height;
    for (int ty = 0; ty < height; ++ty) {
        for (int tx = 0; tx < width; ++tx) {
            const double x0 = tx * xStep, x1 = x0 + xStep, y0 = ty * yStep, y1 = y0 + yStep;
            double sum[4] = {}, area = 0;
            for (int y = static_cast<int>(y0); y < y1 && y < picture.height; ++y) {
                const double wy = std::min(y1, y + 1.0) - std::max(y0, static_cast<double>(y));
                for (int x = static_cast<int>(x0); x < x1 && x < picture.width; ++x) {
                    const double weight = wy * (std::min(x1, x + 1.0) - std::max(x0, static_cast<double>(x)));
                    const unsigned char* p =
                        &picture.pixels[4 * (static_cast<std::size_t>(y) * static_cast<std::size_t>(picture.width) +
                                             static_cast<std::size_t>(x))];
                    const double alpha = p[3] / 255.0;
                    for (int c = 0; c < 3; ++c)
                        sum[c] += weight * alpha * p[c];
                    sum[3] += weight * alpha;
                    area += weight;
                }
            }
            Pixel& pixel = icon[static_cast<std::size_t>((top + ty) * Side + left + tx)];
            pixel.opaque = area > 0 && sum[3] / area >= 0.5;
            for (int c = 0; c < 3; ++c)
                pixel.colour[static_cast<std::size_t>(c)] = sum[3] > 0 ? sum[c] / sum[3] : 0;
        }
    }
    return icon;
}

// Median cut: splits the colours into at most count boxes, each time cutting the box with
// the widest channel at its median; the palette is the boxes' means.
std::vector<std::array<double, 3>> MedianCut(std::vector<std::array<double, 3>> colours, std::size_t count)
{
    using Box = std::pair<std::size_t, std::size_t>;  // [first, last) of colours
    std::vector<Box> boxes;
    if (!colours.empty())
        boxes.push_back({0, colours.size()});
    auto widest = [&colours](const Box& box, std::size_t& channel) {
        double best = -1;
        for (std::size_t c = 0; c < 3; ++c) {
            double low = 255, high = 0;
            for (std::size_t i = box.first; i < box.second; ++i) {
                low = std::min(low, colours[i][c]);
                high = std::max(high, colours[i][c]);
            }
            if (high - low > best) {
                best = high - low;
                channel = c;
            }
        }
        return best;
    };
    while (boxes.size() < count) {
        std::size_t pick = boxes.size(), channel = 0;
        double range = 0;
        for (std::size_t b = 0; b < boxes.size(); ++b) {
            std::size_t c = 0;
            const double width = widest(boxes[b], c);
            if (boxes[b].second - boxes[b].first >= 2 && width > range) {
                range = width;
                pick = b;
                channel = c;
            }
        }
        if (pick == boxes.size())
            break;  // every box holds one colour
        const Box box = boxes[pick];
        const auto first = colours.begin() + static_cast<std::ptrdiff_t>(box.first);
        const auto last = colours.begin() + static_cast<std::ptrdiff_t>(box.second);
        std::sort(first, last, [channel](const auto& a, const auto& b) { return a[channel] < b[channel]; });
        const std::size_t middle = box.first + (box.second - box.first) / 2;
        boxes[pick] = {box.first, middle};
        boxes.push_back({middle, box.second});
    }
    std::vector<std::array<double, 3>> palette;
    for (const Box& box : boxes) {
        std::array<double, 3> mean{};
        for (std::size_t i = box.first; i < box.second; ++i) {
            for (std::size_t c = 0; c < 3; ++c)
                mean[c] += colours[i][c] / static_cast<double>(box.second - box.first);
        }
        for (double& c : mean)
            c = std::round(c);
        palette.push_back(mean);
    }
    return palette;
}

// Maps the pixels to the palette with Floyd-Steinberg error diffusion among opaque pixels.
std::vector<unsigned char> Dither(std::vector<Pixel> icon, const std::vector<std::array<double, 3>>& palette,
                                  std::size_t first)
{
    std::vector<unsigned char> indices(icon.size(), 0);
    auto spread = [&icon](int x, int y, const std::array<double, 3>& error, double share) {
        if (x < 0 || x >= Side || y >= Side)
            return;
        Pixel& pixel = icon[static_cast<std::size_t>(y * Side + x)];
        if (!pixel.opaque)
            return;
        for (std::size_t c = 0; c < 3; ++c)
            pixel.colour[c] = std::clamp(pixel.colour[c] + error[c] * share, 0.0, 255.0);
    };
    for (int y = 0; y < Side; ++y) {
        for (int x = 0; x < Side; ++x) {
            const Pixel& pixel = icon[static_cast<std::size_t>(y * Side + x)];
            if (!pixel.opaque)
                continue;
            std::size_t best = first;
            double bestDistance = 1e9;
            for (std::size_t i = first; i < palette.size(); ++i) {
                double distance = 0;
                for (std::size_t c = 0; c < 3; ++c)
                    distance += (pixel.colour[c] - palette[i][c]) * (pixel.colour[c] - palette[i][c]);
                if (distance < bestDistance) {
                    bestDistance = distance;
                    best = i;
                }
            }
            indices[static_cast<std::size_t>(y * Side + x)] = static_cast<unsigned char>(best);
            std::array<double, 3> error{};
            for (std::size_t c = 0; c < 3; ++c)
                error[c] = pixel.colour[c] - palette[best][c];
            spread(x + 1, y, error, 7.0 / 16);
            spread(x - 1, y + 1, error, 3.0 / 16);
            spread(x, y + 1, error, 5.0 / 16);
            spread(x + 1, y + 1, error, 1.0 / 16);
        }
    }
    return indices;
}

// The icon image: bitmap header, palette, 4-bit colour rows and 1-bit mask rows, bottom-up.
Bytes Encode(const std::vector<std::array<double, 3>>& palette, const std::vector<unsigned char>& indices,
             const std::vector<Pixel>& icon)
{
    Bytes image;
    for (const std::uint32_t value : {40u, 32u, 64u})
        Put32(image, value);
    Put16(image, 1);
    Put16(image, 4);
    for (const std::uint32_t value : {0u, 32u * 16 + 32 * 4, 0u, 0u, 16u, 0u})
        Put32(image, value);
    for (std::size_t i = 0; i < Colours; ++i) {
        const std::array<double, 3> colour = i < palette.size() ? palette[i] : std::array<double, 3>{};
        for (const std::size_t c : {std::size_t{2}, std::size_t{1}, std::size_t{0}})
            image.push_back(static_cast<unsigned char>(colour[c]));
        image.push_back(0);
    }
    for (int y = Side - 1; y >= 0; --y) {
        for (int x = 0; x < Side; x += 2) {
            const std::size_t at = static_cast<std::size_t>(y * Side + x);
            image.push_back(static_cast<unsigned char>(indices[at] << 4 | indices[at + 1]));
        }
    }
    for (int y = Side - 1; y >= 0; --y) {
        for (int x = 0; x < Side; x += 8) {
            unsigned bits = 0;
            for (int k = 0; k < 8; ++k)
                bits = bits << 1 | (icon[static_cast<std::size_t>(y * Side + x + k)].opaque ? 0u : 1u);
            image.push_back(static_cast<unsigned char>(bits));
        }
    }
    return image;
}

}  // namespace

bool IconImageFromPicture(const Bytes& file, Bytes& image, std::string& error)
{
    if (file.size() >= 2 && file[0] == 'M' && file[1] == 'Z') {
        Bytes ico;
        bool noIcon = false;
        return ProgramIcon(file, ico, noIcon, error) && IconImageFromPicture(ico, image, error);
    }
    Rgba picture;
    const bool ico = file.size() >= 6 && Little16(file.data()) == 0 && Little16(file.data() + 2) == 1;
    const bool png = file.size() >= 8 && std::memcmp(file.data(), "\x89PNG\r\n\x1A\n", 8) == 0;
    const bool bmp = file.size() >= 2 && file[0] == 'B' && file[1] == 'M';
    if (ico) {
        bool found = false;
        if (!ReadIco(file, image, found, picture, error))
            return false;
        if (found)
            return true;
    } else if (!png && !bmp) {
        error = "the picture is not a PNG, BMP or ICO file or a Windows program";
        return false;
    } else if (!Decode(file.data(), file.size(), picture, error)) {
        return false;
    }

    const std::vector<Pixel> icon = Scale(picture);
    std::vector<std::array<double, 3>> colours;
    for (const Pixel& pixel : icon) {
        if (pixel.opaque)
            colours.push_back(pixel.colour);
    }
    // Transparent pixels must draw black through the mask, so black takes the first entry
    // when there are any, and the picture's own colours the others.
    const bool transparent = colours.size() < icon.size();
    std::vector<std::array<double, 3>> palette = MedianCut(colours, transparent ? Colours - 1 : Colours);
    if (transparent)
        palette.insert(palette.begin(), std::array<double, 3>{});
    image = Encode(palette, Dither(icon, palette, transparent ? 1 : 0), icon);
    return true;
}

Bytes IcoFileFor(const Bytes& image)
{
    Bytes file;
    for (const std::uint32_t value : {0u, 1u, 1u})
        Put16(file, value);
    file.insert(file.end(), {32, 32, 16, 0});
    Put16(file, 1);
    Put16(file, 4);
    Put32(file, image.size());
    Put32(file, 6 + 16);
    file.insert(file.end(), image.begin(), image.end());
    return file;
}

bool ReadPicture(const FileStartReader& readStart, Bytes& file, std::string& error)
{
    constexpr std::size_t ProgramReadLimit = 48u << 20;
    if (!readStart(2, file, error))
        return false;
    if (file.size() == 2 && file[0] == 'M' && file[1] == 'Z')
        return ReadProgramResources(readStart, ProgramReadLimit, file, error);
    return readStart(SIZE_MAX, file, error);
}

bool ReadPicture(const std::string& path, Bytes& file, std::string& error)
{
    return ReadPicture([&path](std::size_t limit, Bytes& bytes, std::string& reason) {
        return ReadFileStart(path, limit, bytes, reason);
    }, file, error);
}
