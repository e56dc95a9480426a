// The launch directory: the built-in name of the folder the launcher starts its program from.
#pragma once

#include "launch_directory_contract.h"

// A NUL-terminated name, relative or absolute, followed by zeros to the end of the field.
// Set at build time (and rewritable in a built executable); the launcher only reads it, so
// it lies in a read-only section of its own.
extern const char LaunchDirectory[LaunchDirectorySize];
