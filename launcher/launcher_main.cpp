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
const char ProgramExtension[] = ".exe";  // what the start service appends to a bare name

unsigned long TextLength(const char* text)
{
    unsigned long length = 0;
    while (text[length] != '\0')
        ++length;
    return length;
}

// A leaf without a frame of its own needs no unwind information in Microsoft's x64 convention;
// GCC gives every function an entry in the exception table all the same, one the size budget
// has no room for.
#if defined(__GNUC__) && !defined(__clang__) && defined(_WIN64)
__attribute__((optimize("no-asynchronous-unwind-tables", "no-unwind-tables")))
#endif
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

// Whether name has an extension of its own, a full stop, as the program-start service sees it
// when it decides to append ".exe".
bool HasExtension(const char* name)
{
    for (const char* position = name; *position != '\0';) {
        const Character character = NextCharacter(position);
        if (character.value == '.')
            return true;
        position += character.width;
    }
    return false;
}

// Hands the program the command names to the shell, after Windows refused to start it
// without administrator rights: the file is the full path the command stands for (".exe"
// appended as the start service appends it), never the unquoted command itself, which the
// shell would read differently. command holds the directory's first directoryLength bytes,
// then the name at name.
void OpenWithShell(char* command, char* name, unsigned long directoryLength)
{
    if (!HasExtension(name))
        CopyText(name + TextLength(name), ProgramExtension, sizeof ProgramExtension);
    char directory[CurrentDirectoryCapacity];
    *CopyText(directory, command, directoryLength) = '\0';
    PlatformOpenWithShell(command, directory, ShowNormal);
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

    // An installer, say, that must run elevated: only the shell asks the user and starts it.
    if (PlatformStartProgram(CommandBuffer, ShowNormal) == StartOutcome::RefusedForElevation)
        OpenWithShell(CommandBuffer, name, delivered);
    return 0;
}
