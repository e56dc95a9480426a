// Reading a version resource: a tree of nodes, each a length, a value length, a type, a UTF-16
// key, a value and children, every part aligned to 4 bytes from the resource's start.
#include "pe/version_resource.h"

#include "base/unicode.h"
#include "pe/resource_directory.h"

#include <algorithm>

namespace {

constexpr std::uint32_t TypeVersion = 16;  // RT_VERSION

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

bool ReadVersionStrings(const Bytes& bytes, const LauncherImage& image, std::vector<VersionString>& strings,
                        bool& noVersion, std::string& error)
{
    strings.clear();
    noVersion = false;
    std::size_t base = 0, offset = 0;
    std::uint32_t names = 0, rva = 0, size = 0;
    if (image.resourceRva == 0 || !RvaToOffset(bytes, image, image.resourceRva, image.resourceSize, base)) {
        noVersion = true;
        error = "it has no resources, so no version resource";
        return false;
    }
    Directory directory(bytes.data() + base, image.resourceSize, base);
    if (!FindEntry(directory, 0, TypeVersion, nullptr, true, names)) {
        noVersion = true;
        error = "it has no version resource";
        return false;
    }
    // The first version resource in directory order, in its first language.
    const unsigned char* table = directory.At(names & ~ResourceHighBit, 16);
    const unsigned char* first = table == nullptr || Little16(table + 12) + Little16(table + 14) == 0
                                     ? nullptr : directory.At((names & ~ResourceHighBit) + 16, 8);
    if (first == nullptr || !LanguageData(directory, Little32(first + 4), false, rva, size) ||
        !RvaToOffset(bytes, image, rva, size, offset)) {
        error = "its version resource cannot be found";
        return false;
    }
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
