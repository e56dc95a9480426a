// The launch sequence: change into the launch directory, build the command, start it.
#include "launcher_main.h"

#include "../naming/double_byte.h"
#include "../naming/target_name.h"
#include "launch_directory.h"
#include "platform.h"

namespace {

constexpr unsigned long CurrentDirectoryCapacity = 260;  // MAX_PATH
constexpr unsigned ShowNormal = 1;                       // SW_SHOWNORMAL
constexpr unsigned char NoBreakSpace = 0xA0;

const char MessageBefore[] = "Failed changing directory to \"";
const char MessageAfter[] = "\".";
const char MessageTitle[] = "Ruvio Error";

unsigned long TextLength(const char* text)
{
    unsigned long length = 0;
    while (text[length] != '\0')
        ++length;
    return length;
}

char* CopyText(char* destination, const char* text, unsigned long length)
{
    for (unsigned long i = 0; i < length; ++i)
        destination[i] = text[i];
    return destination + length;
}

// Formats the failure message into commandBuffer and shows it. A name too long for the
// buffer is shortened inside the quotes, on a character boundary, so the message keeps its
// closing quote and full stop.
void ReportFailedDirectoryChange(char* commandBuffer)
{
    constexpr unsigned long fixedLength = sizeof MessageBefore - 1 + sizeof MessageAfter - 1;
    const unsigned long nameLength = LengthOnCharacterBoundary(
        LaunchDirectory, TextLength(LaunchDirectory), CommandBufferSize - fixedLength - 1);

    char* end = CopyText(commandBuffer, MessageBefore, sizeof MessageBefore - 1);
    end = CopyText(end, LaunchDirectory, nameLength);
    end = CopyText(end, MessageAfter, sizeof MessageAfter - 1);
    *end = '\0';
    PlatformShowMessage(commandBuffer, MessageTitle);
}

}  // namespace

int LauncherMain(void*, void*, char*, int)
{
    char CommandBuffer[CommandBufferSize];

    const unsigned long delivered =
        PlatformSetCurrentDirectory(LaunchDirectory)
            ? PlatformGetCurrentDirectory(CurrentDirectoryCapacity, CommandBuffer)
            : 0;
    // A result of the capacity or more is the size the path would need: nothing was delivered.
    if (delivered == 0 || delivered >= CurrentDirectoryCapacity) {
        ReportFailedDirectoryChange(CommandBuffer);
        return 0;
    }

    // Only a backslash counts as a separator here, byte by byte whatever the double-byte mode.
    unsigned long length = TextLength(CommandBuffer);
    if (length == 0 || CommandBuffer[length - 1] != '\\')
        CommandBuffer[length++] = '\\';
    char* name = CommandBuffer + length;
    ExtractTargetName(PlatformGetCommandLine(), name);

    // Only the name part: the directory path is handed on exactly as the platform gave it.
    for (char* byte = name; *byte != '\0'; ++byte) {
        if (static_cast<unsigned char>(*byte) == NoBreakSpace)
            *byte = ' ';
    }

    PlatformStartProgram(CommandBuffer, ShowNormal);
    return 0;
}
