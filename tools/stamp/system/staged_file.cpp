// Writing a file whole or not at all, from a staged file put in place, and clearing away the
// staged files an interrupted run left: the same on every system.
#include "system/system.h"

#include <cstdlib>
#include <mutex>

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

bool StageCopy(const std::string& path, StagedFile& copy, std::uint64_t& size, std::string& error)
{
    FileReader reader;
    size = 0;
    if (!reader.Open(path, error) || !BeginStaged(path, copy, error))
        return false;
    unsigned char buffer[1 << 16];
    for (std::size_t got = 0;; size += got) {
        if (!reader.Read(buffer, sizeof buffer, got, error) || !AppendStaged(copy, buffer, got, error)) {
            DiscardStaged(copy);
            return false;
        }
        if (got == 0)
            break;
    }
    if (!FinishStaged(copy, error)) {
        DiscardStaged(copy);
        return false;
    }
    return true;
}

namespace {

// The failure the test seam holds for its next chance: the step, and the file name it fails at.
struct InjectedFailure {
    std::mutex lock;
    bool set = false;
    StagingStep step = StagingStep::Stage;
    std::string fileName;
};

InjectedFailure& Injected()
{
    static InjectedFailure failure;
    return failure;
}

}  // namespace

void FailNextForTesting(StagingStep step, const std::string& fileName)
{
    InjectedFailure& failure = Injected();
    const std::lock_guard<std::mutex> locked(failure.lock);
    failure.set = !fileName.empty();
    failure.step = step;
    failure.fileName = fileName;
}

bool FailsForTesting(StagingStep step, const std::string& path, std::string& error)
{
    InjectedFailure& failure = Injected();
    const std::lock_guard<std::mutex> locked(failure.lock);
    const std::size_t slash = path.find_last_of("/\\");
    if (!failure.set || failure.step != step || path.substr(slash == std::string::npos ? 0 : slash + 1) != failure.fileName)
        return false;
    failure.set = false;
    error = "cannot write: no space left on the device (a failure made by a test)";
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

bool ExtendsAHeldFile(const std::string& path)
{
    const std::size_t slash = path.find_last_of("/\\");
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    std::vector<FolderEntry> entries;
    std::string error;
    if (!IsTemporaryName(name) || !ListFolder(folder, entries, error))
        return false;
    for (const FolderEntry& entry : entries) {
        // Its name up to its extension: never into the prefix, which begins with a dot.
        const std::size_t dot = entry.name.find_last_of('.');
        const std::string stem = dot < sizeof TemporaryNamePrefix - 1 ? entry.name : entry.name.substr(0, dot);
        const bool extends = IsTemporaryName(entry.name) && entry.name != name && name.size() > stem.size() &&
                             name.compare(0, stem.size(), stem) == 0 && (name[stem.size()] == '.' || name[stem.size()] == '-');
        if (extends && IsHeldNow(ChildPath(folder, entry.name)))
            return true;
    }
    return false;
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

SourceDate SourceDateEpoch(std::int64_t& seconds)
{
    seconds = 0;
    const char* value = std::getenv("SOURCE_DATE_EPOCH");
    if (value == nullptr || *value == 0)
        return SourceDate::None;
    constexpr std::int64_t Last = 253402300799;
    for (const char* c = value; *c != 0; ++c) {
        if (*c < '0' || *c > '9' || seconds > (Last - (*c - '0')) / 10)
            return SourceDate::Malformed;
        seconds = seconds * 10 + (*c - '0');
    }
    return SourceDate::Set;
}
