// Where a medium lies, behind one face: a folder on this system, or a disc image read as
// Windows reads it. Whatever reads a medium (the lookup, the program checks, the prediction,
// autorun.inf, the image writer) asks the place it is handed, with paths as the components below
// the medium's root, and never learns which of the two it is. Both match the names in a path
// as Windows does, without regard to letter case. medium/medium_place.h decides which a path is.
#pragma once

#include "system/system.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// What a place says of the medium before what lies on it: whether it is a disc image, the tree
// Windows reads and what differs from what its author saw. A folder says nothing.
struct PlaceFacts {
    bool image = false;                 // a disc image, read as Windows reads it; false: a folder
    std::string tree;                   // "UDF", "Joliet" or "primary ISO 9660"; empty for a folder
    std::string label;                  // the volume label Windows shows
    std::string notCheckable;           // why nothing on it can be checked (a tree this tool cannot read), or empty
    std::vector<std::string> findings;  // sentences (with the tools that mend them); they make the medium not ok
    std::vector<std::string> notes;     // they do not
    std::uint64_t imageSize = 0;        // a disc image's size in bytes
};

// Where an entry of a medium ends, its links followed.
struct LinkEnd {
    std::string leadsTo;             // what the entry leads to as the system resolves it, when it is a link; else empty
    bool there = false;              // it ends at something that is there
    bool inside = false;             // where it ends lies inside the medium (there or not)
    std::vector<std::string> below;  // that entry's components below the medium's root, when there and inside
};

class MediumPlace {
public:
    virtual ~MediumPlace() = default;

    // The entries of the folder at below (none: the root), "." and ".." left out, in no
    // particular order, each with its kind (links followed) and, with FolderDetail::Sizes, a
    // file's size. False with the reason when it cannot be read.
    virtual bool List(const std::vector<std::string>& below, std::vector<FolderEntry>& entries, std::string& error,
                      FolderDetail detail = FolderDetail::Sizes) const = 0;

    // Reads up to count bytes at offset of the file at below (fewer at its end). Anything that is
    // not a plain file is refused at once, never waited on. Never allocates more than count bytes.
    virtual bool Read(const std::vector<std::string>& below, std::uint64_t offset, std::size_t count, Bytes& bytes,
                      std::string& error) const = 0;

    // The size of the plain file at below, from the file itself where the place can (a folder's
    // and an image's places do; the face's own answer lists the file's folder). False with the
    // reason when it is no file or cannot be read.
    virtual bool Size(const std::vector<std::string>& below, std::uint64_t& size, std::string& error) const;

    // What the entry at below is: a link itself, not what it leads to.
    virtual EntryKind Kind(const std::vector<std::string>& below) const = 0;

    // Whether a running process is writing the temporary file of ours at below right now (else
    // it was left behind by a run that ended).
    virtual bool BeingWritten(const std::vector<std::string>& below) const = 0;

    // The entry at below as messages name it: its path on this system, or in the image file.
    virtual std::string Shown(const std::vector<std::string>& below) const = 0;

    // Where the entry at below ends, its links followed (LinkEnd). A place without links says the
    // entry is where it is, when it is there.
    virtual LinkEnd End(const std::vector<std::string>& below) const;

    // The components below the medium's root of path, a path on this system, as the system
    // resolves both: none for the root itself. False when path lies outside the medium or names
    // nothing, and always for a place that is not a folder on this system.
    virtual bool Below(const std::string& path, std::vector<std::string>& components) const;

    // What the place says of itself.
    virtual const PlaceFacts& Facts() const = 0;
};

// Reads the first limit bytes of the file at below, or all of a shorter one.
bool ReadStart(const MediumPlace& place, const std::vector<std::string>& below, std::size_t limit, Bytes& bytes,
               std::string& error);

// How reading a file that another program may remove or write again meanwhile went.
enum class ChangingRead { Read, Removed, Failed };

// ReadStart for a file another program may change while the medium is read. A read that fails
// while the file is there again afterwards (removed, then written again) is tried anew, a few
// times at most: Removed when the file is gone, Failed with the reason when it cannot be read.
ChangingRead ReadStartOfChanging(const MediumPlace& place, const std::vector<std::string>& below, std::size_t limit,
                                 Bytes& bytes, std::string& error);

// The folder at root on this system as a medium's place (empty: the current folder, its entries
// named as they are). It reads the folder afresh at each question.
std::unique_ptr<MediumPlace> FolderPlace(const std::string& root);
