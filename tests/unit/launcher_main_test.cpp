// The launch sequence against a recording stand-in of the platform.
#include "double_byte_mode.h"
#include "launcher/launcher_main.h"
#include "platform_recorder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class LauncherMainTest : public ::testing::Test {
protected:
    void SetUp() override { ResetPlatform(); }

    // Runs the launcher as the start-up does and checks it returned 0.
    static void Run(int showCommand = 10)
    {
        char arguments[] = "";
        EXPECT_EQ(LauncherMain(nullptr, nullptr, arguments, showCommand), 0);
    }

    // The one command started, or "" when not exactly one was.
    static std::string StartedCommand()
    {
        return Platform.started.size() == 1 ? Platform.started[0].command : std::string();
    }

    DoubleByteModeScope mode_{false};
};

TEST_F(LauncherMainTest, StartsTheProgramOfItsOwnNameFromTheLaunchDirectory)
{
    Run();
    EXPECT_EQ(Platform.directoryChanges, std::vector<std::string>{"Borvi cd1 versie2"});
    EXPECT_EQ(Platform.currentDirectoryCapacities, std::vector<unsigned long>{260});
    ASSERT_EQ(Platform.started.size(), 1u);
    // Unquoted, although the directory holds spaces: the platform resolves them.
    EXPECT_EQ(Platform.started[0].command, "C:\\Media\\Borvi cd1 versie2\\SETUP");
    EXPECT_EQ(Platform.started[0].showMode, 1u);
    EXPECT_TRUE(Platform.messages.empty());
    EXPECT_EQ(Platform.calls, (std::vector<std::string>{"SetCurrentDirectory", "GetCurrentDirectory",
                                                        "GetCommandLine", "StartProgram"}));
}

TEST_F(LauncherMainTest, MissingLaunchDirectoryShowsOneMessageAndStartsNothing)
{
    Platform.directoryChangeSucceeds = false;
    Run();
    ASSERT_EQ(Platform.messages.size(), 1u);
    EXPECT_EQ(Platform.messages[0].text, "Failed changing directory to \"Borvi cd1 versie2\".");
    EXPECT_EQ(Platform.messages[0].title, "Ruvio Error");
    EXPECT_TRUE(Platform.started.empty());
    EXPECT_EQ(Platform.calls, (std::vector<std::string>{"SetCurrentDirectory", "ShowMessage"}));
}

TEST_F(LauncherMainTest, ShowsTheStoredNameNotAnAbsolutePath)
{
    SetLaunchDirectory("..\\Disc 2\\Setup files");
    Platform.directoryChangeSucceeds = false;
    Run();
    ASSERT_EQ(Platform.messages.size(), 1u);
    EXPECT_EQ(Platform.messages[0].text, "Failed changing directory to \"..\\Disc 2\\Setup files\".");
}

TEST_F(LauncherMainTest, AddsABackslashOnlyWhenThePathDoesNotEndInOne)
{
    struct Row {
        const char* currentDirectory;
        const char* command;
    };
    const Row rows[] = {
        {"D:\\", "D:\\SETUP"},                     // a drive root: no doubled backslash
        {"\\\\server\\share\\", "\\\\server\\share\\SETUP"},
        {"D:\\Media", "D:\\Media\\SETUP"},
        {"D:\\Media/", "D:\\Media/\\SETUP"},       // a forward slash does not count
    };
    for (const Row& row : rows) {
        ResetPlatform();
        Platform.currentDirectory = row.currentDirectory;
        Run();
        EXPECT_EQ(StartedCommand(), row.command) << row.currentDirectory;
    }
}

TEST_F(LauncherMainTest, AppendsTheBackslashByteByByteWhateverTheMode)
{
    DoubleByteModeScope mode(true);
    Platform.currentDirectory = "D:\\\x95\x5C";  // ends in a double-byte character's 0x5C
    Run();
    EXPECT_EQ(StartedCommand(), "D:\\\x95\x5C" "SETUP");
}

TEST_F(LauncherMainTest, ReplacesNoBreakSpacesInTheNameOnly)
{
    Platform.currentDirectory = "D:\\Media\xA0" "2\\Borvi cd1 versie2";
    Platform.commandLine = "\"D:\\Media\xA0" "2\\Demo\xA0Go\xA0.exe\"";
    Run();
    EXPECT_EQ(StartedCommand(), "D:\\Media\xA0" "2\\Borvi cd1 versie2\\Demo Go ");

    ResetPlatform();
    DoubleByteModeScope mode(true);
    Platform.commandLine = "\"D:\\\x95\xA0.exe\"";  // a second byte 0xA0 is replaced too
    Run();
    EXPECT_EQ(StartedCommand(), "C:\\Media\\Borvi cd1 versie2\\\x95 ");
}

TEST_F(LauncherMainTest, StartsWithShowModeOneWhateverItsOwn)
{
    for (const int own : {0, 2, 6, 7, 10}) {
        ResetPlatform();
        Run(own);
        ASSERT_EQ(Platform.started.size(), 1u);
        EXPECT_EQ(Platform.started[0].showMode, 1u) << "started with " << own;
    }
}

TEST_F(LauncherMainTest, FitsTheLongestPathAndNameInto515Characters)
{
    Platform.currentDirectory = "D:\\" + std::string(256, 'd');  // 259 characters
    Platform.commandLine = "D:\\" + std::string(300, 'n') + ".exe";
    Run();
    EXPECT_EQ(StartedCommand(), Platform.currentDirectory + "\\" + std::string(255, 'n'));
    EXPECT_EQ(StartedCommand().size(), 515u);
}

TEST_F(LauncherMainTest, AnEmptyNameStartsACommandEndingInTheSeparator)
{
    Platform.commandLine = "\"D:\\.EXE\"";
    Run();
    EXPECT_EQ(StartedCommand(), "C:\\Media\\Borvi cd1 versie2\\");
}

TEST_F(LauncherMainTest, AnUnreadableCurrentDirectoryStartsNothingAndReports)
{
    const std::string longest = "D:\\" + std::string(256, 'd');
    struct Row {
        bool fails;
        std::string path;
    };
    const Row rows[] = {
        {true, "D:\\Media"},      // the query fails
        {false, longest + "d"},   // 260 characters: only its needed size is reported
        {false, longest + std::string(600, 'd')},
    };
    for (const Row& row : rows) {
        ResetPlatform();
        Platform.currentDirectoryQueryFails = row.fails;
        Platform.currentDirectory = row.path;
        Run();
        EXPECT_TRUE(Platform.started.empty()) << row.path.size();
        ASSERT_EQ(Platform.messages.size(), 1u);
        EXPECT_EQ(Platform.messages[0].text, "Failed changing directory to \"Borvi cd1 versie2\".");
    }
}

TEST_F(LauncherMainTest, ShortensAnOverlongNameInsideTheQuotes)
{
    const std::string before = "Failed changing directory to \"";
    const std::string after = "\".";
    const std::string longest(1023, 'd');
    SetLaunchDirectory(longest);
    Platform.directoryChangeSucceeds = false;
    Run();
    ASSERT_EQ(Platform.messages.size(), 1u);
    EXPECT_EQ(Platform.messages[0].text, before + longest.substr(0, 991) + after);
    EXPECT_EQ(Platform.messages[0].text.size(), 1023u);

    // 991 bytes fit as they are.
    ResetPlatform();
    SetLaunchDirectory(longest.substr(0, 991));
    Platform.directoryChangeSucceeds = false;
    Run();
    EXPECT_EQ(Platform.messages.at(0).text, before + longest.substr(0, 991) + after);
}

TEST_F(LauncherMainTest, ShortensOnACharacterBoundaryInDoubleByteMode)
{
    DoubleByteModeScope mode(true);
    const std::string head(990, 'd');  // a double-byte character at bytes 991 and 992
    SetLaunchDirectory(head + "\x95\x5C" + std::string(20, 'e'));
    Platform.directoryChangeSucceeds = false;
    Run();
    ASSERT_EQ(Platform.messages.size(), 1u);
    EXPECT_EQ(Platform.messages[0].text, "Failed changing directory to \"" + head + "\".");
}

// Only a start that Windows refuses for elevation goes to the shell, and then with the full
// path of the program the command stands for, never the command itself.
TEST_F(LauncherMainTest, HandsAStartRefusedForElevationToTheShell)
{
    struct Row {
        const char* what;
        StartOutcome outcome;
        bool shellSucceeds;
        const char* commandLine;
        const char* currentDirectory;
        const char* file;  // handed to the shell; null: the shell is not asked
        const char* directory;
    };
    const Row rows[] = {
        {"started", StartOutcome::Started, true, "\"D:\\SETUP.EXE\"", "D:\\Borvi cd1 versie2", nullptr, nullptr},
        {"refused", StartOutcome::RefusedForElevation, true, "\"D:\\SETUP.EXE\"", "D:\\Borvi cd1 versie2",
         "D:\\Borvi cd1 versie2\\SETUP.exe", "D:\\Borvi cd1 versie2"},
        {"a name with an extension of its own", StartOutcome::RefusedForElevation, true, "\"D:\\Tool.v2.exe\"",
         "D:\\Tools", "D:\\Tools\\Tool.v2", "D:\\Tools"},
        {"a no-break space in the name", StartOutcome::RefusedForElevation, true, "\"D:\\My\xA0" "App.exe\"",
         "D:\\Apps", "D:\\Apps\\My App.exe", "D:\\Apps"},
        {"a drive root", StartOutcome::RefusedForElevation, true, "\"E:\\SETUP.EXE\"", "D:\\",
         "D:\\SETUP.exe", "D:\\"},
        {"the shell fails too", StartOutcome::RefusedForElevation, false, "\"D:\\SETUP.EXE\"", "D:\\Disc",
         "D:\\Disc\\SETUP.exe", "D:\\Disc"},
    };
    for (const Row& row : rows) {
        ResetPlatform();
        Platform.startOutcome = row.outcome;
        Platform.shellOpenSucceeds = row.shellSucceeds;
        Platform.commandLine = row.commandLine;
        Platform.currentDirectory = row.currentDirectory;
        Run();
        // The one start attempt, unchanged, and never a message box.
        EXPECT_EQ(Platform.started.size(), 1u) << row.what;
        EXPECT_TRUE(Platform.messages.empty()) << row.what;
        if (row.file == nullptr) {
            EXPECT_TRUE(Platform.shellOpens.empty()) << row.what;
            continue;
        }
        ASSERT_EQ(Platform.shellOpens.size(), 1u) << row.what;
        EXPECT_EQ(Platform.shellOpens[0].file, row.file) << row.what;
        EXPECT_EQ(Platform.shellOpens[0].directory, row.directory) << row.what;
        EXPECT_EQ(Platform.shellOpens[0].showMode, 1u) << row.what;
        EXPECT_EQ(Platform.calls.back(), "OpenWithShell") << row.what;
    }
}

}  // namespace
