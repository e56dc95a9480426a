// Files written at a medium's root, all or nothing.
#include "medium/root_files.h"

#include "medium/launch_check.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace {

// Whether path lies inside folder (both absolute, as the system resolves them).
bool Inside(const fs::path& path, const fs::path& folder)
{
    const fs::path relative = path.lexically_normal().lexically_relative(folder.lexically_normal());
    return !relative.empty() && *relative.begin() != ".." && relative != ".";
}

// Whether a planned plain file still holds what was read when it was planned.
bool StillAsRead(const PlannedFile& planned, std::string& error)
{
    Bytes now;
    if (planned.kind != EntryKind::File || planned.current.empty())
        return true;
    if (ReadFileStart(planned.path, planned.current.size() + 1, now, error) && now == planned.current)
        return true;
    error = "it changed after it was read (another run at the same time?)";
    return false;
}

// Gives a file that was put in place back what was there before: removes a new one, restores a replaced
// plain file's bytes. False with the reason when it cannot.
bool Undo(const PlannedFile& planned, std::string& error)
{
    if (planned.kind == EntryKind::Missing)
        return RemoveFile(planned.path, error);
    if (planned.kind == EntryKind::File && !planned.current.empty())
        return ReplaceFileAtomically(planned.path, planned.current, error);
    error = "what was there before was not kept";
    return false;
}

}  // namespace

bool WriteAllOrNothing(const std::vector<PlannedFile*>& files, std::string& out, std::string& err)
{
    std::vector<StagedFile> staged(files.size());
    std::string failure;
    std::size_t failed = files.size();
    for (std::size_t i = 0; i < files.size() && failed == files.size(); ++i) {
        if (!files[i]->unchanged && !StageFile(files[i]->path, files[i]->bytes, staged[i], failure))
            failed = i;
    }
    std::vector<std::size_t> placed;
    for (std::size_t i = 0; i < files.size() && failed == files.size(); ++i) {
        bool exists = false;
        if (files[i]->unchanged)
            continue;
        if (!StillAsRead(*files[i], failure) ||
            !PutInPlace(staged[i], files[i]->kind != EntryKind::Missing, exists, files[i]->readOnlyKept, failure))
            failed = i;
        else
            placed.push_back(i);
    }
    for (StagedFile& file : staged)
        DiscardStaged(file);
    if (failed == files.size()) {
        for (const PlannedFile* planned : files) {
            out += planned->path + (planned->unchanged ? ": unchanged\n" : ": written (" + planned->what + ")\n");
            if (!planned->unchanged && !planned->note.empty())
                err += "launcher-stamp: " + planned->path + ": " + planned->note + "\n";
            if (planned->readOnlyKept)
                err += "launcher-stamp: " + planned->path + ": it was read-only: replaced, and read-only again\n";
        }
        return true;
    }
    err += "launcher-stamp: " + files[failed]->path + ": " + failure + "\n";
    std::string undone, left;
    for (const std::size_t i : placed) {
        std::string reason;
        (Undo(*files[i], reason) ? undone : left) += " " + files[i]->path + (reason.empty() ? "" : " (" + reason + ")");
    }
    if (left.empty())
        err += "launcher-stamp: nothing was changed" + (undone.empty() ? std::string() : " (undone:" + undone + ")") + "\n";
    else
        err += "launcher-stamp: the medium is half-made: written and not undone:" + left + "\n";
    return false;
}

bool PlanRootFile(const std::string& root, const std::string& programPath, const std::string& name,
                  const std::string& what, Bytes bytes, bool force, PlannedFile& planned, std::string& error)
{
    planned.what = what;
    planned.bytes = std::move(bytes);
    std::string disk, leadsTo;
    planned.path = ChildPath(root, FindFileOnMedium(root, name, disk) ? disk : name);
    planned.kind = KindOf(planned.path, leadsTo);
    std::error_code ignored;
    switch (planned.kind) {
    case EntryKind::Missing:
    case EntryKind::File:
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
    const fs::path target = fs::u8path(leadsTo);
    const std::string link = planned.path + " is a link to " + (leadsTo.empty() ? "nowhere" : leadsTo);
    if (!leadsTo.empty() && fs::equivalent(target, fs::u8path(programPath), ignored))
        error = link + ", the program itself: it is never replaced";
    else if (leadsTo.empty() || !Inside(target, fs::weakly_canonical(fs::u8path(root), ignored)))
        error = link + ", outside " + root + ": it is never replaced";
    else if (!force)
        error = link + " (--force replaces the link itself, never what it leads to)";
    else
        return true;
    return false;
}
