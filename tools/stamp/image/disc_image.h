// A disc image read as Windows reads it: its volume descriptors, the tree Windows reads (UDF
// where the image has it, else Joliet, else the primary ISO 9660 tree), names as Windows' file
// systems give them, and the files' bytes, read where they lie in the image. Nothing is
// unpacked. The trees themselves are read in iso9660_tree.cpp and udf_tree.cpp.
#pragma once

#include "system/system.h"

#include <cstdint>
#include <functional>
#include <list>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

// Reads count bytes at offset of an image into bytes; false when they are not all there.
using ImageReader = std::function<bool(std::uint64_t offset, std::size_t count, Bytes& bytes)>;

// Reads of an image file, through one stream that lives as long as the reader; size gets the
// file's size (0 when it cannot be opened).
ImageReader ImageFileReader(const std::string& path, std::uint64_t& size);

// Whether the bytes at offset 32768 and on (sector 16, where the volume descriptors begin)
// start with an ISO 9660 descriptor ("CD001"): the file is a disc image, whatever its name.
bool LooksLikeDiscImage(const ImageReader& read);

// Where a file's or folder's bytes lie: (offset in the image, bytes), in order.
using Extents = std::vector<std::pair<std::uint64_t, std::uint64_t>>;

// The offset of an extent that is allocated but not recorded: it reads as zeros.
constexpr std::uint64_t NoData = ~std::uint64_t{0};

// One name in a folder of the image.
struct ImageEntry {
    std::string name;             // as Windows reads it (UTF-8)
    std::string rockRidgeName;    // the Rock Ridge name Linux tools show, when the record has one
    std::string recorded;         // the name as recorded, version and all, for messages
    bool isFolder = false;
    std::uint64_t size = 0;       // a file's size, its extents together
    Extents extents;
};

// One image, read on one thread at a time: it keeps the folders it has read. The bytes of
// records it parses (continuation areas and UDF file entries too) and the lookups it makes are
// bounded by a small multiple of the image's size, however its folders overlap or repeat: past
// the bound every further read fails with the reason, which overworked() then gives.
class DiscImage {
public:
    // Reads the descriptors. False with the reason when there is no ISO 9660 volume or its
    // descriptors are damaged. oemCodePage decodes the primary tree's names (bytes above 0x7F).
    bool Open(ImageReader read, std::uint64_t imageSize, unsigned oemCodePage, std::string& error);

    bool hasJoliet() const { return joliet_; }
    bool hasUdf() const { return udf_; }
    // Windows reads the UDF tree of an image that has one; false with the reason when this
    // reader cannot (udfProblem).
    bool readsUdf() const { return readsUdf_; }
    const std::string& udfProblem() const { return udfProblem_; }
    const std::string& volumeLabel() const { return label_; }
    std::uint64_t imageSize() const { return size_; }

    // The entry at below (its names under the root; none: the root itself) in the tree Windows
    // reads: letter case aside, the first match in directory order. False with the reason when
    // it is not there or a folder on its way is damaged.
    bool Find(const std::vector<std::string>& below, ImageEntry& found, std::string& error) const;

    // The entries of the folder at below, in directory order, as Windows reads them (first match
    // wins in lookups). False with the reason when the folder is damaged.
    bool Entries(const std::vector<std::string>& below, std::vector<ImageEntry>& entries, std::string& error) const;

    // The same folder's entries in the ISO 9660 trees: primary (which Rock Ridge names dress), and
    // the one Windows reads where there is no UDF (for findings).
    bool PrimaryEntries(const std::vector<std::string>& below, std::vector<ImageEntry>& entries,
                        std::string& error) const;
    bool Iso9660Entries(const std::vector<std::string>& below, std::vector<ImageEntry>& entries,
                        std::string& error) const;

    // The folder at below as a folder's listing tells it: names, kinds and files' sizes.
    bool List(const std::vector<std::string>& below, std::vector<FolderEntry>& entries, std::string& error) const;

    // Reads up to count bytes at offset of the file at below (fewer at its end, none past it).
    // False with the reason when it is no file of the image, or its extents lie outside the image
    // or add up to more than it holds. Never allocates more than count bytes.
    bool Read(const std::vector<std::string>& below, std::uint64_t offset, std::size_t count, Bytes& bytes,
              std::string& error) const;
    bool ReadStart(const std::vector<std::string>& below, std::size_t limit, Bytes& bytes, std::string& error) const
    {
        return Read(below, 0, limit, bytes, error);
    }

    // What is at below: a file, a folder, or nothing (Missing, also when it cannot be read).
    EntryKind Kind(const std::vector<std::string>& below) const;

    // Why the image was taken for unreadable, its reading having passed the bound on work; empty
    // while it has not.
    const std::string& overworked() const { return overworked_; }
    // The bytes of records parsed so far, and the most the image's size allows.
    std::uint64_t parsed() const { return parsed_; }
    std::uint64_t parseBound() const;

private:
    enum class TreeKind { Primary, Joliet, Udf };
    struct Tree {
        TreeKind kind = TreeKind::Primary;
        Extents root;  // the root folder's extents
    };
    const Tree& WindowsTree() const { return readsUdf_ ? udfTree_ : joliet_ ? jolietTree_ : primary_; }
    // Reads up to count bytes at offset of what extents hold (of total bytes), checked first.
    bool ReadExtents(const Extents& extents, std::uint64_t offset, std::size_t count, Bytes& bytes,
                     std::string& error) const;
    // A folder's entries as read, and where each name Windows takes (letter case folded) first
    // stands among them.
    struct Folder {
        std::vector<ImageEntry> entries;
        std::unordered_map<std::string, std::size_t> first;
    };
    using FolderKey = std::pair<TreeKind, Extents>;
    std::shared_ptr<const Folder> ReadFolder(const Tree& tree, const Extents& extents, std::string& error) const;
    // Counts bytes parsed (or a lookup, Lookup of them) against the bound; false with the reason
    // past it.
    bool Spend(std::uint64_t bytes, std::string& error) const;
    std::string RockRidgeName(const Bytes& record, std::size_t nameEnd) const;
    bool ReadIsoRecords(const Tree& tree, const Bytes& records, std::vector<ImageEntry>& entries, std::string& error) const;
    bool ReadUdfIdentifiers(const Bytes& identifiers, std::vector<ImageEntry>& entries, std::string& error) const;
    bool ReadUdfEntry(std::uint64_t lbn, ImageEntry& entry, std::string& error) const;
    // Reads the ISO 9660 volume descriptors up to their terminator, noting UDF's recognition
    // sequence among them; primary says whether there was a primary descriptor. False with the
    // reason when they end early or are damaged.
    bool ReadVolumeDescriptors(bool& primary, std::string& error);
    // Takes the block size, the primary tree's root and the label from the primary descriptor d.
    void TakePrimaryDescriptor(const Bytes& d);
    // Takes the Joliet tree's root and its label from the supplementary descriptor d.
    void TakeJolietDescriptor(const Bytes& d);
    // Looks for UDF's recognition sequence past the ISO 9660 terminator, where it may follow.
    void FindUdfPastTerminator();
    bool OpenUdf(std::string& error);
    bool FindIn(const Tree& tree, const std::vector<std::string>& below, ImageEntry& found, std::string& error) const;
    bool EntriesIn(const Tree& tree, const std::vector<std::string>& below, std::vector<ImageEntry>& entries,
                   std::string& error) const;

    ImageReader read_;
    std::uint64_t size_ = 0;
    std::uint32_t blockSize_ = 2048;
    unsigned oemCodePage_ = 437;
    Tree primary_, jolietTree_, udfTree_;
    bool joliet_ = false, udf_ = false, readsUdf_ = false;
    std::string udfProblem_;
    std::uint64_t partitionStart_ = 0;  // UDF: the partition's first block
    std::uint32_t udfBlockSize_ = 2048;
    std::string label_;
    // The folders read so far, by tree and extents, so that a lookup reads each folder once; when
    // they hold more than a bound of entries in all (which four times the largest folder's may
    // pass), those used least lately are let go (never the one just read).
    struct Kept {
        std::shared_ptr<const Folder> folder;
        std::list<FolderKey>::iterator used;
    };
    mutable std::map<FolderKey, Kept> folders_;
    mutable std::list<FolderKey> lately_;  // the kept folders, the one used last first
    mutable std::size_t folderEntries_ = 0, largestFolder_ = 0;
    mutable std::uint64_t parsed_ = 0, lookups_ = 0;
    mutable std::string overworked_;
};
