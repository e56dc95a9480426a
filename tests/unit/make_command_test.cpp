// launcher-stamp make, and check reading autorun.inf: layouts in temporary folders.
#include "commands/make_command.h"
#include "commands/stamp_command.h"
#include "launcher_samples.h"
#include "window/medium_choices.h"
#include "pe/launch_field.h"
#include "pe/version_resource.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <fstream>
#include <map>

namespace fs = std::filesystem;

namespace {

// Every entry below root and its bytes (a link's target, a large file's size): what a refusal
// must leave as it was.
std::map<std::string, Bytes> Snapshot(const fs::path& root)
{
    std::map<std::string, Bytes> files;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        const std::string path = entry.path().string();
        const std::string target = entry.is_symlink() ? fs::read_symlink(path).string() : "";
        if (entry.is_symlink())
            files[path + " ->"] = Bytes(target.begin(), target.end());
        else if (entry.is_regular_file())
            files[path] = entry.file_size() < (1u << 20) ? ReadBytes(path) : Bytes(8, static_cast<unsigned char>(entry.file_size() >> 20));
        else
            files[path] = Bytes();
    }
    return files;
}

class MakeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        root_ = TestFolder("launcher-make-" +
                           std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(root_);
        fs::create_directories(root_ / "My App 2");
        std::ofstream(root_ / "My App 2" / "App.exe") << TestProgram();
        std::ofstream(root_ / "My App 2" / "Tool.cmd") << "@echo off";
    }
    void TearDown() override { fs::remove_all(root_); }

    int Run(std::vector<std::string> arguments)
    {
        out_.clear();
        err_.clear();
        return RunStamp(arguments, out_, err_);
    }

    fs::path root_;
    std::string out_, err_;
};

TEST_F(MakeTest, DerivesTheLauncherAndItsLaunchDirectoryAndARerunChangesNothing)
{
    const std::string root = root_.string();
    ASSERT_EQ(Run({"make", root, "My App 2/App.exe", "--arch", "x64", "--label", "My App"}), 0) << err_ << out_;
    EXPECT_EQ(Run({"show", (root_ / "App.exe").string()}), 0);
    EXPECT_EQ(FirstLine(out_), "My App 2");
    EXPECT_EQ(Run({"make", root, "My App 2/App.exe", "--arch", "x64", "--label", "My App"}), 0) << err_ << out_;
    EXPECT_NE(out_.find("its folder's name holds a space, so App.exe receives its own path split into arguments "
                        "(see check); a folder named MyApp2 avoids it"), std::string::npos) << out_;
    const std::string autorun = "[autorun]\r\nopen=App.exe\r\nicon=App.exe\r\nlabel=My App\r\n";
    EXPECT_EQ(ReadBytes((root_ / "autorun.inf").string()), Bytes(autorun.begin(), autorun.end()));

    // The launcher it carries is the one the 64-bit build makes, the field aside.
    const auto samples = LauncherSamples();
    if (!samples.empty() && samples[0].find("x64") != std::string::npos) {
        ASSERT_EQ(Run({"set", samples[0], "My App 2", "--output", (root_ / "expected.exe").string()}), 0) << err_;
        EXPECT_EQ(ReadBytes((root_ / "App.exe").string()), ReadBytes((root_ / "expected.exe").string()));
        fs::remove(root_ / "expected.exe");
    }

    const auto before = Snapshot(root_);
    EXPECT_EQ(Run({"make", root, (root_ / "My App 2" / "App.exe").string(), "--arch", "x64", "--label", "My App"}), 0)
        << err_;
    EXPECT_NE(out_.find("App.exe: unchanged"), std::string::npos) << out_;
    EXPECT_EQ(Snapshot(root_), before);

    // Another extension: the launcher's name keeps it, and its naming gives it back.
    EXPECT_EQ(Run({"make", root, "My App 2/Tool.cmd", "--no-autorun"}), 0) << err_ << out_;
    EXPECT_NE(out_.find("D:\\Tool.cmd.exe: ok: starts D:\\My App 2\\Tool.cmd"), std::string::npos) << out_;

    // Another launcher on the root that is not ok is reported, but make's status is its own.
    ASSERT_EQ(Run({"set", (root_ / "App.exe").string(), "Gone", "--output", (root_ / "Other.exe").string()}), 0);
    EXPECT_EQ(Run({"make", root, "My App 2/App.exe", "--arch", "x64", "--label", "My App"}), 0) << err_ << out_;
    EXPECT_NE(out_.find("D:\\Other.exe: directory-missing"), std::string::npos) << out_;
    EXPECT_EQ(Run({"check", root}), 1);
}

TEST_F(MakeTest, RefusesWhatItShouldNotWriteAndChangesNothing)
{
    const std::string root = root_.string();
    const fs::path outside = root_.parent_path() / "launcher-make-outside.exe";
    std::ofstream(outside) << "x";
    std::ofstream(root_ / "Loose.exe") << "x";
    std::ofstream(root_ / "picture.png") << "not a picture";
    std::ofstream(root_ / "My App 2" / "\xE3\x81\x82.exe") << TestProgram();
    const struct {
        const char* what;
        std::vector<std::string> arguments;
        const char* foreign;  // a file of someone else's placed first, at the root
    } refusals[] = {
        {"outside", {"make", root, outside.string()}, nullptr},
        {"directly in the root", {"make", root, "Loose.exe"}, nullptr},
        {"missing", {"make", root, "My App 2/None.exe"}, nullptr},
        {"a label too long", {"make", root, "My App 2/App.exe", "--label", std::string(33, 'x')}, nullptr},
        {"a picture that cannot be read", {"make", root, "My App 2/App.exe", "--icon", (root_ / "picture.png").string()}, nullptr},
        {"a bad drive letter", {"make", root, "My App 2/App.exe", "--drive", "1"}, nullptr},
        {"a name the 0xA0 rewrite breaks", {"make", root, "My App 2/\xE3\x81\x82.exe", "--codepage", "932"}, nullptr},
        {"someone else's App.exe", {"make", root, "My App 2/App.exe"}, "App.exe"},
        {"someone else's autorun.inf", {"make", root, "My App 2/App.exe"}, "AUTORUN.INF"},
    };
    for (const auto& refusal : refusals) {
        if (refusal.foreign != nullptr)
            std::ofstream(root_ / refusal.foreign) << "someone else's";
        const auto before = Snapshot(root_);
        EXPECT_NE(Run(refusal.arguments), 0) << refusal.what;
        EXPECT_FALSE(err_.empty()) << refusal.what;
        EXPECT_EQ(Snapshot(root_), before) << refusal.what;
        if (refusal.foreign != nullptr) {
            std::vector<std::string> forced = refusal.arguments;
            forced.push_back("--force");
            EXPECT_EQ(Run(forced), 0) << refusal.what << err_ << out_;
            fs::remove(root_ / refusal.foreign);
        }
    }
    fs::remove(outside);
}

TEST_F(MakeTest, CheckReadsAutorunInfAsWindowsDoes)
{
    const std::string root = root_.string();
    ASSERT_EQ(Run({"make", root, "My App 2/App.exe", "--no-autorun"}), 0) << err_;
    std::ofstream(root_ / "Broken.exe") << "x";
    fs::copy_file(root_ / "App.exe", root_ / "Other.exe");  // starts My App 2\Other.exe, which is missing
    const char utf16[] = "\xFF\xFE[\0a\0u\0t\0o\0r\0u\0n\0]\0\n\0o\0p\0e\0n\0=\0A\0p\0p\0.\0e\0x\0e\0";
    const std::string utf16Ok(utf16, sizeof utf16 - 1);
    const struct {
        std::string text;
        std::vector<std::string> findings;  // what each finding starts with
    } cases[] = {
        {"[AutoRun]\r\nOPEN=App.exe\r\nIcon=app.EXE,0\r\n", {}},
        {utf16Ok, {}},
        {"[autorun]\nopen=Missing.exe\n", {"open= names D:\\Missing.exe"}},
        {"[autorun]\nopen=\"Other.exe\" /x\n", {"open= names D:\\Other.exe, whose verdict is nothing-starts",
                                                "open= hands D:\\Other.exe the arguments \"/x\", from which it takes \"x\""}},
        {"[autorun]\nopen=App.exe /setup\n", {"open= hands D:\\App.exe the arguments \"/setup\", from which it takes \"setup\""}},
        {"[autorun]\nopen=D:\\App.exe\nicon=\\App.exe\nlabel=\x81\n", {}},
        {"[autorun]\nopen=E:\\App.exe\n", {"open= names E:\\App.exe, which is not on the medium"}},
        {"[autorun]\nopen=App.exe\nshellexecute=Missing.exe\n", {"Both open= and shellexecute= are given",
                                                              "shellexecute= names D:\\Missing.exe"}},
        {"[AutoRun.Amd64]\nopen=Gone.exe\n[autorun]\nopen=App.exe\n",
         {"On 64-bit Windows, which reads [AutoRun.Amd64] instead: open= names D:\\Gone.exe"}},
        {"[other]\nopen=Missing.exe\n[autorun]\nicon=nope.ico\n", {"icon= names D:\\nope.ico"}},
        {"[autorun]\nopen=App.exe\nlabel=" + std::string(33, 'x') + "\n", {"label= has 33 characters"}},
    };
    for (const auto& c : cases) {
        std::ofstream(root_ / "autorun.inf", std::ios::binary | std::ios::trunc) << c.text;
        Run({"check", root, "--json"});
        const nlohmann::json result = nlohmann::json::parse(out_);
        const nlohmann::json& autorun = result.back();
        ASSERT_TRUE(autorun.contains("autorun")) << c.text;
        ASSERT_EQ(autorun["findings"].size(), c.findings.size()) << c.text << autorun.dump();
        for (std::size_t i = 0; i < c.findings.size(); ++i)
            EXPECT_EQ(autorun["findings"][i].get<std::string>().rfind(c.findings[i], 0), 0u) << autorun.dump();
    }
}

// A certificate table appended to a launcher, as signing leaves it (not a valid signature:
// only its place in the file is read).
void AppendSignature(const fs::path& path)
{
    Bytes bytes = ReadBytes(path.string());
    LauncherImage image;
    std::string error;
    ASSERT_TRUE(ReadLauncherImage(bytes, image, error)) << error;
    Put32(bytes, image.securityEntryOffset, static_cast<std::uint32_t>(bytes.size()));
    Put32(bytes, image.securityEntryOffset + 4, 16);
    const Bytes table = {16, 0, 0, 0, 0, 2, 2, 0, 1, 2, 3, 4, 5, 6, 7, 8};
    bytes.insert(bytes.end(), table.begin(), table.end());
    WriteBytes(path.string(), bytes);
}

TEST_F(MakeTest, NeverHarmsAFile)
{
    const std::string root = root_.string();
    const fs::path outside = root_.string() + "-outside";
    fs::create_directories(outside);
    std::ofstream(outside / "App.exe") << "someone else's";
    fs::create_directories(root_ / "Other");
    std::ofstream(root_ / "Other" / "App.exe") << TestProgram("another");
    std::ofstream(root_ / "notes.txt") << "notes";
    const std::string leftover = (root_ / ".launcher-stamp-Ab12Cd").string();
    int held = -1;  // a temporary file that a running make holds
    const auto samples = LauncherSamples();
    auto makeFor = [&](const std::string& program, const std::string& arch) {
        Run({"make", root, program, "--arch", arch});
    };
    struct Row {
        const char* what;
        std::function<void()> lay;  // what is at the root before make runs
        std::vector<std::string> arguments;  // after make ROOT PROGRAM
        const char* refusal;        // in err when make must refuse and change nothing; null: it makes it
        std::function<void()> after = [] {};  // further checks of a medium made
        int status = 0;                        // make's, when it makes the medium
    };
    const Row rows[] = {
        {"a link to the program", [&] { fs::create_symlink("My App 2/App.exe", root_ / "App.exe"); }, {"--force"},
         "the program itself"},
        {"a link out of the root", [&] { fs::create_symlink(outside / "App.exe", root_ / "App.exe"); }, {"--force"},
         "outside"},
        {"autorun.inf linked out of the root", [&] { fs::create_symlink(outside / "App.exe", root_ / "autorun.inf"); },
         {"--force"}, "outside"},
        {"an autorun.inf of ours for another launcher", [&] { makeFor("Other/App.exe", "x86"); fs::remove(root_ / "App.exe"); },
         {"--label", "Mine"}, "its label is none, make would write \"Mine\""},
        {"autorun.inf linked inside the root", [&] { fs::create_symlink("notes.txt", root_ / "autorun.inf"); }, {},
         "--force replaces the link itself"},
        {"autorun.inf linked inside the root, forced", [&] { fs::create_symlink("notes.txt", root_ / "autorun.inf"); },
         {"--force"}, nullptr, [&] { EXPECT_FALSE(fs::is_symlink(root_ / "autorun.inf")); }},
        {"a FIFO at the launcher's name", [&] { mkfifo((root_ / "App.exe").c_str(), 0644); }, {"--force"},
         "not a plain file"},
        {"a FIFO at autorun.inf", [&] { mkfifo((root_ / "autorun.inf").c_str(), 0644); }, {"--force"},
         "not a plain file"},
        {"a launcher that starts another program", [&] { makeFor("Other/App.exe", "x86"); }, {},
         "made again it would start My App 2\\App.exe"},
        {"a launcher that starts another program, forced", [&] { makeFor("Other/App.exe", "x86"); }, {"--force"},
         nullptr},
        // A whole signature keeps the same launcher unchanged (tests/signing); this table's digest
        // is no signature's, so it counts as broken, and is made again only when told.
        {"the same launcher, its signature broken",
         [&] { makeFor("My App 2/App.exe", "x86"); AppendSignature(root_ / "App.exe"); }, {"--arch", "x86"},
         "has a broken signature"},
        {"the same launcher, its signature broken, forced",
         [&] { makeFor("My App 2/App.exe", "x86"); AppendSignature(root_ / "App.exe"); }, {"--arch", "x86", "--force"},
         nullptr, [&] { EXPECT_NE(err_.find("signature removed: sign it again"), std::string::npos) << err_; }},
        {"a signed launcher made again for the other architecture",
         [&] { makeFor("My App 2/App.exe", "x86"); AppendSignature(root_ / "App.exe"); }, {"--arch", "x64"},
         "is signed"},
        {"the same, forced", [&] { makeFor("My App 2/App.exe", "x86"); AppendSignature(root_ / "App.exe"); },
         {"--arch", "x64", "--force"}, nullptr,
         [&] { EXPECT_NE(err_.find("signature removed: sign it again"), std::string::npos) << err_; }},
        {"a leftover of an interrupted run", [&] { std::ofstream(leftover) << "half"; }, {}, nullptr,
         [&] { EXPECT_FALSE(fs::exists(leftover)); }},
        {"a temporary file a running make holds",
         [&] { std::ofstream(leftover) << "half"; held = open(leftover.c_str(), O_RDONLY); flock(held, LOCK_EX); },
         {}, nullptr, [&] {
             EXPECT_TRUE(fs::exists(leftover));
             EXPECT_NE(out_.find("A launcher-stamp run is writing it now"), std::string::npos) << out_;
             close(held);
             fs::remove(leftover);
         }, 1},
        {"a program of 3 GB, most of it appended", [&] {
             if (!samples.empty())
                 fs::copy_file(samples[0], root_ / "My App 2" / "App.exe", fs::copy_options::overwrite_existing);
             fs::resize_file(root_ / "My App 2" / "App.exe", 3ull << 30);
         }, {}, nullptr, [&] { EXPECT_EQ(out_.find("no icon taken"), std::string::npos) << out_; }},
    };
    for (const Row& row : rows) {
        for (const char* name : {"App.exe", "autorun.inf"})
            fs::remove(root_ / name);
        std::ofstream(root_ / "My App 2" / "App.exe", std::ios::trunc) << TestProgram();
        row.lay();
        const auto before = Snapshot(root_);
        const auto beforeOutside = Snapshot(outside);
        std::vector<std::string> arguments = {"make", root, "My App 2/App.exe"};
        arguments.insert(arguments.end(), row.arguments.begin(), row.arguments.end());
        const int status = Run(arguments);
        EXPECT_EQ(Snapshot(outside), beforeOutside) << row.what;
        if (row.refusal != nullptr) {
            EXPECT_EQ(status, 1) << row.what;
            EXPECT_NE(err_.find(row.refusal), std::string::npos) << row.what << ": " << err_;
            EXPECT_EQ(Snapshot(root_), before) << row.what;
            continue;
        }
        EXPECT_EQ(status, row.status) << row.what << ": " << err_ << out_;
        EXPECT_EQ(ReadBytes((root_ / "notes.txt").string()), Bytes({'n', 'o', 't', 'e', 's'})) << row.what;
        row.after();
    }
    fs::remove_all(outside);
}

// The files of ours at root: the launchers and autorun.inf a medium holds, and any temporary
// file left over.
std::vector<std::string> RootFiles(const fs::path& root)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(root)) {
        if (!entry.is_directory())
            names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

// make is all or nothing: on a full disk, under runs for other programs at the same time, and
// when it is killed at any moment (the next run then finishes the medium and leaves nothing).
TEST_F(MakeTest, IsAllOrNothing)
{
    fs::create_directories(root_ / "Other");
    std::ofstream(root_ / "Other" / "Go.exe") << TestProgram("another");
    const std::string root = root_.string();
    // A make in a process of its own, which exits 0 when it wrote its autorun.inf (its check
    // may see the other run's files meanwhile), 1 when it wrote nothing.
    auto inChild = [this](std::vector<std::string> arguments) {
        const pid_t child = fork();
        if (child == 0) {
            Run(arguments);
            _exit(out_.find("autorun.inf: written") != std::string::npos ? 0 : 1);
        }
        return child;
    };
    auto status = [](pid_t child) {
        int result = 0;
        waitpid(child, &result, 0);
        return WIFEXITED(result) ? WEXITSTATUS(result) : -1;
    };

    // Two runs for different programs at once: one makes its medium, the other writes nothing.
    for (int round = 0; round < 10; ++round) {
        for (const std::string& name : RootFiles(root_))
            fs::remove(root_ / name);
        const pid_t first = inChild({"make", root, "My App 2/App.exe"});
        const pid_t second = inChild({"make", root, "Other/Go.exe"});
        const int firstStatus = status(first), secondStatus = status(second);
        EXPECT_EQ((firstStatus == 0) + (secondStatus == 0), 1) << firstStatus << " " << secondStatus;
        const std::vector<std::string> winner = {firstStatus == 0 ? "App.exe" : "Go.exe", "autorun.inf"};
        EXPECT_EQ(RootFiles(root_), winner);
    }

    // Killed at any moment, then run again: a whole medium and no leftover.
    const std::vector<std::string> whole = {"App.exe", "autorun.inf"};
    for (int round = 0; round < 30; ++round) {
        for (const std::string& name : RootFiles(root_))
            fs::remove(root_ / name);
        const pid_t child = inChild({"make", root, "My App 2/App.exe"});
        usleep(static_cast<useconds_t>((round * 7919) % 30000));
        kill(child, SIGKILL);
        status(child);
        EXPECT_EQ(Run({"make", root, "My App 2/App.exe"}), 0) << err_ << out_;
        EXPECT_EQ(RootFiles(root_), whole) << out_;
    }

    // A disk too full for autorun.inf after the launcher: nothing is written.
    const fs::path small = root_ / "small";
    fs::create_directories(small / "D");
    if (std::system(("mount -t tmpfs -o size=12k tmpfs '" + small.string() + "' 2>/dev/null").c_str()) != 0)
        GTEST_SKIP() << "no tmpfs can be mounted here, so a full disk is not tried";
    fs::create_directories(small / "D");
    std::ofstream(small / "D" / "App.exe") << TestProgram();
    EXPECT_EQ(Run({"make", small.string(), "D/App.exe"}), 1);
    EXPECT_NE(err_.find("nothing was changed"), std::string::npos) << err_;
    EXPECT_EQ(RootFiles(small), std::vector<std::string>{});
    EXPECT_EQ(Run({"make", small.string(), "D/App.exe", "--no-autorun"}), 0) << err_;
    std::system(("umount '" + small.string() + "'").c_str());
}

// What Windows can start from the medium, decided before anything is written: make refuses
// what the author must fix, saying how, and names the launcher itself where it can.
TEST_F(MakeTest, RefusesWhatWindowsCannotStartAndNamesTheLauncherToGiveItsProgramBack)
{
    const std::string root = root_.string();
    struct Row {
        std::string program;  // created below the root
        std::vector<std::string> options;
        const char* said;     // in err when refused, else in out
        bool refused;
        std::string followed = "";  // the program as the advice renames it: then make makes the medium
    };
    const std::string longFolder(250, 'f');
    const Row rows[] = {
        {"D/tool.txt", {}, "is a document", true, "D/tool.exe"},
        {"D/CON.exe", {}, "a device name Windows reserves", true, "D/CONSOLE.exe"},
        {"D./App.exe", {}, "ends in a dot or space", true, "D/App.exe"},
        {"D/a:b.exe", {}, "holds ':'", true, "D/ab.exe"},
        {"D/.exe", {}, "named only", true, "D/App.exe"},
        {"D/\xD0\x9F.exe", {}, "no place in code page 1252", true, "D/P.exe"},
        {longFolder + "/App.exe", {}, "Windows starts no program whose path takes 260 or more", true, "f/App.exe"},
        {"Setup files/SETUP.exe", {}, "rename the folder \"Setup files\", for example to \"Setupfiles\"", true,
         "Setupfiles/SETUP.exe"},
        {"D/App.exe", {"--label", "My\r\nshellexecute=evil.exe"}, "control character", true},
        {"D/App.exe", {"--label", "My App "}, "begins or ends with a space", true},
        {"D/App.exe", {"--label", "My\x7F" "App"}, "control character", true},
        {"D/setup-1.2.3.exe", {}, "D:\\setup-1.2.3.exe.exe: ok: starts D:\\D\\setup-1.2.3.exe", false},
        {"D/Tool,v2.exe", {}, "D:\\autorun.inf: ok", false},
    };
    for (const Row& row : rows) {
        fs::remove_all(root_);
        fs::create_directories((root_ / row.program).parent_path());
        std::ofstream(root_ / row.program) << TestProgram();
        const auto before = Snapshot(root_);
        std::vector<std::string> arguments = {"make", root, row.program};
        arguments.insert(arguments.end(), row.options.begin(), row.options.end());
        const int status = Run(arguments);
        EXPECT_EQ(status, row.refused ? 1 : 0) << row.program << ": " << err_ << out_;
        EXPECT_NE((row.refused ? err_ : out_).find(row.said), std::string::npos) << row.program << ": " << err_ << out_;
        if (row.refused) {
            EXPECT_EQ(Snapshot(root_), before) << row.program;
        }
        if (row.followed.empty())
            continue;
        // The advice followed: the same medium with the program renamed as it says.
        fs::remove_all(root_);
        fs::create_directories((root_ / row.followed).parent_path());
        std::ofstream(root_ / row.followed) << TestProgram();
        EXPECT_EQ(Run({"make", root, row.followed}), 0) << row.followed << ": " << err_ << out_;
    }
    // Files named as programs that Windows cannot run by their bytes.
    const struct {
        const char* program;
        std::string bytes;
        const char* said;
    } unrunnable[] = {
        {"D/App.exe", "", "is empty, not a program"},
        {"D/App.exe", "echo hello", "is no program: it does not start with the MZ header"},
        {"D/App.exe", "MZ", "is a DOS program"},
        {"D/INSTALL.COM", "\xB4\x09", "is a DOS program"},
    };
    for (const auto& row : unrunnable) {
        fs::remove_all(root_);
        fs::create_directories((root_ / row.program).parent_path());
        std::ofstream(root_ / row.program, std::ios::binary) << row.bytes;
        const auto before = Snapshot(root_);
        EXPECT_EQ(Run({"make", root, row.program}), 1) << row.said << ": " << out_;
        EXPECT_NE(err_.find(row.said), std::string::npos) << row.said << ": " << err_;
        EXPECT_EQ(Snapshot(root_), before) << row.said;
    }
    // Folders on the program's path whose names differ only in letter case.
    fs::remove_all(root_);
    fs::create_directories(root_ / "Setup" / "D");
    fs::create_directories(root_ / "SETUP");
    std::ofstream(root_ / "Setup" / "D" / "App.exe") << TestProgram();
    EXPECT_EQ(Run({"make", root, "Setup/D/App.exe"}), 1);
    EXPECT_NE(err_.find("differ only in letter case"), std::string::npos) << err_;
    // Two programs whose names differ only in letter case: which one Windows sees is not known.
    fs::remove_all(root_);
    fs::create_directories(root_ / "Setupfiles");
    std::ofstream(root_ / "Setupfiles" / "SETUP.exe") << TestProgram();
    EXPECT_EQ(Run({"make", root, "Setupfiles/SETUP.exe"}), 0) << err_ << out_;
    EXPECT_NE(out_.find("no icon taken"), std::string::npos) << out_;
    std::ofstream(root_ / "Setupfiles" / "setup.exe") << TestProgram("another");
    EXPECT_EQ(Run({"make", root, "Setupfiles/SETUP.exe", "--force"}), 1);
    EXPECT_NE(err_.find("differ only in letter case"), std::string::npos) << err_;
    // A name with a comma is quoted in autorun.inf, and check reads it back as that launcher.
    fs::remove_all(root_);
    fs::create_directories(root_ / "D");
    std::ofstream(root_ / "D" / "Tool,v2.exe") << TestProgram();
    ASSERT_EQ(Run({"make", root, "D/Tool,v2.exe"}), 0) << err_ << out_;
    const std::string autorun = "[autorun]\r\nopen=\"Tool,v2.exe\"\r\nicon=\"Tool,v2.exe\"\r\n";
    EXPECT_EQ(ReadBytes((root_ / "autorun.inf").string()), Bytes(autorun.begin(), autorun.end()));
}

// For every name make accepts, check reads the autorun.inf make wrote as naming that launcher.
TEST_F(MakeTest, CheckReadsBackEveryAutorunInfMakeWrites)
{
    const std::string root = root_.string();
    const std::vector<std::string> pieces = {"a", "Z", "1", " ", ",", ";", "(", ")", "&", "=", "-", "_", "'", "[",
                                             "\xC3\xA9", "\xE2\x82\xAC", "."};
    std::uint32_t state = 12345;
    auto next = [&state](std::size_t bound) {
        state = state * 1103515245u + 12345u;
        return (state >> 8) % bound;
    };
    int made = 0;
    for (int round = 0; round < 40; ++round) {
        std::string name = "p";
        for (std::size_t i = 0, length = 1 + next(8); i < length; ++i)
            name += pieces[next(pieces.size())];
        fs::remove_all(root_);
        fs::create_directories(root_ / "D");
        std::ofstream(root_ / "D" / (name + ".exe")) << TestProgram();
        if (Run({"make", root, "D/" + name + ".exe", "--no-autorun"}) != 0)
            continue;  // refused, or a launcher that is not ok: nothing to read back
        const std::string label = "<" + name + ">";
        ASSERT_EQ(Run({"make", root, "D/" + name + ".exe", "--label", label}), 0) << name << ": " << err_ << out_;
        Run({"check", root, "--json"});
        const nlohmann::json result = nlohmann::json::parse(out_);
        ASSERT_TRUE(result.back().contains("autorun")) << name;
        EXPECT_TRUE(result.back()["findings"].empty()) << name << ": " << result.back().dump();
        EXPECT_EQ(result.back()["label"], label) << name;
        ++made;
    }
    EXPECT_GT(made, 10);
}

}  // namespace

TEST_F(MakeTest, TheLauncherTakesItsProgramsVersionStrings)
{
    ASSERT_TRUE(fs::exists(ICON_PROGRAM_SAMPLE)) << "the host build builds the test programs";
    const std::string root = root_.string();
    fs::copy_file(ICON_PROGRAM_SAMPLE, root_ / "My App 2" / "Setup.exe");
    ASSERT_EQ(Run({"make", root, "My App 2/Setup.exe", "--arch", "x64"}), 0) << err_ << out_;
    const Bytes launcher = ReadBytes((root_ / "Setup.exe").string());
    LauncherImage image;
    std::vector<VersionString> strings;
    std::string error;
    bool noVersion = false;
    ASSERT_TRUE(ReadLauncherImage(launcher, image, error)) << error;
    ASSERT_TRUE(ReadVersionStrings(launcher, image, strings, noVersion, error)) << error;
    // The program's five that Explorer shows, then the launcher's own file version and name.
    const std::vector<VersionString> expected = {
        {"FileDescription", "Borvi Setup: installs Borvi on this computer"},
        {"ProductName", "Borvi"},
        {"ProductVersion", "7.1 (cd1)"},
        {"CompanyName", "Borvi Software"},
        {"LegalCopyright", "\xC2\xA9 2026 Borvi"},
        {"FileVersion", LAUNCHER_VERSION},
        {"OriginalFilename", "Setup.exe"},
    };
    EXPECT_EQ(strings, expected);
    EXPECT_EQ(PeChecksum(launcher, image.checksumOffset), image.checksum);
    // A reader that shares nothing with ours reads them too, and the rest of the launcher.
    const std::string pefile = "/usr/bin/python3 -c \"import pefile, sys; pe = pefile.PE(sys.argv[1]); "
                               "print(pe.verify_checksum(), dict((k.decode(), v.decode()) for i in pe.FileInfo[0] "
                               "for t in getattr(i, 'StringTable', []) for k, v in t.entries.items())['ProductName'])\" '" +
                               (root_ / "Setup.exe").string() + "' 2>/dev/null";
    FILE* reader = popen(pefile.c_str(), "r");
    char line[256] = "";
    const bool answered = reader != nullptr && std::fgets(line, sizeof line, reader) != nullptr;
    if (reader != nullptr && pclose(reader) == 0 && answered) {
        EXPECT_STREQ(line, "True Borvi\n");
    }
    // Made again, nothing changes.
    const auto before = Snapshot(root_);
    ASSERT_EQ(Run({"make", root, "My App 2/Setup.exe", "--arch", "x64"}), 0) << err_ << out_;
    EXPECT_NE(out_.find("Setup.exe: unchanged"), std::string::npos) << out_;
    EXPECT_EQ(Snapshot(root_), before);
    // A program without them leaves the launcher's own, and make says so in one line.
    ASSERT_EQ(Run({"make", root, "My App 2/App.exe", "--arch", "x64", "--no-autorun"}), 0) << err_ << out_;
    EXPECT_NE(out_.find("App.exe: no version strings taken"), std::string::npos) << out_;
}

// A forced replacement keeps what it replaces until every file is in place: a file that then
// fails gives it back, and make and the window say exactly what became of each file.
TEST_F(MakeTest, AForcedReplacementIsGivenBackWhenALaterFileFails)
{
    const std::string launcher = (root_ / "App.exe").string(), autorun = (root_ / "autorun.inf").string();
    struct Row {
        const char* what;
        std::function<void()> lay;      // what is at the root before make
        StagingStep step;               // the step the seam fails
        const char* failing;            // at this file name
        FileFate launcherFate, autorunFate;
        const char* headline;           // the window's first line begins so
    };
    const Row rows[] = {
        {"a file of someone else's at the launcher's name, then autorun.inf cannot be put in place",
         [&] { std::ofstream(launcher, std::ios::binary) << "someone's own program"; }, StagingStep::PutInPlace,
         "autorun.inf", FileFate::Restored, FileFate::NotWritten, "Not made, nothing was changed: "},
        {"a read-only file of someone else's, then the same",
         [&] {
             std::ofstream(launcher, std::ios::binary) << "someone's own read-only program";
             fs::permissions(launcher, fs::perms::owner_read);
         },
         StagingStep::PutInPlace, "autorun.inf", FileFate::Restored, FileFate::NotWritten, "Not made, nothing was changed: "},
        {"a launcher of ours for another program, then the same",
         [&] {
             std::ofstream(root_ / "Other" / "App.exe") << TestProgram();
             ASSERT_EQ(Run({"make", root_.string(), "Other/App.exe", "--no-autorun"}), 0) << err_;
         },
         StagingStep::PutInPlace, "autorun.inf", FileFate::Restored, FileFate::NotWritten, "Not made, nothing was changed: "},
        {"autorun.inf cannot even be staged: nothing is put in place",
         [&] { std::ofstream(launcher, std::ios::binary) << "someone's own program"; }, StagingStep::Stage, "autorun.inf",
         FileFate::NotWritten, FileFate::NotWritten, "Not made, nothing was written: "},
    };
    for (const Row& row : rows) {
        fs::remove_all(root_ / "Other");
        fs::create_directories(root_ / "Other");
        for (const char* name : {"App.exe", "autorun.inf"}) {
            if (fs::exists(root_ / name))
                fs::permissions(root_ / name, fs::perms::owner_all);
            fs::remove(root_ / name);
        }
        row.lay();
        const auto before = Snapshot(root_);
        const fs::perms permissions = fs::status(launcher).permissions();
        MakeOptions options;
        options.root = root_.string();
        options.program = "My App 2/App.exe";
        options.force = true;
        MakeOutcome outcome;
        FailNextForTesting(row.step, row.failing);
        EXPECT_EQ(RunMake(options, out_, err_, &outcome), 1) << row.what;
        FailNextForTesting(row.step, "");
        EXPECT_EQ(Snapshot(root_), before) << row.what << ": " << err_;
        EXPECT_EQ(fs::status(launcher).permissions(), permissions) << row.what;
        EXPECT_NE(err_.find("nothing was changed"), std::string::npos) << row.what << ": " << err_;
        ASSERT_EQ(outcome.files.size(), 2u) << row.what;
        EXPECT_STREQ(FileFateName(outcome.files[0].fate), FileFateName(row.launcherFate)) << row.what;
        EXPECT_STREQ(FileFateName(outcome.files[1].fate), FileFateName(row.autorunFate)) << row.what;
        EXPECT_TRUE(outcome.refused) << row.what;
        EXPECT_EQ(RefusalHeadline(outcome).rfind(row.headline, 0), 0u) << row.what << ": " << RefusalHeadline(outcome);
        out_.clear();
        err_.clear();
    }
    // Without a failure the same make replaces the file, and keeps no copy of it.
    ASSERT_EQ(Run({"make", root_.string(), "My App 2/App.exe", "--force"}), 0) << err_;
    for (const auto& entry : fs::directory_iterator(root_))
        EXPECT_FALSE(IsTemporaryName(entry.path().filename().string())) << entry.path();
}

// Every file in make's way is named with its own refusal, and whether --force would go on is
// told by what force would do to each, with nothing changed.
TEST_F(MakeTest, NamesEachFileInTheWayAndWhetherForceWouldGoOn)
{
    const fs::path launcher = root_ / "App.exe", autorun = root_ / "autorun.inf";
    auto someones = [](const fs::path& path) { return [path] { std::ofstream(path) << "someone's own"; }; };
    struct Row {
        const char* what;
        std::vector<std::function<void()>> lay;
        const char* launcherRefusal;  // a part of each file's refusal; empty: not refused
        const char* autorunRefusal;
        bool forceable;
        const char* forceAction;
    };
    const Row rows[] = {
        {"an autorun.inf of someone else's", {someones(autorun)}, "", "holds something else", true, "replace it"},
        {"both", {someones(launcher), someones(autorun)}, "is not a launcher of ours", "holds something else", true,
         "replace it"},
        {"a launcher of ours for another program",
         {[&] {
             std::ofstream(root_ / "Other" / "App.exe") << TestProgram();
             ASSERT_EQ(Run({"make", root_.string(), "Other/App.exe", "--no-autorun"}), 0) << err_;
         }},
         "starts a program in Other now", "", true, "point it there"},
        {"a folder there and an autorun.inf of someone else's", {[&] { fs::create_directory(launcher); }, someones(autorun)},
         "is a folder", "holds something else", false, ""},
        {"a link at the launcher's name, which force would replace, and a folder at autorun.inf's",
         {someones(root_ / "Other" / "notes.txt"), [&] { fs::create_directory_symlink("Other", launcher); },
          [&] { fs::create_directory(autorun); }},
         "is a link to", "is a folder", false, ""},
        // Windows takes a name in another letter case for the same entry: writing beside it would
        // leave two that differ only in letter case.
        {"a folder and a link at the names in another letter case",
         {[&] { fs::create_directory(root_ / "APP.EXE"); }, [&] { fs::create_symlink("Other", root_ / "Autorun.INF"); }},
         "APP.EXE is a folder", "Autorun.INF is a link to", false, ""},
    };
    for (const Row& row : rows) {
        for (const fs::path& path : {launcher, autorun, root_ / "Other", root_ / "APP.EXE", root_ / "Autorun.INF"})
            fs::remove_all(path);
        fs::create_directories(root_ / "Other");
        for (const auto& step : row.lay)
            step();
        const auto before = Snapshot(root_);
        MakeOptions options;
        options.root = root_.string();
        options.program = "My App 2/App.exe";
        MakeOutcome outcome;
        err_.clear();
        EXPECT_EQ(RunMake(options, out_, err_, &outcome), 1) << row.what;
        EXPECT_EQ(Snapshot(root_), before) << row.what;
        EXPECT_TRUE(outcome.refused) << row.what;
        EXPECT_EQ(outcome.forceable, row.forceable) << row.what;
        EXPECT_EQ(outcome.forceAction, row.forceAction) << row.what;
        ASSERT_EQ(outcome.files.size(), 2u) << row.what;
        const char* expected[] = {row.launcherRefusal, row.autorunRefusal};
        for (std::size_t i = 0; i < 2; ++i) {
            const MadeFile& file = outcome.files[i];
            EXPECT_EQ(file.fate, FileFate::NotWritten) << row.what;
            EXPECT_EQ(file.refusal.empty(), *expected[i] == '\0') << row.what << ": " << file.path << ": " << file.refusal;
            EXPECT_NE(file.refusal.find(expected[i]), std::string::npos) << row.what << ": " << file.refusal;
            // The hint on links goes with a link's refusal only.
            EXPECT_EQ(file.refusal.find("the link itself") != std::string::npos,
                      file.refusal.find("is a link") != std::string::npos) << row.what << ": " << file.refusal;
        }
        // What make prints is the first refusal, as before.
        const std::string& first = outcome.files[0].refusal.empty() ? outcome.files[1].refusal : outcome.files[0].refusal;
        EXPECT_EQ(outcome.reason, first) << row.what;
        EXPECT_EQ(err_, "launcher-stamp: refused: " + first + "\n") << row.what;
        EXPECT_EQ(RefusalHeadline(outcome), "Not made, nothing was written: " + first) << row.what;
    }
}

// An autorun.inf of someone else's of any size is replaced with --force, and only then.
TEST_F(MakeTest, ReplacesALargeAutorunInfWithForce)
{
    for (const std::size_t size : {std::size_t{1} << 20, (std::size_t{1} << 20) + 1, std::size_t{2} << 20}) {
        const std::string large(size, ';');
        std::ofstream(root_ / "autorun.inf", std::ios::binary) << large;
        EXPECT_EQ(Run({"make", root_.string(), "My App 2/App.exe"}), 1) << size;
        EXPECT_EQ(ReadBytes((root_ / "autorun.inf").string()).size(), size);
        ASSERT_EQ(Run({"make", root_.string(), "My App 2/App.exe", "--force"}), 0) << size << ": " << err_;
        const std::string made = "[autorun]\r\nopen=App.exe\r\nicon=App.exe\r\n";
        EXPECT_EQ(ReadBytes((root_ / "autorun.inf").string()), Bytes(made.begin(), made.end())) << size;
    }
}

// What a launcher takes from the arguments autorun.inf hands it, read in the double-byte mode of
// the medium's code page: under 932 the second byte 0x5C of 表 (0x95 0x5C) is no separator.
TEST_F(MakeTest, ReadsTheArgumentsAutorunInfGivesALauncherInItsCodePage)
{
    struct Row {
        const char* program;   // in "My App 2"
        unsigned codePage;
        std::string open;      // autorun.inf's open=, in the code page's bytes
        const char* finding;   // what check says of it, or null for nothing
    };
    const Row rows[] = {
        {"\xE8\xA1\xA8" "A.exe", 932, "\x95\x5C" "A.exe x", nullptr},
        {"\xE8\xA1\xA8" "A.exe", 932, "\x95\x5C" "A.exe /x", "from which it takes \"x\""},
        {"\xC3\x9C" "ber.exe", 1252, "\xDC" "ber.exe x", nullptr},
    };
    for (const Row& row : rows) {
        fs::remove_all(root_);
        fs::create_directories(root_ / "My App 2");
        std::ofstream(root_ / "My App 2" / row.program) << TestProgram();
        const std::string codePage = std::to_string(row.codePage);
        ASSERT_EQ(Run({"make", root_.string(), std::string("My App 2/") + row.program, "--codepage", codePage}), 0)
            << row.program << ": " << err_ << out_;
        std::ofstream(root_ / "autorun.inf", std::ios::binary | std::ios::trunc) << "[autorun]\r\nopen=" + row.open + "\r\n";
        Run({"check", root_.string(), "--codepage", codePage});
        const std::size_t at = out_.find("from which it takes");
        if (row.finding == nullptr)
            EXPECT_EQ(at, std::string::npos) << row.program << ": " << out_;
        else
            EXPECT_NE(out_.find(row.finding), std::string::npos) << row.program << ": " << out_;
    }
}
