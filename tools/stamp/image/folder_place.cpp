// A medium's folder on this system as its place, read through the system room.
#include "image/place.h"

#include <filesystem>

namespace {

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
    LinkEnd End(const std::vector<std::string>& below) const override
    {
        LinkEnd end;
        const std::string path = Path(OnDisk(below));
        if (KindOf(path, end.leadsTo) == EntryKind::Missing)
            return end;
        end.there = !ResolvedPath(path).empty();
        end.inside = end.there ? Below(path, end.below) : LeadsInside(end.leadsTo);
        return end;
    }
    bool Below(const std::string& path, std::vector<std::string>& components) const override
    {
        return ComponentsBelow(root_.empty() ? "." : root_, path, components);
    }
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
            if (!Below(Path(way), inside)) {
                error = "is a link to " + leadsTo + ", outside the medium";
                return false;
            }
        }
        return true;
    }

    // Whether leadsTo, a link's absolute target that is not there, names a place inside the folder.
    bool LeadsInside(const std::string& leadsTo) const
    {
        std::error_code ignored;
        const std::filesystem::path folder =
            std::filesystem::weakly_canonical(std::filesystem::u8path(root_.empty() ? "." : root_), ignored);
        const std::filesystem::path relative =
            std::filesystem::u8path(leadsTo).lexically_normal().lexically_relative(folder.lexically_normal());
        return !leadsTo.empty() && !relative.empty() && *relative.begin() != ".." && relative != ".";
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

}  // namespace

std::unique_ptr<MediumPlace> FolderPlace(const std::string& root)
{
    return std::make_unique<Folder>(root);
}
