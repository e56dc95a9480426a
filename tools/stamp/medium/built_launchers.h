// The launchers this tool was built with: both architectures, embedded byte for byte.
#pragma once

#include "base/bytes.h"

enum class LauncherArchitecture { X86, X64 };

// The built launcher for architecture, with the default launch directory.
Bytes BuiltLauncher(LauncherArchitecture architecture);
