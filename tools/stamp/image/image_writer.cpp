// Writing a medium's disc image through libarchive's ISO 9660 writer.
#include "image/image_writer.h"

#include <archive.h>
#include <archive_entry.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <memory>

#ifndef _WIN32
#include <locale.h>
#endif

namespace {

// ISO 9660's dates run from 1900 to 2155; files dated before 1970 or after that keep the nearest.
constexpr std::int64_t LatestDate = 5869583999;  // 2155-12-31 23:59:59
// The volume's date when no file has one: 1980-01-01, the earliest date on a FAT medium.
constexpr std::int64_t EarliestVolumeDate = 315532800;

std::int64_t ImageDate(std::int64_t seconds)
{
    return std::clamp<std::int64_t>(seconds, 0, LatestDate);
}

// seconds as the C library's time, 32 bits wide in the 32-bit Windows build: a date past its last
// (2038) keeps its last.
template <typename Time>
Time AsTime(std::int64_t seconds)
{
    return static_cast<Time>(std::min<std::int64_t>(seconds, std::numeric_limits<Time>::max()));
}

#ifndef _WIN32
// libarchive takes multibyte names in the locale's encoding: the writer runs under C.UTF-8 (built
// into the C library, no locale files needed), in which every name is UTF-8. Under the "C"
// locale it would write empty Joliet names and still report success.
class Utf8Names {
public:
    Utf8Names() : utf8_(newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr)))
    {
        if (utf8_ != static_cast<locale_t>(nullptr))
            previous_ = uselocale(utf8_);
    }
    ~Utf8Names()
    {
        if (utf8_ != static_cast<locale_t>(nullptr)) {
            uselocale(previous_);
            freelocale(utf8_);
        }
    }
    Utf8Names(const Utf8Names&) = delete;
    Utf8Names& operator=(const Utf8Names&) = delete;
    bool ok() const { return utf8_ != static_cast<locale_t>(nullptr); }

private:
    locale_t utf8_;
    locale_t previous_ = static_cast<locale_t>(nullptr);
};
#else
// The Windows build of libarchive takes every multibyte name as UTF-8 (built so).
struct Utf8Names {
    bool ok() const { return true; }
};
#endif

constexpr char CancelledReason[] = "cancelled";

// How far the writing is, for the caller's progress: the files' bytes read so far, then the
// image's bytes written (counted up to the estimate, which the image rarely passes).
struct Tally {
    Progress* progress;
    std::uint64_t dataBytes;  // of every file
    std::uint64_t imageBytes; // ImageSizeEstimate
    std::uint64_t read = 0, written = 0;

    // Tells progress; false when it wants the writing stopped.
    bool Tell()
    {
        if (progress == nullptr)
            return true;
        progress->Advance(read + std::min(written, imageBytes), dataBytes + imageBytes);
        return !progress->Cancelled();
    }
};

// Where libarchive's output goes: the staged file, a failure kept for the message.
struct Sink {
    StagedFile* staged;
    std::uint64_t written;
    std::string error;
    Tally* tally;
};

la_ssize_t WriteToStaged(struct archive*, void* context, const void* data, size_t count)
{
    auto* sink = static_cast<Sink*>(context);
    if (!AppendStaged(*sink->staged, static_cast<const unsigned char*>(data), count, sink->error))
        return -1;
    sink->written += count;
    sink->tally->written = sink->written;
    if (!sink->tally->Tell()) {
        sink->error = CancelledReason;
        return -1;
    }
    return static_cast<la_ssize_t>(count);
}

struct ArchiveFree {
    void operator()(struct archive* a) const { archive_write_free(a); }
};
struct EntryFree {
    void operator()(struct archive_entry* e) const { archive_entry_free(e); }
};

// Copies a file's bytes into the image, read through the medium's place: exactly item.size of
// them, or false.
bool CopyData(struct archive* a, const MediumPlace& medium, const ImageItem& item, std::size_t piece, Tally& tally,
              std::string& error)
{
    std::uint64_t copied = 0;
    bool grew = false;
    for (Bytes bytes;;) {
        if (!medium.Read(item.components, copied, piece, bytes, error)) {
            error = item.path + ": " + error;
            return false;
        }
        if (bytes.empty())
            break;
        grew = copied + bytes.size() > item.size;
        if (grew)
            break;
        if (archive_write_data(a, bytes.data(), bytes.size()) != static_cast<la_ssize_t>(bytes.size())) {
            error = archive_error_string(a) != nullptr ? archive_error_string(a) : "the image cannot be written";
            return false;
        }
        copied += bytes.size();
        tally.read += bytes.size();
        if (!tally.Tell()) {
            error = CancelledReason;
            return false;
        }
        if (bytes.size() < piece)
            break;
    }
    if (grew || copied != item.size) {
        error = item.path + ": it changed while the image was written. What to do: run again when nothing writes "
                "to the medium's folder.";
        return false;
    }
    return true;
}

// Sets the writer to ISO 9660 level 3 with long Joliet names and Rock Ridge, the creation date
// (ImageDateText), the folder of its temporary file and the volume label (none when empty).
bool SetImageFormat(struct archive* a, const std::string& creation, const std::string& temporaryFolder,
                    const std::string& volume)
{
    return archive_write_set_format_iso9660(a) == ARCHIVE_OK &&
           archive_write_set_format_option(a, "iso9660", "iso-level", "3") == ARCHIVE_OK &&
           archive_write_set_format_option(a, "iso9660", "joliet", "long") == ARCHIVE_OK &&
           archive_write_set_format_option(a, "iso9660", "rockridge", "useful") == ARCHIVE_OK &&
           archive_write_set_format_option(a, "iso9660", "creation", creation.c_str()) == ARCHIVE_OK &&
           archive_write_set_format_option(a, "iso9660", "temporary-dir", temporaryFolder.c_str()) == ARCHIVE_OK &&
           (volume.empty() || archive_write_set_format_option(a, "iso9660", "volume-id", volume.c_str()) == ARCHIVE_OK);
}

// Fills entry with item's path in the image, kind, size and date (seconds since 1970 UTC); false
// with the reason when the writer cannot take its name.
bool DescribeEntry(const ImageItem& item, std::int64_t date, struct archive_entry* entry, std::string& error)
{
    std::string path;
    for (const std::string& component : item.components)
        path += (path.empty() ? "" : "/") + component;
    archive_entry_clear(entry);
    archive_entry_copy_pathname(entry, path.c_str());
    // A name the writer cannot take in would be taken for the root, silently.
    if (archive_entry_pathname(entry) == nullptr || path != archive_entry_pathname(entry)) {
        error = item.path + ": the image writer cannot take its name";
        return false;
    }
    archive_entry_set_filetype(entry, item.isFolder ? AE_IFDIR : AE_IFREG);
    // Read and run by all: the writer's Windows build makes every file runnable in Rock Ridge,
    // so both builds say so, for the same image from either.
    archive_entry_set_perm(entry, 0555);
    archive_entry_set_size(entry, item.isFolder ? 0 : static_cast<la_int64_t>(item.size));
    archive_entry_set_mtime(entry, AsTime<time_t>(date), 0);
    return true;
}

}  // namespace

std::string ImageDateText(std::int64_t seconds)
{
    // Days since 1970 to a civil date (proleptic Gregorian calendar).
    const std::int64_t days = seconds / 86400, second = seconds % 86400;
    const std::int64_t z = days + 719468, era = z / 146097, doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100), mp = (5 * doy + 2) / 153;
    const std::int64_t day = doy - (153 * mp + 2) / 5 + 1, month = mp < 10 ? mp + 3 : mp - 9;
    const std::int64_t year = yoe + era * 400 + (month <= 2);
    char text[128];
    std::snprintf(text, sizeof text, "%04d%02d%02d%02d%02d%02d", static_cast<int>(year), static_cast<int>(month),
                  static_cast<int>(day), static_cast<int>(second / 3600), static_cast<int>(second / 60 % 60),
                  static_cast<int>(second % 60));
    return text;
}

std::uint64_t ImageWorkBytes(const std::vector<ImageItem>& items)
{
    std::uint64_t data = 0;
    for (const ImageItem& item : items)
        data += item.isFolder ? 0 : item.size;
    return data + ImageSizeEstimate(items);
}

bool WriteDiscImage(const MediumPlace& medium, const std::vector<ImageItem>& items, const std::string& label,
                    const std::string& temporaryFolder, StagedFile& staged, std::uint64_t& written, std::string& error, Progress* progress)
{
    written = 0;
    Tally tally{progress, ImageWorkBytes(items) - ImageSizeEstimate(items), ImageSizeEstimate(items)};
    if (!tally.Tell()) {
        error = CancelledReason;
        return false;
    }
    const Utf8Names names;
    if (!names.ok()) {
        error = "this system's C library has no C.UTF-8 locale, which the image writer needs for Unicode names";
        return false;
    }
    const std::unique_ptr<struct archive, ArchiveFree> a(archive_write_new());
    if (!a) {
        error = "out of memory";
        return false;
    }
    // In a reproducible build every date is the one it fixes, the volume's too: clamping alone
    // would leave two copies of a tree whose files are dated apart before it with two images.
    std::int64_t fixed = 0;
    const bool reproducible = SourceDateEpoch(fixed) == SourceDate::Set;
    auto dated = [reproducible, fixed](std::int64_t seconds) { return ImageDate(reproducible ? fixed : seconds); };
    std::int64_t newest = dated(EarliestVolumeDate);
    for (const ImageItem& item : items)
        newest = std::max(newest, dated(item.modified));
    const std::string volume = ImageVolumeLabel(label);
    const std::string creation = ImageDateText(newest);
    Sink sink{&staged, 0, {}, &tally};
    // What failed: the staged file's writing when that failed, else libarchive's reason.
    auto failed = [&a, &sink, &error](const std::string& what) {
        const char* reason = archive_error_string(a.get());
        error = !sink.error.empty() ? sink.error
                                    : what + (reason != nullptr ? std::string(": ") + reason : std::string());
        return false;
    };
    if (!SetImageFormat(a.get(), creation, temporaryFolder, volume))
        return failed("the image writer refused its settings");
    if (archive_write_open2(a.get(), &sink, nullptr, WriteToStaged, nullptr, nullptr) != ARCHIVE_OK)
        return failed("the image cannot be written");

    const std::unique_ptr<struct archive_entry, EntryFree> entry(archive_entry_new());
    constexpr std::size_t Piece = 1 << 20;  // read from a file at a time
    for (const ImageItem& item : items) {
        if (!DescribeEntry(item, dated(item.modified), entry.get(), error))
            return false;
        if (archive_write_header(a.get(), entry.get()) != ARCHIVE_OK)
            return failed(item.path + ": the image cannot hold it");
        if (!item.isFolder && !CopyData(a.get(), medium, item, Piece, tally, error))
            return false;
    }
    if (archive_write_close(a.get()) != ARCHIVE_OK)
        return failed("the image cannot be written");
    written = sink.written;
    if (progress != nullptr)
        progress->Advance(tally.dataBytes + tally.imageBytes, tally.dataBytes + tally.imageBytes);
    return true;
}

namespace {

// path's folder ("." for a bare name).
std::string FolderOfPath(const std::string& path)
{
    const std::filesystem::path folder = std::filesystem::u8path(path).parent_path();
    return folder.empty() ? "." : folder.u8string();
}

}  // namespace

bool PlanMediumImage(const MediumPlace& medium, const std::string& path, bool replaceAny, MediumImagePlan& plan,
                     std::string& reason)
{
    plan = MediumImagePlan();
    plan.path = path;
    const std::string folder = FolderOfPath(path);
    std::string leadsTo;
    if (KindOf(folder, leadsTo) == EntryKind::Missing) {
        reason = path + ": its folder " + folder + " does not exist";
        return false;
    }
    std::vector<std::string> below;
    if (medium.Below(folder, below)) {
        reason = path + " lies inside the medium " + medium.Shown({}) + ", so the image would hold itself. What to do: write "
                 "it outside the medium's folder.";
        return false;
    }
    switch (KindOf(path, leadsTo)) {
    case EntryKind::Missing:
        break;
    case EntryKind::File:
        if (std::uint64_t size = 0; !replaceAny && !LooksLikeDiscImage(ImageFileReader(path, size))) {
            reason = path + " holds something other than a disc image (--force to replace it)";
            return false;
        }
        break;
    case EntryKind::Link:
        reason = path + " is a link (to " + leadsTo + "); make writes no image through a link. What to do: name "
                 "the file itself, or remove the link.";
        return false;
    default:
        reason = path + " is a folder or something other than a file; name the image file to write";
        return false;
    }
    if (!ListMediumForImage(medium, plan.items, reason))
        return false;
    std::uint64_t free = 0;
    const std::uint64_t needed = 2 * ImageSizeEstimate(plan.items);
    if (FreeSpaceAt(folder, free) && free < needed) {
        reason = folder + " has " + std::to_string(free / (1024 * 1024)) + " MiB free, and writing the image takes "
                 "about " + std::to_string(needed / (1024 * 1024) + 1) + " MiB there (the image, and the files' data "
                 "held meanwhile). What to do: free some space, or write the image elsewhere.";
        return false;
    }
    return true;
}

bool MakeMediumImage(const MediumPlace& medium, const std::string& label, unsigned oemCodePage, MediumImagePlan& plan,
                     std::string& said, std::string& reason, Progress* progress)
{
    if (!ListMediumForImage(medium, plan.items, reason))
        return false;
    StagedFile staged;
    if (!BeginStaged(plan.path, staged, reason)) {
        reason = plan.path + ": " + reason;
        return false;
    }
    auto fail = [&staged, &reason](const std::string& why) {
        DiscardStaged(staged);
        reason = why;
        return false;
    };
    std::string error;
    std::uint64_t size = 0;
    if (!WriteDiscImage(medium, plan.items, label, FolderOfPath(plan.path), staged, size, error, progress))
        return fail(progress != nullptr && progress->Cancelled() ? "the image was cancelled: nothing of it was left"
                                                                 : "the image was not written: " + error);
    if (!FinishStaged(staged, error))
        return fail(plan.path + ": " + error);
    // Read back as Windows will read it, and compared with the medium, before it is put in place;
    // the hold on what was read back outlasts putting it in place, for what is said of it next.
    DiscImage image;
    const PartReader held = HeldStagedReader(staged, error);
    if (!held || !image.Open(held, size, oemCodePage, error))
        return fail("the image written cannot be read back: " + error + "; nothing was put in place");
    if (!ImageHoldsMedium(image, plan.items, error))
        return fail("the image written differs from the medium: " + error + "; nothing was put in place");
    bool exists = false, readOnlyKept = false;
    if (!PutInPlace(staged, true, exists, readOnlyKept, error)) {
        reason = plan.path + ": " + error;
        return false;
    }
    plan.size = size;
    plan.written = std::move(image);
    std::size_t files = 0;
    for (const ImageItem& item : plan.items)
        files += item.isFolder ? 0 : 1;
    said.clear();
    if (ImageVolumeLabel(label) != label)
        said += plan.path + ": its volume label is \"" + ImageVolumeLabel(label) + "\", as much of \"" + label +
                "\" as a Joliet label holds (16 characters); autorun.inf keeps the whole label\n";
    said += plan.path + ": written, " + std::to_string(files) + " files in " + std::to_string(size / (1024 * 1024)) +
           " MiB, read back as Windows reads it and compared with " + medium.Shown({}) + "\n";
    return true;
}
