// The launch directory: the built-in name of the folder the launcher starts its program from.
#pragma once

constexpr unsigned long LaunchDirectorySize = 1024;

// A NUL-terminated name, relative or absolute, followed by zeros to the end of the field.
// Set at build time (and rewritable in a built executable); the launcher only reads it.
extern char LaunchDirectory[LaunchDirectorySize];
