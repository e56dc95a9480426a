// The launch directory field's contract, shared by the launcher and the tools that read and
// rewrite it in built launchers.
#pragma once

// The section that holds the field and nothing else, so that a tool finds the field in a
// built executable by this name alone, never by searching for text.
#define LAUNCH_DIRECTORY_SECTION ".launch"

// The field's size in bytes: a NUL-terminated name of at most 1023 bytes, then zeros.
constexpr unsigned long LaunchDirectorySize = 1024;
