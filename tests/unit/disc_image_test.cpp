// check IMAGE: images made by genisoimage and xorriso, read as Windows reads them, and images
// made byte by byte for what those tools do not write.
#include "commands/stamp_command.h"
#include "image/disc_image.h"
#include "image/image_findings.h"
#include "launcher_samples.h"
#include "medium/medium_place.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include <sys/stat.h>

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

// Reads an image held in memory, as ImageFileReader reads one from a file.
ImageReader ReaderOf(const Bytes& bytes)
{
    return [&bytes](std::uint64_t offset, std::size_t count, Bytes& read) {
        if (offset > bytes.size() || count > bytes.size() - offset)
            return false;
        read.assign(bytes.begin() + static_cast<std::ptrdiff_t>(offset),
                    bytes.begin() + static_cast<std::ptrdiff_t>(offset + count));
        return true;
    };
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

    ImageReader Reader() const { return ReaderOf(bytes); }
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

// A multi-extent file whose records name the same bytes again and again adds up to more than the
// image holds: it is refused before anything is read, at its start and in its middle.
TEST(DiscImage, RefusesExtentsThatAddUpToMoreThanTheImage)
{
    struct Row {
        const char* what;
        int records;       // BIG.BIN's records, all but the last marked to continue
        std::uint32_t size;  // each record's bytes, from block 0
        const char* refused;  // why reading it is refused; null: it is read
    };
    const Row rows[] = {
        {"two records that fit the image", 2, 4 * 2048, nullptr},
        {"records naming the whole image again and again", 40, 20 * 2048, "add up to more than the image holds"},
        {"one record of more than the image", 1, 21 * 2048, "lie outside the image"},
    };
    for (const Row& row : rows) {
        std::vector<std::tuple<std::string, std::uint32_t, std::uint32_t, int>> files;
        for (int i = 0; i < row.records; ++i)
            files.emplace_back("BIG.BIN;1", 0, row.size, i + 1 < row.records ? 0x80 : 0);
        Built built(files);
        DiscImage image;
        std::string error;
        ASSERT_TRUE(image.Open(built.Reader(), built.bytes.size(), 850, error)) << row.what << ": " << error;
        Bytes bytes;
        EXPECT_EQ(image.ReadStart({"BIG.BIN"}, 64, bytes, error), row.refused == nullptr) << row.what;
        EXPECT_EQ(image.Read({"BIG.BIN"}, row.size, 64, bytes, error), row.refused == nullptr) << row.what;
        if (row.refused != nullptr) {
            EXPECT_NE(error.find(row.refused), std::string::npos) << row.what << ": " << error;
        }
    }
}

// A UDF volume made block by block: ISO 9660 and UDF recognition, an anchor, a partition, a
// root folder, and files whose entries say what each row needs.
struct UdfBuilt {
    static constexpr std::uint32_t Partition = 300;  // the partition's first block
    Bytes bytes = Bytes((Partition + 64) * 2048, 0);

    void Put16(std::size_t at, std::uint32_t value)
    {
        bytes[at] = static_cast<unsigned char>(value), bytes[at + 1] = static_cast<unsigned char>(value >> 8);
    }
    void Put32(std::size_t at, std::uint32_t value)
    {
        Put16(at, value & 0xFFFF), Put16(at + 2, value >> 16);
    }
    std::size_t Block(std::uint32_t lbn) const { return (Partition + std::size_t{lbn}) * 2048; }

    ImageReader Reader() const { return ReaderOf(bytes); }

    // A file entry at lbn: a folder or a file of length bytes, its allocation descriptors (short:
    // bytes with the kind in the top two bits, then the block) after eaLength bytes of attributes.
    void Entry(std::uint32_t lbn, bool folder, std::uint64_t length,
               const std::vector<std::pair<std::uint32_t, std::uint32_t>>& ads, std::uint32_t eaLength = 0)
    {
        const std::size_t at = Block(lbn);
        Put16(at, 261);
        bytes[at + 16 + 11] = folder ? 4 : 5;
        Put32(at + 56, static_cast<std::uint32_t>(length)), Put32(at + 60, static_cast<std::uint32_t>(length >> 32));
        Put32(at + 168, eaLength);
        Put32(at + 172, static_cast<std::uint32_t>(ads.size() * 8));
        for (std::size_t i = 0; i < ads.size(); ++i)
            Put32(at + 176 + i * 8, ads[i].first), Put32(at + 176 + i * 8 + 4, ads[i].second);
    }

    // The root folder at lbn 1 (its identifiers at lbn 2), naming each file's entry.
    explicit UdfBuilt(const std::vector<std::pair<std::string, std::uint32_t>>& files)
    {
        const std::size_t pvd = 16 * 2048;
        bytes[pvd] = 1;
        std::copy_n("CD001\1", 6, bytes.begin() + static_cast<std::ptrdiff_t>(pvd + 1));
        bytes[pvd + 129] = 0x08;  // blocks of 2048 bytes
        bytes[pvd + 156] = 34, bytes[pvd + 156 + 2] = 18, bytes[pvd + 156 + 11] = 0x08, bytes[pvd + 156 + 32] = 1;
        bytes[17 * 2048] = 255;
        std::copy_n("CD001\1", 6, bytes.begin() + 17 * 2048 + 1);
        for (const auto& [block, text] : {std::pair<int, const char*>{18, "BEA01"}, {19, "NSR02"}, {20, "TEA01"}})
            std::copy_n(text, 5, bytes.begin() + block * 2048 + 1);
        Put16(256 * 2048, 2);  // the anchor: the volume descriptors at block 32, three of them
        Put32(256 * 2048 + 16, 3 * 2048), Put32(256 * 2048 + 20, 32);
        Put16(32 * 2048, 5), Put32(32 * 2048 + 188, Partition);
        Put16(33 * 2048, 6), Put32(33 * 2048 + 212, 2048), Put32(33 * 2048 + 268, 1), bytes[33 * 2048 + 440] = 1;
        Put16(34 * 2048, 8);
        Put16(Block(0), 256), Put32(Block(0) + 404, 1);  // the file set: its root at lbn 1
        std::size_t at = Block(2);
        for (const auto& [name, entry] : files) {
            Put16(at, 257);
            bytes[at + 19] = static_cast<unsigned char>(name.size() + 1);
            Put32(at + 24, entry);
            bytes[at + 38] = 8;
            std::copy(name.begin(), name.end(), bytes.begin() + static_cast<std::ptrdiff_t>(at + 39));
            at += (38 + 1 + name.size() + 3) / 4 * 4;
        }
        Entry(1, true, at - Block(2), {{static_cast<std::uint32_t>(at - Block(2)), 2}});
    }
};

// Allocation that a crafted UDF entry records: reads never take more memory than they ask for,
// whatever lengths the entries give, and a length near 4 GiB never wraps around.
TEST_F(DiscImageTest, ReadsCraftedUdfEntriesWithinWhatItAsks)
{
    constexpr std::uint32_t Gigabyte = 0x3FFFF800;  // the largest extent, in whole blocks
    constexpr std::uint32_t Unrecorded = 1u << 30;   // allocated, not recorded: reads as zeros
    std::vector<std::pair<std::uint32_t, std::uint32_t>> sparse(200, {Unrecorded | Gigabyte, 0});
    UdfBuilt built({{"autorun.inf", 3}, {"SPARSE.BIN", 3}, {"DATA.TXT", 5}});
    built.Entry(3, false, std::uint64_t{Gigabyte} * sparse.size(), sparse);
    built.Entry(5, false, 5, {{5, 10}});
    std::copy_n("hello", 5, built.bytes.begin() + static_cast<std::ptrdiff_t>(built.Block(10)));
    {
        std::ofstream(work_ / "crafted.iso", std::ios::binary)
            .write(reinterpret_cast<const char*>(built.bytes.data()), static_cast<std::streamsize>(built.bytes.size()));
    }
    struct Row {
        const char* name;
        std::uint64_t offset;
        std::size_t count;
        std::size_t got;
    };
    const Row rows[] = {
        {"DATA.TXT", 0, 64, 5},
        {"DATA.TXT", 3, 64, 2},
        {"DATA.TXT", 5, 64, 0},
        {"SPARSE.BIN", 0, 1u << 20, 1u << 20},
        {"SPARSE.BIN", std::uint64_t{Gigabyte} * 199, 1u << 20, 1u << 20},
        {"SPARSE.BIN", std::uint64_t{Gigabyte} * 200 - 7, 1u << 20, 7},
    };
    DiscImage image;
    std::string error;
    std::uint64_t size = 0;
    const ImageReader file = ImageFileReader((work_ / "crafted.iso").string(), size);
    ASSERT_TRUE(image.Open(file, size, 850, error)) << error;
    ASSERT_TRUE(image.readsUdf()) << image.udfProblem();
    for (const Row& row : rows) {
        Bytes bytes;
        EXPECT_TRUE(image.Read({row.name}, row.offset, row.count, bytes, error)) << row.name << ": " << error;
        EXPECT_EQ(bytes.size(), row.got) << row.name << " at " << row.offset;
    }
    // check reads the 200 GiB autorun.inf no further than an autorun.inf can reach.
    std::string out, err;
    EXPECT_EQ(Check("crafted.iso", out, err), 1) << out << err;
    EXPECT_NE(err.find("holds no launcher of ours"), std::string::npos) << err;

    // Attributes whose length would wrap a 32-bit sum around to a small one: the entry is damaged.
    UdfBuilt wrapping({{"ATTRS.BIN", 4}});
    wrapping.Entry(4, false, 16, {{16, 10}}, 0xFFFFFF60);
    ASSERT_TRUE(image.Open(wrapping.Reader(), wrapping.bytes.size(), 850, error)) << error;
    Bytes bytes;
    EXPECT_FALSE(image.Read({"ATTRS.BIN"}, 0, 64, bytes, error));
    EXPECT_NE(error.find("a UDF file entry is damaged"), std::string::npos) << error;
}

// A lookup reads each folder of the image once: the folders on its way are kept.
TEST_F(DiscImageTest, ReadsEachFolderOnceForLookupsBelowIt)
{
    Lay("A/B/C/D/file.txt", "deep");
    Lay("A/B/other.txt", "beside");
    ASSERT_TRUE(Shell("genisoimage -J -R -o image.iso src"));
    std::uint64_t size = 0;
    const ImageReader file = ImageFileReader((work_ / "image.iso").string(), size);
    std::size_t reads = 0;
    DiscImage image;
    std::string error;
    ASSERT_TRUE(image.Open([&](std::uint64_t offset, std::size_t count, Bytes& bytes) { return ++reads, file(offset, count, bytes); },
                           size, 850, error)) << error;
    struct Row {
        std::vector<std::string> below;
        std::size_t reads;  // after the lookups before it
    };
    const Row rows[] = {
        {{"A", "B", "C", "D", "file.txt"}, 5},  // the root and A to D, each once
        {{"A", "B", "C", "D", "file.txt"}, 0},
        {{"a", "b", "OTHER.TXT"}, 0},
        {{"A", "B", "C", "D"}, 0},
    };
    for (const Row& row : rows) {
        reads = 0;
        EXPECT_EQ(image.Kind(row.below), row.below.size() == 4 ? EntryKind::Folder : EntryKind::File);
        EXPECT_EQ(reads, row.reads) << row.below.back();
    }
}

// Rock Ridge names whose NM entries go on through continuation areas (CE), as writers record long
// names: read whole, and a chain of areas that loops is followed a bounded number of times.
TEST(DiscImage, ReadsRockRidgeNamesThroughContinuationAreasWithinABound)
{
    struct Row {
        const char* what;
        std::uint32_t nextOffset;  // where the continuation area's own CE leads, in block 19
        std::string name;
    };
    const Row rows[] = {
        {"a name in three pieces over two areas", 100, "abc"},
        {"an area that names itself again and again", 0, "a" + std::string(32, 'b')},
    };
    for (const Row& row : rows) {
        Built built({});
        auto nm = [](char piece, bool more) { return Bytes{'N', 'M', 6, 1, static_cast<unsigned char>(more), static_cast<unsigned char>(piece)}; };
        auto ce = [](std::uint32_t offset, std::uint32_t length) {
            Bytes e{'C', 'E', 28, 1};
            for (std::uint32_t value : {19u, offset, length})
                for (int i = 0; i < 8; ++i)
                    e.push_back(static_cast<unsigned char>(i < 4 ? value >> (8 * i) : value >> (8 * (7 - i))));
            return e;
        };
        // A record of A.TXT;1 after the root's "." and "..", its system use area NM a, CE.
        Bytes record(33, 0);
        const std::string name = "A.TXT;1";
        record.insert(record.end(), name.begin(), name.end());
        for (const Bytes& entry : {nm('a', true), ce(0, 34)})
            record.insert(record.end(), entry.begin(), entry.end());
        record[0] = static_cast<unsigned char>(record.size());
        record[2] = 19, record[10] = 3, record[32] = static_cast<unsigned char>(name.size());
        std::copy(record.begin(), record.end(), built.bytes.begin() + 18 * 2048 + 68);
        // The area's own CE leads back to the area, NM and CE, or on to a last piece.
        Bytes area = nm('b', true), next = ce(row.nextOffset, row.nextOffset == 0 ? 34 : 6);
        area.insert(area.end(), next.begin(), next.end());
        std::copy(area.begin(), area.end(), built.bytes.begin() + 19 * 2048);
        const Bytes last = nm('c', false);
        std::copy(last.begin(), last.end(), built.bytes.begin() + 19 * 2048 + 100);
        DiscImage image;
        std::string error;
        ASSERT_TRUE(image.Open(built.Reader(), built.bytes.size(), 850, error)) << row.what << ": " << error;
        std::vector<ImageEntry> entries;
        ASSERT_TRUE(image.PrimaryEntries({}, entries, error)) << row.what << ": " << error;
        ASSERT_EQ(entries.size(), 1u) << row.what;
        EXPECT_EQ(entries[0].name, "A.TXT") << row.what;
        EXPECT_EQ(entries[0].rockRidgeName, row.name) << row.what;
    }
}

// Folders that overlap or repeat: the bytes of records parsed stay within a small multiple of the
// image's size, and past that bound the image is unreadable, with the reason, at once.
TEST_F(DiscImageTest, BoundsTheWorkOfFoldersThatOverlapOrRepeat)
{
    const std::string generator = std::string("python3 '") + OVERLAPPING_FOLDERS_GENERATOR + "' image.iso";
    struct Row {
        const char* what;
        std::string command;  // makes image.iso in the work folder
        bool unreadable;
    };
    const Row rows[] = {
        {"2000 folders into one overlapping stretch", generator + " 8 2000", true},
        {"300 folders into the overlapping stretch of a small image", generator + " 2 300", true},
        {"one folder of 190,000 entries", generator + " 8 1", false},
        {"400 folders of a real image",
         "for i in $(seq 1 400); do mkdir -p src/many/f$i && echo x > src/many/f$i/x.txt; done && "
         "genisoimage -J -R -o image.iso src",
         false},
    };
    for (const Row& row : rows) {
        fs::remove(work_ / "image.iso");
        ASSERT_TRUE(Shell(row.command)) << row.command;
        std::uint64_t size = 0;
        const ImageReader file = ImageFileReader((work_ / "image.iso").string(), size);
        DiscImage image;
        std::string error;
        ASSERT_TRUE(image.Open(file, size, 850, error)) << row.what;
        std::vector<std::string> notes;
        DiscImageFindings(image, notes);
        EXPECT_EQ(!image.overworked().empty(), row.unreadable) << row.what << ": " << image.overworked();
        // One folder's records at most past the bound: the read that passed it is refused.
        EXPECT_LE(image.parsed(), image.parseBound() + (16u << 20)) << row.what;
        // check says so, its time a figure to read, not a limit (scripts/bench-check measures).
        const auto start = std::chrono::steady_clock::now();
        std::string out, err;
        Check("image.iso", out, err);
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        std::printf("%s: check took %.2f s\n", row.what, seconds);
        EXPECT_EQ(err.find("image.iso: its folders overlap or repeat") != std::string::npos, row.unreadable)
            << row.what << ": " << err;
    }
}

// An image cut short, as a stopped download leaves it, its program's data past its end: the image
// is not ok, and reading the program fails with the reason.
TEST_F(DiscImageTest, AnImageCutShortIsNotOkAndSaysWhyItsFilesCannotBeRead)
{
    Make("Borvi cd1 versie2/SETUP.exe");
    Lay("Borvi cd1 versie2/SETUP.exe", TestProgram("setup") + std::string(200000, 'p'));
    ASSERT_TRUE(Shell("xorriso -as mkisofs -J -R -V BORVI -o image.iso src"));
    const std::vector<std::string> program{"Borvi cd1 versie2", "SETUP.exe"};
    ImageEntry entry;
    {
        std::uint64_t size = 0;
        const ImageReader file = ImageFileReader((work_ / "image.iso").string(), size);
        DiscImage image;
        std::string error;
        ASSERT_TRUE(image.Open(file, size, 850, error)) << error;
        ASSERT_TRUE(image.Find(program, entry, error)) << error;
    }
    fs::resize_file(work_ / "image.iso", entry.extents[0].first + 4096);
    std::string out, err;
    EXPECT_EQ(Check("image.iso", out, err), 1) << out << err;
    EXPECT_EQ(out.find("image.iso: ok"), std::string::npos) << out;
    // The program and what lies after it (the launcher, here) are cut.
    EXPECT_NE(out.find("image.iso: needs changes: Windows reads its Joliet tree, label BORVI\n  2 files lie past the "
                       "image's end, such as \\SETUP.exe (its data end at byte"),
              std::string::npos) << out;
    EXPECT_NE(out.find("the image is cut short, as a stopped download or copy leaves it"), std::string::npos) << out;
    std::string error;
    const std::unique_ptr<MediumPlace> place = OpenMediumPlace((work_ / "image.iso").string(), 1252, error);
    ASSERT_NE(place, nullptr) << error;
    Bytes bytes;
    EXPECT_FALSE(place->Read(program, 0, 4096, bytes, error));
    EXPECT_NE(error.find("cut short, as a stopped download or copy is"), std::string::npos) << error;
    std::uint64_t size = 0;
    EXPECT_TRUE(place->Size(program, size, error)) << error;
    EXPECT_EQ(size, entry.size);
}

// A temporary file of ours inside an image is one that a run left: no run can be writing it.
TEST_F(DiscImageTest, ATemporaryFileOfOursInAnImageWasLeftBehind)
{
    Make("Borvi cd1 versie2/SETUP.exe");
    Lay(".launcher-stamp-x1Yz2", "half a launcher");
    ASSERT_TRUE(Shell("genisoimage -J -R -o image.iso src"));
    std::string out, err;
    EXPECT_EQ(Check("image.iso", out, err), 1) << out << err;
    EXPECT_NE(out.find("D:\\.launcher-stamp-x1Yz2: not part of the medium\n  Left by an interrupted launcher-stamp run"),
              std::string::npos) << out;
}

// One call says what a path names: a folder, an image (through a link too), a cut image that
// cannot be read, or nothing a medium lies on.
TEST_F(DiscImageTest, OpenMediumSaysWhatAPathNames)
{
    Make("Borvi cd1/SETUP.exe");
    ASSERT_TRUE(Shell("genisoimage -J -R -o image.iso src"));
    fs::copy_file(work_ / "image.iso", work_ / "cut.iso");
    fs::resize_file(work_ / "cut.iso", 38912);  // its descriptors, not its folders
    fs::create_symlink(work_ / "image.iso", work_ / "linked.iso");
    fs::create_symlink(work_ / "src", work_ / "linked-folder");
    std::ofstream(work_ / "notes.txt") << std::string(40000, 'x');
    ASSERT_EQ(mkfifo((work_ / "pipe").c_str(), 0600), 0);
    const struct {
        const char* path;
        MediumKind kind;
        bool placed;
        bool image;  // what its place says of itself
    } rows[] = {
        {"src", MediumKind::Folder, true, false},
        {"linked-folder", MediumKind::Folder, true, false},
        {"image.iso", MediumKind::Image, true, true},
        {"linked.iso", MediumKind::Image, true, true},
        {"cut.iso", MediumKind::Image, false, false},
        {"notes.txt", MediumKind::Nothing, false, false},
        {"pipe", MediumKind::Nothing, false, false},
        {"missing", MediumKind::Nothing, false, false},
    };
    for (const auto& row : rows) {
        const OpenedMedium opened = OpenMedium((work_ / row.path).string(), 1252);
        EXPECT_EQ(opened.kind, row.kind) << row.path;
        ASSERT_EQ(opened.place != nullptr, row.placed) << row.path << ": " << opened.reason;
        EXPECT_EQ(opened.reason.empty(), row.placed || row.kind == MediumKind::Nothing) << row.path;
        if (opened.place != nullptr) {
            EXPECT_EQ(opened.place->Facts().image, row.image) << row.path;
            EXPECT_EQ(opened.place->Facts().tree, row.image ? "Joliet" : "") << row.path;
            std::vector<FolderEntry> entries;
            std::string error;
            EXPECT_TRUE(opened.place->List({}, entries, error)) << row.path << ": " << error;
        }
    }
}

}  // namespace
