// What a started program receives on Windows: the C runtime's splitting, cmd's quote rule,
// program headers, and the launcher's 0xA0 rewrite in code pages where that byte is part of
// other characters.
#include "medium/command_line.h"
#include "medium/launch_check.h"
#include "pe/executable_format.h"

#include <gtest/gtest.h>

namespace {

TEST(CommandLine, SplitsAsTheCRuntimeDoes)
{
    struct Row {
        const char* line;
        std::vector<std::string> argv;
        const char* afterProgram;
    };
    const Row rows[] = {
        // The launcher's unquoted command with spaces.
        {"D:\\Borvi cd1 versie2\\SETUP", {"D:\\Borvi", "cd1", "versie2\\SETUP"}, "cd1 versie2\\SETUP"},
        {"D:\\Setup\\SETUP", {"D:\\Setup\\SETUP"}, ""},
        {"\"C:\\a b\\x.exe\"  y\tz", {"C:\\a b\\x.exe", "y", "z"}, "y\tz"},
        {"\"C:\\a\\\"b c", {"C:\\a\\b", "c"}, "c"},  // no escapes in the program name
        // Microsoft's documented examples, after a program name.
        {"p \"a b c\" d e", {"p", "a b c", "d", "e"}, "\"a b c\" d e"},
        {"p \"ab\\\"c\" \"\\\\\" d", {"p", "ab\"c", "\\", "d"}, "\"ab\\\"c\" \"\\\\\" d"},
        {"p a\\\\\\b d\"e f\"g h", {"p", "a\\\\\\b", "de fg", "h"}, "a\\\\\\b d\"e f\"g h"},
        {"p a\\\\\\\"b c d", {"p", "a\\\"b", "c", "d"}, "a\\\\\\\"b c d"},
        {"p a\\\\\\\\\"b c\" d e", {"p", "a\\\\b c", "d", "e"}, "a\\\\\\\\\"b c\" d e"},
        {"p a\"b\"\" c d", {"p", "ab\" c d"}, "a\"b\"\" c d"},
        {"", {""}, ""},
    };
    for (const Row& row : rows) {
        const ReceivedCommandLine received = SplitLikeTheCRuntime(row.line);
        EXPECT_EQ(received.argv, row.argv) << row.line;
        EXPECT_EQ(received.afterProgram, row.afterProgram) << row.line;
    }
}

TEST(CommandLine, CmdRunsABatchFileByAllOfItsQuoteRule)
{
    const struct {
        const char* command;
        bool runs;
    } rows[] = {
        {"D:\\My Tools\\Tool.cmd", true},        // a space, no special character: quotes kept
        {"D:\\Tools\\Go@home.cmd", true},        // no space: quotes dropped, '@' harmless unquoted
        {"D:\\Tools(x64)\\Tool.cmd", true},      // no space: parentheses harmless unquoted
        {"D:\\Tools\\Tool.cmd", true},           // nothing special at all
        {"D:\\Tools (x64)\\Tool.cmd", false},    // special and a space: unquoted, broken at the space
        {"D:\\My Tools@home\\Tool.cmd", false},  // '@' with a space: quotes dropped
        {"D:\\A&B\\t.bat", false},              // '&' splits the command
        {"D:\\x^y\\t.cmd", false},              // '^' is an escape, taken out
        {"D:\\a|b\\t.cmd", false},              // a pipe
        {"D:\\a<b\\t.cmd", false},              // a redirection
        {"D:\\tab\there\\t.cmd", true},         // a tab is whitespace too
    };
    for (const auto& row : rows)
        EXPECT_EQ(CmdRunsBatchFile(row.command), row.runs) << row.command;
}

TEST(ExecutableFormat, TellsProgramsWindowsCannotRun)
{
    auto header = [](const char* signature, std::uint16_t machine) {
        Bytes bytes(0x80, 0);
        bytes[0] = 'M', bytes[1] = 'Z', bytes[0x3C] = 0x40;
        for (std::size_t i = 0; signature[i] != '\0'; ++i)
            bytes[0x40 + i] = static_cast<unsigned char>(signature[i]);
        bytes[0x44] = static_cast<unsigned char>(machine), bytes[0x45] = static_cast<unsigned char>(machine >> 8);
        return bytes;
    };
    struct Row {
        const char* what;
        Bytes start;
        const char* name;
        ExecutableFormat format;
        bool runs;  // on x64 Windows
    };
    const Row rows[] = {
        {"x86", header("PE", 0x014C), "a.exe", ExecutableFormat::Pe, true},
        {"x86-64", header("PE", 0x8664), "a.exe", ExecutableFormat::Pe, true},
        {"ARM64", header("PE", 0xAA64), "a.exe", ExecutableFormat::Pe, false},
        {"16-bit Windows", header("NE", 0), "SETUP.EXE", ExecutableFormat::SixteenBit, false},
        {"DOS, MZ only", {'M', 'Z', 0, 0}, "SETUP.EXE", ExecutableFormat::Dos, false},
        {"DOS, extended header past the file", header("PE", 0x014C), "x.exe", ExecutableFormat::Dos, false},
        {"DOS .com", {0xB4, 0x09, 0xCD, 0x21}, "INSTALL.COM", ExecutableFormat::Dos, false},
        {"a text", {'h', 'i'}, "a.exe", ExecutableFormat::NotAProgram, true},
    };
    for (const Row& row : rows) {
        Bytes start = row.start;
        if (std::string(row.what) == "DOS, extended header past the file")
            start[0x3C] = 0x7F;
        const Executable executable = ClassifyExecutable(start, row.name);
        EXPECT_EQ(executable.format, row.format) << row.what;
        const bool runs = executable.format == ExecutableFormat::Pe ? RunsOnX64Windows(executable.machine)
                                                                    : executable.format == ExecutableFormat::NotAProgram;
        EXPECT_EQ(runs, row.runs) << row.what;
    }
}

TEST(CommandLine, TheNoBreakSpaceRewriteBreaksCharactersOfMultiByteCodePages)
{
    struct Row {
        unsigned codePage;
        const char* nameBytes;
        bool corrupts;
    };
    const Row rows[] = {
        {1252, "Demo\xA0Go", false},  // the no-break space itself
        {932, "\x82\xA0", true},      // あ
        {932, "\x82\xBE", false},     // だ
        {936, "\xB0\xA0", true},      // 盃
        {65001, "\xC3\xA0", true},    // à
        {65001, "\xE3\x81\xA0", true},  // だ
        {65001, "Setup", false},
    };
    for (const Row& row : rows) {
        std::string corrupted;
        EXPECT_EQ(RewriteCorruptsName(row.nameBytes, row.codePage, corrupted), row.corrupts)
            << row.codePage << " " << row.nameBytes;
    }
}

}  // namespace
