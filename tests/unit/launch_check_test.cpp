// Predicting what a launcher on a medium starts: layouts built in temporary folders, and the
// check command's statuses and JSON on a built launcher.
#include "medium/launch_check.h"
#include "launcher_samples.h"
#include "commands/check_command.h"
#include "commands/stamp_command.h"
#include "medium/medium_place.h"
#include "window/medium_choices.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <thread>

namespace fs = std::filesystem;

namespace {

const std::string Dir = "Borvi cd1 versie2/";

// The lines check adds to an ok launcher started from Dir, unsigned: what its program receives
// of its command line, and the note on signing.
std::string Receives(const std::string& drive, const std::string& name)
{
    return "  Windows hands the program its command line unquoted: a program that splits it as the C runtime does "
           "sees \"" + drive + "\\Borvi\" as its own path and the arguments \"cd1\" \"versie2\\" + name +
           "\". A folder name without spaces avoids this, and the risk that another file starts first.\n"
           "  Not signed: Windows 11's Smart App Control, and the rules of managed machines for programs started from "
           "USB drives, may block an unsigned program. Sign the launcher with make --sign.\n";
}

// A fresh medium root holding the files named (a name ending in '/' is a folder), each holding
// what follows a '|' in its name, else the start of a Windows program when it is named .exe,
// else "x".
fs::path MakeMedium(const std::string& name, const std::vector<std::string>& files)
{
    const fs::path root = TestFolder("launch-check-" + name);
    fs::remove_all(root);
    fs::create_directories(root);
    for (const std::string& file : files) {
        const std::size_t bar = file.find('|');
        const std::string path = file.substr(0, bar);
        if (path.back() == '/') {
            fs::create_directories(root / path);
        } else {
            fs::create_directories((root / path).parent_path());
            const bool program = path.size() > 4 && fs::path(path).extension().string().size() == 4 &&
                                 (path.compare(path.size() - 4, 4, ".exe") == 0 ||
                                  path.compare(path.size() - 4, 4, ".EXE") == 0);
            std::ofstream(root / path, std::ios::binary)
                << (bar != std::string::npos ? file.substr(bar + 1) : program ? TestProgram() : "x");
        }
    }
    return root;
}

// What opening launcher at the root of the folder root does.
Prediction PredictOn(const fs::path& root, const LauncherOnMedium& launcher)
{
    const std::unique_ptr<MediumPlace> place = FolderPlace(root.string());
    MediumFolders folders(*place);
    return PredictLaunch(launcher, folders);
}

// The first bytes of a 16-bit Windows program: an MZ header whose extended header is NE.
std::string SixteenBitProgram()
{
    std::string bytes(0x42, '\0');
    bytes[0] = 'M', bytes[1] = 'Z', bytes[0x3C] = 0x40, bytes[0x40] = 'N', bytes[0x41] = 'E';
    return bytes;
}

struct Layout {
    const char* what;
    std::vector<std::string> files;
    std::string launcher;         // file name of the launcher at the root
    std::string launchDirectory;  // stored, in the code page's bytes
    Verdict verdict;
    std::string starts;
    std::string arguments;
    unsigned codePage = 1252;
};

TEST(PredictLaunch, EachLayoutGetsItsVerdict)
{
    const std::string longName(200, 'x');
    const Layout layouts[] = {
        {"ok", {Dir + "SETUP.exe"}, "SETUP.exe", "Borvi cd1 versie2", Verdict::Ok,
         "D:\\Borvi cd1 versie2\\SETUP.exe", ""},
        {"other letter case on disk", {"borvi CD1 Versie2/setup.EXE"}, "SETUP.exe", "Borvi cd1 versie2", Verdict::Ok,
         "D:\\borvi CD1 Versie2\\setup.EXE", ""},
        {"absolute on the medium, trailing dot", {Dir + "SETUP.exe"}, "SETUP.exe", "D:\\Borvi cd1 versie2.",
         Verdict::Ok, "D:\\Borvi cd1 versie2\\SETUP.exe", ""},
        {"hijack at the first space", {Dir + "SETUP.exe", "BORVI.EXE"}, "SETUP.exe", "Borvi cd1 versie2",
         Verdict::Hijacked, "D:\\BORVI.EXE", "cd1 versie2\\SETUP"},
        {"hijack at a later space", {Dir + "SETUP.exe", "Borvi cd1.exe"}, "SETUP.exe", "Borvi cd1 versie2",
         Verdict::Hijacked, "D:\\Borvi cd1.exe", "versie2\\SETUP"},
        {"a folder named like a candidate", {Dir + "SETUP.exe", "Borvi.exe/", "Borvi cd1.exe/"}, "SETUP.exe",
         "Borvi cd1 versie2", Verdict::Ok, "D:\\Borvi cd1 versie2\\SETUP.exe", ""},
        {"a space in the launcher's name", {Dir + "Setup.exe", Dir + "Setup Wizard.exe"}, "Setup Wizard.exe",
         "Borvi cd1 versie2", Verdict::WrongProgram, "D:\\Borvi cd1 versie2\\Setup.exe", "Wizard"},
        {"a no-break space in the launcher's name", {Dir + "Demo.exe", Dir + "Demo Go.exe"}, "Demo\xC2\xA0Go.exe",
         "Borvi cd1 versie2", Verdict::WrongProgram, "D:\\Borvi cd1 versie2\\Demo.exe", "Go"},
        {"a no-break space, no shorter candidate", {Dir + "Demo Go.exe"}, "Demo\xC2\xA0Go.exe", "Borvi cd1 versie2",
         Verdict::Ok, "D:\\Borvi cd1 versie2\\Demo Go.exe", ""},
        {"a dotted name gets no .exe", {Dir + "A.B.C.exe"}, "A.B.C.exe", "Borvi cd1 versie2", Verdict::NothingStarts,
         "", ""},
        {"a dotted name starts the file of that name", {Dir + "A.B.C|" + TestProgram()}, "A.B.C.exe",
         "Borvi cd1 versie2", Verdict::Ok, "D:\\Borvi cd1 versie2\\A.B.C", ""},
        {"a document", {"D/tool.txt"}, "tool.txt.exe", "D", Verdict::CannotRun, "D:\\D\\tool.txt", ""},
        {"a name Windows forbids", {"D/What?.exe"}, "What?.exe", "D", Verdict::CannotRun, "D:\\D\\What?.exe", ""},
        {"a folder ending in a dot", {"D./App.exe"}, "App.exe", "D", Verdict::DirectoryMissing, "", ""},
        {"a device name", {"D/CON.exe"}, "CON.exe", "D", Verdict::CannotRun, "D:\\D\\CON.exe", ""},
        {"no program", {Dir + "OTHER.exe"}, "SETUP.exe", "Borvi cd1 versie2", Verdict::NothingStarts, "", ""},
        {"a batch file behind a parenthesis", {"Tools (x64)/Tool.cmd"}, "Tool.cmd.exe", "Tools (x64)",
         Verdict::CannotRun, "D:\\Tools (x64)\\Tool.cmd", ""},
        {"a batch file in a folder with a space", {"My Tools/Tool.cmd"}, "Tool.cmd.exe", "My Tools", Verdict::Ok,
         "D:\\My Tools\\Tool.cmd", ""},
        {"a 16-bit program", {Dir + "SETUP.exe|" + SixteenBitProgram()}, "SETUP.exe", "Borvi cd1 versie2",
         Verdict::CannotRun, "D:\\Borvi cd1 versie2\\SETUP.exe", ""},
        {"a DOS program", {"Disk/INSTALL.COM"}, "INSTALL.COM.exe", "Disk", Verdict::CannotRun, "D:\\Disk\\INSTALL.COM",
         ""},
        {"programs whose names differ in letter case only", {Dir + "SETUP.exe", Dir + "setup.exe"}, "SETUP.exe",
         "Borvi cd1 versie2", Verdict::NotCheckable, "D:\\Borvi cd1 versie2\\SETUP.exe", ""},
        {"a program's path of 260 characters", {std::string(240, 'p') + "/" + std::string(12, 'q') + ".exe"},
         std::string(12, 'q') + ".exe", std::string(240, 'p'), Verdict::NothingStarts,
         "D:\\" + std::string(240, 'p') + "\\" + std::string(12, 'q') + ".exe", ""},
        {"a name whose character holds 0xA0 in code page 932", {"D/\xE3\x81\x82.exe"}, "\xE3\x81\x82.exe", "D",
         Verdict::NothingStarts, "", "", 932},
        {"a name whose character holds 0xA0 in UTF-8", {"D/\xC3\xA0.exe"}, "\xC3\xA0.exe", "D", Verdict::NothingStarts,
         "", "", 65001},
        {"no launch directory", {"SETUP.exe"}, "SETUP.exe", "Borvi cd1 versie2", Verdict::DirectoryMissing, "", ""},
        {"launch directory is a file", {"Borvi cd1 versie2"}, "SETUP.exe", "Borvi cd1 versie2",
         Verdict::DirectoryMissing, "", ""},
        {"launch directory path of 260 bytes", {longName + "/" + std::string(56, 'y') + "/SETUP.exe"}, "SETUP.exe",
         longName + "\\" + std::string(56, 'y'), Verdict::DirectoryMissing, "", ""},
        {"climbing above the root starts itself", {"SETUP.exe"}, "SETUP.exe", "..", Verdict::StartsItself,
         "D:\\SETUP.exe", ""},
        {"another drive", {}, "SETUP.exe", "C:\\Setup", Verdict::NotCheckable, "", ""},
        {"a network path", {}, "SETUP.exe", "\\\\server\\share", Verdict::NotCheckable, "", ""},
        {"a name outside the code page", {Dir + "\xE8\xA1\xA8.exe"}, "\xE8\xA1\xA8.exe", "Borvi cd1 versie2",
         Verdict::NotCheckable, "", ""},
        // Only the last component loses its trailing dots and spaces; the others keep their
        // spaces and lose one dot.
        {"a trailing space kept inside the path", {"Dir /Sub/SETUP.exe"}, "SETUP.exe", "Dir \\Sub", Verdict::Ok,
         "D:\\Dir \\Sub\\SETUP.exe", ""},
        {"a trailing space inside the path, folder without", {"Dir/Sub/SETUP.exe"}, "SETUP.exe", "Dir \\Sub",
         Verdict::DirectoryMissing, "", ""},
        {"two dots inside the path lose one", {"Dir/Sub/SETUP.exe"}, "SETUP.exe", "Dir..\\Sub",
         Verdict::DirectoryMissing, "", ""},
        {"one dot inside the path is dropped", {"Dir/Sub/SETUP.exe"}, "SETUP.exe", "Dir.\\Sub", Verdict::Ok,
         "D:\\Dir\\Sub\\SETUP.exe", ""},
        {"a closing separator keeps the space", {"Setup/SETUP.exe"}, "SETUP.exe", "Setup \\", Verdict::DirectoryMissing,
         "", ""},
        // Names on the way that differ only in letter case, whatever the verdict would be.
        {"folders differing in letter case", {"SETUP/D/App.exe", "Setup/"}, "App.exe", "Setup\\D",
         Verdict::NotCheckable, "D:\\SETUP\\D\\App.exe", ""},
        {"folders differing in letter case, no program", {"Setup/", "SETUP/"}, "App.exe", "Setup",
         Verdict::NotCheckable, "", ""},
        {"hijackers differing in letter case", {Dir + "SETUP.exe", "BORVI.exe", "Borvi.exe"}, "SETUP.exe",
         "Borvi cd1 versie2", Verdict::NotCheckable, "D:\\BORVI.exe", "cd1 versie2\\SETUP"},
        // A file the command names that is no program starts nothing.
        {"an empty file named .exe", {Dir + "SETUP.exe|"}, "SETUP.exe", "Borvi cd1 versie2", Verdict::CannotRun,
         "D:\\Borvi cd1 versie2\\SETUP.exe", ""},
        {"a text file named .exe", {Dir + "SETUP.exe|hello"}, "SETUP.exe", "Borvi cd1 versie2", Verdict::CannotRun,
         "D:\\Borvi cd1 versie2\\SETUP.exe", ""},
        {"a hijacking file that cannot run", {Dir + "SETUP.exe", "Borvi.exe|text"}, "SETUP.exe", "Borvi cd1 versie2",
         Verdict::CannotRun, "D:\\Borvi.exe", "cd1 versie2\\SETUP"},
        // cmd keeps the quotes only around a path with a space; unquoted, only & < > ^ | break it.
        {"a batch file with '@' and no space", {"Tools/Go@home.cmd"}, "Go@home.cmd.exe", "Tools", Verdict::Ok,
         "D:\\Tools\\Go@home.cmd", ""},
        {"a batch file with '&' and no space", {"A&B/Tool.cmd"}, "Tool.cmd.exe", "A&B", Verdict::CannotRun,
         "D:\\A&B\\Tool.cmd", ""},
        {"a launcher found through a space", {"Setup files/SETUP.exe"}, "SETUP.exe", "Setup files",
         Verdict::StartsItself, "D:\\SETUP.exe", "files\\SETUP"},
        // 0x95 0x5C: with the second byte taken for a backslash the name would be empty.
        {"a double-byte name", {Dir + "\xE8\xA1\xA8.exe"}, "\xE8\xA1\xA8.exe", "Borvi cd1 versie2", Verdict::Ok,
         "D:\\Borvi cd1 versie2\\\xE8\xA1\xA8.exe", "", 932},
    };
    for (const Layout& layout : layouts) {
        std::vector<std::string> files = layout.files;
        files.push_back(layout.launcher);
        LauncherOnMedium launcher;
        const fs::path root = MakeMedium("layout", files);
        launcher.fileName = layout.launcher;
        launcher.launchDirectory = layout.launchDirectory;
        launcher.codePage = layout.codePage;
        const Prediction p = PredictOn(root, launcher);
        EXPECT_STREQ(VerdictName(p.verdict), VerdictName(layout.verdict)) << layout.what;
        EXPECT_EQ(p.starts, layout.starts) << layout.what;
        EXPECT_EQ(p.arguments, layout.arguments) << layout.what;
        // An ok launcher is explained by nothing but what its program receives.
        std::size_t explained = 0;
        for (const std::string& finding : p.findings)
            explained += finding.rfind("Windows hands the program", 0) != 0;
        EXPECT_EQ(explained == 0, layout.verdict == Verdict::Ok) << layout.what;
    }
}

TEST(PredictLaunch, WineAlsoTriesACandidateWithoutExtensionWindowsDoesNot)
{
    LauncherOnMedium launcher;
    const fs::path root = MakeMedium("wine", {Dir + "SETUP.exe", "Borvi|" + TestProgram(), "SETUP.exe"});
    launcher.fileName = "SETUP.exe";
    launcher.launchDirectory = "Borvi cd1 versie2";
    EXPECT_EQ(PredictOn(root, launcher).verdict, Verdict::Ok);
    launcher.service = StartService::Wine;
    const Prediction wine = PredictOn(root, launcher);
    EXPECT_EQ(wine.verdict, Verdict::Hijacked);
    EXPECT_EQ(wine.starts, "D:\\Borvi");
}

TEST(PredictLaunch, TellsOneMessageBoxFromARestartWithoutEnd)
{
    struct Row {
        const char* launchDirectory;
        const char* said;
    };
    const Row rows[] = {
        {"Setup files", "that copy shows the message Failed changing directory to \"Setup files\". once"},
        {"\\Setup files .", "again and again, without end"},
        {"D:\\Setup files", "again and again, without end"},
        {"..", "again and again, without end"},
        {"x\\..\\..", "again and again, without end"},
        {"\\.", "again and again, without end"},
    };
    for (const Row& row : rows) {
        LauncherOnMedium launcher;
        const fs::path root = MakeMedium("copies", {"SETUP.exe", "Setup files/SETUP.exe"});
        launcher.fileName = "SETUP.exe";
        launcher.launchDirectory = row.launchDirectory;
        const Prediction p = PredictOn(root, launcher);
        EXPECT_EQ(p.verdict, Verdict::StartsItself) << row.launchDirectory;
        std::string findings;
        for (const std::string& finding : p.findings)
            findings += finding + "\n";
        EXPECT_NE(findings.find(row.said), std::string::npos) << row.launchDirectory << ": " << findings;
    }
}

TEST(PredictLaunch, ListsEachFolderOnceAndTakesItsKindFromTheListing)
{
    // A launch directory of many files: every lookup in it reads one listing, shared by the
    // launchers of one run, so four launchers take about what one takes.
    const fs::path root = MakeMedium("many", {Dir + "SETUP.exe"});
    for (int i = 0; i < 5000; ++i)
        std::ofstream(root / Dir / ("file" + std::to_string(i) + ".dat"));
    const std::unique_ptr<MediumPlace> place = FolderPlace(root.string());
    MediumFolders folders(*place);
    for (const char* name : {"SETUP.exe", "Go Fast.exe", "A.B.exe", "OTHER.exe"}) {
        LauncherOnMedium launcher;
        launcher.fileName = name;
        launcher.launchDirectory = "Borvi cd1 versie2";
        const Prediction p = PredictLaunch(launcher, folders);
        EXPECT_EQ(p.verdict, std::string(name) == "SETUP.exe" ? Verdict::Ok : Verdict::NothingStarts) << name;
    }
    // Seen as first listed, though the folder changes meanwhile.
    fs::remove(root / Dir / "SETUP.exe");
    EXPECT_EQ(folders.Matches({"Borvi cd1 versie2"}, "setup.EXE").size(), 1u);
    fs::remove_all(root);
}

// A folder's place matches names as Windows and an image's place do, without regard to letter
// case; the name itself is taken where it is there, else its first twin in name order.
TEST(FolderPlace, MatchesNamesWithoutRegardToLetterCase)
{
    const fs::path root = MakeMedium("fold", {"Data/", "Data/Setup.exe|setup", "Data/notes.txt|abc",
                                              "Twins/", "Twins/b.txt|lower", "Twins/B.txt|upper", "Twins/a.TXT|a"});
    const std::unique_ptr<MediumPlace> place = FolderPlace(root.string());
    const struct {
        std::vector<std::string> below;
        EntryKind kind;
        std::string bytes;  // what Read gives; empty: it fails
    } rows[] = {
        {{"Data", "Setup.exe"}, EntryKind::File, "setup"},
        {{"DATA", "SETUP.EXE"}, EntryKind::File, "setup"},
        {{"data", "Notes.Txt"}, EntryKind::File, "abc"},
        {{"dATA"}, EntryKind::Folder, ""},
        {{"Twins", "b.txt"}, EntryKind::File, "lower"},
        {{"Twins", "B.txt"}, EntryKind::File, "upper"},
        {{"twins", "A.txt"}, EntryKind::File, "a"},
        {{"Data", "Setup.exe", "x"}, EntryKind::Missing, ""},
        {{"Data", "Setup"}, EntryKind::Missing, ""},
        {{"Dat", "Setup.exe"}, EntryKind::Missing, ""},
    };
    for (const auto& row : rows) {
        std::string shown;
        for (const std::string& name : row.below)
            shown += "/" + name;
        EXPECT_EQ(place->Kind(row.below), row.kind) << shown;
        Bytes bytes;
        std::string error;
        EXPECT_EQ(place->Read(row.below, 0, 100, bytes, error), !row.bytes.empty()) << shown << ": " << error;
        EXPECT_EQ(std::string(bytes.begin(), bytes.end()), row.bytes) << shown;
        std::uint64_t size = 0;
        EXPECT_EQ(place->Size(row.below, size, error), !row.bytes.empty()) << shown << ": " << error;
        EXPECT_EQ(size, row.bytes.size()) << shown;
        std::vector<FolderEntry> entries;
        EXPECT_EQ(place->List(row.below, entries, error), row.kind == EntryKind::Folder) << shown;
    }
    fs::remove_all(root);
}

TEST(CheckCommand, ExitStatusAndJson)
{
    const auto samples = LauncherSamples();
    ASSERT_FALSE(samples.empty()) << "the host build builds the launchers";
    const fs::path root = MakeMedium("command", {Dir + "SETUP.exe", "notes.txt"});
    fs::copy_file(samples[0], root / "SETUP.exe");
    std::string out, err;
    EXPECT_EQ(RunStamp({"check", root.string(), "--drive", "e"}, out, err), 0) << err;
    EXPECT_EQ(out, "E:\\SETUP.exe: ok: starts E:\\Borvi cd1 versie2\\SETUP.exe\n" + Receives("E:", "SETUP"));

    std::ofstream(root / "Borvi cd1.exe") << TestProgram();
    out.clear();
    EXPECT_EQ(RunStamp({"check", (root / "SETUP.exe").string(), "--json"}, out, err), 1) << err;
    const nlohmann::json result = nlohmann::json::parse(out);
    ASSERT_EQ(result.size(), 1u);
    EXPECT_EQ(result[0]["verdict"], "hijacked");
    EXPECT_EQ(result[0]["starts"], "D:\\Borvi cd1.exe");
    EXPECT_EQ(result[0]["arguments"], "versie2\\SETUP");
    EXPECT_EQ(result[0]["command"], "D:\\Borvi cd1 versie2\\SETUP");
    EXPECT_EQ(result[0]["received"]["argv"], nlohmann::json({"D:\\Borvi", "cd1", "versie2\\SETUP"}));
    EXPECT_EQ(result[0]["received"]["command_line"], "cd1 versie2\\SETUP");
    EXPECT_EQ(result[0]["signed"], false);
    EXPECT_FALSE(result[0]["findings"].empty());

    // Names beyond ASCII come out escaped, whatever reads them.
    fs::rename(root / "SETUP.exe", root / "\xD0\x9F\xD1\x80\xD0\xBE\xD0\xB3\xD0\xB0.exe");
    out.clear();
    RunStamp({"check", root.string(), "--json", "--codepage", "1251"}, out, err);
    EXPECT_EQ(std::count_if(out.begin(), out.end(), [](char c) { return (c & 0x80) != 0; }), 0) << out;
    EXPECT_NE(out.find("\\u041f\\u0440\\u043e\\u0433\\u0430.exe"), std::string::npos) << out;

    EXPECT_EQ(RunStamp({"check", (root / "notes.txt").string()}, out, err), 1);
    EXPECT_EQ(RunStamp({"check", root.string(), "--drive", "DD"}, out, err), 2);
    // A path that names nothing is said to be missing, not removed while it was read.
    err.clear();
    EXPECT_EQ(RunStamp({"check", (root / "absent.exe").string()}, out, err), 1);
    EXPECT_NE(err.find("absent.exe: no such file or folder"), std::string::npos) << err;
    EXPECT_EQ(err.find("removed while"), std::string::npos) << err;
    fs::remove_all(root);
}

TEST(CheckCommand, TellsLaunchersFromTheirHeadersAndReadsOnlyThoseWhole)
{
    const auto samples = LauncherSamples();
    ASSERT_FALSE(samples.empty()) << "the host build builds the launchers";
    const Bytes launcher = ReadBytes(samples[0]);
    const fs::path root = MakeMedium("headers", {Dir + "SETUP.exe", Dir + "BIG.exe"});
    WriteBytes((root / "SETUP.exe").string(), launcher);
    // Ours too: a launcher with 1 MB of data after its image, past the headers read first.
    Bytes big = launcher;
    big.resize(big.size() + (1u << 20), 0xAB);
    WriteBytes((root / "BIG.exe").string(), big);
    // Not ours: a launcher cut in the middle of its launch directory field.
    LauncherImage image;
    std::string error;
    ASSERT_TRUE(ReadLauncherImage(launcher, image, error)) << error;
    const auto cut = launcher.begin() + static_cast<std::ptrdiff_t>(image.fieldOffset + 512);
    WriteBytes((root / "CUT.exe").string(), Bytes(launcher.begin(), cut));
    // 60 data files of 15 MB (sparse: nothing is written but their size).
    for (int i = 0; i < 60; ++i) {
        std::ofstream(root / ("data" + std::to_string(i) + ".bin")) << "MZ";
        fs::resize_file(root / ("data" + std::to_string(i) + ".bin"), 15'000'000);
    }
    std::string out, err;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(RunStamp({"check", root.string()}, out, err), 0) << out << err;
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(out, "D:\\BIG.exe: ok: starts D:\\Borvi cd1 versie2\\BIG.exe\n" + Receives("D:", "BIG") +
                   "D:\\SETUP.exe: ok: starts D:\\Borvi cd1 versie2\\SETUP.exe\n" + Receives("D:", "SETUP"));
    std::printf("check of 3 programs and 60 data files of 15 MB: %.3f s\n", took.count());
    fs::remove_all(root);
}

// A built launcher as the program a launcher starts, its manifest's run level rewritten in
// place (the same length, so the resource stays whole).
TEST(PredictLaunch, SaysWhenWindowsAsksForAdministratorRights)
{
    const std::string asInvoker = "level=\"asInvoker\" uiAccess=\"false\"";
    auto runLevel = [&asInvoker](const std::string& level) {
        return level.empty() ? "levex=\"asInvoker\" uiAccess=\"false\""
                             : (level + std::string(asInvoker.size(), ' ')).substr(0, asInvoker.size());
    };
    struct Row {
        const char* program;
        bool x86;
        std::string runLevel;  // replaces asInvoker; empty: no run level stated
        const char* reason;    // expected in the finding; null: no finding
    };
    const Row rows[] = {
        {"SETUP.exe", true, "level='requireAdministrator'", "requireAdministrator"},
        {"Tool.exe", false, "level = \"highestAvailable\"", "highestAvailable"},
        {"SETUP.exe", true, "", "holds \"setup\""},
        {"MyInstaller.exe", true, "", "holds \"instal\""},
        {"SETUP.exe", false, "", nullptr},  // installer detection looks at 32-bit programs only
        {"SETUP.exe", true, asInvoker, nullptr},
        {"Tool.exe", true, "", nullptr},
    };
    std::map<bool, Bytes> samples;
    for (const std::string& path : LauncherSamples()) {
        const Bytes bytes = ReadBytes(path);
        LauncherImage image;
        std::string error;
        ASSERT_TRUE(ReadProgramImage(bytes, image, error)) << error;
        samples[image.machine == 0x014C] = bytes;
    }
    for (const Row& row : rows) {
        if (samples.count(row.x86) == 0)
            continue;
        const std::string what = std::string(row.program) + (row.x86 ? " x86 " : " x64 ") + row.runLevel;
        const fs::path root = MakeMedium("elevation", {Dir});
        const std::string name = std::string(row.program).substr(0, std::string(row.program).size() - 4);
        std::string program(samples[row.x86].begin(), samples[row.x86].end());
        const std::size_t at = program.find(asInvoker);
        ASSERT_NE(at, std::string::npos);
        program.replace(at, asInvoker.size(), runLevel(row.runLevel));
        std::ofstream(root / Dir / row.program, std::ios::binary) << program;
        const Prediction p = PredictOn(root, {name + ".exe", "Borvi cd1 versie2"});
        EXPECT_EQ(p.verdict, Verdict::Ok) << what;
        std::string findings;
        for (const std::string& finding : p.findings)
            findings += finding.find("administrator") != std::string::npos ? finding : "";
        if (row.reason == nullptr) {
            EXPECT_EQ(findings, "") << what;
        } else {
            EXPECT_NE(findings.find("Windows asks for administrator rights before D:\\Borvi cd1 versie2\\" +
                                    std::string(row.program)), std::string::npos) << what << ": " << findings;
            EXPECT_NE(findings.find(row.reason), std::string::npos) << what << ": " << findings;
        }
    }
}

}  // namespace

// One file that another program removes and writes again: each read of it succeeds or fails
// as listed (the last repeated), and after each failed one the file is there or gone as listed.
class ChangingPlace : public MediumPlace {
public:
    ChangingPlace(std::vector<bool> readsGo, std::vector<bool> thereAfter)
        : reads_(std::move(readsGo)), there_(std::move(thereAfter))
    {
    }

    bool List(const std::vector<std::string>&, std::vector<FolderEntry>&, std::string&, FolderDetail) const override
    {
        return false;
    }
    bool Read(const std::vector<std::string>&, std::uint64_t, std::size_t, Bytes& bytes, std::string& error) const override
    {
        const bool read = reads_[std::min(reads++, reads_.size() - 1)];
        bytes = read ? Bytes{'x'} : Bytes{};
        error = read ? "" : "cannot open: No such file or directory";
        return read;
    }
    EntryKind Kind(const std::vector<std::string>&) const override
    {
        return there_[std::min(asked++, there_.size() - 1)] ? EntryKind::File : EntryKind::Missing;
    }
    bool BeingWritten(const std::vector<std::string>&) const override { return false; }
    std::string Shown(const std::vector<std::string>&) const override { return "autorun.inf"; }
    const PlaceFacts& Facts() const override { return facts_; }

    mutable std::size_t reads = 0, asked = 0;

private:
    std::vector<bool> reads_, there_;
    PlaceFacts facts_;
};

// A folder's place that counts what is asked of it: the listings of each folder, those that look
// at every entry on its own (with sizes), and the questions about one file.
class CountingPlace : public MediumPlace {
public:
    explicit CountingPlace(const fs::path& root) : place_(FolderPlace(root.string())) {}

    bool List(const std::vector<std::string>& below, std::vector<FolderEntry>& entries, std::string& error,
              FolderDetail detail) const override
    {
        ++listings[below];
        sizedListings += detail == FolderDetail::Sizes ? 1 : 0;
        return place_->List(below, entries, error, detail);
    }
    bool Read(const std::vector<std::string>& below, std::uint64_t offset, std::size_t count, Bytes& bytes,
              std::string& error) const override
    {
        ++asked;
        return place_->Read(below, offset, count, bytes, error);
    }
    bool Size(const std::vector<std::string>& below, std::uint64_t& size, std::string& error) const override
    {
        ++asked;
        return place_->Size(below, size, error);
    }
    EntryKind Kind(const std::vector<std::string>& below) const override
    {
        ++asked;
        return place_->Kind(below);
    }
    bool BeingWritten(const std::vector<std::string>& below) const override { return place_->BeingWritten(below); }
    std::string Shown(const std::vector<std::string>& below) const override { return place_->Shown(below); }
    const PlaceFacts& Facts() const override { return place_->Facts(); }

    mutable std::map<std::vector<std::string>, int> listings;
    mutable std::size_t sizedListings = 0, asked = 0;

private:
    std::unique_ptr<MediumPlace> place_;
};

// A launch directory of 100,000 files: check and the window's search list each folder once, by
// kinds alone, and ask about single files a few times, never once for each file there.
TEST(CheckCommand, ListsEachFolderOnceAndLooksAtNoFileOfABigFolderOnItsOwn)
{
    const auto samples = LauncherSamples();
    ASSERT_FALSE(samples.empty()) << "the host build builds the launchers";
    constexpr int Files = 100000;
    const fs::path root = MakeMedium("big-folder", {Dir + "SETUP.exe", "autorun.inf|[autorun]\r\nopen=SETUP.exe\r\n"});
    for (int i = 0; i < Files; ++i)
        std::ofstream(root / Dir / ("file" + std::to_string(i) + ".dat"));
    struct Row {
        const char* what;
        std::vector<std::string> launchers;  // at the root
        std::function<int(const CountingPlace&)> run;
    };
    const Row rows[] = {
        {"check, one launcher", {"SETUP.exe"},
         [](const CountingPlace& place) {
             std::string out, err;
             CheckOptions options;
             const int status = CheckPlace(options, place, out, err);
             EXPECT_NE(out.find("D:\\SETUP.exe: ok"), std::string::npos) << out << err;
             return status;
         }},
        {"check, four launchers on one root", {"SETUP.exe", "Setup Wizard.exe", "Install.exe", "App v2.exe"},
         [](const CountingPlace& place) {
             std::string out, err;
             return CheckPlace(CheckOptions(), place, out, err) == 1 ? 0 : 2;  // the others start nothing
         }},
        {"the window's search and its judgement of each program found", {"SETUP.exe"},
         [&root](const CountingPlace& place) {
             MediumFolders folders(place);
             bool cutShort = false;
             const std::atomic<bool> stop{false};
             SearchLimits limits;
             limits.entries = Files + 100;
             std::vector<Candidate> found = FindCandidates(folders, limits, stop, cutShort);
             EXPECT_EQ(found.size(), 1u);
             MakeOptions choice;
             choice.root = root.string();
             for (Candidate& candidate : found)
                 JudgeCandidate(choice, candidate, folders);
             return found.empty() || found[0].verdict.empty() ? 1 : 0;
         }},
    };
    for (const Row& row : rows) {
        for (const auto& name : {"SETUP.exe", "Setup Wizard.exe", "Install.exe", "App v2.exe"})
            fs::remove(root / name);
        for (const std::string& launcher : row.launchers)
            fs::copy_file(samples[0], root / launcher);
        const CountingPlace place(root);
        EXPECT_EQ(row.run(place), 0) << row.what;
        EXPECT_EQ(place.sizedListings, 0u) << row.what;
        for (const auto& [below, times] : place.listings)
            EXPECT_EQ(times, 1) << row.what << ": a folder listed " << times << " times, " << below.size() << " deep";
        EXPECT_EQ(place.listings.count({"Borvi cd1 versie2"}), 1u) << row.what;
        EXPECT_LT(place.asked, 100u) << row.what;
    }
    fs::remove_all(root);
}

TEST(ChangingRead, ReadsAgainAFileWrittenAgainAndTellsAFileGone)
{
    struct Row {
        const char* what;
        std::vector<bool> reads, there;
        ChangingRead outcome;
        std::size_t readsTaken;
    };
    const Row rows[] = {
        {"read at once", {true}, {true}, ChangingRead::Read, 1},
        {"gone", {false}, {false}, ChangingRead::Removed, 1},
        {"gone when read, written again when asked", {false, true}, {true}, ChangingRead::Read, 2},
        {"written again, then gone", {false}, {true, false}, ChangingRead::Removed, 2},
        {"there, and never readable", {false}, {true}, ChangingRead::Failed, 3},
    };
    for (const Row& row : rows) {
        const ChangingPlace place(row.reads, row.there);
        Bytes bytes;
        std::string error;
        EXPECT_EQ(ReadStartOfChanging(place, {"autorun.inf"}, 16, bytes, error), row.outcome) << row.what;
        EXPECT_EQ(place.reads, row.readsTaken) << row.what;
        EXPECT_EQ(error.empty(), row.outcome == ChangingRead::Read) << row.what;
    }
}

TEST(CheckCommand, StaysSteadyWhileAnotherRunChangesTheMedium)
{
    const auto samples = LauncherSamples();
    ASSERT_FALSE(samples.empty()) << "the host build builds the launchers";
    // Another program removes or adds files while check reads the root again and again: what
    // goes is skipped with a note, what comes is seen or not, and every launcher that stays
    // is ok, so the status stays 0 and nothing else is said.
    struct Row {
        const char* what;
        std::function<void(const fs::path&, int)> change;  // the i-th change to the root
    };
    const Row rows[] = {
        {"launchers removed", [](const fs::path& root, int i) { fs::remove(root / ("L" + std::to_string(i) + ".exe")); }},
        {"launchers added",
         [&samples](const fs::path& root, int i) {
             fs::copy_file(samples[0], root / ("N" + std::to_string(i) + ".exe"));
             std::ofstream(root / Dir / ("N" + std::to_string(i) + ".exe"), std::ios::binary) << TestProgram();
         }},
        {"autorun.inf removed and written again",
         [](const fs::path& root, int i) {
             if (i % 2 == 0)
                 fs::remove(root / "autorun.inf");
             else
                 std::ofstream(root / "autorun.inf") << "[autorun]\r\nopen=L39.exe\r\n";
         }},
    };
    constexpr int Launchers = 40;
    for (const Row& row : rows) {
        std::vector<std::string> files;
        for (int i = 0; i < Launchers; ++i)
            files.push_back(Dir + "L" + std::to_string(i) + ".exe");
        files.push_back("autorun.inf|[autorun]\r\nopen=L39.exe\r\n");
        const fs::path root = MakeMedium("steady", files);
        for (int i = 0; i < Launchers; ++i)
            fs::copy_file(samples[0], root / ("L" + std::to_string(i) + ".exe"));
        std::thread other([&] {
            for (int i = 0; i < Launchers - 1; ++i) {
                row.change(root, i);
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
            }
        });
        for (int run = 0; run < 15; ++run) {
            std::string out, err;
            EXPECT_EQ(RunStamp({"check", root.string()}, out, err), 0) << row.what << ": " << err << out;
            std::string said = err;
            for (std::size_t at; (at = said.find("launcher-stamp: note: ")) != std::string::npos;)
                said.erase(at, said.find('\n', at) + 1 - at);
            EXPECT_EQ(said, "") << row.what;
        }
        other.join();
        fs::remove_all(root);
    }
}
