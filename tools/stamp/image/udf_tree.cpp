// The UDF tree of an image, as current Windows reads it in place of the ISO 9660 tree: a
// logical volume on one physical partition, its folders' file identifiers and file entries.
#include "image/disc_image.h"

#include "image/image_fields.h"

#include <algorithm>

namespace {

constexpr std::uint64_t AnchorBlock = 256;
constexpr int MostVolumeDescriptors = 64;
constexpr std::size_t MostExtents = 4096;

std::uint16_t TagOf(const Bytes& b)
{
    return b.size() >= 16 ? Le16(b, 0) : 0;
}

// A UDF name (an OSTA compressed unicode d-string without its length byte): 8 bits or 16 bits a unit.
bool UdfName(const Bytes& b, std::size_t at, std::size_t length, std::string& name)
{
    name.clear();
    if (length == 0)
        return false;
    if (b[at] == 8) {
        for (std::size_t i = 1; i < length; ++i)
            AppendUtf8(name, b[at + i]);
        return true;
    }
    if (b[at] == 16) {
        name = FromUcs2(b, at + 1, length - 1);
        return true;
    }
    return false;
}

}  // namespace

bool DiscImage::OpenUdf(std::string& error)
{
    Bytes anchor;
    if (!read_(AnchorBlock * 2048, 512, anchor) || TagOf(anchor) != 2) {
        error = "its UDF anchor is missing or damaged";
        return false;
    }
    const std::uint32_t sequenceLength = Le32(anchor, 16), sequenceStart = Le32(anchor, 20);
    bool partition = false, volume = false;
    std::uint64_t fileSet = 0;
    for (std::uint32_t i = 0; i < std::min<std::uint32_t>(sequenceLength / 2048, MostVolumeDescriptors); ++i) {
        Bytes d;
        if (!read_((std::uint64_t{sequenceStart} + i) * 2048, 2048, d)) {
            error = "its UDF volume descriptors lie outside the image";
            return false;
        }
        const std::uint16_t tag = TagOf(d);
        if (tag == 8)
            break;
        if (tag == 5 && !partition) {
            partition = true;
            partitionStart_ = Le32(d, 188);
        }
        if (tag == 6 && !volume) {
            volume = true;
            udfBlockSize_ = Le32(d, 212);
            fileSet = Le32(d, 248 + 4);
            const std::uint32_t maps = Le32(d, 268);
            // One physical partition map (type 1) is all that UDF 1.02 to 2.01 on a disc needs; the
            // metadata partition of UDF 2.50 and later is another type.
            if (maps != 1 || d[440] != 1) {
                error = "its UDF volume uses partition maps this tool does not read (UDF 2.50 or later, or several "
                        "partitions)";
                return false;
            }
        }
    }
    if (!partition || !volume || udfBlockSize_ != 2048) {
        error = "its UDF volume descriptors are incomplete or damaged";
        return false;
    }
    Bytes set;
    if (!read_((partitionStart_ + fileSet) * udfBlockSize_, 512, set) || TagOf(set) != 256) {
        error = "its UDF file set descriptor is missing or damaged";
        return false;
    }
    ImageEntry root;
    if (!ReadUdfEntry(Le32(set, 400 + 4), root, error) || !root.isFolder) {
        error = "its UDF root folder cannot be read: " + (error.empty() ? "not a folder" : error);
        return false;
    }
    udfTree_.kind = TreeKind::Udf;
    udfTree_.root = root.extents;
    return true;
}

// Reads the file entry at lbn of the partition: the kind, size and extents of what it records.
bool DiscImage::ReadUdfEntry(std::uint64_t lbn, ImageEntry& entry, std::string& error) const
{
    const std::uint64_t at = (partitionStart_ + lbn) * udfBlockSize_;
    Bytes fe;
    if (!read_(at, udfBlockSize_, fe) || (TagOf(fe) != 261 && TagOf(fe) != 266)) {
        error = "a UDF file entry is missing or damaged";
        return false;
    }
    const bool extended = TagOf(fe) == 266;
    const int fileType = fe[16 + 11];
    const int adType = Le16(fe, 16 + 18) & 7;
    const std::uint64_t length = Le32(fe, 56) | std::uint64_t{Le32(fe, 60)} << 32;
    // In 64 bits: a length near 4 GiB must not wrap around on a 32-bit system.
    const std::uint64_t eaLength = Le32(fe, extended ? 208 : 168), adLength = Le32(fe, extended ? 212 : 172);
    const std::uint64_t descriptorsAt = (extended ? 216 : 176) + eaLength;
    if (descriptorsAt > fe.size() || adLength > fe.size() - descriptorsAt) {
        error = "a UDF file entry is damaged";
        return false;
    }
    const std::size_t adStart = static_cast<std::size_t>(descriptorsAt);
    entry.isFolder = fileType == 4;
    entry.size = entry.isFolder ? 0 : length;
    entry.extents.clear();
    if (adType == 3) {  // the data itself, inside the entry
        entry.extents.emplace_back(at + adStart, std::min<std::uint64_t>(adLength, length));
        return true;
    }
    const std::size_t step = adType == 0 ? 8 : adType == 1 ? 16 : 0;
    if (step == 0) {
        error = "a UDF file entry uses extended allocation descriptors, which this tool does not read";
        return false;
    }
    std::uint64_t total = 0;
    for (std::size_t i = adStart; i + step <= adStart + static_cast<std::size_t>(adLength) && total < length; i += step) {
        const std::uint32_t raw = Le32(fe, i);
        const std::uint64_t bytes = std::min<std::uint64_t>(raw & 0x3FFFFFFF, length - total);
        const int kind = static_cast<int>(raw >> 30);
        if (kind == 3) {
            error = "a UDF file's allocation continues elsewhere, which this tool does not read";
            return false;
        }
        if (bytes == 0)
            break;
        if (entry.extents.size() >= MostExtents) {
            error = "a UDF file has more extents than any disc's";
            return false;
        }
        entry.extents.emplace_back(kind == 0 ? (partitionStart_ + Le32(fe, i + 4)) * udfBlockSize_ : NoData, bytes);
        total += bytes;
    }
    return true;
}

bool DiscImage::ReadUdfIdentifiers(const Bytes& identifiers, std::vector<ImageEntry>& entries, std::string& error) const
{
    for (std::size_t at = 0; at + 38 <= identifiers.size();) {
        if (Le16(identifiers, at) != 257) {
            error = "a UDF file identifier is damaged";
            return false;
        }
        const int characteristics = identifiers[at + 18];
        const std::size_t nameLength = identifiers[at + 19], useLength = Le16(identifiers, at + 36);
        const std::size_t length = (38 + useLength + nameLength + 3) / 4 * 4;
        if (at + 38 + useLength + nameLength > identifiers.size()) {
            error = "a UDF file identifier is damaged";
            return false;
        }
        const std::size_t here = at;
        at += length;
        if (characteristics & (0x04 | 0x08))
            continue;  // deleted, or the parent
        ImageEntry entry;
        if (!UdfName(identifiers, here + 38 + useLength, nameLength, entry.recorded) || entry.recorded.empty()) {
            error = "a name in a UDF folder is empty or damaged";
            return false;
        }
        entry.name = entry.recorded;
        if (!Spend(udfBlockSize_, error) || !ReadUdfEntry(Le32(identifiers, here + 20 + 4), entry, error))
            return false;
        entries.push_back(entry);
    }
    return true;
}

