// A medium's folder as the disc image made of it.
#include "image/medium_image.h"

#include "base/unicode.h"
#include "base/windows_path.h"

#include <algorithm>
#include <map>

namespace {

// The UTF-16 units of a name, or SIZE_MAX when it is not valid UTF-8.
std::size_t Utf16Units(const std::string& name)
{
    const Bytes utf16 = Utf16LeFromUtf8(name);
    std::string back;
    if (!Utf8FromUtf16Le(utf16.data(), utf16.size(), back) || back != name)
        return SIZE_MAX;
    return utf16.size() / 2;
}

std::string Joined(const std::vector<std::string>& components)
{
    std::string joined;
    for (const std::string& component : components)
        joined += "/" + component;
    return joined;
}

struct Walk {
    const MediumPlace& medium;
    std::vector<ImageItem>& items;
    std::string& reason;
    std::size_t limit;

    // Lists the folder at components (none: the root) into items, its entries' newest date into newest.
    bool Folder(const std::vector<std::string>& components, std::int64_t& newest)
    {
        std::vector<FolderEntry> entries;
        std::string error;
        if (!medium.List(components, entries, error)) {
            reason = error;
            return false;
        }
        std::sort(entries.begin(), entries.end(),
                  [](const FolderEntry& a, const FolderEntry& b) { return a.name < b.name; });
        std::map<std::string, std::string> folded;
        for (const FolderEntry& entry : entries) {
            if (IsTemporaryName(entry.name))
                continue;
            ImageItem item;
            item.components = components;
            item.components.push_back(entry.name);
            item.path = medium.Shown(item.components);
            if (const std::string why = WhyImageCannotHoldName(entry.name); !why.empty()) {
                reason = item.path + ": " + why;
                return false;
            }
            const std::string inImage = Joined(item.components);
            if (const std::size_t units = Utf16Units(inImage); units > ImagePathLimit) {
                reason = item.path + ": its path on the medium, " + inImage + ", is " + std::to_string(units) +
                         " characters long (in UTF-16, as Windows counts them), and the image writer holds paths of at "
                         "most " + std::to_string(ImagePathLimit) + ". What to do: shorten its name or its folders' "
                         "names.";
                return false;
            }
            const auto [twin, fresh] = folded.emplace(FoldCase(entry.name), entry.name);
            if (!fresh) {
                std::vector<std::string> other = components;
                other.push_back(twin->second);
                reason = item.path + " and " + medium.Shown(other) + " beside it differ only in letter case; "
                         "Windows reads only one of them from a disc image. What to do: rename or remove one.";
                return false;
            }
            const EntryKind kind = medium.Kind(item.components);
            if (kind == EntryKind::Link) {
                reason = item.path + " is a symbolic link (to " + medium.End(item.components).leadsTo + "); a disc image holds files and folders "
                         "only. What to do: put the file or folder itself there, or remove the link.";
                return false;
            }
            if (kind != EntryKind::File && kind != EntryKind::Folder) {
                reason = item.path + (kind == EntryKind::Missing ? " was removed while the medium was read. What to do: "
                                                                   "run again."
                                                                 : " is neither a file nor a folder (a FIFO, device or "
                                                                   "socket). What to do: remove it.");
                return false;
            }
            if (items.size() >= limit) {
                reason = medium.Shown(components) + ": the medium holds more than " + std::to_string(limit) + " files and folders";
                return false;
            }
            item.isFolder = kind == EntryKind::Folder;
            item.size = item.isFolder ? 0 : entry.size;
            item.modified = item.isFolder ? 0 : entry.modified;
            const std::size_t index = items.size();
            items.push_back(item);
            if (item.isFolder) {
                std::int64_t inside = 0;
                // Copies: the listing below grows items, which moves them.
                if (!Folder(item.components, inside))
                    return false;
                items[index].modified = inside;
            }
            newest = std::max(newest, items[index].modified);
        }
        return true;
    }
};

}  // namespace

std::string WhyImageCannotHoldName(const std::string& name)
{
    const std::size_t units = Utf16Units(name);
    if (units == SIZE_MAX)
        return "its name is not valid UTF-8, and a disc image's names are Unicode. What to do: rename it.";
    if (units > ImageNameLimit)
        return "its name is " + std::to_string(units) + " characters long (in UTF-16), and Windows reads names of at "
               "most " + std::to_string(ImageNameLimit) + " from a disc image's Joliet tree. What to do: shorten it.";
    const int forbidden = ForbiddenCharacter(name);
    const std::size_t semicolon = name.find(';');
    if (forbidden >= 0 || semicolon != std::string::npos) {
        const int c = forbidden >= 0 ? forbidden : ';';
        const std::string shown = c < 0x20 ? "a control character" : std::string("\"") + static_cast<char>(c) + "\"";
        return "its name holds " + shown + ", which a disc image's Joliet names cannot hold (it would be read as _). "
               "What to do: rename it.";
    }
    if (TrimmedComponent(name) != name)
        return std::string("its name ends in a ") + (name.back() == '.' ? "dot" : "space") +
               ", which Windows drops from a name it opens, so it could not open it. What to do: rename it.";
    if (!ReservedDeviceComponent(name).empty())
        return "its name is that of a device Windows reserves (CON, NUL, COM1 and the like), which Windows may open "
               "instead of the file. What to do: rename it.";
    return "";
}

bool ListMediumForImage(const MediumPlace& medium, std::vector<ImageItem>& items, std::string& reason,
                        std::size_t limit)
{
    items.clear();
    std::int64_t newest = 0;
    Walk walk{medium, items, reason, limit};
    return walk.Folder({}, newest);
}

bool ImageHoldsMedium(const DiscImage& image, const std::vector<ImageItem>& items, std::string& difference)
{
    // What each folder holds, the root's under no components.
    std::map<std::vector<std::string>, std::vector<const ImageItem*>> folders;
    folders[{}];
    for (const ImageItem& item : items) {
        std::vector<std::string> parent = item.components;
        parent.pop_back();
        folders[parent].push_back(&item);
        if (item.isFolder)
            folders[item.components];
    }
    for (const auto& [below, expected] : folders) {
        const std::string where = below.empty() ? "the image's root" : Joined(below);
        std::vector<ImageEntry> entries;
        std::string error;
        if (!image.Entries(below, entries, error)) {
            difference = where + ": " + error;
            return false;
        }
        for (const ImageItem* item : expected) {
            const auto found = std::find_if(entries.begin(), entries.end(), [item](const ImageEntry& entry) {
                return entry.name == item->components.back();
            });
            if (found == entries.end()) {
                difference = Joined(item->components) + " is not in the image as Windows reads it";
                return false;
            }
            if (found->isFolder != item->isFolder || (!item->isFolder && found->size != item->size)) {
                difference = Joined(item->components) + " is in the image as " +
                             (found->isFolder ? std::string("a folder") : std::to_string(found->size) + " bytes") +
                             ", not as " + (item->isFolder ? "a folder" : std::to_string(item->size) + " bytes");
                return false;
            }
        }
        if (entries.size() != expected.size()) {
            for (const ImageEntry& entry : entries) {
                if (std::none_of(expected.begin(), expected.end(),
                                 [&entry](const ImageItem* item) { return item->components.back() == entry.name; })) {
                    difference = (below.empty() ? "" : Joined(below)) + "/" + entry.name + " is in the image but not "
                                 "in the medium";
                    return false;
                }
            }
            difference = where + ": the image holds " + std::to_string(entries.size()) + " entries, the medium " +
                         std::to_string(expected.size());
            return false;
        }
    }
    return true;
}

std::string ImageVolumeLabel(const std::string& label)
{
    std::string cut;
    std::size_t units = 0;
    for (std::size_t i = 0; i < label.size();) {
        const std::size_t start = i;
        const unsigned c = NextCodePoint(label, i);
        units += c > 0xFFFF ? 2 : 1;
        if (units > 16 || i > 32)
            break;
        cut.append(label, start, i - start);
    }
    return cut;
}

std::uint64_t ImageSizeEstimate(const std::vector<ImageItem>& items)
{
    constexpr std::uint64_t Sector = 2048;
    std::uint64_t bytes = 1024 * 1024;  // system area, descriptors, path tables
    for (const ImageItem& item : items)
        bytes += (item.size + Sector - 1) / Sector * Sector + 512;  // its records in both trees
    return bytes;
}
