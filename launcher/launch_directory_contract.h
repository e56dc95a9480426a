// The launch directory field's contract, shared by the launcher and the tools that read and
// rewrite it in built launchers.
#pragma once

// The section the compiler puts the field in, alone. The launcher's linker script makes it the
// section .rdata of the built executable, which holds the field and nothing else (launchers
// of 1.x named that section .launch), so that a tool finds the field by the section alone,
// never by searching for text.
#define LAUNCH_DIRECTORY_SECTION ".launch"
#define LAUNCH_DIRECTORY_IMAGE_SECTION ".rdata"

// The name of the launcher's icon group, which tells a launcher's .rdata from other programs'.
#define LAUNCHER_ICON_GROUP "SETUPRTICON"

// The field's size in bytes: a NUL-terminated name of at most 1023 bytes, then zeros.
constexpr unsigned long LaunchDirectorySize = 1024;
