// What Windows' loader starts, as check and make judge it: programs built from one test program
// by changing its headers, real EFI programs, files that cannot be read, and the discs an image
// fits on.
#include "commands/stamp_command.h"
#include "image/disc_fit.h"
#include "launcher_samples.h"
#include "medium/medium_place.h"
#include "medium/program_file.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>

namespace fs = std::filesystem;

namespace {

// Debian's signed EFI programs (shim-signed, grub-efi-amd64-signed), which the install step
// provides.
const std::string EfiFolder = "/var/cache/launcher-stamp/efi/";

// The test program's COFF and optional headers, as offsets into its bytes.
std::size_t Coff(const Bytes& program)
{
    return Get32(program, 0x3C) + 4;
}

std::size_t Optional(const Bytes& program)
{
    return Coff(program) + 20;
}

void Put16(Bytes& bytes, std::size_t offset, unsigned value)
{
    bytes.at(offset) = static_cast<unsigned char>(value);
    bytes.at(offset + 1) = static_cast<unsigned char>(value >> 8);
}

unsigned Get16(const Bytes& bytes, std::size_t offset)
{
    return static_cast<unsigned>(bytes.at(offset) | bytes.at(offset + 1) << 8);
}

// The file offset the test program's sections' data reach.
std::size_t DataEnd(const Bytes& program)
{
    const std::size_t sections = Optional(program) + Get16(program, Coff(program) + 16);
    std::size_t end = 0;
    for (unsigned i = 0; i < Get16(program, Coff(program) + 2); ++i)
        end = std::max<std::size_t>(end, Get32(program, sections + i * 40 + 20) + Get32(program, sections + i * 40 + 16));
    return end;
}

using Change = std::function<void(Bytes&)>;

Change Subsystem(unsigned subsystem)
{
    return [subsystem](Bytes& p) { Put16(p, Optional(p) + 68, subsystem); };
}

Change SubsystemVersion(unsigned major, unsigned minor)
{
    return [major, minor](Bytes& p) {
        Put16(p, Optional(p) + 48, major);
        Put16(p, Optional(p) + 50, minor);
    };
}

Change Characteristics(unsigned set, unsigned cleared)
{
    return [set, cleared](Bytes& p) { Put16(p, Coff(p) + 18, (Get16(p, Coff(p) + 18) | set) & ~cleared); };
}

class LoaderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        root_ = TestFolder("launcher-loader-" +
                           std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(root_);
        fs::create_directories(root_ / "Prog");
    }
    void TearDown() override
    {
        fs::remove_all(root_);
        fs::remove_all(root_.string() + "-outside");
    }

    int Run(const std::vector<std::string>& arguments)
    {
        out_.clear();
        err_.clear();
        return RunStamp(arguments, out_, err_);
    }

    // Makes the medium for Prog/App.exe as it is now; false with make's words when make fails.
    bool Make()
    {
        return Run({"make", root_.string(), "Prog/App.exe"}) == 0;
    }

    fs::path root_;
    std::string out_, err_;
};

TEST_F(LoaderTest, CheckAndMakeStartWhatWindowsStartsAndRefuseTheRest)
{
    ASSERT_TRUE(fs::exists(PLAIN_PROGRAM_SAMPLE)) << "the host build builds the test programs";
    const Bytes built = ReadBytes(PLAIN_PROGRAM_SAMPLE);
    ASSERT_EQ(Get16(built, Optional(built) + 68), 2u) << "the test program is for the Windows GUI subsystem";
    struct Row {
        const char* what;
        Change change;            // made to the test program; or
        std::string file;         // a real program, in EfiFolder
        bool starts;              // Windows' loader starts it
        std::string says;         // in check's findings and make's refusal (or, when it starts, a note of check's)
    };
    const Row rows[] = {
        {"as built", [](Bytes&) {}, "", true, ""},
        {"with data appended", [](Bytes& p) { p.resize(p.size() + 5000, 0xEE); }, "", true, ""},
        {"for the console", Subsystem(3), "", true, ""},
        {"the DLL flag", Characteristics(0x2000, 0), "", false, "is a DLL"},
        {"the executable-image flag cleared", Characteristics(0, 0x0002), "", false, "not marked as an executable image"},
        {"native", Subsystem(1), "", false, "a native program"},
        {"OS/2", Subsystem(5), "", false, "an OS/2 console program"},
        {"POSIX", Subsystem(7), "", false, "a POSIX program"},
        {"Windows CE", Subsystem(9), "", false, "a Windows CE program"},
        {"an EFI application", Subsystem(10), "", false, "an EFI application"},
        {"an EFI boot service driver", Subsystem(11), "", false, "an EFI boot service driver"},
        {"an EFI runtime driver", Subsystem(12), "", false, "an EFI runtime driver"},
        {"an EFI ROM image", Subsystem(13), "", false, "an EFI ROM image"},
        {"a boot application", Subsystem(16), "", false, "a Windows boot application"},
        {"an unknown subsystem", Subsystem(0), "", false, "no known subsystem"},
        {"subsystem 6.1", SubsystemVersion(6, 1), "", true, ""},
        {"subsystem 6.2", SubsystemVersion(6, 2), "", true, "it starts on Windows 8 and later"},
        {"subsystem 6.3", SubsystemVersion(6, 3), "", true, "it starts on Windows 8.1 and later"},
        {"subsystem 10.0", SubsystemVersion(10, 0), "", true, "it starts on Windows 10 and later"},
        {"subsystem 10.1", SubsystemVersion(10, 1), "", false, "version 10.1 of the Windows subsystem, above the 10.0"},
        {"subsystem 11.0", SubsystemVersion(11, 0), "", false, "not a valid Win32 application"},
        {"cut short by a byte", [](Bytes& p) { p.resize(DataEnd(p) - 1); }, "", false, "is cut short"},
        {"cut short to its headers", [](Bytes& p) { p.resize(Get32(p, Optional(p) + 60)); }, "", false, "is cut short"},
        {"cut short inside its section table", [](Bytes& p) { p.resize(Optional(p) + Get16(p, Coff(p) + 16) + 20); }, "",
         false, "its section table runs past the end of the file"},
        {"an optional header of another kind", [](Bytes& p) { Put16(p, Optional(p), 0x0107); }, "", false,
         "of no known kind"},
        {"a PE32 header on an x86-64 program", [](Bytes& p) { Put16(p, Optional(p), Get16(p, Coff(p)) == 0x8664 ? 0x10B : 0x20B); },
         "", false, "not the one its processor's programs have"},
        {"more sections than its headers hold", [](Bytes& p) { Put16(p, Coff(p) + 2, 0xFFFF); }, "", false,
         "section table runs past"},
        {"file alignment above section alignment", [](Bytes& p) { Put16(p, Optional(p) + 36 + 2, 1); }, "", false,
         "alignments"},
        {"a section past its image's size", [](Bytes& p) { Put16(p, Optional(p) + 56, 0); Put16(p, Optional(p) + 58, 0); },
         "", false, "past the size of the image"},
        {"Debian's shim, signed by Microsoft", {}, "shimx64.efi.signed", false, "an EFI application"},
        {"Debian's GRUB", {}, "grubx64.efi.signed", false, "an EFI application"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        Bytes program = built;
        if (!row.file.empty()) {
            ASSERT_TRUE(fs::exists(EfiFolder + row.file)) << "the install step provides " << EfiFolder << row.file;
            program = ReadBytes(EfiFolder + row.file);
        } else {
            row.change(program);
        }
        fs::remove_all(root_);
        fs::create_directories(root_ / "Prog");
        // make: a program Windows does not start gets no launcher, and nothing is written.
        WriteBytes((root_ / "Prog" / "App.exe").string(), program);
        const bool made = Make();
        EXPECT_EQ(made, row.starts) << err_ << out_;
        EXPECT_EQ(fs::exists(root_ / "App.exe"), row.starts);
        EXPECT_EQ(fs::exists(root_ / "autorun.inf"), row.starts);
        if (!row.starts) {
            EXPECT_NE(err_.find("refused: " + (root_ / "Prog" / "App.exe").string() + " "), std::string::npos) << err_;
        }
        EXPECT_NE((row.starts ? out_ : err_).find(row.says), std::string::npos) << err_ << out_;
        // check: the same program in place of one that starts.
        WriteBytes((root_ / "Prog" / "App.exe").string(), built);
        ASSERT_TRUE(Make()) << err_;
        WriteBytes((root_ / "Prog" / "App.exe").string(), program);
        EXPECT_EQ(Run({"check", root_.string(), "--json"}), row.starts ? 0 : 1) << out_;
        const nlohmann::json answer = nlohmann::json::parse(out_);
        EXPECT_EQ(answer[0]["verdict"], row.starts ? "ok" : "cannot-run");
        EXPECT_NE(answer[0]["findings"].dump().find(row.says), std::string::npos) << answer[0]["findings"];
        // A note on the oldest Windows only for a program newer than Windows 7.
        const bool noted = answer[0]["findings"].dump().find("older Windows says") != std::string::npos;
        EXPECT_EQ(noted, row.starts && !row.says.empty());
    }
}

// A place whose reads fail for the reason it gives, as a disc image's reader does for a file's
// extent past the image's end.
class FailingPlace : public MediumPlace {
public:
    bool List(const std::vector<std::string>&, std::vector<FolderEntry>&, std::string&, FolderDetail) const override
    {
        return true;
    }
    bool Read(const std::vector<std::string>&, std::uint64_t, std::size_t, Bytes&, std::string& error) const override
    {
        error = "its extent lies past the end of the image";
        return false;
    }
    EntryKind Kind(const std::vector<std::string>&) const override { return EntryKind::File; }
    bool BeingWritten(const std::vector<std::string>&) const override { return false; }
    std::string Shown(const std::vector<std::string>&) const override { return "image.iso"; }
    const PlaceFacts& Facts() const override { return facts_; }

private:
    PlaceFacts facts_;
};

TEST(WhyProgramCannotRun, SaysWhatThePlaceSaysOfAReadThatFails)
{
    FailingPlace place;
    for (const char* name : {"App.exe", "Tool.cmd"}) {
        bool unreadable = false;
        const std::string why = WhyStartedFileCannotRun(place, {"Prog", name}, std::string("D:\\Prog\\") + name,
                                                        std::string("D:\\Prog\\") + name, &unreadable);
        EXPECT_TRUE(unreadable) << name;
        EXPECT_NE(why.find("cannot be read: its extent lies past the end of the image;"), std::string::npos) << why;
    }
}

// Runs check on root in a child process that ends within seconds, as uid when it is not 0:
// its status, or -1 when it had to be ended; out gets what it printed.
int CheckInChild(const std::vector<std::string>& arguments, std::string& out, uid_t uid = 0)
{
    int pipes[2];
    if (pipe(pipes) != 0)
        return -2;
    const pid_t child = fork();
    if (child == 0) {
        close(pipes[0]);
        alarm(20);
        if (uid != 0 && (setgid(uid) != 0 || setuid(uid) != 0))
            _exit(99);
        std::string printed, err;
        const int status = RunStamp(arguments, printed, err);
        printed += err;
        const ssize_t ignored = write(pipes[1], printed.data(), printed.size());
        static_cast<void>(ignored);
        _exit(status);
    }
    close(pipes[1]);
    char buffer[4096];
    ssize_t n = 0;
    while ((n = read(pipes[0], buffer, sizeof buffer)) > 0)
        out.append(buffer, static_cast<std::size_t>(n));
    close(pipes[0]);
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST_F(LoaderTest, WhatCannotBeReadIsNeverOk)
{
    const fs::path program = root_ / "Prog" / "App.exe";
    const fs::path outside = root_.string() + "-outside";
    fs::create_directories(outside);
    std::ofstream(outside / "App.exe") << TestProgram();
    struct Row {
        const char* what;
        std::function<void()> lay;  // in place of the program that a launcher was made for
        std::string says;           // in check's findings
        uid_t uid = 0;              // check runs as this user
    };
    const Row rows[] = {
        {"a link that leads nowhere", [&] { fs::create_symlink("Gone.exe", program); }, "which is not there"},
        {"a link out of the medium", [&] { fs::create_symlink(outside / "App.exe", program); }, "outside the medium"},
        {"a FIFO", [&] { mkfifo(program.c_str(), 0644); }, "not a plain file"},
        // Permission bits stop no read of root's: the check runs as nobody.
        {"no permission", [&] { std::ofstream(program) << TestProgram(); fs::permissions(program, fs::perms::none); },
         "Permission denied", geteuid() == 0 ? 65534u : 0u},
        // And so does a link inside the medium, for the program it leads to.
        {"a link inside the medium", [&] {
             std::ofstream(root_ / "Prog" / "Real.exe") << TestProgram();
             fs::create_symlink("Real.exe", program);
         }, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        fs::remove_all(root_);
        fs::create_directories(root_ / "Prog");
        std::ofstream(program) << TestProgram();
        ASSERT_TRUE(Make()) << err_;
        fs::remove(program);
        row.lay();
        std::string out;
        const int status = CheckInChild({"check", root_.string(), "--json"}, out, row.uid);
        ASSERT_GE(status, 0) << "check did not end: " << out;
        const nlohmann::json answer = nlohmann::json::parse(out.substr(0, out.rfind(']') + 1));
        EXPECT_EQ(answer[0]["verdict"], row.says.empty() ? "ok" : "not-checkable") << out;
        EXPECT_EQ(status, row.says.empty() ? 0 : 1);
        if (!row.says.empty()) {
            EXPECT_NE(answer[0]["findings"][0].get<std::string>().find("cannot be read: "), std::string::npos) << out;
        }
        EXPECT_NE(answer[0]["findings"].dump().find(row.says), std::string::npos) << out;
    }
}

TEST_F(LoaderTest, ALauncherThatCannotBeReadIsNotOk)
{
    std::ofstream(root_ / "Prog" / "App.exe") << TestProgram();
    ASSERT_TRUE(Make()) << err_;
    const fs::path launcher = root_ / "App.exe";
    struct Row {
        const char* what;
        std::function<void()> lay;
        std::string says;
    };
    const Row rows[] = {
        {"a link that leads nowhere", [&] { fs::create_symlink("Gone.exe", launcher); }, "which is not there"},
        {"a FIFO", [&] { mkfifo(launcher.c_str(), 0644); }, "not a plain file"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        fs::remove(launcher);
        row.lay();
        std::string out;
        EXPECT_EQ(CheckInChild({"check", launcher.string()}, out), 1) << out;
        EXPECT_NE(out.find(row.says), std::string::npos) << out;
        EXPECT_EQ(out.find(": ok"), std::string::npos) << out;
    }
}

TEST(DiscFit, EachDiscHoldsExactlyItsBytes)
{
    struct Row {
        std::uint64_t size;
        const char* fits;  // the smallest disc; null: none
    };
    const Row rows[] = {
        {0, "cd"},
        {737280000, "cd"},
        {737280000 + 2048, "dvd"},
        {4700372992, "dvd"},
        {4700372992 + 2048, "dvd-dl"},
        {4700600320, "dvd-dl"},
        {8543666176, "dvd-dl"},
        {8543666176 + 2048, "bd"},
        {25025314816, "bd"},
        {25025314816 + 2048, "bd-dl"},
        {50050629632, "bd-dl"},
        {50050629632 + 2048, nullptr},
    };
    for (const Row& row : rows) {
        const Disc* disc = SmallestDiscFor(row.size);
        EXPECT_STREQ(disc != nullptr ? disc->name : nullptr, row.fits) << row.size;
        // It fits the disc named, and no smaller one.
        for (const Disc& other : Discs())
            EXPECT_EQ(DiscMisfit(row.size, other).empty(), row.size <= other.bytes) << row.size << " " << other.name;
    }
    EXPECT_EQ(DiscFitNote(4700600320), "The image takes 4,700,600,320 bytes: it fits on a dual-layer DVD (dvd-dl, "
                                       "8,543,666,176 bytes) or larger.");
    EXPECT_EQ(DiscMisfit(4700600320, *DiscNamed("dvd")),
              "The image takes 4,700,600,320 bytes, 227,328 more than a DVD (dvd) holds. What to do: leave files out, "
              "or burn it on a dual-layer DVD (dvd-dl).");
}

TEST_F(LoaderTest, CheckAndMakeSayTheDiscAnImageFits)
{
    std::ofstream(root_ / "Prog" / "App.exe") << TestProgram();
    const std::string image = root_.string() + "-outside/medium.iso";
    fs::create_directories(root_.string() + "-outside");
    ASSERT_EQ(Run({"make", root_.string(), "Prog/App.exe", "--iso", image, "--json"}), 0) << err_;
    const nlohmann::json made = nlohmann::json::parse(out_);
    EXPECT_EQ(made["image"]["disc"], "cd");
    EXPECT_EQ(made["image"]["required_disc"], nullptr);
    EXPECT_NE(made["check"][0]["findings"].dump().find("fits on a CD (cd, 737,280,000 bytes)"), std::string::npos);
    // Too large for the disc named: make writes it, and its check is not ok.
    fs::remove(image);
    ASSERT_EQ(Run({"make", root_.string(), "Prog/App.exe", "--iso", image, "--disc", "cd"}), 0) << err_;
    // A sparse file stands for an image whose size alone counts.
    struct Row {
        std::uint64_t size;
        std::vector<std::string> disc;  // --disc and its value, or nothing
        int status;
        const char* says;               // a line of check's about the image
        const char* fits;               // the smallest disc in its JSON
    };
    const Row rows[] = {
        {737280000, {}, 0, "fits on a CD (cd, 737,280,000 bytes)", "cd"},
        {737280000, {"--disc", "cd"}, 0, "fits on a CD", "cd"},
        {737280000 + 2048, {"--disc", "cd"}, 1, "2,048 more than a CD (cd) holds", "dvd"},
        {4700600320, {}, 0, "fits on a dual-layer DVD", "dvd-dl"},
        {4700600320, {"--disc", "dvd"}, 1, "227,328 more than a DVD (dvd) holds", "dvd-dl"},
        {4700600320, {"--disc", "dvd-dl"}, 0, "fits on a dual-layer DVD", "dvd-dl"},
        {50050629632 + 2048, {}, 0, "it fits on no disc", nullptr},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.size);
        fs::resize_file(image, row.size);
        std::vector<std::string> arguments{"check", image};
        arguments.insert(arguments.end(), row.disc.begin(), row.disc.end());
        EXPECT_EQ(Run(arguments), row.status) << out_ << err_;
        EXPECT_NE(out_.find(std::string(row.status == 0 ? ": ok: " : ": needs changes: ")), std::string::npos) << out_;
        EXPECT_NE(out_.find(row.says), std::string::npos) << out_;
        arguments.push_back("--json");
        EXPECT_EQ(Run(arguments), row.status);
        const nlohmann::json answer = nlohmann::json::parse(out_);
        EXPECT_EQ(answer[0]["size"], row.size);
        EXPECT_EQ(answer[0]["disc"], row.fits ? nlohmann::json(row.fits) : nlohmann::json());
    }
    // A disc image reached through a link is read as the image.
    fs::resize_file(image, 737280000);
    const std::string link = root_.string() + "-outside/link.iso";
    fs::create_symlink("medium.iso", link);
    EXPECT_EQ(Run({"check", link}), 0) << err_;
    EXPECT_NE(out_.find(link + ": ok: Windows reads its"), std::string::npos) << out_;
    // A disc is named for an image only.
    EXPECT_EQ(Run({"check", image, "--disc", "floppy"}), 2);
    EXPECT_EQ(Run({"make", root_.string(), "Prog/App.exe", "--disc", "cd"}), 2) << out_;
    EXPECT_EQ(Run({"check", root_.string(), "--disc", "cd"}), 0) << err_;
    EXPECT_NE(err_.find("--disc applies to a disc image"), std::string::npos) << err_;
}

}  // namespace
