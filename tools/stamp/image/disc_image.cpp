// ISO 9660 and Joliet, as Windows' CD file system reads them: which tree, which names, which
// bytes. Every offset and length comes from the image and is checked before it is used.
#include "image/disc_image.h"

#include "base/code_pages.h"
#include "base/unicode.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <set>

namespace {

constexpr std::uint64_t DescriptorsStart = 16 * 2048;
constexpr int MostDescriptors = 64;       // descriptors read before giving up on a terminator
constexpr std::uint32_t LargestFolder = 16u << 20;  // a folder's records, at most
constexpr std::size_t DeepestFolder = 64;

std::uint32_t Le32(const Bytes& b, std::size_t at)
{
    return static_cast<std::uint32_t>(b[at]) | static_cast<std::uint32_t>(b[at + 1]) << 8 |
           static_cast<std::uint32_t>(b[at + 2]) << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

std::uint16_t Le16(const Bytes& b, std::size_t at)
{
    return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
}

bool Has(const Bytes& b, std::size_t at, const char* text)
{
    const std::size_t length = std::char_traits<char>::length(text);
    return b.size() >= at + length && std::equal(text, text + length, b.begin() + static_cast<std::ptrdiff_t>(at));
}

// Windows' name from a recorded one: cut at the first ';' (the version), one trailing '.' dropped.
std::string WindowsName(std::string name)
{
    name = name.substr(0, name.find(';'));
    if (!name.empty() && name.back() == '.')
        name.pop_back();
    return name;
}

std::string FromUcs2(const Bytes& b, std::size_t at, std::size_t length)
{
    std::string utf8;
    for (std::size_t i = 0; i + 1 < length; i += 2) {
        std::uint32_t unit = static_cast<std::uint32_t>(b[at + i]) << 8 | b[at + i + 1];
        // A surrogate pair, as UTF-16 writers record characters beyond the basic plane.
        if (unit >= 0xD800 && unit < 0xDC00 && i + 3 < length) {
            const std::uint32_t low = static_cast<std::uint32_t>(b[at + i + 2]) << 8 | b[at + i + 3];
            if (low >= 0xDC00 && low < 0xE000) {
                unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
                i += 2;
            }
        }
        AppendUtf8(utf8, unit);
    }
    return utf8;
}

// The Rock Ridge name in a record's system use area (the NM entries), or empty.
std::string RockRidgeName(const Bytes& record, std::size_t nameEnd)
{
    std::string name;
    std::size_t at = nameEnd + nameEnd % 2;  // a padding byte keeps the area on an even offset
    while (at + 4 <= record.size()) {
        const std::size_t length = record[at + 2];
        if (length < 4 || at + length > record.size())
            break;
        if (record[at] == 'N' && record[at + 1] == 'M' && length >= 5)
            name.append(record.begin() + static_cast<std::ptrdiff_t>(at + 5), record.begin() + static_cast<std::ptrdiff_t>(at + length));
        at += length;
    }
    return name;
}

}  // namespace

unsigned OemCodePageFor(unsigned ansiCodePage)
{
    switch (ansiCodePage) {
    case 874: case 932: case 936: case 949: case 950: return ansiCodePage;
    case 1250: return 852;
    case 1251: return 866;
    case 1253: return 737;
    case 1254: return 857;
    case 1255: return 862;
    case 1256: return 720;
    case 1257: return 775;
    case 1258: return 1258;
    default: return 850;
    }
}

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

bool DiscImage::Open(ImageReader read, std::uint64_t imageSize, unsigned oemCodePage, std::string& error)
{
    read_ = std::move(read);
    size_ = imageSize;
    oemCodePage_ = oemCodePage;
    bool primary = false, terminated = false;
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
            blockSize_ = Le16(d, 128);
            primary_.root = {{std::uint64_t{Le32(d, 156 + 2)} * blockSize_, Le32(d, 156 + 10)}};
            label_ = WindowsName(std::string(d.begin() + 40, d.begin() + 72));
            label_.erase(label_.find_last_not_of(' ') + 1);
        }
        // The first supplementary descriptor with a Joliet escape sequence wins.
        if (type == 2 && primary && !joliet_ && (Has(d, 88, "%/@") || Has(d, 88, "%/C") || Has(d, 88, "%/E"))) {
            joliet_ = true;
            jolietTree_.kind = TreeKind::Joliet;
            jolietTree_.root = {{std::uint64_t{Le32(d, 156 + 2)} * blockSize_, Le32(d, 156 + 10)}};
            // Windows shows the label of the tree it reads.
            label_ = FromUcs2(d, 40, 32);
            label_.erase(label_.find_last_not_of(std::string(" \0", 2)) + 1);
        }
    }
    // Past the ISO 9660 terminator, UDF's recognition sequence may still follow.
    for (int i = 0; i < MostDescriptors && !udf_; ++i) {
        Bytes d;
        if (!read_(DescriptorsStart + static_cast<std::uint64_t>(i) * 2048, 6, d))
            break;
        udf_ = Has(d, 1, "NSR02") || Has(d, 1, "NSR03");
    }
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

bool DiscImage::ReadExtents(const std::vector<std::pair<std::uint64_t, std::uint64_t>>& extents, std::uint64_t limit,
                            Bytes& bytes, std::string& error) const
{
    bytes.clear();
    for (const auto& [offset, length] : extents) {
        if (bytes.size() >= limit)
            break;
        const std::size_t count = static_cast<std::size_t>(std::min<std::uint64_t>(length, limit - bytes.size()));
        if (offset == NoData) {
            bytes.resize(bytes.size() + count, 0);
            continue;
        }
        if (count == 0)
            continue;  // an empty file may be recorded anywhere, even past the end
        Bytes part;
        if (offset > size_ || count > size_ - offset || !read_(offset, count, part)) {
            error = "data lie outside the image: it is truncated or damaged";
            return false;
        }
        bytes.insert(bytes.end(), part.begin(), part.end());
    }
    return true;
}

bool DiscImage::ReadFolder(const Tree& tree, const std::vector<std::pair<std::uint64_t, std::uint64_t>>& extents,
                           std::vector<ImageEntry>& entries, std::string& error) const
{
    entries.clear();
    std::uint64_t size = 0;
    for (const auto& extent : extents)
        size += extent.second;
    Bytes records;
    if (size > LargestFolder) {
        error = "a folder's records are larger than any disc's";
        return false;
    }
    if (!ReadExtents(extents, size, records, error)) {
        error = "a folder's records lie outside the image: it is truncated or damaged";
        return false;
    }
    return tree.kind == TreeKind::Udf ? ReadUdfIdentifiers(records, entries, error)
                                      : ReadIsoRecords(tree, records, entries, error);
}

bool DiscImage::ReadIsoRecords(const Tree& tree, const Bytes& records, std::vector<ImageEntry>& entries,
                               std::string& error) const
{
    const bool joliet = tree.kind == TreeKind::Joliet;
    bool continuing = false;
    for (std::size_t at = 0; at < records.size();) {
        const std::size_t length = records[at];
        if (length == 0) {  // the rest of this sector is empty
            at = (at / 2048 + 1) * 2048;
            continue;
        }
        if (length < 34 || at + length > records.size() || 33 + std::size_t{records[at + 32]} > length) {
            error = "a directory record is damaged";
            return false;
        }
        const std::size_t nameLength = records[at + 32];
        const Bytes record(records.begin() + static_cast<std::ptrdiff_t>(at),
                           records.begin() + static_cast<std::ptrdiff_t>(at + length));
        at += length;
        if (nameLength == 1 && (record[33] == 0 || record[33] == 1))
            continue;  // the folder itself and its parent
        const std::uint64_t extent = std::uint64_t{Le32(record, 2)} * blockSize_, bytes = Le32(record, 10);
        const int flags = record[25];
        ImageEntry entry;
        entry.recorded = joliet ? FromUcs2(record, 33, nameLength)
                                : std::string(record.begin() + 33, record.begin() + 33 + static_cast<std::ptrdiff_t>(nameLength));
        if (!joliet) {
            std::string decoded;
            std::string reason;
            const bool ascii = std::all_of(entry.recorded.begin(), entry.recorded.end(),
                                           [](char c) { return static_cast<unsigned char>(c) < 0x80; });
            if (!ascii && IsKnownCodePage(oemCodePage_) && FromCodePage(entry.recorded, oemCodePage_, decoded, reason))
                entry.recorded = decoded;
            else if (!ascii)
                for (char& c : entry.recorded)
                    c = static_cast<unsigned char>(c) < 0x80 ? c : '?';
            entry.rockRidgeName = RockRidgeName(record, 33 + nameLength);
        }
        entry.name = WindowsName(entry.recorded);
        entry.isFolder = (flags & 0x02) != 0;
        if (entry.name.empty()) {
            error = "a name in a folder is empty, which makes Windows refuse the whole folder";
            return false;
        }
        // A file over 4 GiB is recorded as several records of one name, all but the last marked.
        if (continuing && !entries.empty() && entries.back().recorded == entry.recorded && !entry.isFolder) {
            entries.back().extents.emplace_back(extent, bytes);
            entries.back().size += bytes;
        } else {
            entry.extents.emplace_back(extent, bytes);
            entry.size = entry.isFolder ? 0 : bytes;
            entries.push_back(entry);
        }
        continuing = (flags & 0x80) != 0;
    }
    return true;
}

// ---- UDF: a logical volume on one partition, its folders' file identifiers and file entries ----

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
    const std::size_t eaLength = Le32(fe, extended ? 208 : 168), adLength = Le32(fe, extended ? 212 : 172);
    const std::size_t adStart = (extended ? 216 : 176) + eaLength;
    if (adStart > fe.size() || adLength > fe.size() - adStart) {
        error = "a UDF file entry is damaged";
        return false;
    }
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
    for (std::size_t i = adStart; i + step <= adStart + adLength && total < length; i += step) {
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
        if (!ReadUdfEntry(Le32(identifiers, here + 20 + 4), entry, error))
            return false;
        entries.push_back(entry);
    }
    return true;
}

bool DiscImage::Find(const Tree& tree, const std::vector<std::string>& below, ImageEntry& found, std::string& error) const
{
    found = ImageEntry();
    found.isFolder = true;
    found.extents = tree.root;
    if (below.size() > DeepestFolder) {
        error = "the path is deeper than any disc holds";
        return false;
    }
    for (const std::string& name : below) {
        std::vector<ImageEntry> entries;
        if (!found.isFolder) {
            error = "not a folder";
            return false;
        }
        if (!ReadFolder(tree, found.extents, entries, error))
            return false;
        // Letter case aside, the first match in directory order.
        const std::string folded = FoldCase(name);
        const auto match = std::find_if(entries.begin(), entries.end(),
                                        [&folded](const ImageEntry& e) { return FoldCase(e.name) == folded; });
        if (match == entries.end()) {
            error = "not on the image";
            return false;
        }
        found = *match;
    }
    return true;
}

bool DiscImage::EntriesIn(const Tree& tree, const std::vector<std::string>& below, std::vector<ImageEntry>& entries,
                          std::string& error) const
{
    ImageEntry folder;
    if (!Find(tree, below, folder, error))
        return false;
    if (!folder.isFolder) {
        error = "not a folder";
        return false;
    }
    return ReadFolder(tree, folder.extents, entries, error);
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

bool DiscImage::ReadStart(const std::vector<std::string>& below, std::size_t limit, Bytes& bytes, std::string& error) const
{
    ImageEntry file;
    bytes.clear();
    if (!Find(WindowsTree(), below, file, error) || file.isFolder) {
        error = file.isFolder ? "a folder, not a file" : "cannot read it from the image: " + error;
        return false;
    }
    if (!ReadExtents(file.extents, limit, bytes, error)) {
        error = "its " + error;
        return false;
    }
    return true;
}

EntryKind DiscImage::Kind(const std::vector<std::string>& below) const
{
    ImageEntry found;
    std::string error;
    if (!Find(WindowsTree(), below, found, error))
        return EntryKind::Missing;
    return found.isFolder ? EntryKind::Folder : EntryKind::File;
}

namespace {

// Every folder of one tree, breadth first, to a limit: visit gets each folder's path (its names
// joined by backslashes) and entries, or the reason it cannot be read.
void Walk(const std::function<bool(const std::vector<std::string>&, std::vector<ImageEntry>&, std::string&)>& entriesOf,
          std::size_t limit,
          const std::function<void(const std::string&, const std::vector<ImageEntry>*, const std::string&)>& visit)
{
    std::vector<std::vector<std::string>> folders{{}};
    std::set<std::uint64_t> listed;  // a folder recorded twice, or inside itself, is walked once
    for (std::size_t i = 0; i < folders.size() && i < limit; ++i) {
        std::string shown;
        for (const std::string& part : folders[i])
            shown += "\\" + part;
        std::vector<ImageEntry> entries;
        std::string error;
        if (!entriesOf(folders[i], entries, error)) {
            visit(shown, nullptr, error);
            continue;
        }
        for (const ImageEntry& entry : entries) {
            // A folder recorded with no data holds nothing to walk.
            if (entry.isFolder && !entry.extents.empty() && listed.insert(entry.extents[0].first).second) {
                folders.push_back(folders[i]);
                folders.back().push_back(entry.name);
            }
        }
        visit(shown, &entries, "");
    }
}

}  // namespace

std::vector<std::string> DiscImageFindings(const DiscImage& image, std::vector<std::string>& notes, std::size_t limit)
{
    std::vector<std::string> findings;
    if (!image.hasJoliet() && !image.readsUdf())
        findings.push_back("The image has no Joliet tree, so Windows reads its primary ISO 9660 names: short, upper "
                           "case, 8.3 at level 1. What to do: make it with Joliet names (genisoimage -J, or "
                           "xorriso -joliet on).");
    // The tree Windows reads: names that differ only in letter case, long Joliet names.
    std::map<std::uint64_t, std::string> windowsNames;  // first block -> the path Windows reads
    std::map<std::uint64_t, std::string> windowsFiles;  // the same, of files with data
    std::size_t longNames = 0;
    std::string firstLong;
    Walk([&image](const auto& below, auto& entries, auto& error) { return image.Entries(below, entries, error); }, limit,
         [&](const std::string& shown, const std::vector<ImageEntry>* entries, const std::string& error) {
             if (entries == nullptr) {
                 findings.push_back("Windows cannot read the folder " + (shown.empty() ? "\\" : shown) +
                                    " of the image: " + error + ".");
                 return;
             }
             std::map<std::string, std::string> seen;  // folded -> the first name
             std::set<std::string> named;
             for (const ImageEntry& entry : *entries) {
                 const std::string path = shown + "\\" + entry.name;
                 const auto first = seen.emplace(FoldCase(entry.name), entry.name).first;
                 if (first->second != entry.name && named.insert(first->first).second)
                     findings.push_back("In " + (shown.empty() ? "\\" : shown) + " " + first->second + " and " +
                                        entry.name + " differ only in letter case: Windows finds only " +
                                        first->second + ", the first. What to do: rename one.");
                 if (image.hasJoliet() && !image.readsUdf() && CharacterCount(entry.name) > 64 && longNames++ == 0)
                     firstLong = path;
                 if ((entry.isFolder || entry.size > 0) && !entry.extents.empty())
                     windowsNames.emplace(entry.extents[0].first, path);
                 if (!entry.isFolder && entry.size > 0 && !entry.extents.empty())
                     windowsFiles.emplace(entry.extents[0].first, path);
             }
         });
    // An image with UDF: its ISO 9660 tree, which other systems read, against the UDF tree. A file
    // is the same in both when its data are: names differ between the trees.
    if (image.readsUdf()) {
        std::size_t onlyIso = 0;
        std::string firstOnlyIso;
        std::set<std::uint64_t> isoFiles;
        Walk([&image](const auto& below, auto& entries, auto& error) { return image.Iso9660Entries(below, entries, error); },
             limit, [&](const std::string& shown, const std::vector<ImageEntry>* entries, const std::string&) {
                 for (std::size_t i = 0; entries != nullptr && i < entries->size(); ++i) {
                     const ImageEntry& entry = (*entries)[i];
                     if (entry.isFolder || entry.size == 0 || entry.extents.empty())
                         continue;
                     isoFiles.insert(entry.extents[0].first);
                     if (!windowsFiles.count(entry.extents[0].first) && onlyIso++ == 0)
                         firstOnlyIso = shown + "\\" + entry.name;
                 }
             });
        std::size_t onlyUdf = 0;
        std::string firstOnlyUdf;
        for (const auto& [offset, path] : windowsFiles) {
            if (!isoFiles.count(offset) && onlyUdf++ == 0)
                firstOnlyUdf = path;
        }
        if (onlyIso + onlyUdf > 0)
            findings.push_back("Windows reads the image's UDF tree, and other systems its ISO 9660 tree, which differ: " +
                               (onlyUdf > 0 ? std::to_string(onlyUdf) + " files only in UDF, such as " + firstOnlyUdf : "") +
                               (onlyUdf > 0 && onlyIso > 0 ? "; " : "") +
                               (onlyIso > 0 ? std::to_string(onlyIso) + " files only in ISO 9660, such as " + firstOnlyIso
                                            : "") +
                               ". What to do: make both trees of the same folder.");
        return findings;
    }
    // Rock Ridge names, from the primary tree, against the names Windows reads for the same data.
    std::size_t rockRidgeDiffers = 0;
    std::string firstRockRidge;
    Walk([&image](const auto& below, auto& entries, auto& error) { return image.PrimaryEntries(below, entries, error); },
         limit, [&](const std::string& shown, const std::vector<ImageEntry>* entries, const std::string&) {
             for (std::size_t i = 0; entries != nullptr && i < entries->size(); ++i) {
                 const ImageEntry& entry = (*entries)[i];
                 if (entry.extents.empty())
                     continue;
                 const auto windows = windowsNames.find(entry.extents[0].first);
                 if (entry.rockRidgeName.empty() || (!entry.isFolder && entry.size == 0) || windows == windowsNames.end())
                     continue;
                 const std::string read = windows->second.substr(windows->second.rfind('\\') + 1);
                 // Windows matches names without regard to letter case: only other differences count.
                 if (FoldCase(read) != FoldCase(entry.rockRidgeName) && rockRidgeDiffers++ == 0)
                     firstRockRidge = shown + "\\" + entry.rockRidgeName + ", which Windows reads as " + windows->second;
             }
         });
    if (rockRidgeDiffers > 0)
        findings.push_back("Linux shows the image's Rock Ridge names, which Windows never reads: " +
                           std::to_string(rockRidgeDiffers) + (rockRidgeDiffers == 1 ? " differs" : " differ") +
                           " from the names Windows reads, such as " + firstRockRidge +
                           ". What to do: make it with Joliet names that match (genisoimage -J -joliet-long).");
    if (longNames > 0)
        notes.push_back(std::to_string(longNames) + (longNames == 1 ? " Joliet name is" : " Joliet names are") +
                        " longer than 64 characters, such as " + firstLong +
                        ": current Windows reads them, but some other readers cut them, extension and all.");
    return findings;
}
