// What Windows reads from a disc image otherwise than its author saw it: each tree walked once,
// names compared as Windows compares them.
#include "image/image_findings.h"

#include "image/image_fields.h"

#include <algorithm>
#include <functional>
#include <map>
#include <optional>
#include <set>

namespace {

// Every folder of one tree, breadth first, to a limit: visit gets each folder's path (its names
// joined by backslashes) and entries, or the reason it cannot be read.
void Walk(const std::function<bool(const std::vector<std::string>&, std::vector<ImageEntry>&, std::string&)>& entriesOf,
          std::size_t limit,
          const std::function<void(const std::string&, const std::vector<ImageEntry>*, const std::string&)>& visit)
{
    std::vector<std::vector<std::string>> folders{{}};
    std::set<std::uint64_t> listed;  // a folder recorded twice, or inside itself, is walked once
    for (std::size_t i = 0; i < folders.size() && i < limit; ++i) {
        std::string shown;
        for (const std::string& part : folders[i])
            shown += "\\" + part;
        std::vector<ImageEntry> entries;
        std::string error;
        if (!entriesOf(folders[i], entries, error)) {
            visit(shown, nullptr, error);
            continue;
        }
        for (const ImageEntry& entry : entries) {
            // A folder recorded with no data holds nothing to walk.
            if (entry.isFolder && !entry.extents.empty() && listed.insert(entry.extents[0].first).second) {
                folders.push_back(folders[i]);
                folders.back().push_back(entry.name);
            }
        }
        visit(shown, &entries, "");
    }
}

// The files the ISO 9660 tree, which other systems read, and the UDF tree Windows reads
// (windowsFiles: each file with data by its first block) do not share, as one finding; nothing
// when both hold the same files. A file is the same in both when its data are.
std::optional<ImageFinding> TreesDiffer(const DiscImage& image, const std::map<std::uint64_t, std::string>& windowsFiles,
                                        std::size_t limit)
{
    std::size_t onlyIso = 0;
    std::string firstOnlyIso;
    std::set<std::uint64_t> isoFiles;
    Walk([&image](const auto& below, auto& entries, auto& error) { return image.Iso9660Entries(below, entries, error); },
         limit, [&](const std::string& shown, const std::vector<ImageEntry>* entries, const std::string&) {
             for (std::size_t i = 0; entries != nullptr && i < entries->size(); ++i) {
                 const ImageEntry& entry = (*entries)[i];
                 if (entry.isFolder || entry.size == 0 || entry.extents.empty())
                     continue;
                 isoFiles.insert(entry.extents[0].first);
                 if (!windowsFiles.count(entry.extents[0].first) && onlyIso++ == 0)
                     firstOnlyIso = shown + "\\" + entry.name;
             }
         });
    std::size_t onlyUdf = 0;
    std::string firstOnlyUdf;
    for (const auto& [offset, path] : windowsFiles) {
        if (!isoFiles.count(offset) && onlyUdf++ == 0)
            firstOnlyUdf = path;
    }
    if (onlyIso + onlyUdf > 0)
        return ImageFinding{"Windows reads the image's UDF tree, and other systems its ISO 9660 tree, which differ: " +
                           (onlyUdf > 0 ? std::to_string(onlyUdf) + " files only in UDF, such as " + firstOnlyUdf : "") +
                           (onlyUdf > 0 && onlyIso > 0 ? "; " : "") +
                           (onlyIso > 0 ? std::to_string(onlyIso) + " files only in ISO 9660, such as " + firstOnlyIso
                                        : "") +
                           ". What to do: make both trees of the same folder."};
    return std::nullopt;
}

// The Rock Ridge names of the primary tree that differ, other than in letter case, from the
// names Windows reads for the same data (windowsNames), as one finding; nothing when none do.
std::optional<ImageFinding> RockRidgeDiffers(const DiscImage& image,
                                             const std::map<std::uint64_t, std::string>& windowsNames, std::size_t limit)
{
    // Rock Ridge names, from the primary tree, against the names Windows reads for the same data.
    std::size_t rockRidgeDiffers = 0;
    std::string firstRockRidge;
    Walk([&image](const auto& below, auto& entries, auto& error) { return image.PrimaryEntries(below, entries, error); },
         limit, [&](const std::string& shown, const std::vector<ImageEntry>* entries, const std::string&) {
             for (std::size_t i = 0; entries != nullptr && i < entries->size(); ++i) {
                 const ImageEntry& entry = (*entries)[i];
                 if (entry.extents.empty())
                     continue;
                 const auto windows = windowsNames.find(entry.extents[0].first);
                 if (entry.rockRidgeName.empty() || (!entry.isFolder && entry.size == 0) || windows == windowsNames.end())
                     continue;
                 const std::string read = windows->second.substr(windows->second.rfind('\\') + 1);
                 // Windows matches names without regard to letter case: only other differences count.
                 if (FoldCase(read) != FoldCase(entry.rockRidgeName) && rockRidgeDiffers++ == 0)
                     firstRockRidge = shown + "\\" + entry.rockRidgeName + ", which Windows reads as " + windows->second;
             }
         });
    if (rockRidgeDiffers > 0)
        return ImageFinding{"Linux shows the image's Rock Ridge names, which Windows never reads: " +
                           std::to_string(rockRidgeDiffers) + (rockRidgeDiffers == 1 ? " differs" : " differ") +
                           " from the names Windows reads, such as " + firstRockRidge +
                           ". What to do: make it with Joliet names that match.",
                           RemakeAdvice::WithMatchingJoliet};
    return std::nullopt;
}

// What walking the tree Windows reads finds: the findings as they come, and what is counted
// for the findings said once the walk is done.
struct WindowsTreeSeen {
    std::vector<ImageFinding> findings;
    std::map<std::uint64_t, std::string> names;  // first block -> the path Windows reads
    std::map<std::uint64_t, std::string> files;  // the same, of files with data
    std::size_t longNames = 0, cutShort = 0;
    std::string firstLong, firstCut;
};

// Where entry's data end, past the image's end, as said after its path; empty when they do not.
// Such a file is one of an image cut short, as a stopped download leaves it.
std::string DataPastEnd(const DiscImage& image, const ImageEntry& entry)
{
    const auto past = std::find_if(entry.extents.begin(), entry.extents.end(), [&image](const auto& e) {
        return e.first != NoData && e.second > 0 &&
               (e.first > image.imageSize() || e.second > image.imageSize() - e.first);
    });
    if (past == entry.extents.end())
        return {};
    return " (its data end at byte " + std::to_string(past->first + past->second) + ", the image at " +
           std::to_string(image.imageSize()) + ")";
}

// Looks at the entries of one folder of the tree Windows reads (shown: its path) into seen.
void LookAtWindowsFolder(const DiscImage& image, const std::string& shown, const std::vector<ImageEntry>& entries,
                         WindowsTreeSeen& seen)
{
    std::map<std::string, std::string> folded;  // folded -> the first name
    std::set<std::string> named;
    for (const ImageEntry& entry : entries) {
        const std::string path = shown + "\\" + entry.name;
        const auto first = folded.emplace(FoldCase(entry.name), entry.name).first;
        if (LetterCaseTwins(first->second, entry.name) && named.insert(first->first).second)
            seen.findings.push_back({"In " + (shown.empty() ? "\\" : shown) + " " + first->second + " and " +
                                     entry.name + " differ only in letter case: Windows finds only " +
                                     first->second + ", the first. What to do: rename one."});
        if (image.hasJoliet() && !image.readsUdf() && CharacterCount(entry.name) > 64 && seen.longNames++ == 0)
            seen.firstLong = path;
        if ((entry.isFolder || entry.size > 0) && !entry.extents.empty())
            seen.names.emplace(entry.extents[0].first, path);
        if (!entry.isFolder && entry.size > 0 && !entry.extents.empty())
            seen.files.emplace(entry.extents[0].first, path);
        if (entry.isFolder)
            continue;
        if (const std::string past = DataPastEnd(image, entry); !past.empty() && seen.cutShort++ == 0)
            seen.firstCut = path + past;
    }
}

// The finding of the files that lie past the image's end (seen.cutShort of them).
ImageFinding CutShortFinding(const WindowsTreeSeen& seen)
{
    return {std::to_string(seen.cutShort) + (seen.cutShort == 1 ? " file lies" : " files lie") +
            " past the image's end, such as " + seen.firstCut + ": the image is cut short, as a stopped "
            "download or copy leaves it, or damaged, and Windows cannot read them. What to do: "
            "download or copy the image again."};
}

}  // namespace

std::vector<ImageFinding> DiscImageFindings(const DiscImage& image, std::vector<std::string>& notes, std::size_t limit)
{
    WindowsTreeSeen seen;
    if (!image.hasJoliet() && !image.readsUdf())
        seen.findings.push_back({"The image has no Joliet tree, so Windows reads its primary ISO 9660 names: short, "
                                 "upper case, 8.3 at level 1. What to do: make it with Joliet names.",
                                 RemakeAdvice::WithJoliet});
    // The tree Windows reads: names that differ only in letter case, long Joliet names.
    Walk([&image](const auto& below, auto& entries, auto& error) { return image.Entries(below, entries, error); }, limit,
         [&](const std::string& shown, const std::vector<ImageEntry>* entries, const std::string& error) {
             if (entries == nullptr)
                 seen.findings.push_back({"Windows cannot read the folder " + (shown.empty() ? "\\" : shown) +
                                          " of the image: " + error + "."});
             else
                 LookAtWindowsFolder(image, shown, *entries, seen);
         });
    if (seen.cutShort > 0)
        seen.findings.push_back(CutShortFinding(seen));
    // An image with UDF: its ISO 9660 tree, which other systems read, against the UDF tree.
    if (image.readsUdf()) {
        if (std::optional<ImageFinding> differ = TreesDiffer(image, seen.files, limit))
            seen.findings.push_back(std::move(*differ));
        return std::move(seen.findings);
    }
    if (std::optional<ImageFinding> differ = RockRidgeDiffers(image, seen.names, limit))
        seen.findings.push_back(std::move(*differ));
    if (seen.longNames > 0)
        notes.push_back(std::to_string(seen.longNames) + (seen.longNames == 1 ? " Joliet name is" : " Joliet names are") +
                        " longer than 64 characters, such as " + seen.firstLong +
                        ": current Windows reads them, but some other readers cut them, extension and all.");
    return std::move(seen.findings);
}
