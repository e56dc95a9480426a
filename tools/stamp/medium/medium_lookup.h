// Finding names on a medium as Windows finds them: each folder of its place listed once in a
// run, names matched without regard to letter case, the first in name order taken.
#pragma once

#include "medium/medium_place.h"

#include <map>
#include <string>
#include <vector>

// The folders of a medium as one check run reads them: each folder is listed at most once,
// from its directory entries, and its names are indexed as Windows compares them. A folder
// that changes meanwhile is seen as it was when first listed.
class MediumFolders {
public:
    explicit MediumFolders(const MediumPlace& place) : place_(place) {}

    const MediumPlace& place() const { return place_; }

    // The entries of the folder at folder (its components below the root, as named on the
    // medium) whose names Windows takes for name (letter case ignored), in order of their
    // names; empty when there is none or the folder cannot be read.
    const std::vector<FolderEntry>& Matches(const std::vector<std::string>& folder, const std::string& name);

    // The entries of that folder, by the names Windows takes them for (letter case folded);
    // empty when it cannot be read.
    using Listing = std::map<std::string, std::vector<FolderEntry>>;
    const Listing& Entries(const std::vector<std::string>& folder);

    // The same folder's entries in order of their names, or null with the reason when it cannot
    // be read.
    const std::vector<FolderEntry>* Sorted(const std::vector<std::string>& folder, std::string& error);

private:
    struct Listed {
        std::vector<FolderEntry> sorted;
        Listing byName;
        std::string error;  // why it could not be read, or empty
    };
    const Listed& Read(const std::vector<std::string>& folder);

    const MediumPlace& place_;
    std::map<std::vector<std::string>, Listed> folders_;  // each folder's listing
};

// A path below a medium's root, looked up as Windows looks it up.
struct Found {
    bool exists = false;
    bool isFolder = false;
    std::vector<std::string> below;  // its components, each named as on the medium
    std::size_t missingAt = 0;       // when not found: the first component that is not there
    std::string twinOf;              // when a component matched two names: the one taken, as Disk() names it
    std::string twin;                // and the other one

    // Its components joined by backslashes, as Windows shows the path below the drive's root.
    std::string Disk() const;
};

// Looks components (normalised, see NormalisePath) up below the root one by one, as Windows
// would: letter case ignored. Every component but the last must be a folder. Of names that
// differ only in letter case the first in name order is taken, and the other named in twin.
Found FindOnMedium(MediumFolders& folders, const std::vector<std::string>& components);

// Whether relative (a path below the medium's root, with backslashes or slashes) names a file
// on the medium, matched as Windows matches names; found gets it.
bool FindFileOnMedium(MediumFolders& folders, const std::string& relative, Found& found);

// The name of another entry in the folder at folder (below the root) that differs from name
// only in letter case, which a medium made on a case-sensitive system may hold: Windows sees
// one of the two. Empty when there is none.
std::string LetterCaseTwin(const MediumPlace& place, const std::vector<std::string>& folder, const std::string& name);
