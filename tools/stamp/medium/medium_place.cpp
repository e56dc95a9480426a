// Which place a path names, and a disc image read as Windows reads it as a medium's place.
#include "medium/medium_place.h"

#include "base/code_pages.h"
#include "image/disc_image.h"
#include "image/image_findings.h"

namespace {

// A disc image, its files and folders read where they lie in it.
class Image : public MediumPlace {
public:
    Image(std::string path, DiscImage image, PlaceFacts facts)
        : path_(std::move(path)), image_(std::move(image)), facts_(std::move(facts))
    {
    }

    bool List(const std::vector<std::string>& below, std::vector<FolderEntry>& entries, std::string& error,
              FolderDetail) const override
    {
        return image_.List(below, entries, error);
    }
    bool Read(const std::vector<std::string>& below, std::uint64_t offset, std::size_t count, Bytes& bytes,
              std::string& error) const override
    {
        return image_.Read(below, offset, count, bytes, error);
    }
    bool Size(const std::vector<std::string>& below, std::uint64_t& size, std::string& error) const override
    {
        ImageEntry file;
        size = 0;
        if (!image_.Find(below, file, error)) {
            error = "cannot read it from the image: " + error;
            return false;
        }
        if (file.isFolder) {
            error = "a folder, not a file";
            return false;
        }
        size = file.size;
        return true;
    }
    EntryKind Kind(const std::vector<std::string>& below) const override { return image_.Kind(below); }
    bool BeingWritten(const std::vector<std::string>&) const override { return false; }
    std::string Shown(const std::vector<std::string>& below) const override
    {
        std::string path = path_;
        for (const std::string& name : below)
            path = ChildPath(path, name);
        return path;
    }
    const PlaceFacts& Facts() const override { return facts_; }

private:
    std::string path_;
    DiscImage image_;
    PlaceFacts facts_;
};

// A finding's sentence with the tools that make the image again as it advises.
std::string FindingWithTools(const ImageFinding& finding)
{
    const char* tools = finding.advice == RemakeAdvice::WithJoliet           ? "genisoimage -J, or xorriso -joliet on"
                        : finding.advice == RemakeAdvice::WithMatchingJoliet ? "genisoimage -J -joliet-long"
                                                                             : nullptr;
    if (tools == nullptr || finding.text.empty() || finding.text.back() != '.')
        return finding.text;
    return finding.text.substr(0, finding.text.size() - 1) + " (" + tools + ").";
}

// The image at path, its facts said; null with the reason when it cannot be read.
std::unique_ptr<MediumPlace> OpenImage(const std::string& path, const ImageReader& read, std::uint64_t size,
                                       unsigned ansiCodePage, std::string& error)
{
    DiscImage image;
    if (!image.Open(read, size, OemCodePageFor(ansiCodePage), error))
        return nullptr;
    return ImagePlace(path, std::move(image), size, error);
}

// Whether path is a plain file, or a link to one, and so may hold a disc image.
bool MayHoldImage(const std::string& path)
{
    std::string leadsTo, further;
    const EntryKind kind = KindOf(path, leadsTo);
    return kind == EntryKind::File || (kind == EntryKind::Link && KindOf(leadsTo, further) == EntryKind::File);
}

}  // namespace

std::unique_ptr<MediumPlace> ImagePlace(const std::string& path, DiscImage image, std::uint64_t size,
                                        std::string& error)
{
    PlaceFacts facts;
    facts.image = true;
    facts.tree = image.readsUdf() ? "UDF" : image.hasJoliet() ? "Joliet" : "primary ISO 9660";
    facts.label = image.volumeLabel();
    facts.imageSize = size;
    std::vector<FolderEntry> entries;
    if (image.hasUdf() && !image.readsUdf()) {
        facts.notCheckable = "It holds a UDF file system, which current Windows reads instead of its ISO 9660 "
                             "tree, and " + image.udfProblem() + ".";
    } else if (!image.List({}, entries, error)) {
        return nullptr;
    } else {
        for (const ImageFinding& finding : DiscImageFindings(image, facts.notes))
            facts.findings.push_back(FindingWithTools(finding));
    }
    // Folders that overlap or repeat beyond the bound on work: nothing on it can be trusted.
    if (!image.overworked().empty()) {
        error = image.overworked();
        return nullptr;
    }
    return std::make_unique<Image>(path, std::move(image), std::move(facts));
}

OpenedMedium OpenMedium(const std::string& path, unsigned ansiCodePage)
{
    OpenedMedium opened;
    std::vector<FolderEntry> entries;
    // An image reached through a link is read as the image.
    if (MayHoldImage(path)) {
        std::uint64_t size = 0;
        const ImageReader read = ImageFileReader(path, size);
        if (!LooksLikeDiscImage(read))
            return opened;
        opened.kind = MediumKind::Image;
        opened.place = OpenImage(path, read, size, ansiCodePage, opened.reason);
        return opened;
    }
    std::string error;
    // Whether it can be listed: the entries' own kinds are all that is asked of them here.
    if (ListFolder(path, entries, error, FolderDetail::Kinds)) {
        opened.kind = MediumKind::Folder;
        opened.place = FolderPlace(path);
    }
    return opened;
}

MediumKind MediumKindAt(const std::string& path)
{
    if (MayHoldImage(path)) {
        std::uint64_t size = 0;
        return LooksLikeDiscImage(ImageFileReader(path, size)) ? MediumKind::Image : MediumKind::Nothing;
    }
    std::vector<FolderEntry> entries;
    std::string error;
    return ListFolder(path, entries, error, FolderDetail::Kinds) ? MediumKind::Folder : MediumKind::Nothing;
}

std::unique_ptr<MediumPlace> OpenMediumPlace(const std::string& path, unsigned ansiCodePage, std::string& error)
{
    OpenedMedium opened = OpenMedium(path, ansiCodePage);
    error = opened.reason;
    return std::move(opened.place);
}
