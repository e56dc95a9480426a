// make's plan for a program: where it lies on the medium and what its launcher is named and
// holds, known before anything is read or written.
#include "commands/make_command.h"

#include "base/unicode.h"
#include "base/windows_path.h"
#include "medium/launch_check.h"
#include "medium/medium_lookup.h"
#include "medium/program_file.h"
#include "pe/launch_field.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace {

// The program's path components below the medium's root (a folder's place), and its path as it
// was given. False with the reason when it is not a file inside the medium.
bool ProgramBelowRoot(const MediumPlace& medium, const MakeOptions& options, std::vector<std::string>& components,
                      std::string& path, std::string& error)
{
    const fs::path root = fs::u8path(options.root);
    const fs::path given = fs::u8path(options.program);
    // A path inside root may also be given from the current folder. Below root as the system
    // resolves both and compares names (on Windows without regard to letter case, trailing dots
    // and spaces, or a \\?\ prefix).
    std::vector<fs::path> ways{given};
    if (!given.is_absolute())
        ways.insert(ways.begin(), root / given);
    for (const fs::path& way : ways) {
        if (!medium.Below(way.u8string(), components))
            continue;
        std::uint64_t size = 0;
        std::string notFile;
        if (components.empty() || !medium.Size(components, size, notFile)) {
            error = "there is no program " + options.program + " in " + options.root;
            return false;
        }
        path = way.u8string();
        if (components.size() == 1) {
            error = options.program + " lies directly in " + options.root +
                    ": its launcher would need the root itself as launch directory and would start itself; put the "
                    "program in a folder of its own";
            return false;
        }
        return true;
    }
    // Not on the medium: named outside it, or nothing there at all.
    std::error_code ignored;
    const fs::path named = !given.is_absolute() && fs::exists(root / given, ignored) ? root / given : given;
    error = fs::is_regular_file(named, ignored) ? options.program + " lies outside " + options.root
                                                 : "there is no program " + options.program + " in " + options.root;
    return false;
}

bool EndsWithExe(const std::string& name)
{
    const std::string folded = FoldCase(name);
    return folded.size() >= 4 && folded.compare(folded.size() - 4, 4, ".EXE") == 0;
}

}  // namespace

bool PlanLaunch(const MakeOptions& options, LaunchPlan& plan, std::string& reason)
{
    std::vector<std::string> components;
    plan.refusedAs = Verdict::NothingStarts;
    // Asked of the path alone: a disc image's folders are not read only to refuse it.
    if (MediumKindAt(options.root) != MediumKind::Folder) {
        reason = options.root + " is not a folder";
        return false;
    }
    plan.medium = FolderPlace(options.root);
    const MediumPlace& place = *plan.medium;
    if (!ProgramBelowRoot(place, options, components, plan.programPath, reason))
        return false;
    plan.programBelow = components;
    plan.program = components.back();
    // The launcher's name must give the program's back: its last extension goes, and Windows
    // appends .exe only to a name without one. So "setup-1.2.3.exe" and "Tool.cmd" get a second.
    const std::string& program = plan.program;
    const bool plain = EndsWithExe(program) && program.find('.') == program.size() - 4;
    plan.launcherName = plain ? program : program + ".exe";
    components.pop_back();
    plan.launchDirectory.clear();
    for (const std::string& component : components)
        plan.launchDirectory += (plan.launchDirectory.empty() ? "" : "\\") + component;

    // Two names on the program's path that differ only in letter case (possible on Linux):
    // Windows holds one of them.
    const std::vector<std::string>& below = plan.programBelow;
    for (std::size_t i = 0; i < below.size(); ++i) {
        const std::vector<std::string> folder(below.begin(), below.begin() + static_cast<std::ptrdiff_t>(i));
        const std::string twin = LetterCaseTwin(place, folder, below[i]);
        if (!twin.empty()) {
            plan.refusedAs = Verdict::NotCheckable;
            reason = place.Shown(std::vector<std::string>(below.begin(), below.begin() + static_cast<std::ptrdiff_t>(i + 1))) +
                     " and " + twin + " beside it differ only in letter case; Windows holds one of them, and which is "
                     "not known. What to do: rename or remove one.";
            return false;
        }
    }
    std::optional<Remedy> remedy;
    reason = WhyLauncherCannotStart(components, program, plan.launcherName, NamedDriveLetter(options.drive),
                                    options.codePage, &plan.refusedAs, &remedy);
    if (remedy == Remedy::CodePage)
        reason.insert(reason.size() - 1, " (--codepage)");
    if (reason.empty() && !IsBatchFileName(program)) {
        plan.refusedAs = Verdict::CannotRun;
        reason = WhyProgramCannotRun(place, below, plan.programPath);
    }
    if (!reason.empty())
        return false;
    if (!FieldNameFor(plan.launchDirectory, options.codePage, plan.stored, reason)) {
        reason = "the launch directory \"" + plan.launchDirectory + "\": " + reason;
        return false;
    }
    plan.refusedAs = Verdict::Ok;
    return true;
}

