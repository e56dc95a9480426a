// What the window for authors decides apart from its window: where it starts, the programs it
// offers and what it says of each, the report's first line, and what make tells a caller that
// asks its user instead of taking --force.
#include "commands/medium_file.h"
#include "commands/stamp_command.h"
#include "image/image_writer.h"
#include "launcher_samples.h"
#include "pe/icon_resource.h"
#include "pe/launch_field.h"
#include "window/make_medium_ids.h"
#include "window/medium_choices.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        root_ = TestFolder("launcher-window-" +
                           std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(root_);
        fs::create_directories(root_);
    }
    void TearDown() override { fs::remove_all(root_); }

    // Lays out files below the root: a program unless given content.
    void Lay(const std::string& relative, const std::string& content = "")
    {
        fs::create_directories((root_ / relative).parent_path());
        std::ofstream(root_ / relative) << (content.empty() ? TestProgram(relative) : content);
    }

    std::vector<std::string> Found(const SearchLimits& limits, bool& cutShort)
    {
        const std::atomic<bool> stop(false);
        std::vector<std::string> relative;
        for (const Candidate& candidate : FindCandidates(*FolderPlace(root_.string()), limits, stop, cutShort))
            relative.push_back(candidate.relative);
        return relative;
    }

    fs::path root_;
};

TEST_F(WindowTest, StartsEmptyWithTheMediumOrWithTheProgramAndTheFolderAboveItsFolder)
{
    Lay("Medium/Setup files/SETUP.exe");
    Lay("Top.exe");
    const std::string medium = (root_ / "Medium").string(), program = (root_ / "Medium/Setup files/SETUP.exe").string();
    struct Row {
        std::vector<std::string> arguments;
        std::string root, program;
    };
    const Row rows[] = {
        {{}, "", ""},
        {{medium}, medium, ""},
        {{program}, medium, program},
        {{(root_ / "Top.exe").string()}, root_.parent_path().string(), (root_ / "Top.exe").string()},
        {{(root_ / "missing").string()}, "", ""},
        {{medium, program}, "", ""},
    };
    for (const Row& row : rows) {
        const StartingPoint start = StartingPointFor(row.arguments);
        EXPECT_EQ(start.root, row.root) << ::testing::PrintToString(row.arguments);
        EXPECT_EQ(start.program, row.program) << ::testing::PrintToString(row.arguments);
        EXPECT_FALSE(start.image) << ::testing::PrintToString(row.arguments);
    }

    // A disc image, whatever its name, is checked; a file named .iso that is none is a file.
    MediumImagePlan plan;
    std::string reason, said;
    const std::unique_ptr<MediumPlace> setupFiles = FolderPlace((root_ / "Medium" / "Setup files").string());
    ASSERT_TRUE(PlanMediumImage(*setupFiles, (root_ / "Medium/disc.bin").string(), false, plan, reason)) << reason;
    ASSERT_TRUE(MakeMediumImage(*setupFiles, "", 437, plan, said, reason)) << reason;
    Lay("Medium/notes.iso", "not an image");
    const StartingPoint dropped = StartingPointFor({(root_ / "Medium/disc.bin").string()});
    EXPECT_TRUE(dropped.image);
    EXPECT_EQ(dropped.root, (root_ / "Medium/disc.bin").string());
    EXPECT_EQ(dropped.program, "");
    EXPECT_FALSE(StartingPointFor({(root_ / "Medium/notes.iso").string()}).image);
}

TEST_F(WindowTest, OffersTheProgramsBelowTheRootSetupFirstThenTheShallowestThenByName)
{
    for (const char* file : {"root.exe", "b/zeta.exe", "b/Alpha.EXE", "a/deep/INSTALL.cmd", "c/run.bat", "c/old.com",
                             "c/notes.txt", "c/.exe", "d/1/2/3/4/too-deep.exe", "d/1/2/3/deep.exe", "Setup files/SETUP.exe",
                             "x/autorun.exe", "x/setup-tool.exe~", "x/.launcher-stamp-leftover.exe"})
        Lay(file);
    bool cutShort = true;
    const std::vector<std::string> expected = {
        "Setup files\\SETUP.exe", "x\\autorun.exe", "a\\deep\\INSTALL.cmd",   // setup-like names, shallowest first
        "b\\Alpha.EXE", "b\\zeta.exe", "c\\old.com", "c\\run.bat",          // then by depth and name, case aside
        "d\\1\\2\\3\\deep.exe",
    };
    std::vector<std::string> found = Found(SearchLimits(), cutShort);
    found.erase(std::remove(found.begin(), found.end(), "x\\.launcher-stamp-leftover.exe"), found.end());
    EXPECT_EQ(found, expected);
    EXPECT_FALSE(cutShort);

    // Limits: the search stops and says so, keeping the shallow ones.
    struct Limit {
        SearchLimits limits;
        std::size_t most;
    };
    for (const Limit& limit : {Limit{{4, 3, 20000}, 3}, Limit{{4, 200, 6}, 6}, Limit{{1, 200, 20000}, 6}}) {
        found = Found(limit.limits, cutShort);
        EXPECT_LE(found.size(), limit.most);
        EXPECT_EQ(std::count(found.begin(), found.end(), "d\\1\\2\\3\\deep.exe"), 0);
        EXPECT_EQ(cutShort, limit.limits.depth != 1) << found.size();
    }
    const std::atomic<bool> stopped(true);
    EXPECT_TRUE(FindCandidates(*FolderPlace(root_.string()), SearchLimits(), stopped, cutShort).empty());
    EXPECT_TRUE(cutShort);
}

TEST_F(WindowTest, SaysWhatWindowsWillDoWithALauncherForEachProgram)
{
    const auto samples = LauncherSamples();
    ASSERT_FALSE(samples.empty()) << "the host build builds the launchers";
    struct Row {
        std::string program;
        std::string content;  // empty: a program
        const char* verdict;
        const char* says;     // in what it says; empty: nothing to add
    };
    const Row rows[] = {
        {"Setupfiles/SETUP.exe", "", "ok", ""},
        {"Setup files/SETUP.exe", "", "starts-itself", "finds the launcher itself"},
        {"Docs/broken.exe", "not a program", "cannot-run", "does not start with the MZ header"},
        {"Docs/manual.txt", "words", "cannot-run", "is a document"},
        {"Twins/App.exe", "", "not-checkable", "differ only in letter case"},
        {"Tools/run.cmd", "@echo off", "ok", ""},
    };
    Lay("twins/other.exe");
    for (const Row& row : rows)
        Lay(row.program, row.content);
    MakeOptions choice;
    choice.root = root_.string();
    const std::unique_ptr<MediumPlace> place = FolderPlace(root_.string());
    MediumFolders folders(*place);
    for (const Row& row : rows) {
        Candidate candidate{(root_ / row.program).string(), row.program, 1, "", ""};
        JudgeCandidate(choice, candidate, folders);
        EXPECT_EQ(candidate.verdict, row.verdict) << row.program << ": " << candidate.says;
        EXPECT_NE(candidate.says.find(row.says), std::string::npos) << row.program << ": " << candidate.says;
        EXPECT_EQ(candidate.says.empty(), *row.says == '\0') << row.program << ": " << candidate.says;
    }
}

TEST(Headline, SaysInPlainWordsWhetherTheMediumIsReady)
{
    auto launcher = [](const char* name, Verdict verdict, const char* starts) {
        Prediction p;
        p.launcher = name;
        p.verdict = verdict;
        p.starts = starts;
        return p;
    };
    const Prediction ok = launcher("D:\\SETUP.exe", Verdict::Ok, "D:\\Setup files\\SETUP.exe");
    const Prediction missing = launcher("D:\\Old.exe", Verdict::DirectoryMissing, "");
    const Prediction hijacked = launcher("D:\\App.exe", Verdict::Hijacked, "D:\\App 2.exe");
    struct Row {
        CheckSummary summary;
        std::string made;
        std::string headline;
    };
    const Row rows[] = {
        {{{ok}, {true}, {}, {}}, "D:\\SETUP.exe", "Ready: D:\\SETUP.exe starts D:\\Setup files\\SETUP.exe."},
        {{{ok, missing}, {true, false}, {}, {}}, "D:\\SETUP.exe", "Ready: D:\\SETUP.exe starts D:\\Setup files\\SETUP.exe."},
        {{{ok, ok}, {true, true}, {}, {}}, "", "Ready: each of the 2 launchers starts its program."},
        {{{missing, ok}, {true, true}, {}, {}}, "",
         "Not ready: D:\\Old.exe shows its message box: its program's folder cannot be entered. What to do is below."},
        {{{hijacked}, {true}, {}, {}}, "",
         "Not ready: D:\\App.exe starts D:\\App 2.exe instead of its program. What to do is below."},
        {{{ok}, {true}, {"open= names a file that is not there"}, {}}, "",
         "Almost ready: D:\\SETUP.exe starts D:\\Setup files\\SETUP.exe, but autorun.inf needs changes, listed below."},
        {{{ok}, {true}, {}, {"D:\\.launcher-stamp-1.tmp"}}, "",
         "Almost ready: D:\\SETUP.exe starts D:\\Setup files\\SETUP.exe, but D:\\.launcher-stamp-1.tmp is not part of the "
         "medium: see below."},
        {{}, "", "Not ready: no launcher of ours lies at the medium's root. Choose a program and press Make."},
    };
    for (const Row& row : rows)
        EXPECT_EQ(Headline(row.summary, row.made), row.headline);
}

TEST(Headline, OfADiscImageSpeaksOfTheImage)
{
    Prediction ok, missing;
    ok.launcher = missing.launcher = "D:\\SETUP.exe";
    ok.starts = "D:\\Borvi cd1 versie2\\SETUP.exe";
    ok.verdict = Verdict::Ok;
    missing.verdict = Verdict::DirectoryMissing;
    struct Row {
        CheckSummary summary;
        std::string headline;
    };
    const Row rows[] = {
        {{{ok}, {true}, {}, {}}, "Ready: the image's D:\\SETUP.exe starts D:\\Borvi cd1 versie2\\SETUP.exe."},
        {{{ok, ok}, {true, true}, {}, {}}, "Ready: each of the image's 2 launchers starts its program."},
        {{{missing}, {true}, {}, {}},
         "Not ready: the image's D:\\SETUP.exe shows its message box: its program's folder cannot be entered. What to do "
         "is below."},
        {{}, "Not ready: no launcher of ours lies at the image's root."},
    };
    for (const Row& row : rows)
        EXPECT_EQ(Headline(row.summary, "", true), row.headline);
}

TEST(DefaultImagePath, LiesBesideTheRootNamedAfterTheLabelOrTheFolder)
{
    struct Row {
        const char *root, *label, *path;
    };
    const Row rows[] = {
        {"/media/Borvi", "", "/media/Borvi.iso"},
        {"/media/Borvi/", "", "/media/Borvi.iso"},        // a trailing separator names the same folder
        {"/media/Borvi/.", "", "/media/Borvi.iso"},
        {"/media/Borvi", "Borvi 7", "/media/Borvi 7.iso"},
        {"/media/Borvi", "A:B", "/media/Borvi.iso"},     // no file name: the folder's name
        {"/media/Borvi", "CON", "/media/Borvi.iso"},     // a device name Windows keeps for itself
        {"/media/Borvi", "Disc 1.", "/media/Borvi.iso"}, // Windows drops the dot
        {"/", "", ""},                                    // nothing above the root
        {"", "Borvi 7", ""},
    };
    for (const Row& row : rows)
        EXPECT_EQ(DefaultImagePath(row.root, row.label), row.path) << row.root << " " << row.label;
}

TEST_F(WindowTest, MakeTellsACallerWhatForceWouldDoAndWhatItsCheckFound)
{
    const auto samples = LauncherSamples();
    ASSERT_FALSE(samples.empty()) << "the host build builds the launchers";
    Lay("My App 2/App.exe");
    MakeOptions options;
    options.root = root_.string();
    options.program = "My App 2/App.exe";
    struct Row {
        std::function<void()> lay;  // what is in make's way
        bool refused, forceable;
        const char* action;
    };
    const Row rows[] = {
        {[this] { std::ofstream(root_ / "autorun.inf") << "[autorun]\r\nopen=Other.exe\r\n"; }, true, true, "replace it"},
        {[this] { std::ofstream(root_ / "App.exe") << "someone else's"; }, true, true, "replace it"},
        {[this] { fs::create_directory(root_ / "App.exe"); }, true, false, ""},
        {[this] {
             std::ofstream(root_ / "notes.txt") << "notes";
             fs::create_symlink("notes.txt", root_ / "App.exe");
         },
         true, true, "replace it"},
        {[] {}, false, false, ""},
    };
    for (const Row& row : rows) {
        fs::remove_all(root_ / "App.exe");
        fs::remove(root_ / "autorun.inf");
        row.lay();
        std::string out, err;
        MakeOutcome outcome;
        const int status = RunMake(options, out, err, &outcome);
        EXPECT_EQ(outcome.refused, row.refused) << err;
        EXPECT_EQ(outcome.forceable, row.forceable) << err;
        EXPECT_EQ(outcome.forceAction, row.action) << err;
        EXPECT_EQ(status, row.refused ? 1 : 0) << err;
        if (row.refused)
            EXPECT_NE(err.find(outcome.reason), std::string::npos);
        else
            EXPECT_EQ(Headline(outcome.check, "D:\\App.exe").rfind("Ready: D:\\App.exe starts D:\\My App 2\\App.exe", 0), 0u)
                << Headline(outcome.check, "D:\\App.exe");
    }
}

TEST_F(WindowTest, MakeKeepsTheLaunchersOwnIconWhenAskedToAndTheCodePageIs1252OffWindows)
{
    const auto samples = LauncherSamples();
    ASSERT_FALSE(samples.empty()) << "the host build builds the launchers";
    Lay("My App 2/App.exe");
    const std::string root = root_.string();
    std::string out, err;
    ASSERT_EQ(RunStamp({"make", root, "My App 2/App.exe", "--launcher-icon", "--no-autorun"}, out, err), 0) << err;
    EXPECT_EQ(err.find("code page"), std::string::npos) << err;
    EXPECT_EQ(out.find("no icon taken"), std::string::npos) << out;
    const Bytes made = ReadBytes((root_ / "App.exe").string()), shipped = ReadBytes(samples.back());
    LauncherImage madeImage, shippedImage;
    IconResource madeIcon, shippedIcon;
    std::string error;
    ASSERT_TRUE(ReadLauncherImage(made, madeImage, error) && FindIconResource(made, madeImage, madeIcon, error)) << error;
    ASSERT_TRUE(ReadLauncherImage(shipped, shippedImage, error) && FindIconResource(shipped, shippedImage, shippedIcon, error));
    EXPECT_TRUE(std::equal(made.begin() + static_cast<std::ptrdiff_t>(madeIcon.imageOffset),
                           made.begin() + static_cast<std::ptrdiff_t>(madeIcon.imageOffset + IconImageSize),
                           shipped.begin() + static_cast<std::ptrdiff_t>(shippedIcon.imageOffset)));
    EXPECT_EQ(RunStamp({"make", root, "My App 2/App.exe", "--launcher-icon", "--icon", "logo.png"}, out, err), 2);
}

TEST(OptionsFor, TakeTheFieldsAsMakeTakesThemTheSigningCommandAsMakesSign)
{
    struct Row {
        const char* what;
        DialogFields fields;
        const char* icon;
        bool launcherIcon;
        const char* iso;
        const char* sign;
    };
    auto fields = [](int icon, bool image, const char* sign) {
        DialogFields f;
        f.root = "C:\\Media";
        f.program = "C:\\Media\\Disc\\setup.exe";
        f.icon = icon;
        f.picture = "C:\\logo.png";
        f.image = image;
        f.imagePath = "C:\\Media.iso";
        f.disc = "dvd";
        f.signCommand = sign;
        return f;
    };
    const Row rows[] = {
        {"nothing to sign with", fields(ICON_PROGRAMS_OWN, false, ""), "", false, "", ""},
        {"a signing command", fields(ICON_PROGRAMS_OWN, false, "signtool sign /a /fd SHA256 \"{file}\""), "", false, "",
         "signtool sign /a /fd SHA256 \"{file}\""},
        {"a signing command of blanks", fields(ICON_PROGRAMS_OWN, false, " \t "), "", false, "", ""},
        {"a picture chosen, the image ticked", fields(ICON_PICTURE, true, "sign {file}"), "C:\\logo.png", false,
         "C:\\Media.iso", "sign {file}"},
        {"the launcher's own icon: the picture's field ignored", fields(ICON_LAUNCHERS_OWN, false, ""), "", true, "", ""},
    };
    const MakeOptions defaults;
    for (const Row& row : rows) {
        const MakeOptions options = OptionsFor(row.fields);
        EXPECT_EQ(options.icon, row.icon) << row.what;
        EXPECT_EQ(options.launcherIcon, row.launcherIcon) << row.what;
        EXPECT_EQ(options.iso, row.iso) << row.what;
        EXPECT_EQ(options.disc, row.fields.image ? "dvd" : "") << row.what << ": the disc goes with the image";
        EXPECT_EQ(options.signCommand, row.sign) << row.what;
        EXPECT_NE(options.signTimeoutSeconds, 0u) << row.what << ": a signer that waits for input would hold the window";
        EXPECT_EQ(options.signRetries, defaults.signRetries) << row.what;
        EXPECT_FALSE(options.requireTimestamp) << row.what;
        EXPECT_FALSE(options.showSignOutput) << row.what << ": the window has no console to show it on";
    }
}

// The window's Make with a signing command refuses as launcher-stamp make --sign does, in the
// same words, and writes nothing at the root.
TEST_F(WindowTest, MakeWithASigningCommandRefusesAsTheToolDoesAndWritesNothing)
{
    const auto samples = LauncherSamples();
    ASSERT_FALSE(samples.empty()) << "the host build builds the launchers";
    Lay("My App 2/App.exe");
    struct Row {
        const char* command;
        const char* says;
    };
    const Row rows[] = {
        {"true {file}", "signed nothing"},
        {"false {file}", "exit status 1"},
        {"true", "{file}"},
        {"no-such-signer-here {file}", "cannot be started"},
    };
    for (const Row& row : rows) {
        DialogFields fields;
        fields.root = root_.string();
        fields.program = (root_ / "My App 2" / "App.exe").string();
        fields.signCommand = row.command;
        std::string out, err, toolOut, toolErr;
        MakeOutcome outcome;
        EXPECT_EQ(RunMake(OptionsFor(fields), out, err, &outcome), 1) << row.command << ": " << out;
        EXPECT_TRUE(outcome.refused) << row.command;
        EXPECT_NE(outcome.reason.find(row.says), std::string::npos) << row.command << ": " << outcome.reason;
        EXPECT_EQ(RefusalHeadline(outcome), "Not made, nothing was written: " + outcome.reason) << row.command;
        EXPECT_EQ(RunStamp({"make", fields.root, fields.program, "--sign", row.command}, toolOut, toolErr), 1) << row.command;
        EXPECT_EQ(err, toolErr) << row.command;
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(root_))
            names.push_back(entry.path().filename().string());
        EXPECT_EQ(names, std::vector<std::string>{"My App 2"}) << row.command;
    }
}

TEST(MadeSignature, SaysTheMadeLaunchersSignatureAfterItsName)
{
    Prediction setup, other;
    setup.launcher = "D:\\SETUP.exe";
    other.launcher = "D:\\Other.exe";
    const CheckSummary summary{{other, setup}, {false, true}, {}, {}, {}, {"not signed", "signed by \"Borvi\" (SHA-256)"}};
    struct Row {
        const char* made;
        const char* said;
    };
    const Row rows[] = {
        {"D:\\SETUP.exe", "D:\\SETUP.exe: signed by \"Borvi\" (SHA-256)"},
        {"D:\\Other.exe", "D:\\Other.exe: not signed"},
        {"D:\\Gone.exe", ""},
        {"", ""},
    };
    for (const Row& row : rows)
        EXPECT_EQ(MadeSignature(summary, row.made), row.said) << row.made;
    EXPECT_EQ(MadeSignature(CheckSummary{{setup}, {true}, {}, {}}, "D:\\SETUP.exe"), "") << "a summary without signatures";
}

}  // namespace

// A medium file opened in the window: Make writes what launcher-stamp make --file writes with the
// window's changes as options, and the report's command line is that one.
TEST_F(WindowTest, WithAMediumFileOpenMakeWritesWhatMakeFileWithTheChangesAsOptionsWrites)
{
    ASSERT_FALSE(LauncherSamples().empty()) << "the host build builds the launchers";
    struct Row {
        const char* what;
        void (*change)(DialogFields&);
        std::vector<std::string> options;  // what MediumFileArguments adds to make --file
    };
    const Row rows[] = {
        {"nothing changed", [](DialogFields&) {}, {}},
        {"another label", [](DialogFields& f) { f.label = "Borvi 8"; }, {"--label", "Borvi 8"}},
        {"the x64 launcher, code page 1251", [](DialogFields& f) { f.x64 = true; f.codePage = 1251; },
         {"--arch", "x64", "--codepage", "1251"}},
        {"the launcher's own icon", [](DialogFields& f) { f.icon = ICON_LAUNCHERS_OWN; }, {"--launcher-icon"}},
        {"autorun.inf off", [](DialogFields& f) { f.autorun = false; }, {"--no-autorun"}},
    };
    const std::string file = (root_ / "medium.toml").string();
    for (const Row& row : rows) {
        fs::remove_all(root_ / "medium");
        Lay("medium/My App/App.exe");
        std::ofstream(file, std::ios::binary) << "root = \"medium\"\nprogram = \"My App/App.exe\"\nlabel = \"Borvi 7\"\n"
                                                 "codepage = 1252\ndrive = \"E:\"\n";
        MakeOptions fromFile;
        std::vector<std::string> given;
        std::string reason, out, err;
        ASSERT_TRUE(ReadMediumFile(file, fromFile, given, reason)) << reason;
        DialogFields fields = FieldsFor(fromFile);
        row.change(fields);
        const MakeOptions options = OptionsForMediumFile(file, fromFile, fields);
        EXPECT_EQ(options.drive, "E:") << row.what << ": the window has no field for the drive";
        std::vector<std::string> expected = {"make", "--file", file};
        expected.insert(expected.end(), row.options.begin(), row.options.end());
        const std::vector<std::string> arguments = MediumFileArguments(file, fromFile, options);
        EXPECT_EQ(arguments, expected) << row.what;
        RunMake(options, out, err);
        const fs::path launcher = root_ / "medium" / "App.exe", autorun = root_ / "medium" / "autorun.inf";
        const Bytes windowMade = ReadBytes(launcher.string());
        const bool windowAutorun = fs::exists(autorun);
        const Bytes windowAutorunBytes = windowAutorun ? ReadBytes(autorun.string()) : Bytes();
        fs::remove(launcher);
        fs::remove(autorun);
        EXPECT_EQ(RunStamp(arguments, out, err), 0) << row.what << ": " << err;
        EXPECT_EQ(ReadBytes(launcher.string()), windowMade) << row.what;
        EXPECT_EQ(fs::exists(autorun), windowAutorun) << row.what;
        if (windowAutorun && fs::exists(autorun)) {
            EXPECT_EQ(ReadBytes(autorun.string()), windowAutorunBytes) << row.what;
        }
    }

    // A change no option can say is made all the same, and the report gives no command line for it.
    MakeOptions fromFile;
    fromFile.root = "medium";
    fromFile.program = "My App/App.exe";
    fromFile.autorun = false;
    DialogFields fields = FieldsFor(fromFile);
    fields.autorun = true;
    EXPECT_TRUE(OptionsForMediumFile(file, fromFile, fields).autorun);
    EXPECT_TRUE(MediumFileArguments(file, fromFile, OptionsForMediumFile(file, fromFile, fields)).empty());

    // Given on the window's command line or dropped on it, a .toml file opens that medium.
    const StartingPoint start = StartingPointFor({file});
    EXPECT_EQ(start.mediumFile, file);
    EXPECT_EQ(start.root, "");
    EXPECT_EQ(StartingPointFor({(root_ / "medium").string()}).mediumFile, "");
}
