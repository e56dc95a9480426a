// Loading a launcher from a file.
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

int SaveLauncher(const std::string& target, const Bytes& bytes, const LauncherImage& image, std::string& err)
{
    std::string error;
    if (!ReplaceFileAtomically(target, bytes, error)) {
        err += "launcher-stamp: " + target + ": " + error + "\n";
        return 1;
    }
    if (image.isSigned)
        err += "launcher-stamp: warning: the signature of " + target + " is no longer valid\n";
    return 0;
}
