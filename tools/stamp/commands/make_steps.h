// One make, step by step: what it carries from one step to the next, and the steps themselves,
// each in the file of its seam (make_command.cpp runs them in turn).
#pragma once

#include "commands/make_command.h"
#include "image/image_writer.h"

#include <string>
#include <vector>

// What one make carries from step to step. Each step answers GoOn to go on, else the exit status.
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

constexpr int GoOn = -1;

// make refuses, having written nothing: 1, with the reason said.
int Refuse(MakeRun& run, const std::string& reason);

// Cancelled: 1, with saying (CancelledSaying) said.
int SayCancelled(MakeRun& run, const std::string& saying);

// Whether the caller's progress cancels the make now.
bool CancelledNow(const MakeRun& run);

// The one line make says when its caller cancels it, after the files at the root had their fates.
std::string CancelledSaying(const std::vector<MadeFile>& files);

// What force would do as a refusal names it ("--force to point it there"): "point it there".
std::string ForceAction(const std::string& refusal);

// The launcher's bytes (make_launcher.cpp): the one this tool carries, given the launch
// directory, the icon and the program's version strings.
int MakeLauncherBytes(MakeRun& run);

// The files at the root planned and judged (make_root_files.cpp): nothing is written before
// every file is known to be ours to write.
int PlanRootFiles(MakeRun& run);
