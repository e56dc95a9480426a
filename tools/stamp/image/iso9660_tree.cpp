// The ISO 9660 trees of an image, primary and Joliet, as Windows' CD file system reads their
// directory records: names cut at their version, decoded with the OEM code page in the primary
// tree, a file over 4 GiB joined from its records.
#include "image/disc_image.h"

#include "base/code_pages.h"
#include "image/image_fields.h"

#include <algorithm>

namespace {

constexpr int MostContinuations = 32;  // continuation areas followed for one record, at most

}  // namespace

// The Rock Ridge name among a record's system use entries: its NM entries joined while each says
// the name goes on (CONTINUE), through the continuation areas CE entries name (block, offset,
// length), each of which may name another, MostContinuations at most. Empty when there is none.
std::string DiscImage::RockRidgeName(const Bytes& record, std::size_t nameEnd) const
{
    std::string name;
    bool named = false;  // a last piece was read
    // A padding byte keeps the area on an even offset.
    const std::size_t start = std::min(record.size(), nameEnd + nameEnd % 2);
    Bytes area(record.begin() + static_cast<std::ptrdiff_t>(start), record.end());
    for (int continuation = 0;; ++continuation) {
        std::uint64_t next = 0;
        std::size_t nextLength = 0;
        for (std::size_t at = 0; at + 4 <= area.size();) {
            const std::size_t length = area[at + 2];
            if (length < 4 || at + length > area.size() || Has(area, at, "ST"))
                break;
            // The name of "." or ".." (flags CURRENT, PARENT) is none.
            if (Has(area, at, "NM") && length >= 5 && !named && (area[at + 4] & 0x06) == 0) {
                name.append(area.begin() + static_cast<std::ptrdiff_t>(at + 5),
                            area.begin() + static_cast<std::ptrdiff_t>(at + length));
                named = (area[at + 4] & 0x01) == 0;
            }
            if (Has(area, at, "CE") && length >= 28) {
                next = std::uint64_t{Le32(area, at + 4)} * blockSize_ + Le32(area, at + 12);
                nextLength = Le32(area, at + 20);
            }
            at += length;
        }
        std::string error;
        // A continuation area lies within one block.
        if (named || nextLength == 0 || nextLength > blockSize_ || continuation >= MostContinuations ||
            !Spend(nextLength, error) || !read_(next, nextLength, area))
            break;
    }
    return name;
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

