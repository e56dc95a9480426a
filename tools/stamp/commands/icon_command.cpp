// launcher-stamp set-icon and get-icon.
#include "commands/icon_command.h"

#include "picture/icon_picture.h"
#include "pe/icon_resource.h"
#include "pe/launcher_file.h"
#include "system/system.h"

namespace {

// Loads the launcher and locates its icon; err says what is wrong otherwise.
bool LoadIcon(const std::string& path, Bytes& bytes, LauncherImage& image, IconResource& icon, std::string& err)
{
    std::string stored, error;
    if (!LoadLauncher(path, bytes, image, stored, err))
        return false;
    if (!FindIconResource(bytes, image, icon, error)) {
        err += "launcher-stamp: refused: " + path + ": " + error + "\n";
        return false;
    }
    return true;
}

}  // namespace

int SetIcon(const IconOptions& options, std::string& err)
{
    Bytes picture, iconImage;
    std::string error;
    if (!ReadPicture(options.picture, picture, error) || !IconImageFromPicture(picture, iconImage, error)) {
        err += "launcher-stamp: refused: " + options.picture + ": " + error + "\n";
        return 1;
    }
    Bytes bytes;
    LauncherImage image;
    IconResource icon;
    if (!LoadIcon(options.file, bytes, image, icon, err))
        return 1;
    if (!PrepareChange(options.file, bytes, image, options.force, "a new icon", err))
        return 1;
    WriteIconImage(bytes, image, icon, iconImage);
    const std::string& target = options.output.empty() ? options.file : options.output;
    return SaveLauncher(target, bytes, image, options.force, err);
}

int GetIcon(const IconOptions& options, std::string& err)
{
    Bytes bytes;
    LauncherImage image;
    IconResource icon;
    if (!LoadIcon(options.file, bytes, image, icon, err))
        return 1;
    const auto start = bytes.begin() + static_cast<std::ptrdiff_t>(icon.imageOffset);
    std::string error;
    if (!ReplaceFileAtomically(options.picture, IcoFileFor(Bytes(start, start + IconImageSize)), error)) {
        err += "launcher-stamp: " + options.picture + ": " + error + "\n";
        return 1;
    }
    return 0;
}
