// The image hash: the PE file's digest over its headers, sections and what follows them.
#include "pe/image_hash.h"

#include <algorithm>
#include <memory>

namespace {

// How much of the file is hashed at a time.
constexpr std::size_t HashPiece = 1u << 20;

// The ranges the image hash covers, in the order it covers them.
struct Range {
    std::uint64_t offset;
    std::uint64_t size;
};

// The image hash's ranges, as the Authenticode format gives them: the headers (SizeOfHeaders
// bytes) without the CheckSum and the certificate table's directory entry; each section's raw
// data, in the order of their file offsets; then what follows, from SUM_OF_BYTES_HASHED on, up
// to the certificate table. The table itself starts on an 8-byte boundary: signers pad the file
// with zeros up to it, and those zeros are hashed with the rest. False with the reason when
// the image does not allow one.
bool HashedRanges(const LauncherImage& image, std::uint64_t fileSize, std::vector<Range>& ranges, std::string& problem)
{
    const std::uint64_t tableStart = image.certificateOffset;
    const std::uint64_t checksumEnd = image.checksumOffset + 4;
    const std::uint64_t entryEnd = image.securityEntryOffset + 8;
    if (image.securityEntryOffset < checksumEnd || entryEnd > image.headersSize || image.headersSize > tableStart) {
        problem = "the headers are malformed for a signed file";
        return false;
    }
    ranges = {{0, image.checksumOffset},
              {checksumEnd, image.securityEntryOffset - checksumEnd},
              {entryEnd, image.headersSize - entryEnd}};
    std::vector<ImageSection> sections;
    for (const ImageSection& section : image.sections)
        if (section.rawSize != 0)
            sections.push_back(section);
    std::stable_sort(sections.begin(), sections.end(),
                     [](const ImageSection& a, const ImageSection& b) { return a.rawOffset < b.rawOffset; });
    std::uint64_t hashed = image.headersSize;
    for (const ImageSection& section : sections) {
        if (std::uint64_t{section.rawOffset} + section.rawSize > tableStart) {
            problem = "a section's data runs into the certificate table";
            return false;
        }
        ranges.push_back({section.rawOffset, section.rawSize});
        hashed += section.rawSize;
    }
    const std::uint64_t tableSize = fileSize - tableStart;
    if (hashed + tableSize > fileSize) {
        problem = "the sections overlap: their data cannot be hashed as signed";
        return false;
    }
    ranges.push_back({hashed, fileSize - tableSize - hashed});
    return true;
}

}  // namespace

bool ComputeImageHashes(const FileRangeReader& read, const LauncherImage& image, std::uint64_t fileSize,
                        const std::vector<DigestAlgorithm>& algorithms, std::vector<Bytes>& computed,
                        std::string& error)
{
    std::vector<Range> ranges;
    std::string problem;
    if (!HashedRanges(image, fileSize, ranges, problem)) {
        error = problem;
        return false;
    }
    std::vector<std::unique_ptr<Digest>> digests;
    for (DigestAlgorithm algorithm : algorithms)
        digests.push_back(std::make_unique<Digest>(algorithm));
    Bytes piece;
    for (const Range& range : ranges) {
        for (std::uint64_t done = 0; done < range.size;) {
            const std::size_t count = static_cast<std::size_t>(std::min<std::uint64_t>(HashPiece, range.size - done));
            if (!read(range.offset + done, count, piece, error) || piece.size() != count) {
                error = "the file cannot be read to verify its signature: " +
                        (error.empty() ? std::string("it is shorter than it was") : error);
                return false;
            }
            for (auto& digest : digests)
                digest->Add(piece);
            done += count;
        }
    }
    for (auto& digest : digests)
        computed.push_back(digest->Finish());
    return true;
}
