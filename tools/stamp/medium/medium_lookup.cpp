// Finding names on a medium as Windows finds them.
#include "medium/medium_lookup.h"

#include "base/windows_path.h"

#include <algorithm>

std::string Found::Disk() const
{
    std::string path;
    for (const std::string& name : below)
        path += (path.empty() ? "" : "\\") + name;
    return path;
}

const MediumFolders::Listed& MediumFolders::Read(const std::vector<std::string>& folder)
{
    auto listed = folders_.find(folder);
    if (listed == folders_.end()) {
        Listed read;
        if (place_.List(folder, read.sorted, read.error, FolderDetail::Kinds)) {
            std::sort(read.sorted.begin(), read.sorted.end(),
                      [](const FolderEntry& x, const FolderEntry& y) { return x.name < y.name; });
            for (const FolderEntry& entry : read.sorted)
                read.byName[FoldCase(entry.name)].push_back(entry);
        } else {
            read.sorted.clear();
            if (read.error.empty())
                read.error = "cannot be read";
        }
        listed = folders_.emplace(folder, std::move(read)).first;
    }
    return listed->second;
}

const MediumFolders::Listing& MediumFolders::Entries(const std::vector<std::string>& folder)
{
    return Read(folder).byName;
}

const std::vector<FolderEntry>* MediumFolders::Sorted(const std::vector<std::string>& folder, std::string& error)
{
    const Listed& listed = Read(folder);
    error = listed.error;
    return listed.error.empty() ? &listed.sorted : nullptr;
}

const std::vector<FolderEntry>& MediumFolders::Matches(const std::vector<std::string>& folder, const std::string& name)
{
    static const std::vector<FolderEntry> none;
    const Listing& listing = Entries(folder);
    const auto match = listing.find(FoldCase(name));
    return match == listing.end() ? none : match->second;
}

Found FindOnMedium(MediumFolders& folders, const std::vector<std::string>& components)
{
    Found found;
    found.isFolder = true;
    found.exists = true;
    for (std::size_t i = 0; i < components.size(); ++i) {
        static const std::vector<FolderEntry> none;
        const std::vector<FolderEntry>& matches = found.isFolder ? folders.Matches(found.below, components[i]) : none;
        if (matches.empty()) {
            found = Found();
            found.missingAt = i;
            return found;
        }
        const std::string parent = found.below.empty() ? "" : found.Disk() + "\\";
        const auto twin = std::find_if(matches.begin() + 1, matches.end(), [&matches](const FolderEntry& entry) {
            return LetterCaseTwins(matches[0].name, entry.name);
        });
        if (twin != matches.end() && found.twin.empty()) {
            found.twinOf = parent + matches[0].name;
            found.twin = parent + twin->name;
        }
        found.below.push_back(matches[0].name);
        found.isFolder = matches[0].isFolder;
    }
    return found;
}

bool FindFileOnMedium(MediumFolders& folders, const std::string& relative, Found& found)
{
    const std::vector<std::string> components = NormalisePath({}, relative);
    found = FindOnMedium(folders, components);
    return !components.empty() && found.exists && !found.isFolder;
}

std::string LetterCaseTwin(const MediumPlace& place, const std::vector<std::string>& folder, const std::string& name)
{
    std::vector<FolderEntry> entries;
    std::string error;
    if (!place.List(folder, entries, error, FolderDetail::Kinds))
        return "";
    for (const FolderEntry& entry : entries) {
        if (LetterCaseTwins(entry.name, name))
            return entry.name;
    }
    return "";
}
