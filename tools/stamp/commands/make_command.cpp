// launcher-stamp make: plans the medium, lays out the launcher and autorun.inf, writes the
// image, then checks what it made. The steps' seams are in make_steps.h.
#include "commands/make_steps.h"

#include "commands/json_answer.h"
#include "commands/launcher_signing.h"
#include "image/disc_fit.h"
#include "medium/autorun_inf.h"
#include "medium/medium_place.h"
#include "pe/authenticode.h"

#include <algorithm>

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

std::string ForceAction(const std::string& refusal)
{
    const std::string hint = " (--force to ";
    const std::size_t start = refusal.find(hint);
    if (start == std::string::npos)
        return "replace it";
    const std::size_t from = start + hint.size();
    return refusal.substr(from, refusal.find_first_of(",)", from) - from);
}


namespace {

// The options that are wrong whatever the medium: 2 with the error, else GoOn.
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
    return GoOn;
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
    if (!options.iso.empty() &&
        !PlanMediumImage(*plan.medium, options.iso, options.force, run.imagePlan, run.error)) {
        // Force would go on when it lifts this refusal (a file of someone else's at iso) and
        // nothing at make's names at the root is beyond it.
        MediumImagePlan forced;
        std::string ignored;
        std::vector<std::string> names{plan.launcherName};
        if (options.autorun)
            names.push_back("autorun.inf");
        run.result.forceable = !options.force && PlanMediumImage(*plan.medium, options.iso, true, forced, ignored) &&
                               std::all_of(names.begin(), names.end(), [&](const std::string& name) {
                                   PlannedFile planned;
                                   return PlanRootFile(*plan.medium, plan.programBelow, name, "", Bytes(), true, planned,
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
    return GoOn;
}

// Make, sign, check, image: the launcher is signed before anything is put in place. One that is
// there already as planned, whole and signed, is left as it is.
int SignPlannedLauncher(MakeRun& run)
{
    const MakeOptions& options = run.options;
    PlannedFile& launcherFile = run.launcherFile;
    if (options.signCommand.empty())
        return GoOn;
    const bool signedAlready = launcherFile.unchanged && launcherFile.currentSigned;
    if (signedAlready) {
        run.out += launcherFile.path + ": signed already, and nothing else to change: left as it is\n";
        return GoOn;
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
    return GoOn;
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
    return GoOn;
}

// The disc image of the folder, when one is asked for: check then reads it instead, as it was read
// back when it was written (image, or null with imageReason).
int WriteImage(MakeRun& run, std::unique_ptr<MediumPlace>& image, std::string& imageReason)
{
    const MakeOptions& options = run.options;
    if (options.iso.empty())
        return GoOn;
    std::string said;
    if (!MakeMediumImage(*run.plan.medium, options.label, OemCodePageFor(options.codePage), run.imagePlan, said,
                         run.error, run.progress)) {
        if (CancelledNow(run))
            return SayCancelled(run, CancelledSaying(run.result.files));
        run.err += "launcher-stamp: " + run.error + "\n";
        run.result.reason = run.error;
        return 1;
    }
    run.result.imageWritten = true;
    run.result.imageSize = run.imagePlan.size;
    run.out += said;
    image = ImagePlace(options.iso, std::move(run.imagePlan.written), run.imagePlan.size, imageReason);
    return GoOn;
}

// Checks what make made: the image when it wrote one (image; null with imageReason when it
// cannot be read), else the folder.
int CheckMade(MakeRun& run, const MediumPlace* image, const std::string& imageReason)
{
    const MakeOptions& options = run.options;
    const bool ofImage = !options.iso.empty();
    CheckOptions check;
    check.paths = {ofImage ? options.iso : options.root};
    check.disc = ofImage ? options.disc : std::string();
    check.drive = options.drive;
    check.codePage = options.codePage;
    check.statusOf = run.launcherFile.name;
    check.json = options.json;
    const MediumPlace* place = ofImage ? image : run.plan.medium.get();
    if (options.json) {
        std::string report;  // the array, which result.checkAnswer keeps
        return CheckMedium(check, check.paths[0], place, imageReason, report, run.err, &run.result.check,
                           &run.result.checkAnswer);
    }
    run.out += "\n";
    return CheckMedium(check, check.paths[0], place, imageReason, run.out, run.err, &run.result.check);
}

// RunMake without its JSON: out gets make's lines, and check's report unless options.json
// (its JSON then goes to result.checkAnswer); progress as RunMake says.
int MakeMedium(const MakeOptions& options, std::string& out, std::string& err, MakeOutcome& result, Progress* progress)
{
    if (const int status = CheckMakeOptions(options, err); status != GoOn)
        return status;
    MakeRun run(options, out, err, result, progress);
    for (int (*step)(MakeRun&) : {PlanMake, MakeLauncherBytes, PlanRootFiles, SignPlannedLauncher, WriteFiles})
        if (const int status = step(run); status != GoOn)
            return status;
    std::unique_ptr<MediumPlace> image;
    std::string imageReason;
    if (const int status = WriteImage(run, image, imageReason); status != GoOn)
        return status;
    return CheckMade(run, image.get(), imageReason);
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
