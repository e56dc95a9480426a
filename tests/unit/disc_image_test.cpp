// check IMAGE: images made by genisoimage and xorriso, read as Windows reads them, and images
// made byte by byte for what those tools do not write.
#include "commands/stamp_command.h"
#include "image/disc_image.h"
#include "launcher_samples.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

class DiscImageTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(std::system("command -v genisoimage >/dev/null && command -v xorriso >/dev/null"), 0)
            << "genisoimage and xorriso are missing: scripts/install-dependencies installs them";
        ASSERT_FALSE(LauncherSamples().empty()) << "the host build builds the launchers";
        work_ = TestFolder("launcher-image-" +
                           std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(work_);
        fs::create_directories(work_ / "src");
    }
    void TearDown() override { fs::remove_all(work_); }

    void Lay(const std::string& relative, const std::string& content = "")
    {
        fs::create_directories((work_ / "src" / relative).parent_path());
        std::ofstream(work_ / "src" / relative) << (content.empty() ? TestProgram(relative) : content);
    }

    // The medium made by make, for program, in src.
    void Make(const std::string& program)
    {
        Lay(program);
        std::string out, err;
        ASSERT_EQ(RunStamp({"make", (work_ / "src").string(), program, "--label", "Borvi"}, out, err), 0) << err << out;
    }

    // Runs command in the work folder (src is the image's content); true when it succeeded.
    bool Shell(const std::string& command)
    {
        return std::system(("cd '" + work_.string() + "' && " + command + " >/dev/null 2>&1").c_str()) == 0;
    }

    int Check(const std::string& image, std::string& out, std::string& err)
    {
        out.clear();
        err.clear();
        return RunStamp({"check", (work_ / image).string()}, out, err);
    }

    fs::path work_;
};

TEST_F(DiscImageTest, ReadsTheTreeWindowsReadsAndSaysWhatDiffersFromWhatLinuxShows)
{
    const std::string program = "Borvi cd1 versie2/SETUP.exe";
    struct Row {
        const char* what;
        std::string command;      // makes image.iso from src
        bool longName;            // src also holds a file whose name has 74 characters
        int status;
        std::vector<std::string> said;  // each in check's report
    };
    const std::string longName = std::string(70, 'n') + ".txt";
    const Row rows[] = {
        {"Joliet and Rock Ridge", "genisoimage -J -R -V BORVI -o image.iso src", false, 0,
         {"Windows reads its Joliet tree, label BORVI", "D:\\SETUP.exe: ok: starts D:\\Borvi cd1 versie2\\SETUP.exe"}},
        {"Joliet, by xorriso", "xorriso -as mkisofs -J -V BORVI -o image.iso src", false, 0,
         {"D:\\SETUP.exe: ok: starts D:\\Borvi cd1 versie2\\SETUP.exe"}},
        {"Rock Ridge alone", "genisoimage -R -o image.iso src", false, 1,
         {"The image has no Joliet tree", "such as \\Borvi cd1 versie2, which Windows reads as \\BORVI_CD",
          "D:\\SETUP.EXE: directory-missing"}},
        {"neither", "genisoimage -o image.iso src", false, 1,
         {"The image has no Joliet tree", "D:\\SETUP.EXE: directory-missing"}},
        {"a long Joliet name cut at 64, extension and all", "genisoimage -J -R -o image.iso src", true, 1,
         {"which Windows reads as \\Docs\\" + std::string(64, 'n') + "."}},
        {"a long Joliet name kept", "genisoimage -J -joliet-long -R -o image.iso src", true, 0,
         {"1 Joliet name is longer than 64 characters, such as \\Docs\\" + longName}},
        {"UDF, which Windows reads instead", "genisoimage -R -udf -o image.iso src", false, 0,
         {"Windows reads its UDF tree", "D:\\SETUP.exe: ok: starts D:\\Borvi cd1 versie2\\SETUP.exe"}},
        // Its Joliet record of autorun.inf pointed at block 0: the ISO 9660 tree holds other data there.
        {"UDF and a Joliet tree that differ",
         "genisoimage -J -R -udf -o image.iso src && python3 -c \"import sys; b = bytearray(open('image.iso', 'rb').read()); "
         "at = b.index('autorun.inf'.encode('utf-16-be')) - 33; b[at + 2:at + 10] = bytes(8); "
         "open('image.iso', 'wb').write(b)\"",
         false, 1, {"Windows reads its UDF tree", "1 files only in UDF, such as \\autorun.inf"}},
        {"UDF with its anchor damaged",
         "genisoimage -J -R -udf -o image.iso src && printf 'xx' | dd of=image.iso bs=1 seek=524288 conv=notrunc", false, 1,
         {"image.iso: not-checkable", "UDF file system", "its UDF anchor is missing or damaged"}},
    };
    Make(program);
    for (const Row& row : rows) {
        fs::remove(work_ / "image.iso");
        fs::remove_all(work_ / "src" / "Docs");
        if (row.longName)
            Lay("Docs/" + longName, "words");
        ASSERT_TRUE(Shell(row.command)) << row.command;
        std::string out, err;
        EXPECT_EQ(Check("image.iso", out, err), row.status) << row.what << "\n" << out << err;
        for (const std::string& said : row.said)
            EXPECT_NE(out.find(said), std::string::npos) << row.what << ": no \"" << said << "\" in\n" << out << err;
    }
}

TEST_F(DiscImageTest, FindsTwinsDeepFoldersAndNamesAsWindowsCutsThem)
{
    Make("A/B/C/D/E/F/G/H/I/Deep.exe");
    Lay("Docs/readme.txt", "lower");
    Lay("Docs/README.TXT", "upper");
    ASSERT_TRUE(Shell("genisoimage -J -R -o image.iso src"));
    std::string out, err;
    EXPECT_EQ(Check("image.iso", out, err), 1) << out << err;
    EXPECT_NE(out.find("In \\Docs README.TXT and readme.txt differ only in letter case"), std::string::npos) << out;
    EXPECT_NE(out.find("D:\\Deep.exe: ok: starts D:\\A\\B\\C\\D\\E\\F\\G\\H\\I\\Deep.exe"), std::string::npos) << out;

    // The primary tree: a version cut at its ';', whatever its number, and one trailing dot dropped.
    fs::remove_all(work_ / "src");
    Lay("TOOLS/README", "no extension");
    Lay("TOOLS/SETUP.EXE");
    ASSERT_TRUE(Shell("genisoimage -o image.iso src"));
    std::string bytes;
    {
        std::ifstream in(work_ / "image.iso", std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    const std::size_t version = bytes.find("SETUP.EXE;1");
    ASSERT_NE(version, std::string::npos);
    bytes[version + 10] = '2';
    std::ofstream(work_ / "image.iso", std::ios::binary) << bytes;
    std::uint64_t size = bytes.size();
    DiscImage image;
    std::string error;
    ASSERT_TRUE(image.Open(
        [&bytes](std::uint64_t offset, std::size_t count, Bytes& read) {
            if (offset > bytes.size() || count > bytes.size() - offset)
                return false;
            read.assign(bytes.begin() + static_cast<std::ptrdiff_t>(offset),
                        bytes.begin() + static_cast<std::ptrdiff_t>(offset + count));
            return true;
        },
        size, 850, error))
        << error;
    std::vector<FolderEntry> entries;
    ASSERT_TRUE(image.List({"tools"}, entries, error)) << error;
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].name, "README");
    EXPECT_EQ(entries[1].name, "SETUP.EXE");
}

// An image made byte by byte: a primary descriptor, a terminator and a root folder.
struct Built {
    Bytes bytes = Bytes(20 * 2048, 0);

    void Record(std::size_t& at, const std::string& name, std::uint32_t block, std::uint32_t size, int flags)
    {
        const std::size_t length = 33 + name.size() + (name.size() % 2 == 0 ? 1 : 0);
        bytes[at] = static_cast<unsigned char>(length);
        for (int i = 0; i < 4; ++i) {
            bytes[at + 2 + static_cast<std::size_t>(i)] = static_cast<unsigned char>(block >> (8 * i));
            bytes[at + 10 + static_cast<std::size_t>(i)] = static_cast<unsigned char>(size >> (8 * i));
        }
        bytes[at + 25] = static_cast<unsigned char>(flags);
        bytes[at + 32] = static_cast<unsigned char>(name.size());
        std::copy(name.begin(), name.end(), bytes.begin() + static_cast<std::ptrdiff_t>(at + 33));
        at += length;
    }

    explicit Built(const std::vector<std::tuple<std::string, std::uint32_t, std::uint32_t, int>>& files)
    {
        const std::size_t pvd = 16 * 2048, root = 18 * 2048;
        bytes[pvd] = 1;
        std::copy_n("CD001\1", 6, bytes.begin() + static_cast<std::ptrdiff_t>(pvd + 1));
        bytes[pvd + 128] = 0x00;
        bytes[pvd + 129] = 0x08;  // blocks of 2048 bytes
        std::size_t at = pvd + 156;
        Record(at, std::string(1, '\0'), 18, 2048, 2);
        bytes[17 * 2048] = 255;
        std::copy_n("CD001\1", 6, bytes.begin() + 17 * 2048 + 1);
        at = root;
        Record(at, std::string(1, '\0'), 18, 2048, 2);
        Record(at, std::string(1, '\1'), 18, 2048, 2);
        for (const auto& [name, block, size, flags] : files)
            Record(at, name, block, size, flags);
    }

    ImageReader Reader() const
    {
        return [this](std::uint64_t offset, std::size_t count, Bytes& read) {
            if (offset > bytes.size() || count > bytes.size() - offset)
                return false;
            read.assign(bytes.begin() + static_cast<std::ptrdiff_t>(offset),
                        bytes.begin() + static_cast<std::ptrdiff_t>(offset + count));
            return true;
        };
    }
};

TEST(DiscImage, ReadsWhatRecordsSayAndRefusesWhatLiesOutsideTheImage)
{
    struct Row {
        const char* what;
        std::vector<std::tuple<std::string, std::uint32_t, std::uint32_t, int>> files;
        bool listed;
        std::vector<std::pair<std::string, std::uint64_t>> entries;  // name, size
        std::string read;  // of the first file, its first bytes
    };
    const Row rows[] = {
        {"one file in two extents, as over 4 GiB", {{"BIG.BIN;1", 19, 3, 0x80}, {"BIG.BIN;1", 19, 2, 0}}, true,
         {{"BIG.BIN", 5}}, "abcab"},
        {"a version other than 1 and a trailing dot", {{"A.;7", 19, 3, 0}}, true, {{"A", 3}}, "abc"},
        {"an empty name", {{";1", 19, 3, 0}}, false, {}, ""},
        {"a file's data past the image's end", {{"X.BIN;1", 4000, 3, 0}}, true, {{"X.BIN", 3}}, ""},
    };
    for (const Row& row : rows) {
        Built built(row.files);
        std::copy_n("abcdef", 6, built.bytes.begin() + 19 * 2048);
        DiscImage image;
        std::string error;
        ASSERT_TRUE(image.Open(built.Reader(), built.bytes.size(), 850, error)) << row.what << ": " << error;
        EXPECT_FALSE(image.hasJoliet());
        std::vector<FolderEntry> entries;
        EXPECT_EQ(image.List({}, entries, error), row.listed) << row.what << ": " << error;
        std::vector<std::pair<std::string, std::uint64_t>> got;
        for (const FolderEntry& entry : entries)
            got.emplace_back(entry.name, entry.size);
        EXPECT_EQ(got, row.entries) << row.what;
        if (!row.entries.empty()) {
            Bytes bytes;
            EXPECT_EQ(image.ReadStart({row.entries[0].first}, 64, bytes, error), !row.read.empty()) << row.what;
            EXPECT_EQ(std::string(bytes.begin(), bytes.end()), row.read) << row.what;
        }
    }
    // Truncated among its descriptors, or none at all.
    Built built({});
    for (std::size_t size : {std::size_t{16 * 2048 + 100}, std::size_t{0}}) {
        built.bytes.resize(size);
        DiscImage image;
        std::string error;
        EXPECT_FALSE(image.Open(built.Reader(), size, 850, error));
        EXPECT_FALSE(error.empty());
    }
}

}  // namespace
