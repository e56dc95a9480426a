// make's launcher bytes: the launcher this tool carries, named, with the icon and the program's
// version strings.
#include "commands/make_steps.h"

#include "medium/built_launchers.h"
#include "pe/icon_resource.h"
#include "pe/launch_field.h"
#include "pe/version_resource.h"
#include "picture/icon_picture.h"

#include <algorithm>

namespace {

// Gives the launcher (its headers read into image) the version strings that Explorer's
// Details tab shows of the program at programPath (program: what was read of it, or empty with
// the reason in readError), under the launcher's own file name and file version, so that it
// looks like what it starts there too. A program without them leaves the launcher's own, and
// out says so in one line.
bool TakeProgramVersion(const std::string& programPath, const Bytes& program, const std::string& readError,
                        const std::string& launcherName, Bytes& launcher, LauncherImage& image, std::string& out,
                        std::string& error)
{
    static const char* const Copied[] = {"FileDescription", "ProductName", "ProductVersion", "CompanyName",
                                         "LegalCopyright"};
    Bytes fixed;
    LauncherImage programImage;
    std::vector<VersionString> theirs, ours, strings;
    bool noVersion = false;
    std::string reason = readError;
    const bool read = !program.empty() && ReadProgramImage(program, programImage, reason) &&
                      ReadVersionStrings(program, programImage, theirs, noVersion, reason);
    for (const char* key : Copied) {
        const auto found = std::find_if(theirs.begin(), theirs.end(),
                                        [key](const VersionString& string) { return string.key == key; });
        if (found != theirs.end() && !found->value.empty())
            strings.push_back(*found);
    }
    if (!read || strings.empty()) {
        out += programPath + ": no version strings taken (" + (read ? "it has none to show" : reason) +
               "): the launcher keeps its own\n";
        return true;
    }
    if (!ReadVersionStrings(launcher, image, ours, noVersion, error) || !ReadVersionFixed(launcher, image, fixed, error))
        return false;
    const auto own = std::find_if(ours.begin(), ours.end(),
                                  [](const VersionString& string) { return string.key == "FileVersion"; });
    strings.push_back({"FileVersion", own == ours.end() ? std::string() : own->value});
    strings.push_back({"OriginalFilename", launcherName});
    return ReplaceVersionResource(launcher, image, VersionResourceFor(fixed, strings), error);
}

// Reads the program through the medium's place as ReadPicture reads a file, in pieces that
// progress, when given, hears of; false with the reason when it cannot be read, or progress cancels.
bool ReadProgram(const MediumPlace& medium, const std::vector<std::string>& below, Progress* progress, Bytes& file,
                 std::string& error)
{
    std::uint64_t size = 0;
    std::string unsized;
    const bool sized = medium.Size(below, size, unsized);
    return ReadPicture([&](std::size_t limit, Bytes& bytes, std::string& reason) {
        constexpr std::size_t Piece = 4u << 20;
        const std::uint64_t total = sized ? std::min<std::uint64_t>(limit, size) : limit;
        bytes.clear();
        for (;;) {
            if (progress != nullptr) {
                progress->Advance(std::min<std::uint64_t>(bytes.size(), total), total);
                if (progress->Cancelled()) {
                    reason = "cancelled";
                    return false;
                }
            }
            Bytes piece;
            const std::size_t wanted = std::min(Piece, limit - bytes.size());
            if (!medium.Read(below, bytes.size(), wanted, piece, reason))
                return false;
            bytes.insert(bytes.end(), piece.begin(), piece.end());
            if (piece.size() < wanted || bytes.size() == limit)
                break;
        }
        if (progress != nullptr)
            progress->Advance(total, total);
        return true;
    }, file, error);
}

// The icon's image for the launcher: the picture given, else the program's own, else none (the
// launcher keeps its own). False with the error when the picture given cannot be taken.
bool ChooseIconImage(MakeRun& run, bool programRead, const Bytes& programBytes, const std::string& programError,
                     Bytes& iconImage)
{
    const MakeOptions& options = run.options;
    Bytes picture;
    if (!options.icon.empty()) {
        if (!ReadPicture(options.icon, picture, run.error) || !IconImageFromPicture(picture, iconImage, run.error))
            return false;
    } else if (options.launcherIcon) {
        iconImage.clear();
    } else if (!programRead || !IconImageFromPicture(programBytes, iconImage, run.error)) {
        run.error = programRead ? run.error : programError;
        // Of a file that is no Windows program, say so, not what a picture would lack.
        const bool windowsProgram = programBytes.size() >= 2 && programBytes[0] == 'M' && programBytes[1] == 'Z';
        run.out += run.plan.programPath + ": no icon taken (" + (windowsProgram ? run.error : "it is no Windows program") +
                   "): the launcher keeps its own\n";
        iconImage.clear();
    }
    return true;
}

}  // namespace

int MakeLauncherBytes(MakeRun& run)
{
    const MakeOptions& options = run.options;
    run.launcher = BuiltLauncher(options.arch == "x64" ? LauncherArchitecture::X64 : LauncherArchitecture::X86);
    LauncherImage image;
    if (!ReadLauncherImage(run.launcher, image, run.error))
        return Refuse(run, "the launcher this tool carries cannot be read: " + run.error);
    WriteFieldName(run.launcher, image, run.plan.stored);
    // The program is read once (of a Windows program only what its resources need), for its
    // icon and its version strings.
    const std::string& programPath = run.plan.programPath;
    Bytes programBytes, iconImage;
    std::string programError;
    const bool programRead =
        ReadProgram(*run.plan.medium, run.plan.programBelow, run.progress, programBytes, programError);
    if (CancelledNow(run)) {
        run.result.refused = true;
        return SayCancelled(run, CancelledSaying({}));
    }
    if (!ChooseIconImage(run, programRead, programBytes, programError, iconImage))
        return Refuse(run, options.icon + ": " + run.error);
    if (!iconImage.empty()) {
        IconResource icon;
        if (!FindIconResource(run.launcher, image, icon, run.error))
            return Refuse(run, "the launcher this tool carries has no icon to replace: " + run.error);
        WriteIconImage(run.launcher, image, icon, iconImage);
    }
    if (!TakeProgramVersion(programPath, programRead ? programBytes : Bytes(), programError, run.plan.launcherName,
                            run.launcher, image, run.out, run.error))
        return Refuse(run, "the launcher this tool carries cannot take the program's version strings: " + run.error);
    return GoOn;
}

