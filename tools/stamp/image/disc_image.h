// A disc image read as Windows reads it: its ISO 9660 volume descriptors, the Joliet tree when
// there is one and else the primary tree, names as Windows' CD file system gives them, and the
// files' bytes, read where they lie in the image. Nothing is unpacked.
#pragma once

#include "system/system.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// Reads count bytes at offset of an image into bytes; false when they are not all there.
using ImageReader = std::function<bool(std::uint64_t offset, std::size_t count, Bytes& bytes)>;

// Reads of an image file, through one stream that lives as long as the reader; size gets the
// file's size (0 when it cannot be opened).
ImageReader ImageFileReader(const std::string& path, std::uint64_t& size);

// Whether the bytes at offset 32768 and on (sector 16, where the volume descriptors begin)
// start with an ISO 9660 descriptor ("CD001"): the file is a disc image, whatever its name.
bool LooksLikeDiscImage(const ImageReader& read);

// One name in a folder of the image.
struct ImageEntry {
    std::string name;             // as Windows reads it (UTF-8)
    std::string rockRidgeName;    // the Rock Ridge name Linux tools show, when the record has one
    std::string recorded;         // the name as recorded, version and all, for messages
    bool isFolder = false;
    std::uint64_t size = 0;       // a file's size, its extents together
    std::vector<std::pair<std::uint64_t, std::uint64_t>> extents;  // (offset in the image, bytes), in order;
                                                                    // an offset of NoData: zeros, recorded nowhere
};

// The offset of an extent that is allocated but not recorded: it reads as zeros.
constexpr std::uint64_t NoData = ~std::uint64_t{0};

class DiscImage : public Volume {
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

    // The entries of the folder at below, in directory order, as Windows reads them (first match
    // wins in lookups). False with the reason when the folder is damaged.
    bool Entries(const std::vector<std::string>& below, std::vector<ImageEntry>& entries, std::string& error) const;

    // The same folder's entries in the ISO 9660 trees: primary (which Rock Ridge names dress), and
    // the one Windows reads where there is no UDF (for findings).
    bool PrimaryEntries(const std::vector<std::string>& below, std::vector<ImageEntry>& entries,
                        std::string& error) const;
    bool Iso9660Entries(const std::vector<std::string>& below, std::vector<ImageEntry>& entries,
                        std::string& error) const;

    bool List(const std::vector<std::string>& below, std::vector<FolderEntry>& entries, std::string& error) const override;
    bool ReadStart(const std::vector<std::string>& below, std::size_t limit, Bytes& bytes, std::string& error) const override;
    EntryKind Kind(const std::vector<std::string>& below) const override;

private:
    enum class TreeKind { Primary, Joliet, Udf };
    struct Tree {
        TreeKind kind = TreeKind::Primary;
        std::vector<std::pair<std::uint64_t, std::uint64_t>> root;  // the root folder's extents
    };
    const Tree& WindowsTree() const { return readsUdf_ ? udfTree_ : joliet_ ? jolietTree_ : primary_; }
    bool ReadExtents(const std::vector<std::pair<std::uint64_t, std::uint64_t>>& extents, std::uint64_t limit,
                     Bytes& bytes, std::string& error) const;
    bool ReadFolder(const Tree& tree, const std::vector<std::pair<std::uint64_t, std::uint64_t>>& extents,
                    std::vector<ImageEntry>& entries, std::string& error) const;
    bool ReadIsoRecords(const Tree& tree, const Bytes& records, std::vector<ImageEntry>& entries, std::string& error) const;
    bool ReadUdfIdentifiers(const Bytes& identifiers, std::vector<ImageEntry>& entries, std::string& error) const;
    bool ReadUdfEntry(std::uint64_t lbn, ImageEntry& entry, std::string& error) const;
    bool OpenUdf(std::string& error);
    bool Find(const Tree& tree, const std::vector<std::string>& below, ImageEntry& found, std::string& error) const;
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
};

// The OEM code page of the systems whose ANSI code page is ansiCodePage (850 for 1252, as
// Western European Windows has; the double-byte code pages are their own).
unsigned OemCodePageFor(unsigned ansiCodePage);

// What Windows does differently from what the image's author saw, as sentences: no Joliet tree
// (names read from the primary tree, 8.3 and upper case), Rock Ridge names that differ from the
// names Windows reads, names that differ only in letter case (Windows finds the first), Joliet
// names over 64 characters (read by current Windows, cut by some other readers). notes gets the
// last kind, which does not stand in a medium's way. Reads at most limit folders.
std::vector<std::string> DiscImageFindings(const DiscImage& image, std::vector<std::string>& notes,
                                           std::size_t limit = 10000);
