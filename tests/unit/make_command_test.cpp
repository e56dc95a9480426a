// launcher-stamp make, and check reading autorun.inf: layouts in temporary folders.
#include "commands/stamp_command.h"
#include "launcher_samples.h"
#include "pe/launch_field.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <fstream>
#include <map>

namespace fs = std::filesystem;

namespace {

// Every file below root and its bytes: what a refusal must leave as it was.
std::map<std::string, Bytes> Snapshot(const fs::path& root)
{
    std::map<std::string, Bytes> files;
    for (const auto& entry : fs::recursive_directory_iterator(root))
        files[entry.path().string()] = entry.is_regular_file() ? ReadBytes(entry.path().string()) : Bytes();
    return files;
}

class MakeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        root_ = fs::temp_directory_path() /
                ("launcher-make-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(root_);
        fs::create_directories(root_ / "My App 2");
        std::ofstream(root_ / "My App 2" / "App.exe") << "program";
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
    EXPECT_EQ(out_, "My App 2\n");
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
}

TEST_F(MakeTest, RefusesWhatItShouldNotWriteAndChangesNothing)
{
    const std::string root = root_.string();
    const fs::path outside = root_.parent_path() / "launcher-make-outside.exe";
    std::ofstream(outside) << "x";
    std::ofstream(root_ / "Loose.exe") << "x";
    std::ofstream(root_ / "picture.png") << "not a picture";
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
        {"[autorun]\nopen=\"Other.exe\" /x\n", {"open= names D:\\Other.exe, whose verdict is nothing-starts"}},
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

}  // namespace
