// The recording stand-in for the launcher's platform services.
#include "platform_recorder.h"

#include "launcher/launch_directory.h"

#include <cstring>

PlatformRecording Platform;

// The launcher reads a read-only field; the tests rewrite it between cases through this
// writable storage, which the field's name stands for.
char TestLaunchDirectory[LaunchDirectorySize];
extern const char LaunchDirectory[LaunchDirectorySize] __attribute__((alias("TestLaunchDirectory")));

void ResetPlatform()
{
    Platform = PlatformRecording();
    SetLaunchDirectory("Borvi cd1 versie2");
}

void SetLaunchDirectory(const std::string& name)
{
    std::memset(TestLaunchDirectory, 0, sizeof TestLaunchDirectory);
    std::memcpy(TestLaunchDirectory, name.data(), name.size());
}

bool PlatformSetCurrentDirectory(const char* path)
{
    Platform.calls.emplace_back("SetCurrentDirectory");
    Platform.directoryChanges.emplace_back(path);
    return Platform.directoryChangeSucceeds;
}

// Like GetCurrentDirectoryA: a path that does not fit is reported by the size it needs and
// not delivered, and the buffer is then left as it was.
unsigned long PlatformGetCurrentDirectory(unsigned long capacity, char* buffer)
{
    Platform.calls.emplace_back("GetCurrentDirectory");
    Platform.currentDirectoryCapacities.push_back(capacity);
    if (Platform.currentDirectoryQueryFails)
        return 0;
    const unsigned long length = Platform.currentDirectory.size();
    if (length + 1 > capacity)
        return length + 1;
    std::memcpy(buffer, Platform.currentDirectory.c_str(), length + 1);
    return length;
}

const char* PlatformGetCommandLine()
{
    Platform.calls.emplace_back("GetCommandLine");
    return Platform.commandLine.c_str();
}

StartOutcome PlatformStartProgram(const char* command, unsigned showMode)
{
    Platform.calls.emplace_back("StartProgram");
    Platform.started.push_back({command, showMode});
    return Platform.startOutcome;
}

bool PlatformOpenWithShell(const char* file, const char* directory, unsigned showMode)
{
    Platform.calls.emplace_back("OpenWithShell");
    Platform.shellOpens.push_back({file, directory, showMode});
    return Platform.shellOpenSucceeds;
}

void PlatformShowMessage(const char* text, const char* title)
{
    Platform.calls.emplace_back("ShowMessage");
    Platform.messages.push_back({text, title});
}
