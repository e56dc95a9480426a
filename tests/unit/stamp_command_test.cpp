// The launcher-stamp command on copies of the built launchers: round trips, and refusals
// that leave the file byte for byte as it was.
#include "launcher_samples.h"
#include "pe/launch_field.h"
#include "base/code_pages.h"
#include "commands/stamp_command.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

class StampCommandTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const auto samples = LauncherSamples();
        ASSERT_FALSE(samples.empty()) << "the host build builds the launchers";
        folder_ = TestFolder("launcher-stamp-test-" +
                             std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        original_ = ReadBytes(samples[0]);
        launcher_ = (folder_ / "SETUP.exe").string();
        WriteBytes(launcher_, original_);
        fs::permissions(launcher_, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec);
    }
    void TearDown() override { fs::remove_all(folder_); }

    int Stamp(const std::vector<std::string>& arguments)
    {
        out_.clear();
        err_.clear();
        return RunStamp(arguments, out_, err_);
    }

    // The folder holds nothing but the files named.
    void ExpectOnlyFiles(std::vector<std::string> names) const
    {
        std::vector<std::string> present;
        for (const auto& entry : fs::directory_iterator(folder_))
            present.push_back(entry.path().filename().string());
        std::sort(present.begin(), present.end());
        std::sort(names.begin(), names.end());
        EXPECT_EQ(present, names);
    }

    fs::path folder_;
    std::string launcher_;
    Bytes original_;
    std::string out_, err_;
};

TEST_F(StampCommandTest, ShowsTheBuiltInName)
{
    EXPECT_EQ(Stamp({"show", launcher_}), 0) << err_;
    EXPECT_EQ(out_, "Borvi cd1 versie2\n"
                    "  FileDescription: Starts a program from its folder on this medium\n"
                    "  ProductName: Launcher\n"
                    "  ProductVersion: " LAUNCHER_VERSION "\n"
                    "  FileVersion: " LAUNCHER_VERSION "\n"
                    "  LegalCopyright: Zero-clause BSD licence\n"
                    "  OriginalFilename: launcher.exe\n");
}

TEST_F(StampCommandTest, SetThenShowRoundTripsInEachCodePage)
{
    struct Row {
        const char* name;          // as the user types it (UTF-8)
        const char* codePage;
        std::string storedBytes;   // what the launcher will read
    };
    const Row rows[] = {
        {"Disc 2\\Setup files", "1252", "Disc 2\\Setup files"},
        {"Caf\xC3\xA9\xC2\xA0" "Demo", "1252", "Caf\xE9\xA0" "Demo"},
        {"\xE8\xA1\xA8\\\xE3\x82\xBB\xE3\x83\x83\xE3\x83\x88", "932", "\x95\x5C\\\x83\x5A\x83\x62\x83\x67"},
    };
    for (const Row& row : rows) {
        ASSERT_EQ(Stamp({"set", launcher_, row.name, "--codepage", row.codePage}), 0) << err_;
        EXPECT_EQ(Stamp({"show", launcher_, "--codepage", row.codePage}), 0) << err_;
        EXPECT_EQ(FirstLine(out_), row.name);

        const Bytes stamped = ReadBytes(launcher_);
        LauncherImage image;
        std::string error, stored;
        ASSERT_TRUE(ReadLauncherImage(stamped, image, error)) << error;
        ASSERT_TRUE(ReadFieldName(stamped, image, stored));
        EXPECT_EQ(stored, row.storedBytes);
        EXPECT_EQ(PeChecksum(stamped, image.checksumOffset), Get32(stamped, image.checksumOffset));
        // Nothing but the field and the checksum changed.
        ASSERT_EQ(stamped.size(), original_.size());
        for (std::size_t i = 0; i < stamped.size(); ++i) {
            const bool inField = i >= image.fieldOffset && i < image.fieldOffset + FieldSize;
            const bool inChecksum = i >= image.checksumOffset && i < image.checksumOffset + 4;
            if (!inField && !inChecksum && stamped[i] != original_[i]) {
                ADD_FAILURE() << row.name << ": byte " << i << " changed";
                break;
            }
        }
    }
    EXPECT_EQ(fs::status(launcher_).permissions() & fs::perms::owner_exec, fs::perms::owner_exec);
    ExpectOnlyFiles({"SETUP.exe"});
}

TEST_F(StampCommandTest, WritesToTheOutputAndLeavesTheInput)
{
    const std::string output = (folder_ / "stamped.exe").string();
    ASSERT_EQ(Stamp({"set", launcher_, "Other", "--output", output}), 0) << err_;
    EXPECT_EQ(ReadBytes(launcher_), original_);
    EXPECT_EQ(Stamp({"show", output}), 0);
    EXPECT_EQ(FirstLine(out_), "Other");
}

TEST_F(StampCommandTest, ReplacesALinkOnlyWhenForcedAndThenTheLinkItself)
{
    const fs::path link = folder_ / "link.exe";
    fs::create_symlink(launcher_, link);
    EXPECT_EQ(Stamp({"set", link.string(), "Other"}), 1);
    EXPECT_NE(err_.find("is a link to"), std::string::npos) << err_;
    ASSERT_EQ(Stamp({"set", link.string(), "Other", "--force"}), 0) << err_;
    EXPECT_FALSE(fs::is_symlink(link));
    EXPECT_EQ(ReadBytes(launcher_), original_);
    EXPECT_EQ(Stamp({"show", link.string()}), 0);
    EXPECT_EQ(FirstLine(out_), "Other");
}

TEST_F(StampCommandTest, RefusalsLeaveTheFileUntouched)
{
    struct Row {
        std::vector<std::string> arguments;  // "FILE" stands for the launcher
        const char* error;
        int status = 1;
    };
    const std::string tooLong(1024, 'a');
    const Row rows[] = {
        {{"set", "FILE", ""}, "empty"},
        {{"set", "FILE", ".\\"}, "own folder"},
        {{"set", "FILE", "a|b"}, "forbids"},
        {{"set", "FILE", tooLong}, "at most 1023"},
        {{"set", "FILE", "\xE8\xA1\xA8"}, "code page 1252"},
        {{"set", "FILE", "x", "--codepage", "77777"}, "--codepage: unknown code page 77777", 2},
        {{"set", "FILE", "x", "--codepage", "37"}, "--codepage: unknown code page 37", 2},
        // Characters the code page maps one way only: stored, they would read back as others.
        {{"set", "FILE", "a\xC2\xA5..", "--codepage", "932"}, "\"\xC2\xA5\""},
        {{"set", "FILE", "\xE3\x80\x9C", "--codepage", "932"}, "no place in code page 932"},
    };
    for (const Row& row : rows) {
        std::vector<std::string> arguments = row.arguments;
        for (std::string& argument : arguments) {
            if (argument == "FILE")
                argument = launcher_;
        }
        EXPECT_EQ(Stamp(arguments), row.status) << row.error;
        EXPECT_NE(err_.find(row.error), std::string::npos) << row.error << ": " << err_;
        EXPECT_EQ(ReadBytes(launcher_), original_) << row.error;
    }
    ExpectOnlyFiles({"SETUP.exe"});
}

TEST_F(StampCommandTest, MeasuresTheNameAfterConversion)
{
    auto repeat = [](const std::string& text, int times) {
        std::string result;
        for (int i = 0; i < times; ++i)
            result += text;
        return result;
    };
    const std::string eAcute = "\xC3\xA9";             // 2 bytes in UTF-8, 1 in code page 1252
    const std::string hiraganaA = "\xE3\x81\x82";     // 3 bytes in UTF-8, 2 in code page 932
    struct Row {
        std::string name;
        const char* codePage;
        int status;
    };
    const Row rows[] = {
        {std::string(1023, 'a'), "1252", 0},
        {repeat(eAcute, 1000), "1252", 0},    // 2000 bytes typed, 1000 stored
        {repeat(hiraganaA, 511), "932", 0},   // 1022 bytes stored
        {repeat(hiraganaA, 512), "932", 1},   // 1024 bytes stored
    };
    for (const Row& row : rows) {
        EXPECT_EQ(Stamp({"set", launcher_, row.name, "--codepage", row.codePage}), row.status)
            << row.name.size() << " bytes typed, code page " << row.codePage << ": " << err_;
    }
}

// show's first line is the launch directory alone: a field whose name spans lines (no Windows
// path does) is refused there, and given whole by --json.
TEST_F(StampCommandTest, ShowsTheLaunchDirectoryAloneOnItsFirstLine)
{
    const struct {
        const char* stored;
        int status;          // of show
        const char* firstLine;
    } rows[] = {
        {"Disc 2\\Setup files", 0, "Disc 2\\Setup files"},
        {"Setup\nfiles", 1, ""},
        {"Setup\rfiles", 1, ""},
    };
    for (const auto& row : rows) {
        Bytes bytes = original_;
        LauncherImage image;
        std::string error;
        ASSERT_TRUE(ReadLauncherImage(bytes, image, error)) << error;
        WriteFieldName(bytes, image, row.stored);
        WriteBytes(launcher_, bytes);
        EXPECT_EQ(Stamp({"show", launcher_}), row.status) << row.stored;
        EXPECT_EQ(FirstLine(out_), row.firstLine) << row.stored;
        EXPECT_EQ(err_.find("holds a line break") != std::string::npos, row.status == 1) << err_;
        ASSERT_EQ(Stamp({"show", launcher_, "--json"}), 0) << err_;
        EXPECT_EQ(nlohmann::json::parse(out_)["launch_directory"], row.stored);
    }
}

TEST_F(StampCommandTest, RefusesFilesThatAreNotLaunchersOfOurs)
{
    const std::string text = (folder_ / "notes.txt").string();
    WriteBytes(text, Bytes{'h', 'e', 'l', 'l', 'o'});
    const std::string cut = (folder_ / "cut.exe").string();
    WriteBytes(cut, Bytes(original_.begin(), original_.begin() + 0x900));
    for (const std::string& file : {text, cut, (folder_ / "missing.exe").string()}) {
        const Bytes before = fs::exists(file) ? ReadBytes(file) : Bytes();
        EXPECT_EQ(Stamp({"set", file, "Other"}), 1) << file;
        EXPECT_FALSE(err_.empty());
        EXPECT_EQ(Stamp({"show", file}), 1) << file;
        EXPECT_EQ(fs::exists(file) ? ReadBytes(file) : Bytes(), before) << file;
    }
}

TEST_F(StampCommandTest, ASignedLauncherIsRefusedOrWithForceLosesItsSignature)
{
    // What stamping the unsigned launcher gives, to compare with.
    ASSERT_EQ(Stamp({"set", launcher_, "Other", "--output", (folder_ / "expected.exe").string()}), 0) << err_;
    const Bytes expected = ReadBytes((folder_ / "expected.exe").string());

    // A certificate table of 16 bytes at the end of the file, as signing tools append it.
    LauncherImage image;
    std::string error;
    ASSERT_TRUE(ReadLauncherImage(original_, image, error));
    const std::size_t entry = image.checksumOffset - 64 + 112 + 4 * 8;  // 64-bit optional header
    Bytes sign = original_;
    Put32(sign, entry, static_cast<std::uint32_t>(sign.size()));
    Put32(sign, entry + 4, 16);
    sign.insert(sign.end(), {16, 0, 0, 0, 0, 2, 2, 0, 1, 2, 3, 4, 5, 6, 7, 8});
    WriteBytes(launcher_, sign);

    EXPECT_EQ(Stamp({"set", launcher_, "Other"}), 1);
    EXPECT_NE(err_.find("signed"), std::string::npos) << err_;
    EXPECT_EQ(ReadBytes(launcher_), sign);

    // Anything after the table, or a table that is not at the end, is not guessed at.
    Bytes trailing = sign;
    trailing.push_back(0);
    Bytes inside = original_;
    Put32(inside, entry, static_cast<std::uint32_t>(inside.size() - 512));
    Put32(inside, entry + 4, 16);
    for (const Bytes& refused : {trailing, inside}) {
        WriteBytes(launcher_, refused);
        EXPECT_EQ(Stamp({"set", launcher_, "Other", "--force"}), 1);
        EXPECT_NE(err_.find("cannot be removed safely"), std::string::npos) << err_;
        EXPECT_EQ(ReadBytes(launcher_), refused);
    }

    WriteBytes(launcher_, sign);
    EXPECT_EQ(Stamp({"set", launcher_, "Other", "--force"}), 0) << err_;
    EXPECT_NE(err_.find("signature removed: sign it again"), std::string::npos) << err_;
    EXPECT_EQ(ReadBytes(launcher_), expected);
}

TEST_F(StampCommandTest, RejectsBadUsage)
{
    for (const std::vector<std::string>& arguments :
         std::vector<std::vector<std::string>>{{}, {"show"}, {"set", launcher_}, {"frob", launcher_},
                                               {"show", launcher_, "--bogus"}, {"show", launcher_, "--force"},
                                               {"set", launcher_, "x", "--codepage", "abc"}}) {
        EXPECT_EQ(Stamp(arguments), 2);
        EXPECT_NE(err_.find("usage"), std::string::npos);
    }
    EXPECT_EQ(ReadBytes(launcher_), original_);

    EXPECT_EQ(Stamp({"--version"}), 0);
    EXPECT_EQ(out_, "launcher-stamp " LAUNCHER_VERSION "\n");
    EXPECT_EQ(Stamp({"--help"}), 0);
    EXPECT_NE(out_.find("check"), std::string::npos) << out_;
    // After "--" a name may start with a dash.
    EXPECT_EQ(Stamp({"set", "--", launcher_, "-Disc-"}), 0) << err_;
}

TEST(HowOpened, WaitsOnlyInAConsoleOfItsOwn)
{
    const struct {
        bool ownConsole;
        std::vector<std::string> arguments;
        bool exists;
        Opening expected;
    } rows[] = {
        {true, {}, false, Opening::Help},                              // double-clicked in Explorer
        {true, {"E:\\medium"}, true, Opening::CheckDropped},          // a folder dropped on it
        {true, {"E:\\medium\\SETUP.exe"}, true, Opening::CheckDropped},
        {true, {"E:\\gone"}, false, Opening::AsCommand},              // nothing there: as asked
        {true, {"check", "E:\\medium"}, true, Opening::AsCommand},
        {false, {}, false, Opening::AsCommand},                        // a command prompt's console
        {false, {"E:\\medium"}, true, Opening::AsCommand},
    };
    for (const auto& row : rows)
        EXPECT_EQ(HowOpened(row.ownConsole, row.arguments, row.exists), row.expected) << row.arguments.size();
}

// The one converter both builds share: every byte of the single-byte code pages reads back as
// it was written, and characters that map one way only are refused.
TEST(CodePages, ConvertAsWindowsDoesAndOnlyExactly)
{
    for (const unsigned codePage : {874u, 1250u, 1251u, 1252u, 1253u, 1254u, 1255u, 1256u, 1257u, 1258u}) {
        for (int byte = 1; byte < 256; ++byte) {
            const std::string bytes(1, static_cast<char>(byte));
            std::string text, back, error;
            if (!FromCodePage(bytes, codePage, text, error))
                continue;  // a byte with no character at all (0xA0-0xFF in a few code pages)
            EXPECT_TRUE(ToCodePage(text, codePage, back, error)) << codePage << " " << byte << ": " << error;
            EXPECT_EQ(back, bytes) << codePage << " " << byte;
        }
    }
    struct Row {
        unsigned codePage;
        const char* text;   // UTF-8
        const char* bytes;  // null: refused
    };
    const Row rows[] = {
        {1252, "\xE2\x82\xAC", "\x80"},            // the euro sign
        {1252, "\xC2\x81", "\x81"},                 // a byte 1252 leaves undefined, as Windows reads it
        {936, "\xE2\x82\xAC", "\x80"},
        {932, "\xE8\xA1\xA8", "\x95\x5C"},           // a second byte 0x5C
        {932, "\xEF\xBD\x9E", "\x81\x60"},           // the full-width tilde
        {932, "\xE3\x80\x9C", nullptr},             // the wave dash reads back as the tilde
        {932, "\xC2\xA5", nullptr},                  // the yen sign would be a backslash
        {65001, "\xC3\xA0", "\xC3\xA0"},
        {1252, "Cafe\xCC\x81", "Caf\xE9"},           // decomposed, as copied from macOS: composed first
        {65001, "a\xCC\x80", "\xC3\xA0"},
        {65001, "\xC3", nullptr},                     // not UTF-8
    };
    for (const Row& row : rows) {
        std::string bytes, text, error;
        EXPECT_EQ(ToCodePage(row.text, row.codePage, bytes, error), row.bytes != nullptr) << row.codePage << " " << row.text;
        if (row.bytes == nullptr)
            continue;
        EXPECT_EQ(bytes, row.bytes) << row.codePage;
        EXPECT_TRUE(FromCodePage(bytes, row.codePage, text, error)) << error;
        EXPECT_EQ(ToCodePage(text, row.codePage, bytes, error) ? bytes : "", row.bytes) << row.codePage;
    }
    std::string text, error;
    EXPECT_FALSE(FromCodePage("\x82", 932, text, error));  // a lead byte alone
    EXPECT_FALSE(IsKnownCodePage(37));
}

}  // namespace
