// Loading a launcher from a file.
#include "launcher_file.h"

#include "launch_field.h"
#include "system.h"

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
