// Disc images as Windows reads them: the volume descriptors, the folders of the tree Windows
// reads, and the files' bytes. Every offset and length comes from the image and is checked before
// it is used.
#include "image/disc_image.h"

#include "image/image_fields.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>

namespace {

constexpr std::uint64_t DescriptorsStart = 16 * 2048;
constexpr int MostDescriptors = 64;       // descriptors read before giving up on a terminator
constexpr std::uint32_t LargestFolder = 16u << 20;  // a folder's records, at most
constexpr std::size_t DeepestFolder = 64;
constexpr std::size_t MostKeptEntries = 1u << 16;  // folders' entries kept for later lookups, at most
// The bound on work: bytes of records parsed, at most this many times the image's size and a
// little more; lookups of a name in a folder, at most one for every so many bytes of the image
// and a few more. A disc's every folder takes a sector of its own, and lies no deeper than
// DeepestFolder, so walking each of its trees once stays well below both.
constexpr std::uint64_t ParseBoundFactor = 4;
constexpr std::uint64_t ParseBoundBase = 4u << 20;
constexpr std::uint64_t LookupBoundDivisor = 16;
constexpr std::uint64_t LookupBoundBase = 1u << 20;
// What Spend is handed for a lookup.
constexpr std::uint64_t Lookup = ~std::uint64_t{0};

}  // namespace

ImageReader ImageFileReader(const std::string& path, std::uint64_t& size)
{
    auto stream = std::make_shared<std::ifstream>(std::filesystem::u8path(path), std::ios::binary);
    stream->seekg(0, std::ios::end);
    size = *stream ? static_cast<std::uint64_t>(stream->tellg()) : 0;
    return [stream, size](std::uint64_t offset, std::size_t count, Bytes& bytes) {
        bytes.clear();
        if (offset > size || count > size - offset)
            return false;
        bytes.resize(count);
        stream->clear();
        stream->seekg(static_cast<std::streamoff>(offset));
        stream->read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(count));
        return static_cast<std::size_t>(stream->gcount()) == count;
    };
}

bool LooksLikeDiscImage(const ImageReader& read)
{
    Bytes sector;
    return read(DescriptorsStart, 7, sector) && Has(sector, 1, "CD001");
}

bool DiscImage::ReadVolumeDescriptors(bool& primary, std::string& error)
{
    bool terminated = false;
    for (int i = 0; i < MostDescriptors && !terminated; ++i) {
        Bytes d;
        if (!read_(DescriptorsStart + static_cast<std::uint64_t>(i) * 2048, 2048, d)) {
            error = "the image ends among its volume descriptors: it is truncated";
            return false;
        }
        // The volume recognition sequence of UDF follows the ISO 9660 descriptors.
        if (Has(d, 1, "NSR02") || Has(d, 1, "NSR03"))
            udf_ = true;
        if (Has(d, 1, "BEA01") || Has(d, 1, "TEA01") || Has(d, 1, "NSR02") || Has(d, 1, "NSR03") || Has(d, 1, "BOOT2"))
            continue;
        if (!Has(d, 1, "CD001")) {
            if (primary)
                break;
            error = "no ISO 9660 volume descriptor where one is due: the image is damaged or no disc image";
            return false;
        }
        const int type = d[0];
        if (type == 255) {
            terminated = true;
            continue;
        }
        if (type != 1 && type != 2)
            continue;
        if (type == 1 && !primary) {
            primary = true;
            TakePrimaryDescriptor(d);
        }
        // The first supplementary descriptor with a Joliet escape sequence wins.
        if (type == 2 && primary && !joliet_ && (Has(d, 88, "%/@") || Has(d, 88, "%/C") || Has(d, 88, "%/E")))
            TakeJolietDescriptor(d);
    }
    return true;
}

void DiscImage::TakePrimaryDescriptor(const Bytes& d)
{
    blockSize_ = Le16(d, 128);
    primary_.root = {{std::uint64_t{Le32(d, 156 + 2)} * blockSize_, Le32(d, 156 + 10)}};
    label_ = WindowsName(std::string(d.begin() + 40, d.begin() + 72));
    label_.erase(label_.find_last_not_of(' ') + 1);
}

void DiscImage::TakeJolietDescriptor(const Bytes& d)
{
    joliet_ = true;
    jolietTree_.kind = TreeKind::Joliet;
    jolietTree_.root = {{std::uint64_t{Le32(d, 156 + 2)} * blockSize_, Le32(d, 156 + 10)}};
    // Windows shows the label of the tree it reads.
    label_ = FromUcs2(d, 40, 32);
    label_.erase(label_.find_last_not_of(std::string(" \0", 2)) + 1);
}

void DiscImage::FindUdfPastTerminator()
{
    for (int i = 0; i < MostDescriptors && !udf_; ++i) {
        Bytes d;
        if (!read_(DescriptorsStart + static_cast<std::uint64_t>(i) * 2048, 6, d))
            break;
        udf_ = Has(d, 1, "NSR02") || Has(d, 1, "NSR03");
    }
}

bool DiscImage::Open(ImageReader read, std::uint64_t imageSize, unsigned oemCodePage, std::string& error)
{
    read_ = std::move(read);
    size_ = imageSize;
    oemCodePage_ = oemCodePage;
    bool primary = false;
    if (!ReadVolumeDescriptors(primary, error))
        return false;
    FindUdfPastTerminator();
    if (!primary) {
        error = "the image has no primary volume descriptor";
        return false;
    }
    if (blockSize_ != 512 && blockSize_ != 1024 && blockSize_ != 2048) {
        error = "the image's block size " + std::to_string(blockSize_) + " is none that discs have";
        return false;
    }
    if (udf_)
        readsUdf_ = OpenUdf(udfProblem_);
    return true;
}

bool DiscImage::ReadExtents(const Extents& extents, std::uint64_t offset, std::size_t count, Bytes& bytes,
                            std::string& error) const
{
    bytes.clear();
    // All of them first: each recorded one inside the image, and together no more than it holds
    // (an empty one may be recorded anywhere, even past the end). Only then is anything read.
    std::uint64_t total = 0, recorded = 0;
    for (const auto& [at, length] : extents) {
        total += length;
        if (at == NoData || length == 0)
            continue;
        recorded += length;
        if (at > size_ || length > size_ - at) {
            error = "data lie outside the image (they end at byte " + std::to_string(at + length) + ", the image at " +
                    std::to_string(size_) + "): it is cut short, as a stopped download or copy is, or damaged";
            return false;
        }
        if (recorded > size_) {
            error = "data add up to more than the image holds: it is damaged";
            return false;
        }
    }
    if (offset >= total)
        return true;
    bytes.reserve(static_cast<std::size_t>(std::min<std::uint64_t>(count, total - offset)));
    std::uint64_t skip = offset;
    for (const auto& [at, length] : extents) {
        if (bytes.size() >= count)
            break;
        if (skip >= length) {
            skip -= length;
            continue;
        }
        const std::size_t part = static_cast<std::size_t>(std::min<std::uint64_t>(length - skip, count - bytes.size()));
        if (at == NoData) {
            bytes.resize(bytes.size() + part, 0);
        } else {
            Bytes piece;
            if (!read_(at + skip, part, piece)) {
                error = "data lie outside the image: it is truncated or damaged";
                return false;
            }
            bytes.insert(bytes.end(), piece.begin(), piece.end());
        }
        skip = 0;
    }
    return true;
}

std::uint64_t DiscImage::parseBound() const
{
    return ParseBoundFactor * size_ + ParseBoundBase;
}

bool DiscImage::Spend(std::uint64_t bytes, std::string& error) const
{
    if (overworked_.empty()) {
        if (bytes == Lookup)
            ++lookups_;
        else
            parsed_ += bytes;
        if (parsed_ > parseBound() || lookups_ > size_ / LookupBoundDivisor + LookupBoundBase)
            overworked_ = "its folders overlap or repeat so that reading them as recorded takes more than " +
                          std::to_string(ParseBoundFactor) + " times the image's own bytes, which no disc's folders "
                          "need: the image is damaged or crafted";
    }
    if (overworked_.empty())
        return true;
    error = overworked_;
    return false;
}

std::shared_ptr<const DiscImage::Folder> DiscImage::ReadFolder(const Tree& tree, const Extents& extents,
                                                               std::string& error) const
{
    auto key = std::make_pair(tree.kind, extents);
    if (const auto kept = folders_.find(key); kept != folders_.end()) {
        lately_.splice(lately_.begin(), lately_, kept->second.used);
        return kept->second.folder;
    }
    std::uint64_t size = 0;
    for (const auto& extent : extents)
        size += extent.second;
    if (size > LargestFolder) {
        error = "a folder's records are larger than any disc's";
        return nullptr;
    }
    Bytes records;
    if (!Spend(size, error))
        return nullptr;
    if (!ReadExtents(extents, 0, static_cast<std::size_t>(std::min<std::uint64_t>(size, LargestFolder)), records, error)) {
        error = "a folder's records lie outside the image: it is truncated or damaged";
        return nullptr;
    }
    auto folder = std::make_shared<Folder>();
    const bool read = tree.kind == TreeKind::Udf ? ReadUdfIdentifiers(records, folder->entries, error)
                                                 : ReadIsoRecords(tree, records, folder->entries, error);
    if (!read)
        return nullptr;
    for (std::size_t i = 0; i < folder->entries.size(); ++i)
        folder->first.emplace(FoldCase(folder->entries[i].name), i);
    // Room for it: the folders used least lately go first. The room grows with the largest folder,
    // so that a lookup's way through one large folder and a few small ones is never read afresh.
    largestFolder_ = std::max(largestFolder_, folder->entries.size() + 1);
    const std::size_t room = std::max(MostKeptEntries, 4 * largestFolder_);
    while (!lately_.empty() && folderEntries_ + folder->entries.size() + 1 > room) {
        const auto oldest = folders_.find(lately_.back());
        folderEntries_ -= oldest->second.folder->entries.size() + 1;
        folders_.erase(oldest);
        lately_.pop_back();
    }
    folderEntries_ += folder->entries.size() + 1;
    lately_.push_front(key);
    folders_.emplace(std::move(key), Kept{folder, lately_.begin()});
    return folder;
}

bool DiscImage::FindIn(const Tree& tree, const std::vector<std::string>& below, ImageEntry& found,
                       std::string& error) const
{
    found = ImageEntry();
    found.isFolder = true;
    found.extents = tree.root;
    if (below.size() > DeepestFolder) {
        error = "the path is deeper than any disc holds";
        return false;
    }
    for (const std::string& name : below) {
        if (!found.isFolder) {
            error = "not a folder";
            return false;
        }
        if (!Spend(Lookup, error))
            return false;
        const std::shared_ptr<const Folder> folder = ReadFolder(tree, found.extents, error);
        if (folder == nullptr)
            return false;
        // Letter case aside, the first match in directory order.
        const auto match = folder->first.find(FoldCase(name));
        if (match == folder->first.end()) {
            error = "not on the image";
            return false;
        }
        found = folder->entries[match->second];
    }
    return true;
}

bool DiscImage::Find(const std::vector<std::string>& below, ImageEntry& found, std::string& error) const
{
    return FindIn(WindowsTree(), below, found, error);
}

bool DiscImage::EntriesIn(const Tree& tree, const std::vector<std::string>& below, std::vector<ImageEntry>& entries,
                          std::string& error) const
{
    ImageEntry folder;
    if (!FindIn(tree, below, folder, error))
        return false;
    if (!folder.isFolder) {
        error = "not a folder";
        return false;
    }
    const std::shared_ptr<const Folder> read = ReadFolder(tree, folder.extents, error);
    if (read == nullptr)
        return false;
    entries = read->entries;
    return true;
}

bool DiscImage::Entries(const std::vector<std::string>& below, std::vector<ImageEntry>& entries, std::string& error) const
{
    return EntriesIn(WindowsTree(), below, entries, error);
}

bool DiscImage::PrimaryEntries(const std::vector<std::string>& below, std::vector<ImageEntry>& entries,
                               std::string& error) const
{
    return EntriesIn(primary_, below, entries, error);
}

bool DiscImage::Iso9660Entries(const std::vector<std::string>& below, std::vector<ImageEntry>& entries,
                               std::string& error) const
{
    return EntriesIn(joliet_ ? jolietTree_ : primary_, below, entries, error);
}

bool DiscImage::List(const std::vector<std::string>& below, std::vector<FolderEntry>& entries, std::string& error) const
{
    std::vector<ImageEntry> found;
    if (!Entries(below, found, error)) {
        error = "cannot read the image's folder \\" + (below.empty() ? std::string() : below.back()) + ": " + error;
        return false;
    }
    entries.clear();
    for (const ImageEntry& entry : found)
        entries.push_back({entry.name, entry.isFolder, !entry.isFolder, entry.size});
    return true;
}

bool DiscImage::Read(const std::vector<std::string>& below, std::uint64_t offset, std::size_t count, Bytes& bytes,
                     std::string& error) const
{
    ImageEntry file;
    bytes.clear();
    if (!Find(below, file, error)) {
        error = "cannot read it from the image: " + error;
        return false;
    }
    if (file.isFolder) {
        error = "a folder, not a file";
        return false;
    }
    if (!ReadExtents(file.extents, offset, count, bytes, error)) {
        error = "its " + error;
        return false;
    }
    return true;
}

EntryKind DiscImage::Kind(const std::vector<std::string>& below) const
{
    ImageEntry found;
    std::string error;
    if (!Find(below, found, error))
        return EntryKind::Missing;
    return found.isFolder ? EntryKind::Folder : EntryKind::File;
}
