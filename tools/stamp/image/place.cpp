// What every medium's place answers alike.
#include "image/place.h"

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

LinkEnd MediumPlace::End(const std::vector<std::string>& below) const
{
    LinkEnd end;
    end.there = end.inside = Kind(below) != EntryKind::Missing;
    if (end.inside)
        end.below = below;
    return end;
}

bool MediumPlace::Below(const std::string&, std::vector<std::string>& components) const
{
    components.clear();
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
