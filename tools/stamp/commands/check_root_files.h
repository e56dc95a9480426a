// check's look at the files beside the launchers at a medium's root: autorun.inf, and the
// temporary files an interrupted run left.
#pragma once

#include "commands/check_command.h"
#include "medium/launch_check.h"
#include "medium/medium_place.h"

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

// The note on a file another program removed while the medium was read.
std::string RemovedNote(const MediumPlace& place, const std::vector<std::string>& below);

// Reads the autorun.inf at the root, if there is one (at most 1 MiB of it, as Windows does), and
// adds what is wrong with it to out, or with options.json an object to array; found gets the
// findings. False when there is one, or when it cannot be read (err says why).
bool CheckAutorun(const CheckOptions& options, MediumFolders& folders, char drive,
                  const std::vector<Prediction>& predictions, std::string& out, nlohmann::ordered_json& array,
                  std::string& err, std::vector<std::string>& found);

// Names the temporary files of ours at the root (found gets them, as Windows paths on drive): one
// that an interrupted run left would go onto the medium, one being written is said to be. False
// when there is one.
bool CheckLeftovers(const CheckOptions& options, MediumFolders& folders, char drive, std::string& out,
                    nlohmann::ordered_json& array, std::vector<std::string>& found);
