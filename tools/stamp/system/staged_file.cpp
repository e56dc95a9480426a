// Writing a file whole or not at all, from a staged file put in place: the same on every system.
#include "system/system.h"

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
