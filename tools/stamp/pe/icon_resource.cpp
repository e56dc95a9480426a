// The launcher's icon and the icon any program shows, found through the resource directory.
#include "pe/icon_resource.h"

#include "pe/resource_directory.h"

#include <cstring>
#include <utility>

namespace {

constexpr std::uint32_t TypeIcon = ResourceTypeIcon;
constexpr std::uint32_t TypeGroupIcon = ResourceTypeGroupIcon;
constexpr std::uint32_t HighBit = ResourceHighBit;
constexpr std::size_t GroupSize = 6 + 14;
const char GroupName[] = LAUNCHER_ICON_GROUP;

bool Fail(std::string& error, const std::string& reason)
{
    error = "the icon resource does not have the expected shape: " + reason;
    return false;
}

void Put16(unsigned char* p, std::uint32_t value)
{
    p[0] = static_cast<unsigned char>(value);
    p[1] = static_cast<unsigned char>(value >> 8);
}

// The group's one entry as it must read for image 1: 32x32, 16 colours, 1 plane, 4 bits.
void PutGroupEntry(unsigned char* group)
{
    const unsigned char header[] = {0, 0, 1, 0, 1, 0, 32, 32, 16, 0, 1, 0, 4, 0};
    std::memcpy(group, header, sizeof header);
    Put16(group + 14, static_cast<std::uint32_t>(IconImageSize));
    Put16(group + 16, 0);
    Put16(group + 18, 1);
}

// Says that the program's icon resources are malformed, what showing how; false.
bool IconsMalformed(std::string& error, const std::string& what)
{
    error = "the program's icon resources are malformed: " + what;
    return false;
}

// The program's first icon group, in directory order (groups: the entry of the group icon
// type): group gets its bytes and count its number of images. False with error set when none.
bool FirstIconGroup(const Bytes& program, const LauncherImage& image, Directory& directory, std::uint32_t groups,
                    const unsigned char*& group, std::size_t& count, std::string& error)
{
    const unsigned char* table = directory.At(groups & ~HighBit, 16);
    const unsigned char* first = table == nullptr || Little16(table + 12) + Little16(table + 14) == 0
                                     ? nullptr : directory.At((groups & ~HighBit) + 16, 8);
    std::uint32_t groupRva = 0, groupSize = 0;
    std::size_t groupOffset = 0;
    if (first == nullptr || !LanguageData(directory, Little32(first + 4), false, groupRva, groupSize))
        return IconsMalformed(error, "its first icon group cannot be found");
    if (groupSize < 6 || !RvaToOffset(program, image, groupRva, groupSize, groupOffset))
        return IconsMalformed(error, "the icon group lies outside the file");
    group = program.data() + groupOffset;
    count = Little16(group + 4);
    if (count == 0 || (groupSize - 6) / 14 < count)
        return IconsMalformed(error, "the icon group holds " + std::to_string(count) + " images in " +
                                         std::to_string(groupSize) + " bytes");
    return true;
}

// Which of the group's count images is shown at 32x32.
std::size_t ImageShownAt32(const unsigned char* group, std::size_t count)
{
    // How well image i fits, lower first: exact (the deepest first), the nearest larger, the largest smaller.
    auto rank = [group](std::size_t i) {
        const unsigned side = group[6 + 14 * i] == 0 ? 256u : group[6 + 14 * i];
        const unsigned bits = Little16(group + 6 + 14 * i + 6);
        return side == 32 ? std::make_pair(0u, 0xFFFFu - bits)
                          : side > 32 ? std::make_pair(1u, side) : std::make_pair(2u, 256u - side);
    };
    std::size_t best = 0;
    for (std::size_t i = 1; i < count; ++i) {
        if (rank(i) < rank(best))
            best = i;
    }
    return best;
}

// Where in program the icon image that the group's entry names lies: imageOffset, imageSize.
// False with error set when it cannot be found there.
bool IconImageData(const Bytes& program, const LauncherImage& image, Directory& directory, const unsigned char* entry,
                   std::size_t& imageOffset, std::uint32_t& imageSize, std::string& error)
{
    std::uint32_t icons = 0, imageRva = 0, languages = 0;
    if (!FindEntry(directory, 0, TypeIcon, nullptr, true, icons) ||
        !FindEntry(directory, icons & ~HighBit, Little16(entry + 12), nullptr, true, languages) ||
        !LanguageData(directory, languages, false, imageRva, imageSize))
        return IconsMalformed(error,
                              "icon image " + std::to_string(Little16(entry + 12)) + " of the group cannot be found");
    if (imageSize == 0 || !RvaToOffset(program, image, imageRva, imageSize, imageOffset))
        return IconsMalformed(error, "icon image " + std::to_string(Little16(entry + 12)) + " lies outside the file");
    return true;
}

// An .ico of the one image (imageSize bytes at imageOffset in program): its directory entry is
// the group's entry, with the file offset in place of the identifier.
Bytes IcoOfOneImage(const Bytes& program, const unsigned char* entry, std::size_t imageOffset, std::uint32_t imageSize)
{
    Bytes ico = {0, 0, 1, 0, 1, 0};
    ico.insert(ico.end(), entry, entry + 8);
    for (std::uint32_t value : {imageSize, 22u}) {
        for (std::size_t k = 0; k < 4; ++k)
            ico.push_back(static_cast<unsigned char>(value >> (8 * k)));
    }
    ico.insert(ico.end(), program.begin() + static_cast<std::ptrdiff_t>(imageOffset),
               program.begin() + static_cast<std::ptrdiff_t>(imageOffset + imageSize));
    return ico;
}

}  // namespace

bool IsLauncherIconImage(const unsigned char* data, std::size_t size)
{
    const std::uint32_t colours = size >= 40 ? Little32(data + 32) : 0;
    return size == IconImageSize && Little32(data) == 40 && Little32(data + 4) == 32 && Little32(data + 8) == 64 &&
           Little16(data + 12) == 1 && Little16(data + 14) == 4 && Little32(data + 16) == 0 && (colours == 0 || colours == 16);
}

bool ProgramIcon(const Bytes& program, Bytes& ico, bool& noIcon, std::string& error)
{
    noIcon = false;
    LauncherImage image;
    if (!ReadProgramImage(program, image, error))
        return false;
    std::size_t base = 0;
    if (image.resourceRva == 0) {
        noIcon = true;
        error = "the program has no resources, so no icon";
        return false;
    }
    if (!RvaToOffset(program, image, image.resourceRva, image.resourceSize, base)) {
        error = "the program's resource directory lies outside the file";
        return false;
    }
    Directory directory(program.data() + base, image.resourceSize, base);
    std::uint32_t groups = 0;
    if (!FindEntry(directory, 0, TypeGroupIcon, nullptr, true, groups)) {
        noIcon = true;
        error = "the program has no icon";
        return false;
    }
    const unsigned char* group = nullptr;
    std::size_t count = 0;
    if (!FirstIconGroup(program, image, directory, groups, group, count, error))
        return false;
    const unsigned char* entry = group + 6 + 14 * ImageShownAt32(group, count);
    std::size_t imageOffset = 0;
    std::uint32_t imageSize = 0;
    if (!IconImageData(program, image, directory, entry, imageOffset, imageSize, error))
        return false;
    ico = IcoOfOneImage(program, entry, imageOffset, imageSize);
    return true;
}

bool FindIconResource(const Bytes& bytes, const LauncherImage& image, IconResource& icon, std::string& error)
{
    std::size_t base = 0;
    if (image.resourceRva == 0 || !RvaToOffset(bytes, image, image.resourceRva, image.resourceSize, base))
        return Fail(error, "no resource directory inside the file");
    Directory directory(bytes.data() + base, image.resourceSize, base);

    std::uint32_t groupRva = 0, groupSize = 0, imageRva = 0, imageSize = 0;
    if (!FindData(directory, TypeGroupIcon, 0, GroupName, groupRva, groupSize))
        return Fail(error, "no single icon group SETUPRTICON");
    if (!FindData(directory, TypeIcon, 1, nullptr, imageRva, imageSize))
        return Fail(error, "no single icon image 1");
    if (groupSize != GroupSize || !RvaToOffset(bytes, image, groupRva, groupSize, icon.groupOffset))
        return Fail(error, "the icon group is not one entry inside the file");
    if (imageSize != IconImageSize || !RvaToOffset(bytes, image, imageRva, imageSize, icon.imageOffset))
        return Fail(error, "icon image 1 is not " + std::to_string(IconImageSize) + " bytes inside the file");

    const unsigned char* group = bytes.data() + icon.groupOffset;
    unsigned char expected[GroupSize];
    PutGroupEntry(expected);
    if (std::memcmp(group, expected, GroupSize) != 0)
        return Fail(error, "the group does not hold exactly one 32x32 16-colour image of identifier 1");
    if (!IsLauncherIconImage(bytes.data() + icon.imageOffset, imageSize))
        return Fail(error, "icon image 1 is not a 32x32 image of 4 bits per pixel");

    const std::size_t start = icon.imageOffset;
    const bool overlapsGroup = start < icon.groupOffset + GroupSize && icon.groupOffset < start + IconImageSize;
    const bool overlapsField = start < image.fieldOffset + FieldSize && image.fieldOffset < start + IconImageSize;
    if (overlapsGroup || overlapsField || directory.Overlaps(start, IconImageSize))
        return Fail(error, "icon image 1 overlaps the resource directory, the group or the launch directory field");
    return true;
}

void WriteIconImage(Bytes& bytes, const LauncherImage& image, const IconResource& icon, const Bytes& picture)
{
    std::memcpy(bytes.data() + icon.imageOffset, picture.data(), IconImageSize);
    PutGroupEntry(bytes.data() + icon.groupOffset);
    UpdateChecksum(bytes, image);
}
