// A recording stand-in for the launcher's platform services, and the launch directory field
// the unit tests run with.
#pragma once

#include "launcher/platform.h"

#include <string>
#include <vector>

struct StartedProgram {
    std::string command;
    unsigned showMode;
};

struct ShellOpen {
    std::string file;
    std::string directory;
    unsigned showMode;
};

struct ShownMessage {
    std::string text;
    std::string title;
};

// What the stand-in answers and what it was asked. Reset() before each test.
struct PlatformRecording {
    // Answers.
    bool directoryChangeSucceeds = true;
    std::string currentDirectory = "C:\\Media\\Borvi cd1 versie2";
    bool currentDirectoryQueryFails = false;
    std::string commandLine = "\"C:\\Media\\SETUP.EXE\"";
    StartOutcome startOutcome = StartOutcome::Started;
    bool shellOpenSucceeds = true;

    // Questions, in the order asked.
    std::vector<std::string> calls;
    std::vector<std::string> directoryChanges;
    std::vector<unsigned long> currentDirectoryCapacities;
    std::vector<StartedProgram> started;
    std::vector<ShellOpen> shellOpens;
    std::vector<ShownMessage> messages;
};

extern PlatformRecording Platform;

// Fresh answers and no recorded calls; the launch directory back to its default name.
void ResetPlatform();

// Stores name (which must fit) in the launch directory field, zeros after it.
void SetLaunchDirectory(const std::string& name);
