// The run level a program's manifest asks Windows for.
#pragma once

#include "pe/pe_image.h"

#include <string>

enum class RunLevel {
    Unstated,              // no manifest, or none that names a run level
    AsInvoker,
    HighestAvailable,
    RequireAdministrator,
};

// The requestedExecutionLevel of program's manifest (resource type 24, identifier 1, the one
// Windows reads when it starts a program), whatever its language. program may be cut short
// after its resources. False with the reason when program is no Windows program we can read
// or its resources are malformed; a program with no manifest is Unstated. Never reads outside
// program.
bool ProgramRunLevel(const Bytes& program, LauncherImage& image, RunLevel& level, std::string& error);
