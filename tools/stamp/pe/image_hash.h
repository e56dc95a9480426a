// The image hash of a signed PE file: its digest over the parts Authenticode signs.
#pragma once

#include "base/bytes.h"
#include "base/digest.h"
#include "pe/authenticode.h"
#include "pe/pe_image.h"

#include <cstdint>
#include <string>
#include <vector>

// The image hash of the PE file of fileSize bytes that read gives (image its headers read), once
// for each of algorithms, in one pass over the file read in pieces: computed gets one digest per
// algorithm, in their order. error holds the reader's last words on entry, for a read that comes
// up short without any; false with the problem in words in error when the image does not allow
// a hash or the file cannot be read.
bool ComputeImageHashes(const FileRangeReader& read, const LauncherImage& image, std::uint64_t fileSize,
                        const std::vector<DigestAlgorithm>& algorithms, std::vector<Bytes>& computed,
                        std::string& error);
