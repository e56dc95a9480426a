// What Windows reads from a disc image otherwise than its author saw it, in sentences.
#pragma once

#include "image/disc_image.h"

#include <string>
#include <vector>

// How an image would have to be made again for a finding to go; the sentence says it in words,
// and a command may name the tools that do it.
enum class RemakeAdvice {
    None,
    WithJoliet,          // with a Joliet tree
    WithMatchingJoliet,  // with Joliet names that match the Rock Ridge ones
};

struct ImageFinding {
    std::string text;
    RemakeAdvice advice = RemakeAdvice::None;
};

// What Windows does differently from what the image's author saw: no Joliet tree (names read
// from the primary tree, 8.3 and upper case), Rock Ridge names that differ from the names
// Windows reads, names that differ only in letter case (Windows finds the first), a folder
// Windows cannot read, a UDF tree that differs from the ISO 9660 one, Joliet names over 64
// characters (read by current Windows, cut by some other readers), files whose data lie past the
// image's end (an image cut short). notes gets the Joliet names over 64, which do not stand in a
// medium's way. Reads at most limit folders.
std::vector<ImageFinding> DiscImageFindings(const DiscImage& image, std::vector<std::string>& notes,
                                            std::size_t limit = 10000);
