// Loading a launcher from a file, readying it for a change, and writing it back.
#include "pe/launcher_file.h"

#include "pe/launch_field.h"
#include "system/system.h"

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

int SaveLauncher(const std::string& target, const Bytes& bytes, const LauncherImage& image, std::string& err)
{
    std::string error;
    if (!ReplaceFileAtomically(target, bytes, error)) {
        err += "launcher-stamp: " + target + ": " + error + "\n";
        return 1;
    }
    if (image.signatureRemoved)
        err += "launcher-stamp: " + target + ": signature removed: sign it again\n";
    return 0;
}
