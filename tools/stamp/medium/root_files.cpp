// Files written at a medium's root, all or nothing.
#include "medium/root_files.h"

#include "medium/medium_lookup.h"

namespace {

// Keeps a copy of the plain file a planned file replaces, and checks that the file is still
// what was judged: its size, and its bytes as far as they were read.
bool KeepWhatIsReplaced(const PlannedFile& planned, StagedFile& kept, std::string& error)
{
    std::uint64_t size = 0;
    Bytes start;
    if (!StageCopy(planned.path, kept, size, error)) {
        error = "what is there cannot be kept until the medium is made: " + error;
        return false;
    }
    if (size != planned.currentSize || !ReadStaged(kept, 0, planned.current.size(), start) || start != planned.current) {
        DiscardStaged(kept);
        error = "it changed after it was read (another run at the same time?)";
        return false;
    }
    return true;
}

// Gives a file that was put in place back what was there before: removes a new one, puts a
// replaced plain file's kept copy back. False with the reason when it cannot.
bool Undo(const PlannedFile& planned, StagedFile& kept, std::string& error)
{
    if (planned.kind == EntryKind::Missing)
        return RemoveFile(planned.path, error);
    bool exists = false, readOnly = false;
    if (planned.kind == EntryKind::File && kept.handle >= 0)
        return PutInPlace(kept, true, exists, readOnly, error);
    error = "what was there before was not kept";
    return false;
}

// The name of the entry at the medium's root that name names as Windows matches names, when it
// is no plain file (a folder, a link): name itself when it is there, else the first in name order
// of the names that differ from it only in letter case, else name.
std::string TwinAtRoot(const MediumPlace& medium, const std::string& name)
{
    std::vector<FolderEntry> entries;
    std::string error, twin;
    if (!medium.List({}, entries, error, FolderDetail::Kinds))
        return name;
    for (const FolderEntry& entry : entries) {
        if (entry.name == name)
            return name;
        if (LetterCaseTwins(entry.name, name) && (twin.empty() || entry.name < twin))
            twin = entry.name;
    }
    return twin.empty() ? name : twin;
}

}  // namespace

const char* FileFateName(FileFate fate)
{
    switch (fate) {
    case FileFate::NotWritten: return "not-written";
    case FileFate::Unchanged: return "unchanged";
    case FileFate::Written: return "written";
    case FileFate::Restored: return "restored";
    case FileFate::NotRestored: return "not-restored";
    }
    return "not-written";
}

bool WriteAllOrNothing(const std::vector<PlannedFile*>& files, std::string& out, std::string& err, std::string* reason)
{
    std::vector<StagedFile> staged(files.size()), kept(files.size());
    std::string failure;
    // A file written in a reproducible build bears its date, not the time of writing.
    std::int64_t date = 0;
    const bool dated = SourceDateEpoch(date) == SourceDate::Set;
    std::size_t failed = files.size();
    for (std::size_t i = 0; i < files.size() && failed == files.size(); ++i) {
        PlannedFile& planned = *files[i];
        planned.fate = planned.unchanged ? FileFate::Unchanged : FileFate::NotWritten;
        if (!planned.unchanged && !StageFile(planned.path, planned.bytes, staged[i], failure))
            failed = i;
        else if (!planned.unchanged && dated && !DateStaged(staged[i], date, failure))
            failed = i;
    }
    std::vector<std::size_t> placed;
    for (std::size_t i = 0; i < files.size() && failed == files.size(); ++i) {
        PlannedFile& planned = *files[i];
        bool exists = false;
        if (planned.unchanged)
            continue;
        if ((planned.kind == EntryKind::File && !KeepWhatIsReplaced(planned, kept[i], failure)) ||
            !PutInPlace(staged[i], planned.kind != EntryKind::Missing, exists, planned.readOnlyKept, failure)) {
            failed = i;
        } else {
            placed.push_back(i);
            planned.fate = FileFate::Written;
        }
    }
    for (StagedFile& file : staged)
        DiscardStaged(file);
    if (failed == files.size()) {
        for (StagedFile& copy : kept)
            DiscardStaged(copy);
        for (const PlannedFile* planned : files) {
            out += planned->path + (planned->unchanged ? ": unchanged\n" : ": written (" + planned->what + ")\n");
            if (!planned->unchanged && !planned->note.empty())
                err += "launcher-stamp: " + planned->path + ": " + planned->note + "\n";
            if (planned->readOnlyKept)
                err += "launcher-stamp: " + planned->path + ": it was read-only: replaced, and read-only again\n";
        }
        return true;
    }
    if (reason != nullptr)
        *reason = files[failed]->path + ": " + failure;
    err += "launcher-stamp: " + files[failed]->path + ": " + failure + "\n";
    std::string undone, left;
    for (const std::size_t i : placed) {
        std::string why;
        const bool restored = Undo(*files[i], kept[i], why);
        files[i]->fate = restored ? FileFate::Restored : FileFate::NotRestored;
        (restored ? undone : left) += " " + files[i]->path + (why.empty() ? "" : " (" + why + ")");
    }
    for (StagedFile& copy : kept)
        DiscardStaged(copy);
    if (left.empty())
        err += "launcher-stamp: nothing was changed" + (undone.empty() ? std::string() : " (undone:" + undone + ")") + "\n";
    else
        err += "launcher-stamp: the medium is half-made: written and not undone:" + left + "\n";
    return false;
}

bool PlanRootFile(const MediumPlace& medium, const std::vector<std::string>& program, const std::string& name,
                  const std::string& what, Bytes bytes, bool force, PlannedFile& planned, std::string& error,
                  bool* linkNeedsForce)
{
    planned.what = what;
    planned.bytes = std::move(bytes);
    MediumFolders folders(medium);
    Found found;
    planned.name = FindFileOnMedium(folders, name, found) ? found.Disk() : TwinAtRoot(medium, name);
    planned.path = medium.Shown({planned.name});
    planned.kind = medium.Kind({planned.name});
    std::string ignored;
    switch (planned.kind) {
    case EntryKind::Missing:
        return true;
    case EntryKind::File:
        medium.Size({planned.name}, planned.currentSize, ignored);
        return true;
    case EntryKind::Folder:
        error = planned.path + " is a folder";
        return false;
    case EntryKind::Other:
        error = planned.path + " is not a plain file (a FIFO, device or socket)";
        return false;
    case EntryKind::Link:
        break;
    }
    const LinkEnd end = medium.End({planned.name});
    const std::string link = planned.path + " is a link to " + (end.leadsTo.empty() ? "nowhere" : end.leadsTo);
    if (end.inside && end.below == medium.End(program).below)
        error = link + ", the program itself: it is never replaced";
    else if (!end.inside)
        error = link + ", outside " + medium.Shown({}) + ": it is never replaced";
    else if (!force)
        error = link;
    else
        return true;
    if (linkNeedsForce != nullptr)
        *linkNeedsForce = !force && error == link;
    return false;
}
