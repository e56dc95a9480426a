// Writing a medium's disc image: ISO 9660 level 3, with a Joliet tree whose names are the
// medium's own up to 103 characters, and Rock Ridge with the same names, through libarchive.
#pragma once

#include "image/medium_image.h"
#include "image/progress.h"

#include <string>
#include <vector>

// Writes the image of items (as ListMediumForImage lists them from medium) into staged, begun and
// not yet finished, each file's bytes read through medium as it goes. Its volume label is label (ImageVolumeLabel), every
// date is in UTC and comes from the files (the volume's: the newest file's), so that the same files
// give the same image, byte for byte; with SOURCE_DATE_EPOCH set (SourceDateEpoch), every date is
// that date instead, the volume's too, whatever the files' own dates. written gets the image's size. The files' data is held in a temporary file in
// temporaryFolder meanwhile (it vanishes when the writing ends, or when this process does). False
// with the reason when a file cannot be read or changes meanwhile, or the image cannot be written.
// progress, when given, hears of the bytes read from the files and then written into the image
// (ImageWorkBytes in all), and stops the writing when cancelled: false then, with the reason.
bool WriteDiscImage(const MediumPlace& medium, const std::vector<ImageItem>& items, const std::string& label,
                    const std::string& temporaryFolder, StagedFile& staged, std::uint64_t& written, std::string& error, Progress* progress = nullptr);

// The bytes of work WriteDiscImage tells progress of for items: every file read, then the image
// written (as ImageSizeEstimate has it).
std::uint64_t ImageWorkBytes(const std::vector<ImageItem>& items);

// Seconds since 1970 UTC as ISO 9660's creation date text, "YYYYMMDDhhmmss".
std::string ImageDateText(std::int64_t seconds);

// What the image of a medium is to be: its file and what goes into it.
struct MediumImagePlan {
    std::string path;                  // the image file to write
    std::vector<ImageItem> items;      // what the medium holds now
    std::uint64_t size = 0;            // the image's size in bytes, once written
    DiscImage written;                 // once written: the image as it was read back and compared, held
                                       // open, whatever is put at path later
};

// Whether the image of the medium (a folder's place) can be written at path, before anything is written:
// path's folder exists and lies outside the medium; at path is nothing, or a disc image (anything else
// only with replaceAny), never a link or folder; the medium holds nothing the image cannot hold
// as Windows reads it (ListMediumForImage); path's file system has room for the image twice
// over (the writer keeps the files' data in a temporary file beside it). False with the reason.
bool PlanMediumImage(const MediumPlace& medium, const std::string& path, bool replaceAny, MediumImagePlan& plan,
                     std::string& reason);

// Writes the image of the medium (listed again: make has written to it since it was planned)
// beside plan.path, reads it back as Windows reads it (oemCodePage for a primary tree),
// and puts it in place only when it holds every file and folder under its own name. On any
// failure nothing is left and plan.path stays as it was; plan.size gets the image's size, and
// plan.written the image as it was read back. said
// gets a line on what was written, and one on the label when the image holds only part of it.
// progress, when given, follows the writing (WriteDiscImage); cancelled there, nothing is left
// either, and the reason says so.
bool MakeMediumImage(const MediumPlace& medium, const std::string& label, unsigned oemCodePage, MediumImagePlan& plan,
                     std::string& said, std::string& reason, Progress* progress = nullptr);
