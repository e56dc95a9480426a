// Pictures to the launcher's 32x32 16-colour icon image: decoding, scaling, palette, dither.
#include "picture/icon_picture.h"

#include "system/system.h"

#include "pe/icon_resource.h"
#include "picture/picture_decoding.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <memory>

using namespace picture_decoding;

namespace {

constexpr int Side = 32;
constexpr int Colours = 16;

// One pixel of the icon before palette mapping.
struct Pixel {
    std::array<double, 3> colour{};  // red, green, blue, 0-255
    bool opaque = false;
};

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
