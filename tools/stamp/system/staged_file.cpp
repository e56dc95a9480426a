// Writing a file whole or not at all, from a staged file put in place, and clearing away the
// staged files an interrupted run left: the same on every system.
#include "system/system.h"

bool StageFile(const std::string& path, const Bytes& bytes, StagedFile& staged, std::string& error)
{
    if (!BeginStaged(path, staged, error))
        return false;
    if (!AppendStaged(staged, bytes.data(), bytes.size(), error) || !FinishStaged(staged, error)) {
        DiscardStaged(staged);
        return false;
    }
    return true;
}

bool ReplaceFileAtomically(const std::string& path, const Bytes& bytes, bool& readOnlyKept, std::string& error)
{
    StagedFile staged;
    bool exists = false;
    return StageFile(path, bytes, staged, error) && PutInPlace(staged, true, exists, readOnlyKept, error);
}

bool ReplaceFileAtomically(const std::string& path, const Bytes& bytes, std::string& error)
{
    bool readOnlyKept = false;
    return ReplaceFileAtomically(path, bytes, readOnlyKept, error);
}

bool CreateFileAtomically(const std::string& path, const Bytes& bytes, bool& exists, std::string& error)
{
    StagedFile staged;
    bool readOnlyKept = false;
    exists = false;
    return StageFile(path, bytes, staged, error) && PutInPlace(staged, false, exists, readOnlyKept, error);
}

bool IsTemporaryName(const std::string& name)
{
    return name.compare(0, sizeof TemporaryNamePrefix - 1, TemporaryNamePrefix) == 0;
}

std::vector<std::string> RemoveLeftovers(const std::string& folder)
{
    std::vector<std::string> removed;
    std::vector<FolderEntry> entries;
    std::string error;
    if (!ListFolder(folder, entries, error))
        return removed;
    for (const FolderEntry& entry : entries) {
        if (IsTemporaryName(entry.name) && entry.isFile && RemoveIfLeftover(ChildPath(folder, entry.name)))
            removed.push_back(entry.name);
    }
    return removed;
}
