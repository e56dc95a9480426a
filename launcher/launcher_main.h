// The launcher's main routine.
#pragma once

// Size of the working buffer that holds the command to start or the failure message.
constexpr unsigned long CommandBufferSize = 1024;

// Changes into LaunchDirectory and starts, from there, the program named by the base name
// of the process's own command line, with show mode 1. When the directory cannot be entered
// (or its path cannot be read back), shows one message box instead and starts nothing.
// Takes the usual arguments of a GUI entry routine, reads none of them, and returns 0.
int LauncherMain(void* instance, void* previousInstance, char* commandLine, int showCommand);
