// A medium's two places: a folder on this system, and a disc image read as Windows reads it.
#include "medium/medium_place.h"

#include "base/code_pages.h"
#include "image/disc_image.h"
#include "image/image_findings.h"

namespace {

// A folder on this system, read through the system room.
class Folder : public MediumPlace {
public:
    explicit Folder(std::string root) : root_(std::move(root)) {}

    bool List(const std::vector<std::string>& below, std::vector<FolderEntry>& entries, std::string& error,
              FolderDetail detail) const override
    {
        return ListFolder(Path(OnDisk(below)), entries, error, detail);
    }
    bool Read(const std::vector<std::string>& below, std::uint64_t offset, std::size_t count, Bytes& bytes,
              std::string& error) const override
    {
        const std::vector<std::string> onDisk = OnDisk(below);
        return LinksStayInside(onDisk, error) && ReadFilePart(Path(onDisk), offset, count, bytes, error);
    }
    bool Size(const std::vector<std::string>& below, std::uint64_t& size, std::string& error) const override
    {
        return FileSize(Path(OnDisk(below)), size, error);
    }
    EntryKind Kind(const std::vector<std::string>& below) const override
    {
        std::string leadsTo;
        return KindOf(Path(OnDisk(below)), leadsTo);
    }
    bool BeingWritten(const std::vector<std::string>& below) const override
    {
        return !IsLeftover(Path(OnDisk(below)));
    }
    std::string Shown(const std::vector<std::string>& below) const override { return Path(below); }
    const PlaceFacts& Facts() const override { return facts_; }

private:
    // below with each name as it lies in the folder, matched as Windows matches names (the one
    // rule the image's lookup follows too): the name itself where it is there, else its first
    // letter-case twin in name order, else the name as given (which then names nothing).
    std::vector<std::string> OnDisk(const std::vector<std::string>& below) const
    {
        std::vector<std::string> onDisk;
        for (const std::string& name : below) {
            onDisk.push_back(name);
            std::string leadsTo, error;
            std::vector<FolderEntry> entries;
            if (KindOf(Path(onDisk), leadsTo) != EntryKind::Missing)
                continue;
            onDisk.pop_back();
            std::string twin;
            if (ListFolder(Path(onDisk), entries, error, FolderDetail::Kinds)) {
                for (const FolderEntry& entry : entries)
                    if (LetterCaseTwins(entry.name, name) && (twin.empty() || entry.name < twin))
                        twin = entry.name;
            }
            onDisk.push_back(twin.empty() ? name : twin);
        }
        return onDisk;
    }

    // Whether every link on the way to below leads to something inside the medium, which a disc
    // made of it holds; false with the reason for one that leads nowhere or out of it.
    bool LinksStayInside(const std::vector<std::string>& below, std::string& error) const
    {
        std::vector<std::string> way, inside;
        for (const std::string& name : below) {
            way.push_back(name);
            std::string leadsTo;
            if (KindOf(Path(way), leadsTo) != EntryKind::Link)
                continue;
            if (ResolvedPath(Path(way)).empty()) {
                error = "is a link to " + leadsTo + ", which is not there";
                return false;
            }
            if (!ComponentsBelow(root_.empty() ? "." : root_, Path(way), inside)) {
                error = "is a link to " + leadsTo + ", outside the medium";
                return false;
            }
        }
        return true;
    }

    std::string Path(const std::vector<std::string>& below) const
    {
        if (root_.empty() && below.empty())
            return ".";
        std::string path = root_;
        for (const std::string& name : below)
            path = path.empty() ? name : ChildPath(path, name);
        return path;
    }

    std::string root_;  // empty: the current folder, whose entries are named without it
    PlaceFacts facts_;
};

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

}  // namespace

bool MediumPlace::Size(const std::vector<std::string>& below, std::uint64_t& size, std::string& error) const
{
    size = 0;
    std::vector<FolderEntry> entries;
    if (below.empty() || !List({below.begin(), below.end() - 1}, entries, error))
        return false;
    // The name itself, else its twin, as Windows matches names.
    for (const bool twin : {false, true}) {
        for (const FolderEntry& entry : entries) {
            if (entry.isFile && (twin ? LetterCaseTwins(entry.name, below.back()) : entry.name == below.back())) {
                size = entry.size;
                return true;
            }
        }
    }
    error = "no file of that name";
    return false;
}

bool ReadStart(const MediumPlace& place, const std::vector<std::string>& below, std::size_t limit, Bytes& bytes,
               std::string& error)
{
    return place.Read(below, 0, limit, bytes, error);
}

ChangingRead ReadStartOfChanging(const MediumPlace& place, const std::vector<std::string>& below, std::size_t limit,
                                 Bytes& bytes, std::string& error)
{
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (ReadStart(place, below, limit, bytes, error))
            return ChangingRead::Read;
        if (place.Kind(below) == EntryKind::Missing)
            return ChangingRead::Removed;
    }
    return ChangingRead::Failed;
}

std::unique_ptr<MediumPlace> FolderPlace(const std::string& root)
{
    return std::make_unique<Folder>(root);
}

namespace {

// Whether path is a plain file, or a link to one, and so may hold a disc image.
bool MayHoldImage(const std::string& path)
{
    std::string leadsTo, further;
    const EntryKind kind = KindOf(path, leadsTo);
    return kind == EntryKind::File || (kind == EntryKind::Link && KindOf(leadsTo, further) == EntryKind::File);
}

}  // namespace

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
    if (ListFolder(path, entries, error)) {
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
    return ListFolder(path, entries, error) ? MediumKind::Folder : MediumKind::Nothing;
}

std::unique_ptr<MediumPlace> OpenMediumPlace(const std::string& path, unsigned ansiCodePage, std::string& error)
{
    OpenedMedium opened = OpenMedium(path, ansiCodePage);
    error = opened.reason;
    return std::move(opened.place);
}
