// launcher-stamp make: lays out the launcher and autorun.inf, then checks the medium.
#include "commands/make_command.h"

#include "base/unicode.h"
#include "commands/check_command.h"
#include "medium/autorun_inf.h"
#include "medium/built_launchers.h"
#include "medium/launch_check.h"
#include "pe/icon_resource.h"
#include "pe/launch_field.h"
#include "picture/icon_picture.h"
#include "system/system.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace {

// The program's path components below root, and its path. False with the reason when it is
// not a file inside root.
bool ProgramBelowRoot(const MakeOptions& options, std::vector<std::string>& components, std::string& path,
                      std::string& error)
{
    std::error_code ignored;
    const fs::path root = fs::u8path(options.root);
    const fs::path given = fs::u8path(options.program);
    fs::path program = given.is_absolute() ? given : root / given;
    // A path inside root may also be given from the current folder.
    if (!fs::exists(program, ignored) && !given.is_absolute() && fs::exists(given, ignored))
        program = given;
    if (!fs::is_directory(root, ignored)) {
        error = options.root + " is not a folder";
        return false;
    }
    if (!fs::is_regular_file(program, ignored)) {
        error = "there is no program " + options.program + " in " + options.root;
        return false;
    }
    path = program.u8string();
    const fs::path relative = fs::canonical(program, ignored).lexically_relative(fs::canonical(root, ignored));
    components.clear();
    for (const fs::path& part : relative)
        components.push_back(part.u8string());
    if (components.empty() || components[0] == "..") {
        error = options.program + " lies outside " + options.root;
        return false;
    }
    if (components.size() == 1) {
        error = options.program + " lies directly in " + options.root +
                ": its launcher would need the root itself as launch directory and would start itself; put the "
                "program in a folder of its own";
        return false;
    }
    return true;
}

bool EndsWithExe(const std::string& name)
{
    const std::string folded = FoldCase(name);
    return folded.size() >= 4 && folded.compare(folded.size() - 4, 4, ".EXE") == 0;
}

// One file make writes at the root, and what is there now.
struct Planned {
    std::string path;     // where it goes (an existing file of that name in any letter case)
    std::string what;     // what it does, for the report
    Bytes bytes;          // what it is to hold
    bool exists = false;  // a file is there
    Bytes current;        // what it holds
};

// Plans writing bytes as name at root. False with the reason when the name is a folder there,
// or a file that cannot be read.
bool Plan(const std::string& root, const std::string& name, const std::string& what, Bytes bytes, Planned& planned,
          std::string& error)
{
    planned.what = what;
    std::string disk;
    planned.exists = FindFileOnMedium(root, name, disk);
    planned.path = ChildPath(root, planned.exists ? disk : name);
    planned.bytes = std::move(bytes);
    std::error_code ignored;
    if (!planned.exists && fs::is_directory(fs::u8path(planned.path), ignored)) {
        error = planned.path + " is a folder";
        return false;
    }
    return !planned.exists || ReadWholeFile(planned.path, planned.current, error);
}

// Writes a planned file unless it already holds its bytes, and says which on out.
bool Write(const Planned& planned, std::string& out, std::string& err)
{
    std::string error;
    if (planned.exists && planned.current == planned.bytes) {
        out += planned.path + ": unchanged\n";
        return true;
    }
    if (!ReplaceFileAtomically(planned.path, planned.bytes, error)) {
        err += "launcher-stamp: " + planned.path + ": " + error + "\n";
        return false;
    }
    out += planned.path + ": written (" + planned.what + ")\n";
    return true;
}

}  // namespace

int RunMake(const MakeOptions& options, std::string& out, std::string& err)
{
    if (!IsDriveLetter(options.drive)) {
        err += "launcher-stamp: --drive takes a drive letter, such as D:\n";
        return 2;
    }
    auto refuse = [&err](const std::string& reason) {
        err += "launcher-stamp: refused: " + reason + "\n";
        return 1;
    };
    std::vector<std::string> components;
    std::string programPath, error;
    if (!ProgramBelowRoot(options, components, programPath, error))
        return refuse(error);
    const std::string program = components.back();
    const std::string launcherName = EndsWithExe(program) ? program : program + ".exe";
    components.pop_back();
    std::string launchDirectory;
    for (const std::string& component : components)
        launchDirectory += (launchDirectory.empty() ? "" : "\\") + component;

    std::string stored;
    if (!FieldNameFor(launchDirectory, options.codePage, stored, error))
        return refuse("the launch directory \"" + launchDirectory + "\": " + error);
    if (CharacterCount(options.label) > MaxLabelCharacters)
        return refuse("the label has " + std::to_string(CharacterCount(options.label)) + " characters; at most " +
                      std::to_string(MaxLabelCharacters) + " are shown");

    Bytes launcher = BuiltLauncher(options.arch == "x64" ? LauncherArchitecture::X64 : LauncherArchitecture::X86);
    LauncherImage image;
    if (!ReadLauncherImage(launcher, image, error))
        return refuse("the launcher this tool carries cannot be read: " + error);
    WriteFieldName(launcher, image, stored);
    // The icon: the picture given, else the program's own, else the launcher keeps its own.
    Bytes picture, iconImage;
    IconResource icon;
    if (!options.icon.empty()) {
        if (!ReadWholeFile(options.icon, picture, error) || !IconImageFromPicture(picture, iconImage, error))
            return refuse(options.icon + ": " + error);
    } else if (!ReadWholeFile(programPath, picture, error) || !IconImageFromPicture(picture, iconImage, error)) {
        out += programPath + ": no icon taken (" + error + "): the launcher keeps its own\n";
        iconImage.clear();
    }
    if (!iconImage.empty()) {
        if (!FindIconResource(launcher, image, icon, error))
            return refuse("the launcher this tool carries has no icon to replace: " + error);
        WriteIconImage(launcher, image, icon, iconImage);
    }

    // Nothing is written before every file is known to be ours to write.
    Planned launcherFile, autorunFile;
    if (!Plan(options.root, launcherName, "starts " + launchDirectory + "\\" + program, launcher, launcherFile, error))
        return refuse(error);
    LauncherImage existing;
    if (launcherFile.exists && !options.force && !ReadLauncherImage(launcherFile.current, existing, error))
        return refuse(launcherFile.path + " is not a launcher of ours (--force to replace it)");
    if (options.autorun) {
        if (!Plan(options.root, "autorun.inf", "opens " + launcherName,
                  AutorunInfFor(launcherName, options.label, options.codePage), autorunFile, error))
            return refuse(error);
        if (autorunFile.exists && !options.force && autorunFile.current != autorunFile.bytes)
            return refuse(autorunFile.path + " holds something else (--force to replace it)");
    }
    if (!Write(launcherFile, out, err) || (options.autorun && !Write(autorunFile, out, err)))
        return 1;
    out += "\n";
    CheckOptions check;
    check.paths = {options.root};
    check.drive = options.drive;
    check.codePage = options.codePage;
    return RunCheck(check, out, err);
}
