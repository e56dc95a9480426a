// libFuzzer target for the disc image reader: any bytes after an image's 32 KiB system area
// (taken as zeros) are read as Windows reads an image, or refused with a reason; every folder is
// walked and every file of the root read, at its start and from its middle, never outside the
// bytes and never with more memory than the reads ask for.
#include "image/disc_image.h"
#include "image/image_findings.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size)
{
    constexpr std::uint64_t SystemArea = 16 * 2048;
    const Bytes after(data, data + size);
    const std::uint64_t imageSize = SystemArea + size;
    const ImageReader read = [&after, imageSize](std::uint64_t offset, std::size_t count, Bytes& bytes) {
        if (offset > imageSize || count > imageSize - offset)
            return false;
        bytes.assign(count, 0);
        for (std::size_t i = 0; i < count; ++i) {
            if (offset + i >= SystemArea)
                bytes[i] = after[offset + i - SystemArea];
        }
        return true;
    };
    DiscImage image;
    std::string error;
    if (!image.Open(read, imageSize, 850, error)) {
        if (error.empty())
            std::abort();
        return 0;
    }
    std::vector<std::string> notes;
    DiscImageFindings(image, notes, 64);
    std::vector<FolderEntry> entries;
    if (image.List({}, entries, error)) {
        for (const FolderEntry& entry : entries) {
            Bytes bytes;
            image.ReadStart({entry.name}, 1u << 20, bytes, error);
            if (bytes.size() > 1u << 20)
                std::abort();
            image.Read({entry.name}, entry.size / 2, 4096, bytes, error);
            image.Kind({entry.name, "x"});
        }
    } else if (error.empty()) {
        std::abort();
    }
    return 0;
}
