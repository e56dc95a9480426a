// Loading a launcher from a file, readying it for a change, and writing it back.
#include "pe/launcher_file.h"

#include "pe/launch_field.h"
#include "system/system.h"

#include <filesystem>

bool LoadLauncher(const std::string& path, Bytes& bytes, LauncherImage& image, std::string& stored, std::string& err)
{
    std::string error;
    if (!ReadWholeFile(path, bytes, error) || !ReadLauncherImage(bytes, image, error)) {
        err += "launcher-stamp: " + path + ": " + error + "\n";
        return false;
    }
    if (!ReadFieldName(bytes, image, stored)) {
        err += "launcher-stamp: " + path + ": the launch directory field holds no valid name\n";
        return false;
    }
    return true;
}

bool PrepareChange(const std::string& path, Bytes& bytes, LauncherImage& image, bool force, const char* what,
                   std::string& err)
{
    if (!image.isSigned)
        return true;
    std::string error;
    if (!force) {
        err += "launcher-stamp: refused: " + path + " is signed and " + what +
               " breaks its signature (--force to remove the signature and go on)\n";
        return false;
    }
    if (!RemoveSignature(bytes, image, error)) {
        err += "launcher-stamp: refused: " + path + ": " + error + "\n";
        return false;
    }
    return true;
}

int SaveLauncher(const std::string& target, const Bytes& bytes, const LauncherImage& image, bool force,
                 std::string& err)
{
    std::string error, leadsTo;
    const EntryKind kind = KindOf(target, leadsTo);
    if (kind == EntryKind::Folder || kind == EntryKind::Other || (kind == EntryKind::Link && !force)) {
        err += "launcher-stamp: refused: " + target +
               (kind == EntryKind::Folder ? std::string(" is a folder")
                : kind == EntryKind::Other ? std::string(" is not a plain file (a FIFO, device or socket)")
                                           : " is a link to " + (leadsTo.empty() ? "nowhere" : leadsTo) +
                                                 " (--force replaces the link itself, never what it leads to)") +
               "\n";
        return 1;
    }
    const std::string folder = std::filesystem::u8path(target).parent_path().u8string();
    for (const std::string& name : RemoveLeftovers(folder.empty() ? "." : folder))
        err += "launcher-stamp: " + ChildPath(folder.empty() ? "." : folder, name) +
               ": removed (left by an interrupted launcher-stamp run)\n";
    bool readOnlyKept = false;
    if (!ReplaceFileAtomically(target, bytes, readOnlyKept, error)) {
        err += "launcher-stamp: " + target + ": " + error + "\n";
        return 1;
    }
    if (readOnlyKept)
        err += "launcher-stamp: " + target + ": it was read-only: replaced, and read-only again\n";
    if (image.signatureRemoved)
        err += "launcher-stamp: " + target + ": signature removed: sign it again\n";
    return 0;
}
