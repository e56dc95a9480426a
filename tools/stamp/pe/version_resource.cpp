// Reading and writing a version resource, a tree of nodes, each a length, a value length, a
// type, a UTF-16 key, a value and children, every part aligned to 4 bytes from the resource's
// start; and putting a new one in a launcher.
#include "pe/version_resource.h"

#include "base/unicode.h"
#include "pe/resource_directory.h"

#include <algorithm>

namespace {

std::size_t Align4(std::size_t offset)
{
    return (offset + 3) & ~std::size_t{3};
}

// One node of the tree, its offsets within the resource.
struct Node {
    std::string key;            // as UTF-8; empty when it was not valid UTF-16
    std::size_t value = 0;      // where its value begins
    std::size_t valueSize = 0;  // its size in bytes (clipped to the node)
    std::size_t children = 0;   // where its first child begins
    std::size_t end = 0;        // where the node ends
};

// Reads the node at offset at of the size bytes of data. False when it does not fit.
bool ReadNode(const unsigned char* data, std::size_t size, std::size_t at, Node& node)
{
    if (at > size || size - at < 6)
        return false;
    const std::size_t length = Little16(data + at), valueLength = Little16(data + at + 2);
    const bool text = Little16(data + at + 4) == 1;
    if (length < 6 || length > size - at)
        return false;
    node.end = at + length;
    std::size_t i = at + 6;
    while (i + 2 <= node.end && Little16(data + i) != 0)
        i += 2;
    if (i + 2 > node.end)
        return false;
    if (!Utf8FromUtf16Le(data + at + 6, i - (at + 6), node.key))
        node.key.clear();
    node.value = std::min(Align4(i + 2), node.end);
    // A text value's length counts UTF-16 units; some writers count bytes: clipped either way.
    node.valueSize = std::min((text ? 2 : 1) * valueLength, node.end - node.value);
    node.children = std::min(Align4(node.value + node.valueSize), node.end);
    return true;
}

// The first child of parent whose key is key; false when there is none.
bool FindChild(const unsigned char* data, const Node& parent, const std::string& key, Node& child)
{
    for (std::size_t at = parent.children; at < parent.end; at = Align4(child.end)) {
        if (!ReadNode(data, parent.end, at, child))
            return false;
        if (key.empty() || child.key == key)
            return true;
    }
    return false;
}

}  // namespace

namespace {

// The first version resource of the program in bytes, in its first language: its file offset
// and size.
bool FindVersionData(const Bytes& bytes, const LauncherImage& image, std::size_t& offset, std::uint32_t& size,
                     bool& noVersion, std::string& error)
{
    noVersion = false;
    std::size_t base = 0;
    std::uint32_t names = 0, rva = 0;
    if (image.resourceRva == 0 || !RvaToOffset(bytes, image, image.resourceRva, image.resourceSize, base)) {
        noVersion = true;
        error = "it has no resources, so no version resource";
        return false;
    }
    Directory directory(bytes.data() + base, image.resourceSize, base);
    if (!FindEntry(directory, 0, ResourceTypeVersion, nullptr, true, names)) {
        noVersion = true;
        error = "it has no version resource";
        return false;
    }
    const unsigned char* table = directory.At(names & ~ResourceHighBit, 16);
    const unsigned char* first = table == nullptr || Little16(table + 12) + Little16(table + 14) == 0
                                     ? nullptr : directory.At((names & ~ResourceHighBit) + 16, 8);
    if (first == nullptr || !LanguageData(directory, Little32(first + 4), false, rva, size) ||
        !RvaToOffset(bytes, image, rva, size, offset)) {
        error = "its version resource cannot be found";
        return false;
    }
    return true;
}

}  // namespace

bool ReadVersionStrings(const Bytes& bytes, const LauncherImage& image, std::vector<VersionString>& strings,
                        bool& noVersion, std::string& error)
{
    strings.clear();
    std::size_t offset = 0;
    std::uint32_t size = 0;
    if (!FindVersionData(bytes, image, offset, size, noVersion, error))
        return false;
    const unsigned char* data = bytes.data() + offset;
    Node root, fileInfo, stringTable, string;
    if (!ReadNode(data, size, 0, root) || root.key != "VS_VERSION_INFO") {
        error = "its version resource is malformed";
        return false;
    }
    if (!FindChild(data, root, "StringFileInfo", fileInfo) || !FindChild(data, fileInfo, "", stringTable))
        return true;  // fixed information alone: no strings
    for (std::size_t at = stringTable.children; at < stringTable.end; at = Align4(string.end)) {
        if (!ReadNode(data, stringTable.end, at, string))
            break;
        std::size_t units = 0;
        while (units * 2 + 2 <= string.valueSize && Little16(data + string.value + units * 2) != 0)
            ++units;
        VersionString entry{string.key, ""};
        if (!entry.key.empty() && Utf8FromUtf16Le(data + string.value, units * 2, entry.value))
            strings.push_back(entry);
    }
    return true;
}

bool ReadVersionFixed(const Bytes& bytes, const LauncherImage& image, Bytes& fixed, std::string& error)
{
    constexpr std::size_t FixedSize = 52;
    std::size_t offset = 0;
    std::uint32_t size = 0;
    bool noVersion = false;
    Node root;
    if (!FindVersionData(bytes, image, offset, size, noVersion, error))
        return false;
    if (!ReadNode(bytes.data() + offset, size, 0, root) || root.key != "VS_VERSION_INFO" ||
        root.valueSize != FixedSize) {
        error = "its version resource has no fixed information";
        return false;
    }
    fixed.assign(bytes.begin() + static_cast<std::ptrdiff_t>(offset + root.value),
                 bytes.begin() + static_cast<std::ptrdiff_t>(offset + root.value + FixedSize));
    return true;
}

namespace {

void PadTo4(Bytes& bytes)
{
    bytes.resize(Align4(bytes.size()), 0);
}

// A node: its length, its value's length (in UTF-16 units for text), its type, its key, its
// value and its children, each part aligned to 4 bytes.
Bytes VersionNode(const std::string& key, const Bytes& value, bool text, const std::vector<Bytes>& children)
{
    Bytes node(6, 0);
    const Bytes wideKey = Utf16LeFromUtf8(key);
    node.insert(node.end(), wideKey.begin(), wideKey.end());
    node.insert(node.end(), {0, 0});
    PadTo4(node);
    node.insert(node.end(), value.begin(), value.end());
    for (const Bytes& child : children) {
        PadTo4(node);
        node.insert(node.end(), child.begin(), child.end());
    }
    const std::size_t valueLength = text ? value.size() / 2 : value.size();
    node[0] = static_cast<unsigned char>(node.size()), node[1] = static_cast<unsigned char>(node.size() >> 8);
    node[2] = static_cast<unsigned char>(valueLength), node[3] = static_cast<unsigned char>(valueLength >> 8);
    node[4] = text ? 1 : 0;
    return node;
}

// A string value as written: control characters made spaces, cut to MaxVersionStringUnits
// UTF-16 units at a character's end, then a NUL.
Bytes VersionValue(const std::string& text)
{
    Bytes value;
    for (std::size_t i = 0; i < text.size();) {
        unsigned c = NextCodePoint(text, i);
        c = c < 0x20 || (c >= 0x7F && c < 0xA0) ? ' ' : c;
        std::string character;
        AppendUtf8(character, c);
        const Bytes wide = Utf16LeFromUtf8(character);
        if (value.size() + wide.size() > 2 * MaxVersionStringUnits)
            break;
        value.insert(value.end(), wide.begin(), wide.end());
    }
    value.insert(value.end(), {0, 0});
    return value;
}

}  // namespace

Bytes VersionResourceFor(const Bytes& fixed, const std::vector<VersionString>& strings)
{
    std::vector<Bytes> entries;
    for (const VersionString& string : strings)
        entries.push_back(VersionNode(string.key, VersionValue(string.value), true, {}));
    const Bytes table = VersionNode("040904B0", {}, true, entries);
    const Bytes stringInfo = VersionNode("StringFileInfo", {}, true, {table});
    const Bytes translation = VersionNode("Translation", {0x09, 0x04, 0xB0, 0x04}, false, {});
    const Bytes varInfo = VersionNode("VarFileInfo", {}, true, {translation});
    return VersionNode("VS_VERSION_INFO", fixed, false, {stringInfo, varInfo});
}

namespace {

// The data entries below the resource table at offset (directory-relative offsets), each with
// whether it lies below the version type, and where each name string ends; false when a table
// does not fit.
bool CollectDataEntries(Directory& directory, std::uint32_t offset, int depth, bool version,
                        std::vector<std::pair<std::uint32_t, bool>>& entries, std::uint32_t& namesEnd)
{
    const unsigned char* table = directory.At(offset, 16);
    const std::uint32_t count = table == nullptr ? 0 : Little16(table + 12) + Little16(table + 14);
    const unsigned char* list = table == nullptr ? nullptr : directory.At(offset + 16, std::size_t{count} * 8);
    if (list == nullptr || depth > 2)
        return false;
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::uint32_t name = Little32(list + 8 * i), target = Little32(list + 8 * i + 4);
        const bool below = depth == 0 ? name == ResourceTypeVersion : version;
        if ((name & ResourceHighBit) != 0) {
            const unsigned char* length = directory.At(name & ~ResourceHighBit, 2);
            if (length == nullptr)
                return false;
            namesEnd = std::max(namesEnd, (name & ~ResourceHighBit) + 2 + 2 * std::uint32_t{Little16(length)});
        }
        if ((target & ResourceHighBit) == 0)
            entries.emplace_back(target, below);
        else if (!CollectDataEntries(directory, target & ~ResourceHighBit, depth + 1, below, entries, namesEnd))
            return false;
    }
    return true;
}

// A size or offset as the 32 bits the headers hold (from 64 bits on any system, so that no
// cast is a no-op on one of them).
std::uint32_t To32(std::uint64_t value)
{
    return static_cast<std::uint32_t>(value);
}

void Put32At(Bytes& bytes, std::size_t offset, std::uint64_t value)
{
    for (std::size_t i = 0; i < 4; ++i)
        bytes[offset + i] = static_cast<unsigned char>(value >> (8 * i));
}

std::uint32_t AlignUp(std::uint32_t value, std::uint32_t alignment)
{
    return (value + alignment - 1) / alignment * alignment;
}

// Finds the section that begins with the resources (index), and checks that it fits the file
// and that every other section lies apart from it, in the file and in memory, as a linker lays
// them out. False with the reason.
bool FindResourceSection(const Bytes& bytes, const LauncherImage& image, std::size_t& index, const char*& reason)
{
    index = image.sections.size();
    for (std::size_t i = 0; i < image.sections.size(); ++i) {
        if (image.sections[i].virtualAddress == image.resourceRva)
            index = i;
    }
    if (index == image.sections.size())
        return reason = "no section begins with them", false;
    const ImageSection rsrc = image.sections[index];
    if (rsrc.rawOffset > bytes.size() || bytes.size() - rsrc.rawOffset < rsrc.rawSize || rsrc.virtualSize > rsrc.rawSize)
        return reason = "their section does not fit the file", false;
    for (std::size_t i = 0; i < image.sections.size(); ++i) {
        const ImageSection& other = image.sections[i];
        const bool fileApart = other.rawSize == 0 || std::uint64_t{other.rawOffset} + other.rawSize <= rsrc.rawOffset ||
                               other.rawOffset >= std::uint64_t{rsrc.rawOffset} + rsrc.rawSize;
        const bool memoryApart = std::uint64_t{other.virtualAddress} + other.virtualSize <= rsrc.virtualAddress ||
                                 other.virtualAddress >= std::uint64_t{rsrc.virtualAddress} + rsrc.virtualSize;
        if (i != index && (!fileApart || !memoryApart || (other.rawOffset > rsrc.rawOffset) != (other.virtualAddress > rsrc.virtualAddress)))
            return reason = "another section overlaps theirs", false;
    }
    return true;
}

// One resource's data: its data entry (directory-relative), where its data lies and how long
// it is, and whether it is the version's.
struct ResourceData {
    std::uint32_t entry, rva, size;
    bool version;
};

// Every data entry of the section rsrc, the version's among them, and the data in the order it
// lies (data); dataStart gets where the first data lies, after every table. False with the reason.
bool ReadResourceData(const Bytes& bytes, const ImageSection& rsrc, std::vector<ResourceData>& data,
                      std::uint32_t& dataStart, const char*& reason)
{
    Directory directory(bytes.data() + rsrc.rawOffset, rsrc.virtualSize, rsrc.rawOffset);
    std::vector<std::pair<std::uint32_t, bool>> entries;
    std::uint32_t namesEnd = 0;
    if (!CollectDataEntries(directory, 0, 0, false, entries, namesEnd) ||
        std::count_if(entries.begin(), entries.end(), [](const auto& entry) { return entry.second; }) != 1)
        return reason = "there is not exactly one version resource", false;
    // Each data entry is given its resource's new place: one named twice, by two resources or by
    // a table two types share, would be given both, and one resource would read the other's data.
    std::vector<std::uint32_t> named;
    for (const auto& entry : entries)
        named.push_back(entry.first);
    std::sort(named.begin(), named.end());
    if (std::adjacent_find(named.begin(), named.end()) != named.end())
        return reason = "two of them share one data entry", false;
    for (const auto& [entry, isVersion] : entries) {
        const unsigned char* at = directory.At(entry, 16);
        if (at == nullptr)
            return reason = "a data entry lies outside them", false;
        data.push_back({entry, Little32(at), Little32(at + 4), isVersion});
        // Inside the section: its start at or after the section's, its end at or before it.
        if (data.back().rva < rsrc.virtualAddress || data.back().size > rsrc.virtualSize ||
            data.back().rva - rsrc.virtualAddress > rsrc.virtualSize - data.back().size)
            return reason = "a resource's data lies outside their section", false;
    }
    std::sort(data.begin(), data.end(), [](const ResourceData& a, const ResourceData& b) { return a.rva < b.rva; });
    dataStart = data.front().rva - rsrc.virtualAddress;
    for (const ResourceData& item : data) {
        if (item.entry + 16 > dataStart || namesEnd > dataStart)
            return reason = "their tables lie among their data", false;
    }
    return true;
}

// The section again: the tables as they are, then each resource's data, 8-aligned, version's
// in place of the version resource's; each data entry names its data's new place.
Bytes LaidOutSection(const Bytes& bytes, const ImageSection& rsrc, std::uint32_t dataStart,
                     const std::vector<ResourceData>& data, const Bytes& version)
{
    Bytes section(bytes.begin() + static_cast<std::ptrdiff_t>(rsrc.rawOffset),
                  bytes.begin() + static_cast<std::ptrdiff_t>(rsrc.rawOffset + dataStart));
    for (const ResourceData& item : data) {
        section.resize((section.size() + 7) / 8 * 8, 0);
        Put32At(section, item.entry, rsrc.virtualAddress + section.size());
        Put32At(section, item.entry + 4, item.version ? version.size() : item.size);
        if (item.version)
            section.insert(section.end(), version.begin(), version.end());
        else
            section.insert(section.end(), bytes.begin() + static_cast<std::ptrdiff_t>(rsrc.rawOffset + item.rva - rsrc.virtualAddress),
                           bytes.begin() + static_cast<std::ptrdiff_t>(rsrc.rawOffset + item.rva - rsrc.virtualAddress + item.size));
    }
    return section;
}

// How the resource section moved: its new sizes, and how far what follows it moved in the
// file and in memory.
struct SectionMove {
    std::size_t index;             // the section's
    std::uint32_t virtualSize, rawSize;
    std::int64_t rawDelta, addressDelta;
};

// The file with its resource section replaced by section, and every header that names what
// moved: the sections', the data directories', SizeOfImage and SizeOfInitializedData.
Bytes MovedFile(const Bytes& bytes, const LauncherImage& image, const Bytes& section, const SectionMove& move)
{
    const ImageSection rsrc = image.sections[move.index];
    const std::size_t table = image.headersEnd - 40 * image.sections.size();
    const std::size_t optional = image.checksumOffset - 64;
    Bytes out(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(rsrc.rawOffset));
    out.insert(out.end(), section.begin(), section.end());
    out.insert(out.end(), bytes.begin() + static_cast<std::ptrdiff_t>(rsrc.rawOffset + rsrc.rawSize), bytes.end());
    for (std::size_t i = 0; i < image.sections.size(); ++i) {
        const std::size_t header = table + 40 * i;
        if (i == move.index) {
            Put32At(out, header + 8, move.virtualSize);
            Put32At(out, header + 16, move.rawSize);
        }
        if (image.sections[i].rawOffset > rsrc.rawOffset && image.sections[i].rawSize > 0)
            Put32At(out, header + 20, To32(static_cast<std::uint64_t>(image.sections[i].rawOffset + move.rawDelta)));
        if (image.sections[i].virtualAddress > rsrc.virtualAddress)
            Put32At(out, header + 12, To32(static_cast<std::uint64_t>(image.sections[i].virtualAddress + move.addressDelta)));
    }
    const bool pe32 = Little16(&bytes[optional]) == 0x010B;
    const std::size_t directories = optional + (pe32 ? 96 : 112);
    const std::uint32_t count = Little32(&bytes[directories - 4]);
    for (std::uint32_t j = 0; j < count; ++j) {
        const std::uint32_t rva = Little32(&out[directories + 8 * j]);
        if (j != 4 && rva > rsrc.virtualAddress)  // entry 4, the certificates, holds a file offset
            Put32At(out, directories + 8 * j, To32(static_cast<std::uint64_t>(rva + move.addressDelta)));
    }
    Put32At(out, directories + 2 * 8 + 4, move.virtualSize);
    Put32At(out, optional + 56, To32(static_cast<std::uint64_t>(Little32(&bytes[optional + 56]) + move.addressDelta)));
    Put32At(out, optional + 8, To32(static_cast<std::uint64_t>(Little32(&bytes[optional + 8]) + move.rawDelta)));
    return out;
}

}  // namespace

bool ReplaceVersionResource(Bytes& bytes, LauncherImage& image, const Bytes& version, std::string& error)
{
    auto fail = [&error](const char* reason) {
        error = std::string("the launcher's resources cannot be laid out again: ") + reason;
        return false;
    };
    if (image.isSigned)
        return fail("it is signed");
    const char* reason = nullptr;
    SectionMove move{};
    if (!FindResourceSection(bytes, image, move.index, reason))
        return fail(reason);
    const ImageSection rsrc = image.sections[move.index];
    std::vector<ResourceData> data;
    std::uint32_t dataStart = 0;
    if (!ReadResourceData(bytes, rsrc, data, dataStart, reason))
        return fail(reason);
    Bytes section = LaidOutSection(bytes, rsrc, dataStart, data, version);

    const std::size_t optional = image.checksumOffset - 64;
    const std::uint32_t sectionAlignment = Little32(&bytes[optional + 32]), fileAlignment = Little32(&bytes[optional + 36]);
    // As the format allows them: powers of two, the file's from 512 to 64 KiB.
    auto powerOfTwo = [](std::uint32_t value) { return value != 0 && (value & (value - 1)) == 0; };
    if (!powerOfTwo(fileAlignment) || fileAlignment < 512 || fileAlignment > 0x10000 ||
        !powerOfTwo(sectionAlignment) || sectionAlignment < fileAlignment)
        return fail("the headers give no alignment a linker gives");
    move.virtualSize = To32(section.size());
    move.rawSize = AlignUp(move.virtualSize, fileAlignment);
    section.resize(move.rawSize, 0);
    move.rawDelta = std::int64_t{move.rawSize} - rsrc.rawSize;
    move.addressDelta = std::int64_t{AlignUp(rsrc.virtualAddress + move.virtualSize, sectionAlignment)} -
                        AlignUp(rsrc.virtualAddress + rsrc.virtualSize, sectionAlignment);

    Bytes out = MovedFile(bytes, image, section, move);
    LauncherImage again;
    if (!ReadLauncherImage(out, again, error))
        return fail("the result cannot be read back");
    UpdateChecksum(out, again);
    ReadLauncherImage(out, again, error);  // with the checksum as now stored
    bytes = std::move(out);
    image = again;
    return true;
}
