// make's files at the root planned and judged: what is there now is left as it is, replaced, or
// in make's way.
#include "commands/make_steps.h"

#include "medium/autorun_inf.h"
#include "pe/authenticode.h"
#include "pe/icon_resource.h"
#include "pe/launch_field.h"
#include "pe/launcher_file.h"
#include "pe/version_resource.h"

#include <algorithm>

namespace {

constexpr std::size_t AutorunReadLimit = 1u << 20;  // an autorun.inf longer than this is not ours

// Judges a plain file at the launcher's name: our launcher with the same launch directory,
// icon and architecture is left as it is, unsigned or with a whole signature; another launcher of ours is changed
// only with force when it starts another program or is signed; anything else is replaced only
// with force. False with the reason when it must not be replaced.
bool JudgeLauncher(const MediumPlace& medium, PlannedFile& planned, const std::string& stored, unsigned codePage,
                   const std::string& intended, bool force, bool willSign, std::string& error)
{
    if (planned.kind != EntryKind::File)
        return true;
    Bytes start;
    LauncherImage existing, wanted;
    std::string name, reason;
    IconResource existingIcon, wantedIcon;
    const std::uint64_t size = planned.currentSize;
    if (!ReadStart(medium, {planned.name}, LauncherHeaderBytes, start, reason)) {
        error = planned.path + ": " + reason;
        return false;
    }
    // What was judged: all of a launcher of ours, the start of anything else.
    planned.current = start;
    const bool ours = IsLauncherHeader(start, size) &&
                      ReadStart(medium, {planned.name}, LargestLauncher, planned.current, reason) &&
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
bool JudgeAutorun(const MediumPlace& medium, PlannedFile& planned, unsigned codePage, bool force, std::string& error)
{
    if (planned.kind != EntryKind::File)
        return true;
    std::string reason;
    if (!ReadStart(medium, {planned.name}, AutorunReadLimit + 1, planned.current, reason)) {
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
    const MediumPlace& medium = *plan.medium;
    if (!PlanRootFile(medium, plan.programBelow, plan.launcherName, "starts " + target, run.launcher, force,
                      run.launcherFile, refusals[0], &linkNeedsForce))
        withLinkHint(refusals[0]);
    else if (JudgeLauncher(medium, run.launcherFile, plan.stored, options.codePage, target, force,
                           !options.signCommand.empty(), refusals[0]))
        refusals[0].clear();  // a judge that lets it be written may have said why it would not
    if (options.autorun) {
        run.files.push_back(&run.autorunFile);
        if (!PlanRootFile(medium, plan.programBelow, "autorun.inf", "opens " + plan.launcherName,
                          AutorunInfFor(plan.launcherName, options.label, options.codePage), force, run.autorunFile,
                          refusals[1], &linkNeedsForce))
            withLinkHint(refusals[1]);
        else if (JudgeAutorun(medium, run.autorunFile, options.codePage, force, refusals[1]))
            refusals[1].clear();
    }
    const auto refused = std::find_if(refusals.begin(), refusals.end(), [](const std::string& why) { return !why.empty(); });
    run.error = refused == refusals.end() ? std::string() : *refused;
    return refused == refusals.end();
}

}  // namespace

int PlanRootFiles(MakeRun& run)
{
    for (const std::string& name : RemoveLeftovers(run.options.root))
        run.out += ChildPath(run.options.root, name) + ": removed (left by an interrupted launcher-stamp run)\n";
    if (PlanFiles(run, run.options.force))
        return GoOn;
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

