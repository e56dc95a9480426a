// PE header reading for the launcher stamping tool. All values are little-endian.
#include "pe/pe_image.h"

#include "pe/resource_directory.h"
#include "system/system.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr std::uint16_t MachineI386 = 0x014C;
constexpr std::uint16_t MachineAmd64 = 0x8664;
constexpr std::uint16_t MachineArmThumb2 = 0x01C4;
constexpr std::uint16_t MachineArm64 = 0xAA64;
constexpr std::uint16_t ExecutableImage = 0x0002;
constexpr std::uint16_t MagicPe32 = 0x010B;
constexpr std::uint16_t MagicPe32Plus = 0x020B;
constexpr std::size_t SectionHeaderSize = 40;
constexpr std::uint32_t ResourceDirectory = 2;
constexpr std::uint32_t SecurityDirectory = 4;

// Bounds-checked little-endian reads: false when the value would lie outside bytes.
bool Read16(const Bytes& bytes, std::size_t offset, std::uint16_t& value)
{
    if (offset > bytes.size() || bytes.size() - offset < 2)
        return false;
    value = static_cast<std::uint16_t>(Little16(&bytes[offset]));
    return true;
}

bool Read32(const Bytes& bytes, std::size_t offset, std::uint32_t& value)
{
    if (offset > bytes.size() || bytes.size() - offset < 4)
        return false;
    value = Little32(&bytes[offset]);
    return true;
}

bool Fail(std::string& error, const char* reason)
{
    error = reason;
    return false;
}

// Whether the resources of the image in bytes hold the launcher's icon group.
bool HasLauncherIconGroup(const Bytes& bytes, const LauncherImage& image)
{
    std::size_t offset = 0;
    std::uint32_t rva = 0, size = 0;
    if (image.resourceRva == 0 || !RvaToOffset(bytes, image, image.resourceRva, image.resourceSize, offset))
        return false;
    Directory directory(bytes.data() + offset, image.resourceSize, offset);
    return FindData(directory, ResourceTypeGroupIcon, 0, LAUNCHER_ICON_GROUP, rva, size);
}

// Where the headers lie, as the COFF header gives them.
struct HeaderPlaces {
    std::size_t optional = 0;  // file offset of the optional header
    std::uint16_t optionalSize = 0;
    std::uint16_t sectionCount = 0;
};

// The MZ and PE signatures and the COFF header: the machine (image.machine) and where the
// optional header lies.
bool ReadCoffHeader(const Bytes& bytes, bool launcher, LauncherImage& image, HeaderPlaces& places, std::string& error)
{
    if (bytes.size() < 64 || bytes[0] != 'M' || bytes[1] != 'Z')
        return Fail(error, "not a Windows executable (no MZ header)");
    std::uint32_t peOffset = 0;
    Read32(bytes, 0x3C, peOffset);
    std::uint32_t signature = 0;
    if (!Read32(bytes, peOffset, signature) || signature != 0x00004550)
        return Fail(error, "not a PE executable (no PE signature)");

    const std::size_t coff = std::size_t{peOffset} + 4;
    std::uint16_t machine = 0, characteristics = 0;
    if (!Read16(bytes, coff, machine) || !Read16(bytes, coff + 2, places.sectionCount) ||
        !Read16(bytes, coff + 16, places.optionalSize) || !Read16(bytes, coff + 18, characteristics))
        return Fail(error, "truncated PE header");
    const bool x86 = machine == MachineI386 || machine == MachineAmd64;
    if (launcher ? !x86 : !x86 && machine != MachineArm64 && machine != MachineArmThumb2)
        return Fail(error, launcher ? "not an x86 or x86-64 executable" : "not a program for a machine Windows runs on");
    image.machine = machine;
    if ((characteristics & ExecutableImage) == 0)
        return Fail(error, "not an executable image");
    places.optional = coff + 20;
    return true;
}

// The optional header: the checksum, the headers' size, and the resource and security
// directories.
bool ReadOptionalHeader(const Bytes& bytes, const HeaderPlaces& places, LauncherImage& image, std::string& error)
{
    const std::size_t optional = places.optional;
    std::uint16_t magic = 0;
    if (!Read16(bytes, optional, magic) || (magic != MagicPe32 && magic != MagicPe32Plus))
        return Fail(error, "unknown optional header");
    const std::size_t directoryCountOffset = optional + (magic == MagicPe32 ? 92 : 108);
    std::uint32_t directoryCount = 0;
    if (places.optionalSize < directoryCountOffset + 4 - optional || !Read32(bytes, directoryCountOffset, directoryCount))
        return Fail(error, "truncated optional header");
    const std::size_t directories = directoryCountOffset + 4;
    if (directoryCount > (places.optionalSize - (directories - optional)) / 8)
        return Fail(error, "optional header too small for its data directories");

    image.checksumOffset = optional + 64;
    Read32(bytes, image.checksumOffset, image.checksum);
    Read32(bytes, optional + 60, image.headersSize);
    if (directoryCount > ResourceDirectory) {
        Read32(bytes, directories + ResourceDirectory * 8, image.resourceRva);
        Read32(bytes, directories + ResourceDirectory * 8 + 4, image.resourceSize);
    }
    image.certificateOffset = image.certificateSize = 0;
    if (directoryCount > SecurityDirectory) {
        image.securityEntryOffset = directories + SecurityDirectory * 8;
        Read32(bytes, image.securityEntryOffset, image.certificateOffset);
        Read32(bytes, image.securityEntryOffset + 4, image.certificateSize);
    }
    image.isSigned = image.certificateSize != 0;
    return true;
}

// The launch directory field's sections among the section table's: how many of each name, and
// the header and index of the last.
struct FieldSections {
    int found = 0, former = 0;
    std::size_t field = 0, fieldIndex = 0;
};

// The section table (image.sections, image.headersEnd), and the sections that may hold the field.
bool ReadSectionTable(const Bytes& bytes, const HeaderPlaces& places, LauncherImage& image, FieldSections& fields,
                      std::string& error)
{
    const std::size_t sections = places.optional + places.optionalSize;
    if (sections > bytes.size() || (bytes.size() - sections) / SectionHeaderSize < places.sectionCount)
        return Fail(error, "section table runs past the end of the file");
    image.sections.clear();
    for (std::size_t i = 0; i < places.sectionCount; ++i) {
        const std::size_t header = sections + i * SectionHeaderSize;
        ImageSection section;
        Read32(bytes, header + 8, section.virtualSize);
        Read32(bytes, header + 12, section.virtualAddress);
        Read32(bytes, header + 16, section.rawSize);
        Read32(bytes, header + 20, section.rawOffset);
        image.sections.push_back(section);
        char name[9] = {};
        std::memcpy(name, &bytes[header], 8);
        if (std::strcmp(name, FormerFieldSectionName) == 0) {
            ++fields.former;
            fields.field = header;
            fields.fieldIndex = i;
        } else if (std::strcmp(name, FieldSectionName) == 0 && section.virtualSize == FieldSize) {
            ++fields.found;
            fields.field = header;
            fields.fieldIndex = i;
        }
    }
    image.headersEnd = sections + places.sectionCount * SectionHeaderSize;
    return true;
}

// The launcher's launch directory field (image.fieldOffset): the one section that holds it,
// whole inside the file and overlapping nothing else.
bool ReadLaunchField(const Bytes& bytes, std::uint64_t fileSize, const FieldSections& fields, LauncherImage& image,
                     std::string& error)
{
    if (fields.former == 0 && (fields.found == 0 || !HasLauncherIconGroup(bytes, image)))
        return Fail(error, "no launch directory field (not a launcher of ours)");
    if (fields.former + fields.found > 1)
        return Fail(error, "more than one launch directory field");
    std::uint32_t virtualSize = 0, rawSize = 0, rawOffset = 0;
    Read32(bytes, fields.field + 8, virtualSize);
    Read32(bytes, fields.field + 16, rawSize);
    Read32(bytes, fields.field + 20, rawOffset);
    if (virtualSize != FieldSize || rawSize < FieldSize)
        return Fail(error, "the launch directory section is not 1024 bytes");
    if (rawOffset > fileSize || fileSize - rawOffset < FieldSize)
        return Fail(error, "the launch directory section lies past the end of the file");
    if (rawOffset < image.headersEnd)
        return Fail(error, "the launch directory section overlaps the headers");
    // Writing the field must change nothing else: no other section's bytes (the resources that
    // tell a launcher among them) may lie in it.
    for (std::size_t i = 0; i < image.sections.size(); ++i) {
        const ImageSection& other = image.sections[i];
        if (i != fields.fieldIndex && other.rawSize > 0 &&
            std::uint64_t{other.rawOffset} < std::uint64_t{rawOffset} + FieldSize &&
            std::uint64_t{rawOffset} < std::uint64_t{other.rawOffset} + other.rawSize)
            return Fail(error, "the launch directory section overlaps another section");
    }
    image.fieldOffset = rawOffset;
    return true;
}

// Reads the headers in bytes, which begin a file of fileSize bytes; for a launcher, also its
// launch directory field.
bool ReadImage(const Bytes& bytes, std::uint64_t fileSize, bool launcher, LauncherImage& image, std::string& error)
{
    HeaderPlaces places;
    FieldSections fields;
    if (!ReadCoffHeader(bytes, launcher, image, places, error) || !ReadOptionalHeader(bytes, places, image, error) ||
        !ReadSectionTable(bytes, places, image, fields, error))
        return false;
    return !launcher || ReadLaunchField(bytes, fileSize, fields, image, error);
}

}  // namespace

bool ReadLauncherImage(const Bytes& bytes, LauncherImage& image, std::string& error)
{
    return ReadImage(bytes, bytes.size(), true, image, error);
}

bool ReadProgramImage(const Bytes& bytes, LauncherImage& image, std::string& error)
{
    return ReadImage(bytes, bytes.size(), false, image, error);
}

bool IsLauncherHeader(const Bytes& start, std::uint64_t fileSize)
{
    LauncherImage image;
    std::string error;
    return ReadImage(start, fileSize, true, image, error);
}

bool RvaToOffset(const Bytes& bytes, const LauncherImage& image, std::uint32_t rva, std::uint32_t size,
                 std::size_t& offset)
{
    for (const ImageSection& section : image.sections) {
        const std::uint64_t start = section.virtualAddress;
        const std::uint64_t end = start + std::min(section.virtualSize, section.rawSize);
        if (rva < start || std::uint64_t{rva} + size > end)
            continue;
        const std::uint64_t fileOffset = std::uint64_t{section.rawOffset} + (rva - start);
        if (fileOffset + size > bytes.size() || fileOffset < image.headersEnd)
            return false;
        offset = static_cast<std::size_t>(fileOffset);
        return true;
    }
    return false;
}

bool RemoveSignature(Bytes& bytes, LauncherImage& image, std::string& error)
{
    const std::uint64_t start = image.certificateOffset;
    if (std::uint64_t{start} + image.certificateSize != bytes.size())
        return Fail(error, "its certificate table is not at the end of the file, so the signature cannot be removed safely");
    for (const ImageSection& section : image.sections) {
        if (section.rawSize != 0 && std::uint64_t{section.rawOffset} + section.rawSize > start)
            return Fail(error, "its certificate table overlaps a section, so the signature cannot be removed safely");
    }
    if (start < image.headersEnd)
        return Fail(error, "its certificate table overlaps the headers, so the signature cannot be removed safely");
    bytes.resize(static_cast<std::size_t>(start));
    std::fill_n(bytes.begin() + static_cast<std::ptrdiff_t>(image.securityEntryOffset), 8, 0);
    image.certificateOffset = image.certificateSize = 0;
    image.isSigned = false;
    image.signatureRemoved = true;
    UpdateChecksum(bytes, image);
    return true;
}

void UpdateChecksum(Bytes& bytes, const LauncherImage& image)
{
    if (image.checksum == 0)
        return;
    const std::uint32_t checksum = PeChecksum(bytes, image.checksumOffset);
    for (std::size_t k = 0; k < 4; ++k)
        bytes[image.checksumOffset + k] = static_cast<unsigned char>(checksum >> (8 * k));
}

std::uint32_t PeChecksum(const Bytes& bytes, std::size_t checksumOffset)
{
    auto byteAt = [&](std::size_t i) -> std::uint32_t {
        const bool inChecksum = i >= checksumOffset && i - checksumOffset < 4;
        return i < bytes.size() && !inChecksum ? bytes[i] : 0;
    };
    std::uint64_t sum = 0;
    for (std::size_t i = 0; i < bytes.size(); i += 2) {
        sum += byteAt(i) | byteAt(i + 1) << 8;
        sum = (sum & 0xFFFF) + (sum >> 16);
    }
    sum = (sum & 0xFFFF) + (sum >> 16);
    return static_cast<std::uint32_t>(sum + bytes.size());
}

std::size_t ResourcesEnd(const LauncherImage& image)
{
    for (const ImageSection& section : image.sections) {
        if (image.resourceRva >= section.virtualAddress &&
            image.resourceRva - section.virtualAddress < std::max(section.virtualSize, section.rawSize))
            return std::size_t{section.rawOffset} + section.rawSize;
    }
    return 0;
}

bool ReadProgramResources(const FileStartReader& readStart, std::size_t limit, Bytes& bytes, std::string& error)
{
    LauncherImage image;
    if (!readStart(LauncherHeaderBytes, bytes, error) || !ReadProgramImage(bytes, image, error))
        return false;
    const std::size_t needed = ResourcesEnd(image);
    if (needed <= bytes.size())
        return true;
    if (needed > limit) {
        error = "its resources reach " + std::to_string(needed >> 20) + " MB into the file, past the " +
                std::to_string(limit >> 20) + " MB read for them";
        return false;
    }
    return readStart(needed, bytes, error);
}

bool ReadProgramResources(const std::string& path, std::size_t limit, Bytes& bytes, std::string& error)
{
    return ReadProgramResources(
        [&path](std::size_t count, Bytes& read, std::string& reason) { return ReadFileStart(path, count, read, reason); },
        limit, bytes, error);
}
