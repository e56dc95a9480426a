// Target-name extraction: the name a command line yields, with and without double bytes.
#include "double_byte_mode.h"
#include "naming/target_name.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

constexpr char Guard = '~';

// Runs the extraction into a guarded buffer and checks it wrote no more than 256 bytes.
std::string Extract(const std::string& commandLine)
{
    char destination[300];
    std::memset(destination, Guard, sizeof destination);
    ExtractTargetName(commandLine.c_str(), destination);
    for (std::size_t i = MaxTargetNameLength + 1; i < sizeof destination; ++i)
        EXPECT_EQ(destination[i], Guard) << "wrote past 256 bytes at " << i;
    return std::string(destination, ::strnlen(destination, MaxTargetNameLength + 1));
}

struct Row {
    const char* commandLine;
    const char* name;
};

TEST(ExtractTargetName, TreatsTheWholeCommandLineAsOnePath)
{
    DoubleByteModeScope scope(false);
    const Row rows[] = {
        {"\"D:\\SETUP.EXE\"", "SETUP"},
        {"D:\\SETUP.EXE", "SETUP"},
        {"SETUP", "SETUP"},
        {"D:SETUP.EXE", "SETUP"},
        {"\"D:SETUP.EXE\"", "\"D:SETUP"},  // the quote is the first byte: no drive skipped
        {"\"D:\\DEMO.EXE\" ", "DEMO"},
        {"\"D:\\DEMO.EXE\" /x", "x"},
        {"\"D:\\DEMO.EXE\" C:\\DATA\\NOTES.TXT", "NOTES"},
        {"\"D:\\DEMO.EXE\" file.txt", "DEMO.EXE\" file"},
        {"\"D:\\My Demo\"", "My Demo\""},
        {"D:\\DIR.X\\DEMO", "DEMO"},
        {"\\\\server\\share\\A.B.C.EXE", "A.B.C"},
        {"\"D:\\DEMO.\"", "DEMO"},
        {"\"D:\\.EXE\"", ""},
        {"D:", ""},
        {"", ""},
        {"C:/Media/Setup.exe", "Setup"},
        {"D:\\Demo\xA0Go.exe", "Demo\xA0Go"},  // bytes above 0x7F are ordinary characters
    };
    for (const Row& row : rows)
        EXPECT_EQ(Extract(row.commandLine), row.name) << "command line: " << row.commandLine;
}

TEST(ExtractTargetName, KeepsDoubleByteCharactersWholeWhenTheModeIsOn)
{
    const std::string line = "\"D:\\\x95\x5C" "A.EXE\"";
    {
        DoubleByteModeScope scope(true);
        EXPECT_EQ(Extract(line), "\x95\x5C" "A");
        EXPECT_EQ(Extract("\"D:\\\x81/B.EXE\""), "\x81/B");
        EXPECT_EQ(Extract("\"D:\\A\x81.EXE\""), "A\x81.EXE\"");  // 0x81 0x2E is no full stop
        EXPECT_EQ(Extract("\x95:\\SETUP.EXE"), "SETUP");          // colon tested as a plain byte
        EXPECT_EQ(Extract("D:\\SETUP\x95"), "SETUP\x95");          // lone lead byte before the NUL
    }
    DoubleByteModeScope scope(false);
    EXPECT_EQ(Extract(line), "A");
}

TEST(ExtractTargetName, CapsTheNameAt255Bytes)
{
    DoubleByteModeScope scope(false);
    const std::string letters(300, 'n');
    EXPECT_EQ(Extract(letters), letters.substr(0, 255));
    EXPECT_EQ(Extract("D:\\" + letters + ".EXE"), letters.substr(0, 255));
    EXPECT_EQ(Extract(std::string(255, 'n')), std::string(255, 'n'));
}

TEST(ExtractTargetName, DropsADoubleByteCharacterStraddlingTheCapWhole)
{
    const std::string before(254, 'n');
    const std::string line = before + "\x95\x5C" "tail";
    {
        DoubleByteModeScope scope(true);
        EXPECT_EQ(Extract(line), before);  // bytes 255 and 256 form one character: both dropped
        const std::string fits(253, 'n');
        EXPECT_EQ(Extract(fits + "\x95\x5C" "tail"), fits + "\x95\x5C");  // ends exactly at 255
    }
    DoubleByteModeScope scope(false);
    EXPECT_EQ(Extract(line), "tail");  // without the mode 0x5C is a separator
    EXPECT_EQ(Extract(before + "\x95\x41" "tail").size(), 255u);
}

// The mode given as an argument decides, whatever the process's mode is: the tool models
// launchers under other code pages without switching it.
TEST(ExtractTargetNameIn, FollowsTheModeItIsGivenNotTheProcessMode)
{
    struct ModeRow {
        bool process, given;
        const char* name;
    };
    const ModeRow rows[] = {
        {false, true, "\x95\x5C" "A"},
        {true, false, "A"},
        {true, true, "\x95\x5C" "A"},
        {false, false, "A"},
    };
    for (const ModeRow& row : rows) {
        DoubleByteModeScope scope(row.process);
        char destination[MaxTargetNameLength + 1];
        ExtractTargetNameIn("\"D:\\\x95\x5C" "A.EXE\"", destination, row.given);
        EXPECT_STREQ(destination, row.name) << row.process << row.given;
        EXPECT_EQ(DoubleByteMode, row.process);
    }
}

}  // namespace
