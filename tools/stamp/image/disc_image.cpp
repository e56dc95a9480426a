// ISO 9660 and Joliet, as Windows' CD file system reads them: which tree, which names, which
// bytes. Every offset and length comes from the image and is checked before it is used.
#include "image/disc_image.h"

#include "base/code_pages.h"
#include "base/unicode.h"

#include <algorithm>
#include <map>
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
        Tree tree;
        tree.rootBlock = Le32(d, 156 + 2);
        tree.rootSize = Le32(d, 156 + 10);
        if (type == 1 && !primary) {
            primary = true;
            blockSize_ = Le16(d, 128);
            primary_ = tree;
            label_ = WindowsName(std::string(d.begin() + 40, d.begin() + 72));
            label_.erase(label_.find_last_not_of(' ') + 1);
        }
        // The first supplementary descriptor with a Joliet escape sequence wins.
        if (type == 2 && !joliet_ && (Has(d, 88, "%/@") || Has(d, 88, "%/C") || Has(d, 88, "%/E"))) {
            joliet_ = true;
            tree.joliet = true;
            joliet_tree_ = tree;
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
    return true;
}

bool DiscImage::ReadFolder(const Tree& tree, std::uint32_t block, std::uint32_t size, std::vector<ImageEntry>& entries,
                           std::string& error) const
{
    entries.clear();
    const std::uint64_t start = static_cast<std::uint64_t>(block) * blockSize_;
    Bytes records;
    if (size > LargestFolder || start + size > size_ || !read_(start, size, records)) {
        error = "a folder's records lie outside the image: it is truncated or damaged";
        return false;
    }
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
        const std::uint32_t extent = Le32(record, 2), bytes = Le32(record, 10);
        const int flags = record[25];
        ImageEntry entry;
        entry.recorded = tree.joliet ? FromUcs2(record, 33, nameLength) : std::string(record.begin() + 33, record.begin() + 33 + static_cast<std::ptrdiff_t>(nameLength));
        if (!tree.joliet) {
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

bool DiscImage::Find(const Tree& tree, const std::vector<std::string>& below, ImageEntry& found, std::string& error) const
{
    found = ImageEntry();
    found.isFolder = true;
    found.extents = {{tree.rootBlock, tree.rootSize}};
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
        if (!ReadFolder(tree, found.extents[0].first, found.extents[0].second, entries, error))
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

bool DiscImage::Entries(const std::vector<std::string>& below, std::vector<ImageEntry>& entries, std::string& error) const
{
    const Tree& tree = joliet_ ? joliet_tree_ : primary_;
    ImageEntry folder;
    if (!Find(tree, below, folder, error))
        return false;
    if (!folder.isFolder) {
        error = "not a folder";
        return false;
    }
    return ReadFolder(tree, folder.extents[0].first, folder.extents[0].second, entries, error);
}

bool DiscImage::PrimaryEntries(const std::vector<std::string>& below, std::vector<ImageEntry>& entries,
                               std::string& error) const
{
    ImageEntry folder;
    return Find(primary_, below, folder, error) && folder.isFolder &&
           ReadFolder(primary_, folder.extents[0].first, folder.extents[0].second, entries, error);
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
    if (!Find(joliet_ ? joliet_tree_ : primary_, below, file, error) || file.isFolder) {
        error = file.isFolder ? "a folder, not a file" : "cannot read it from the image: " + error;
        return false;
    }
    for (const auto& [block, length] : file.extents) {
        if (bytes.size() >= limit)
            break;
        const std::size_t count = static_cast<std::size_t>(std::min<std::uint64_t>(length, limit - bytes.size()));
        const std::uint64_t start = static_cast<std::uint64_t>(block) * blockSize_;
        Bytes part;
        if (start + count > size_ || !read_(start, count, part)) {
            error = "its data lie outside the image: the image is truncated";
            return false;
        }
        bytes.insert(bytes.end(), part.begin(), part.end());
    }
    return true;
}

EntryKind DiscImage::Kind(const std::vector<std::string>& below) const
{
    ImageEntry found;
    std::string error;
    if (!Find(joliet_ ? joliet_tree_ : primary_, below, found, error))
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
    std::set<std::uint32_t> listed;  // a folder recorded twice, or inside itself, is walked once
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
            if (entry.isFolder && listed.insert(entry.extents[0].first).second) {
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
    if (!image.hasJoliet())
        findings.push_back("The image has no Joliet tree, so Windows reads its primary ISO 9660 names: short, upper "
                           "case, 8.3 at level 1. What to do: make it with Joliet names (genisoimage -J, or "
                           "xorriso -joliet on).");
    // The tree Windows reads: names that differ only in letter case, long Joliet names.
    std::map<std::uint32_t, std::string> windowsNames;  // first block -> the path Windows reads
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
                 if (image.hasJoliet() && CharacterCount(entry.name) > 64 && longNames++ == 0)
                     firstLong = path;
                 if (entry.isFolder || entry.size > 0)
                     windowsNames.emplace(entry.extents[0].first, path);
             }
         });
    // Rock Ridge names, from the primary tree, against the names Windows reads for the same data.
    std::size_t rockRidgeDiffers = 0;
    std::string firstRockRidge;
    Walk([&image](const auto& below, auto& entries, auto& error) { return image.PrimaryEntries(below, entries, error); },
         limit, [&](const std::string& shown, const std::vector<ImageEntry>* entries, const std::string&) {
             for (std::size_t i = 0; entries != nullptr && i < entries->size(); ++i) {
                 const ImageEntry& entry = (*entries)[i];
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
