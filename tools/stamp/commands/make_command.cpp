// launcher-stamp make: lays out the launcher and autorun.inf, then checks the medium.
#include "commands/make_command.h"

#include "base/unicode.h"
#include "base/windows_path.h"
#include "commands/check_command.h"
#include "commands/json_answer.h"
#include "commands/launcher_signing.h"
#include "image/disc_fit.h"
#include "image/image_writer.h"
#include "medium/autorun_inf.h"
#include "medium/built_launchers.h"
#include "medium/launch_check.h"
#include "medium/program_file.h"
#include "medium/root_files.h"
#include "pe/authenticode.h"
#include "pe/icon_resource.h"
#include "pe/launch_field.h"
#include "pe/version_resource.h"
#include "picture/icon_picture.h"
#include "system/system.h"

#include <algorithm>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

// The program's path components below root (a folder), and its path. False with the reason when
// it is not a file inside root.
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
    if (!fs::is_regular_file(program, ignored)) {
        error = "there is no program " + options.program + " in " + options.root;
        return false;
    }
    path = program.u8string();
    // Below root as the system resolves both and compares names (on Windows without regard to
    // letter case, trailing dots and spaces, or a \\?\ prefix).
    if (!ComponentsBelow(options.root, path, components) || components.empty()) {
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

bool EndsWithExe(const std::string& name)
{
    const std::string folded = FoldCase(name);
    return folded.size() >= 4 && folded.compare(folded.size() - 4, 4, ".EXE") == 0;
}

// Reads the program as ReadPicture does, in pieces that progress hears of; false with the reason
// when it cannot be read, or progress cancels.
bool ReadProgramFollowed(const std::string& path, Progress& progress, Bytes& file, std::string& error)
{
    std::error_code failed;
    const std::uint64_t size = fs::file_size(fs::u8path(path), failed);
    return ReadPicture([&](std::size_t limit, Bytes& bytes, std::string& reason) {
        constexpr std::size_t Piece = 4u << 20;
        const std::uint64_t total = failed ? limit : std::min<std::uint64_t>(limit, size);
        bytes.clear();
        for (;;) {
            progress.Advance(std::min<std::uint64_t>(bytes.size(), total), total);
            if (progress.Cancelled()) {
                reason = "cancelled";
                return false;
            }
            Bytes piece;
            const std::size_t wanted = std::min(Piece, limit - bytes.size());
            if (!ReadFilePart(path, bytes.size(), wanted, piece, reason))
                return false;
            bytes.insert(bytes.end(), piece.begin(), piece.end());
            if (piece.size() < wanted || bytes.size() == limit)
                break;
        }
        progress.Advance(total, total);
        return true;
    }, file, error);
}

// The one line make says when its caller cancels it, after the files at the root had their fates.
std::string CancelledSaying(const std::vector<MadeFile>& files)
{
    std::string written, unchanged;
    for (const MadeFile& file : files) {
        std::string& list = file.fate == FileFate::Written ? written : unchanged;
        if (file.fate == FileFate::Written || file.fate == FileFate::Unchanged)
            list += (list.empty() ? "" : ", ") + file.path;
    }
    if (files.empty())
        return "cancelled: nothing was written";
    return "cancelled: no image was written, and nothing of it is left; " +
           (written.empty() ? "the root already held what make writes there (" + unchanged + "), and keeps it"
                            : "what make wrote at the root is kept (" + written + ")");
}

constexpr std::size_t AutorunReadLimit = 1u << 20;  // an autorun.inf longer than this is not ours

// Judges a plain file at the launcher's name: our launcher with the same launch directory,
// icon and architecture is left as it is, unsigned or with a whole signature; another launcher of ours is changed
// only with force when it starts another program or is signed; anything else is replaced only
// with force. False with the reason when it must not be replaced.
bool JudgeLauncher(PlannedFile& planned, const std::string& stored, unsigned codePage, const std::string& intended,
                   bool force, bool willSign, std::string& error)
{
    if (planned.kind != EntryKind::File)
        return true;
    Bytes start;
    LauncherImage existing, wanted;
    std::string name, reason;
    IconResource existingIcon, wantedIcon;
    const std::uint64_t size = planned.currentSize;
    if (!ReadFileStart(planned.path, LauncherHeaderBytes, start, reason)) {
        error = planned.path + ": " + reason;
        return false;
    }
    // What was judged: all of a launcher of ours, the start of anything else.
    planned.current = start;
    const bool ours = IsLauncherHeader(start, size) && ReadFileStart(planned.path, LargestLauncher, planned.current, reason) &&
                      ReadLauncherImage(planned.current, existing, reason) &&
                      ReadFieldName(planned.current, existing, name);
    if (!ours) {
        planned.current = start;
        error = planned.path + " is not a launcher of ours (--force to replace it)";
        return force;
    }
    if (name != stored) {
        std::string now;
        if (!FromCodePage(name, codePage, now, reason))
            now = "another launch directory";
        error = planned.path + " starts a program in " + now + " now; made again it would start " + intended +
                " (--force to point it there)";
        return force;
    }
    ReadLauncherImage(planned.bytes, wanted, reason);
    const bool sameIcon = FindIconResource(planned.current, existing, existingIcon, reason) &&
                          FindIconResource(planned.bytes, wanted, wantedIcon, reason) &&
                          std::equal(planned.current.begin() + static_cast<std::ptrdiff_t>(existingIcon.imageOffset),
                                     planned.current.begin() + static_cast<std::ptrdiff_t>(existingIcon.imageOffset + IconImageSize),
                                     planned.bytes.begin() + static_cast<std::ptrdiff_t>(wantedIcon.imageOffset));
    std::vector<VersionString> existingStrings, wantedStrings;
    bool noVersion = false;
    ReadVersionStrings(planned.current, existing, existingStrings, noVersion, reason);
    ReadVersionStrings(planned.bytes, wanted, wantedStrings, noVersion, reason);
    const bool sameVersion = existingStrings == wantedStrings;
    planned.unchanged = sameIcon && sameVersion && existing.machine == wanted.machine;
    // A launcher of ours counts as unchanged after it was signed only while its signature is
    // whole: one whose signature is broken is worse than an unsigned one, and is made again,
    // signed again by willSign, else only with force.
    const SignatureInfo signature = existing.isSigned ? ReadSignature(planned.current) : SignatureInfo();
    planned.currentSigned = signature.state == SignatureState::Signed;
    if (planned.unchanged && signature.state == SignatureState::Broken) {
        planned.unchanged = false;
        planned.note = willSign ? "its signature was broken: made and signed again" : "signature removed: sign it again";
        error = planned.path + " has a broken signature (" + signature.problem +
                "); made again it is not signed (--force to make it again, or --sign)";
        return force || willSign;
    }
    if (planned.unchanged || !existing.isSigned)
        return true;
    error = planned.path + " is signed and making it again changes its " +
            (!sameIcon ? "icon" : !sameVersion ? "version strings" : "architecture") +
            ", which breaks its signature (--force to remove the signature and go on)";
    planned.note = "signature removed: sign it again";
    return force;
}

// Judges a plain file at autorun.inf's name: the same bytes are left as they are, anything else
// is replaced only with force; the refusal says what differs from what make would write.
bool JudgeAutorun(PlannedFile& planned, unsigned codePage, bool force, std::string& error)
{
    if (planned.kind != EntryKind::File)
        return true;
    std::string reason;
    if (!ReadFileStart(planned.path, AutorunReadLimit + 1, planned.current, reason)) {
        error = planned.path + ": " + reason;
        return false;
    }
    planned.unchanged = planned.current == planned.bytes;
    AutorunInf now, wanted;
    std::string differs;
    if (ReadAutorunInf(planned.current, codePage, now, reason) && ReadAutorunInf(planned.bytes, codePage, wanted, reason)) {
        auto shown = [](const std::optional<std::string>& value) { return value ? "\"" + *value + "\"" : std::string("none"); };
        if (now.open != wanted.open)
            differs += ": it opens " + shown(now.open) + ", make would open " + shown(wanted.open);
        if (now.label != wanted.label)
            differs += (differs.empty() ? ": " : "; ") + std::string("its label is ") + shown(now.label) +
                       ", make would write " + shown(wanted.label);
    }
    error = planned.path + " holds something else" + differs +
            " (--force to replace it, --no-autorun to leave it as it is)";
    return planned.unchanged || force;
}

// What force would do as a refusal names it ("--force to point it there"): "point it there".
std::string ForceAction(const std::string& refusal)
{
    const std::string hint = " (--force to ";
    const std::size_t start = refusal.find(hint);
    if (start == std::string::npos)
        return "replace it";
    const std::size_t from = start + hint.size();
    return refusal.substr(from, refusal.find_first_of(",)", from) - from);
}

}  // namespace

bool PlanLaunch(const MakeOptions& options, LaunchPlan& plan, std::string& reason)
{
    std::vector<std::string> components;
    plan.refusedAs = Verdict::NothingStarts;
    const OpenedMedium medium = OpenMedium(options.root, options.codePage);
    if (medium.kind != MediumKind::Folder) {
        reason = options.root + " is not a folder";
        return false;
    }
    if (!ProgramBelowRoot(options, components, plan.programPath, reason))
        return false;
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
    const std::unique_ptr<MediumPlace>& place = medium.place;
    std::vector<std::string> below = components;
    below.push_back(program);
    for (std::size_t i = 0; i < below.size(); ++i) {
        const std::vector<std::string> folder(below.begin(), below.begin() + static_cast<std::ptrdiff_t>(i));
        const std::string twin = LetterCaseTwin(*place, folder, below[i]);
        if (!twin.empty()) {
            plan.refusedAs = Verdict::NotCheckable;
            reason = place->Shown(std::vector<std::string>(below.begin(), below.begin() + static_cast<std::ptrdiff_t>(i + 1))) +
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
        reason = WhyProgramCannotRun(*place, below, plan.programPath);
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

namespace {

// What one make carries from step to step. Each step answers kGoOn to go on, else the exit status.
struct MakeRun {
    MakeRun(const MakeOptions& options_, std::string& out_, std::string& err_, MakeOutcome& result_, Progress* progress_)
        : options(options_), out(out_), err(err_), result(result_), progress(progress_)
    {
    }
    const MakeOptions& options;
    std::string& out;
    std::string& err;
    MakeOutcome& result;
    Progress* progress;
    LaunchPlan plan;
    std::string error;
    MediumImagePlan imagePlan;
    Bytes launcher;  // the launcher's bytes, named, with its icon and version strings
    PlannedFile launcherFile, autorunFile;
    std::vector<PlannedFile*> files;
    std::vector<std::string> refusals;  // for each file planned, why it must not be written
};

constexpr int kGoOn = -1;

int Refuse(MakeRun& run, const std::string& reason)
{
    run.err += "launcher-stamp: refused: " + reason + "\n";
    run.result.refused = true;
    run.result.reason = reason;
    return 1;
}

// Cancelled before anything is written: nothing is.
int SayCancelled(MakeRun& run, const std::string& saying)
{
    run.err += "launcher-stamp: " + saying + "\n";
    run.result.cancelled = true;
    run.result.reason = saying;
    return 1;
}

bool CancelledNow(const MakeRun& run)
{
    return run.progress != nullptr && run.progress->Cancelled();
}

// The options that are wrong whatever the medium: 2 with the error, else kGoOn.
int CheckMakeOptions(const MakeOptions& options, std::string& err)
{
    if (!IsDriveLetter(options.drive)) {
        err += "launcher-stamp: --drive takes a drive letter, such as D:\n";
        return 2;
    }
    if (!options.disc.empty() && DiscNamed(options.disc) == nullptr) {
        err += "launcher-stamp: --disc takes " + DiscNames() + "\n";
        return 2;
    }
    if (std::int64_t date = 0; SourceDateEpoch(date) == SourceDate::Malformed) {
        err += "launcher-stamp: SOURCE_DATE_EPOCH takes seconds since 1970 in digits alone, such as the last "
               "commit's (git log -1 --format=%ct)\n";
        return 2;
    }
    return kGoOn;
}

// The launch, the label and the image planned, with what make notes of them.
int PlanMake(MakeRun& run)
{
    const MakeOptions& options = run.options;
    if (!options.signCommand.empty() && !CheckSigningCommand(options.signCommand, run.error))
        return Refuse(run, run.error);
    if (!PlanLaunch(options, run.plan, run.error))
        return Refuse(run, run.error);
    const LaunchPlan& plan = run.plan;
    run.result.launcher = plan.launcherName;
    if (plan.launcherName != plan.program)
        run.out += plan.launcherName + ": named with two extensions, so that the name the launcher gives back is " +
                   plan.program +
                   " (the launcher drops its last extension, and Windows appends .exe only to a name without one)\n";
    if (const std::string label = WhyLabelCannotBeWritten(options.label); !label.empty())
        return Refuse(run, label);
    if (!options.iso.empty() && !PlanMediumImage(options.root, options.iso, options.force, run.imagePlan, run.error)) {
        // Force would go on when it lifts this refusal (a file of someone else's at iso) and
        // nothing at make's names at the root is beyond it.
        MediumImagePlan forced;
        std::string ignored;
        std::vector<std::string> names{plan.launcherName};
        if (options.autorun)
            names.push_back("autorun.inf");
        run.result.forceable = !options.force && PlanMediumImage(options.root, options.iso, true, forced, ignored) &&
                               std::all_of(names.begin(), names.end(), [&](const std::string& name) {
                                   PlannedFile planned;
                                   return PlanRootFile(options.root, plan.programPath, name, "", Bytes(), true, planned,
                                                       ignored);
                               });
        run.result.forceAction = run.result.forceable ? ForceAction(run.error) : "";
        return Refuse(run, run.error);
    }
    if (plan.launchDirectory.find(' ') != std::string::npos) {
        std::string joined = plan.launchDirectory;
        joined.erase(std::remove(joined.begin(), joined.end(), ' '), joined.end());
        run.out += plan.programPath + ": its folder's name holds a space, so " + plan.program +
                   " receives its own path split into arguments (see check); a folder named " + joined +
                   " avoids it\n";
    }
    return kGoOn;
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

// The launcher's bytes: the one this tool carries, given the launch directory, the icon and the
// program's version strings.
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
    const bool programRead = run.progress != nullptr
                                 ? ReadProgramFollowed(programPath, *run.progress, programBytes, programError)
                                 : ReadPicture(programPath, programBytes, programError);
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
    return kGoOn;
}

// Plans both files; with force, files of someone else's in the way are planned to be replaced.
// Each file is judged, so that each one in the way has its refusal; run.error gets the first.
bool PlanFiles(MakeRun& run, bool force)
{
    const MakeOptions& options = run.options;
    const LaunchPlan& plan = run.plan;
    run.launcherFile = PlannedFile();
    run.autorunFile = PlannedFile();
    run.files = {&run.launcherFile};
    std::vector<std::string>& refusals = run.refusals;
    refusals.assign(options.autorun ? 2 : 1, std::string());
    bool linkNeedsForce = false;
    auto withLinkHint = [&linkNeedsForce](std::string& why) {
        if (linkNeedsForce)
            why += " (--force replaces the link itself, never what it leads to)";
        linkNeedsForce = false;
    };
    const std::string target = plan.launchDirectory + "\\" + plan.program;
    if (!PlanRootFile(options.root, plan.programPath, plan.launcherName, "starts " + target, run.launcher, force,
                      run.launcherFile, refusals[0], &linkNeedsForce))
        withLinkHint(refusals[0]);
    else if (JudgeLauncher(run.launcherFile, plan.stored, options.codePage, target, force, !options.signCommand.empty(),
                           refusals[0]))
        refusals[0].clear();  // a judge that lets it be written may have said why it would not
    if (options.autorun) {
        run.files.push_back(&run.autorunFile);
        if (!PlanRootFile(options.root, plan.programPath, "autorun.inf", "opens " + plan.launcherName,
                          AutorunInfFor(plan.launcherName, options.label, options.codePage), force, run.autorunFile,
                          refusals[1], &linkNeedsForce))
            withLinkHint(refusals[1]);
        else if (JudgeAutorun(run.autorunFile, options.codePage, force, refusals[1]))
            refusals[1].clear();
    }
    const auto refused = std::find_if(refusals.begin(), refusals.end(), [](const std::string& why) { return !why.empty(); });
    run.error = refused == refusals.end() ? std::string() : *refused;
    return refused == refusals.end();
}

// Nothing is written before every file is known to be ours to write.
int PlanRootFiles(MakeRun& run)
{
    for (const std::string& name : RemoveLeftovers(run.options.root))
        run.out += ChildPath(run.options.root, name) + ": removed (left by an interrupted launcher-stamp run)\n";
    if (PlanFiles(run, run.options.force))
        return kGoOn;
    for (std::size_t i = 0; i < run.files.size(); ++i)
        run.result.files.push_back({run.files[i]->path, FileFate::NotWritten, run.refusals[i]});
    // Whether force would go on, and what it would do as the refusal names it ("--force to
    // point it there"), for a caller that asks instead.
    const std::string refusal = run.error;
    if (!run.options.force && PlanFiles(run, true)) {
        run.result.forceable = true;
        run.result.forceAction = ForceAction(refusal);
    }
    return Refuse(run, refusal);
}

// Make, sign, check, image: the launcher is signed before anything is put in place. One that is
// there already as planned, whole and signed, is left as it is.
int SignPlannedLauncher(MakeRun& run)
{
    const MakeOptions& options = run.options;
    PlannedFile& launcherFile = run.launcherFile;
    if (options.signCommand.empty())
        return kGoOn;
    const bool signedAlready = launcherFile.unchanged && launcherFile.currentSigned;
    if (signedAlready) {
        run.out += launcherFile.path + ": signed already, and nothing else to change: left as it is\n";
        return kGoOn;
    }
    SignRequest request{options.signCommand, options.signTimeoutSeconds, options.requireTimestamp,
                        options.showSignOutput, {}, options.signRetries, {}};
    if (run.progress != nullptr)
        request.cancelled = [progress = run.progress] { return progress->Cancelled(); };
    Bytes signedLauncher;
    SignatureInfo signature;
    std::vector<std::string> tries;
    bool cancel = false;
    const bool signedNow = SignLauncherTrying(request, options.root, launcherFile.bytes, signedLauncher, signature, tries,
                                              run.error, &cancel);
    for (const std::string& refused : tries)
        run.out += launcherFile.path + ": signing " + refused + "\n";
    if (!signedNow && cancel) {
        run.result.refused = true;
        return SayCancelled(run, CancelledSaying({}));
    }
    if (!signedNow) {
        // Nothing is written: each file planned says so, the launcher why.
        const std::string& launcherName = run.plan.launcherName;
        for (const PlannedFile* file : run.files)
            run.result.files.push_back({file->path, FileFate::NotWritten,
                                        file == &launcherFile ? launcherName + " not signed: " + run.error : ""});
        return Refuse(run, launcherName + " not signed: " + run.error);
    }
    launcherFile.bytes = std::move(signedLauncher);
    launcherFile.unchanged = false;
    // A signature the change removed is given back by this one.
    if (!launcherFile.note.empty())
        launcherFile.note = "signed again";
    run.out += launcherFile.path + ": " + SignatureLine(signature) + "\n";
    return kGoOn;
}

int WriteFiles(MakeRun& run)
{
    if (CancelledNow(run)) {
        run.result.refused = true;
        return SayCancelled(run, CancelledSaying({}));
    }
    const bool written = WriteAllOrNothing(run.files, run.out, run.err, &run.result.reason);
    for (const PlannedFile* file : run.files)
        run.result.files.push_back({file->path, file->fate, {}});
    if (!written) {
        // All or nothing: nothing stays written, unless what was replaced could not be given back.
        run.result.refused = std::none_of(run.files.begin(), run.files.end(),
                                          [](const PlannedFile* file) { return file->fate == FileFate::NotRestored; });
        return 1;
    }
    return kGoOn;
}

// The disc image of the folder, when one is asked for; check then reads it instead.
int WriteImage(MakeRun& run, CheckOptions& check)
{
    const MakeOptions& options = run.options;
    if (options.iso.empty())
        return kGoOn;
    std::string said;
    if (!MakeMediumImage(options.root, options.label, OemCodePageFor(options.codePage), run.imagePlan, said, run.error,
                         run.progress)) {
        if (CancelledNow(run))
            return SayCancelled(run, CancelledSaying(run.result.files));
        run.err += "launcher-stamp: " + run.error + "\n";
        run.result.reason = run.error;
        return 1;
    }
    run.result.imageWritten = true;
    run.result.imageSize = run.imagePlan.size;
    run.out += said;
    check.paths = {options.iso};
    check.disc = options.disc;
    return kGoOn;
}

int CheckMade(MakeRun& run, CheckOptions& check)
{
    const MakeOptions& options = run.options;
    check.drive = options.drive;
    check.codePage = options.codePage;
    check.statusOf = fs::u8path(run.launcherFile.path).filename().u8string();
    check.json = options.json;
    if (options.json) {
        std::string report;  // the array, which result.checkAnswer keeps
        return RunCheck(check, report, run.err, &run.result.check, &run.result.checkAnswer);
    }
    run.out += "\n";
    return RunCheck(check, run.out, run.err, &run.result.check);
}

// RunMake without its JSON: out gets make's lines, and check's report unless options.json
// (its JSON then goes to result.checkAnswer); progress as RunMake says.
int MakeMedium(const MakeOptions& options, std::string& out, std::string& err, MakeOutcome& result, Progress* progress)
{
    if (const int status = CheckMakeOptions(options, err); status != kGoOn)
        return status;
    MakeRun run(options, out, err, result, progress);
    for (int (*step)(MakeRun&) : {PlanMake, MakeLauncherBytes, PlanRootFiles, SignPlannedLauncher, WriteFiles})
        if (const int status = step(run); status != kGoOn)
            return status;
    CheckOptions check;
    check.paths = {options.root};
    if (const int status = WriteImage(run, check); status != kGoOn)
        return status;
    return CheckMade(run, check);
}

}  // namespace

int RunMake(const MakeOptions& options, std::string& out, std::string& err, MakeOutcome* outcome, Progress* progress)
{
    MakeOutcome unused;
    MakeOutcome& result = outcome ? *outcome : unused;
    if (!options.json)
        return MakeMedium(options, out, err, result, progress);
    std::string notes;
    const int status = MakeMedium(options, notes, err, result, progress);
    if (status != 2)
        out += JsonAnswerText(MakeAnswer(options, result, notes));
    return status;
}

nlohmann::ordered_json MakeAnswer(const MakeOptions& options, const MakeOutcome& outcome, const std::string& notes)
{
    nlohmann::ordered_json files = nlohmann::ordered_json::array();
    for (const MadeFile& file : outcome.files)
        files.push_back({{"path", file.path},
                         {"fate", file.refusal.empty() ? FileFateName(file.fate) : "refused"},
                         {"reason", TextOrNull(file.refusal)}});
    nlohmann::ordered_json image;
    if (!options.iso.empty())
    {
        const Disc* fits = outcome.imageWritten ? SmallestDiscFor(outcome.imageSize) : nullptr;
        image = {{"path", options.iso},
                 {"written", outcome.imageWritten},
                 {"size", outcome.imageWritten ? nlohmann::ordered_json(outcome.imageSize) : nlohmann::ordered_json()},
                 {"disc", fits != nullptr ? nlohmann::ordered_json(fits->name) : nlohmann::ordered_json()},
                 {"required_disc", TextOrNull(options.disc)}};
    }
    nlohmann::ordered_json lines = nlohmann::ordered_json::array();
    for (std::size_t start = 0; start < notes.size();) {
        const std::size_t end = std::min(notes.find('\n', start), notes.size());
        if (end > start)
            lines.push_back(notes.substr(start, end - start));
        start = end + 1;
    }
    nlohmann::ordered_json answer = {{"version", MakeAnswerVersion}, {"root", options.root}};
    // Only with make --file: the answers of a make without one stay as they were.
    if (!options.mediumFile.empty())
        answer["file"] = options.mediumFile;
    const nlohmann::ordered_json rest = {
            {"launcher", TextOrNull(outcome.launcher)},
            {"refused", outcome.refused},
            {"reason", TextOrNull(outcome.reason)},
            {"forceable", outcome.forceable},
            {"force_action", TextOrNull(outcome.forceAction)},
            {"files", files},
            {"image", image},
            {"notes", lines},
            {"check", outcome.checkAnswer}};
    for (const auto& field : rest.items())
        answer[field.key()] = field.value();
    return answer;
}
