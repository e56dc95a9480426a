// make --iso: what an image cannot hold is refused before anything is written; what is written
// is read back by a reader that shares nothing with ours (xorriso, Joliet alone), byte for byte;
// the same files give the same image.
#include "commands/stamp_command.h"
#include "image/image_writer.h"
#include "image/medium_image.h"
#include "launcher_samples.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>

namespace fs = std::filesystem;

namespace {

TEST(MediumImage, NamesAnImageCannotHoldAsWindowsReadsThem)
{
    struct Row {
        std::string name;
        const char* refusal;  // in the reason, or nullptr: it can hold it
    };
    const std::string emoji = "\xF0\x9F\x98\x80";  // two UTF-16 units
    std::string emoji52;
    for (int i = 0; i < 52; ++i)
        emoji52 += emoji;
    const Row rows[] = {
        {"Borvi cd1 versie2", nullptr},
        {"\xD0\x9F\xD1\x80\xD0\xBE\xD0\xB3\xD0\xB0.exe", nullptr},  // Cyrillic
        {"\xE8\xAA\xAD\xE3\x82\x93\xE3\x81\xA7.txt", nullptr},      // Japanese
        {std::string(99, 'n') + ".txt", nullptr},                    // 103 units: the most
        {std::string(100, 'n') + ".txt", "104 characters long"},
        {emoji52.substr(0, 51 * 4) + "x", nullptr},                  // 103 units
        {emoji52, "104 characters long"},
        {"a;1", "holds \";\""},
        {"a:b", "holds \":\""},
        {"a*b", "holds \"*\""},
        {"why?", "holds \"?\""},
        {"back\\slash", "holds \"\\\""},
        {"a<b", "holds \"<\""},
        {"tab\there", "a control character"},
        {"dot.", "ends in a dot"},
        {"space ", "ends in a space"},
        {"CON", "device Windows reserves"},
        {"nul.txt", "device Windows reserves"},
        {"bad\xFF", "not valid UTF-8"},
    };
    for (const Row& row : rows) {
        const std::string why = WhyImageCannotHoldName(row.name);
        if (row.refusal == nullptr)
            EXPECT_EQ(why, "") << row.name;
        else
            EXPECT_NE(why.find(row.refusal), std::string::npos) << row.name << ": " << why;
    }
}

TEST(MediumImage, LabelAndDateAsTheImageHoldsThem)
{
    const std::pair<std::string, std::string> labels[] = {
        {"Borvi 7", "Borvi 7"},
        {"Sixteen chars ok", "Sixteen chars ok"},
        {"Seventeen chars!!", "Seventeen chars!"},
        {"\xE8\xAA\xAD\xE8\xAA\xAD\xE8\xAA\xAD\xE8\xAA\xAD\xE8\xAA\xAD\xE8\xAA\xAD\xE8\xAA\xAD\xE8\xAA\xAD"
         "\xE8\xAA\xAD\xE8\xAA\xAD\xE8\xAA\xAD",  // 11 characters, 33 bytes: cut to 10 (30 bytes)
         "\xE8\xAA\xAD\xE8\xAA\xAD\xE8\xAA\xAD\xE8\xAA\xAD\xE8\xAA\xAD\xE8\xAA\xAD\xE8\xAA\xAD\xE8\xAA\xAD"
         "\xE8\xAA\xAD\xE8\xAA\xAD"},
        {std::string(15, 'a') + "\xF0\x9F\x98\x80", std::string(15, 'a')},  // never half a pair
    };
    for (const auto& [label, held] : labels)
        EXPECT_EQ(ImageVolumeLabel(label), held) << label;
    const std::pair<std::int64_t, const char*> dates[] = {
        {0, "19700101000000"},
        {315532800, "19800101000000"},
        {951782400, "20000229000000"},   // a leap day
        {1796808791, "20261209093311"},
        {4107542399, "21000228235959"},  // 2100 is no leap year
        {5869583999, "21551231235959"},
    };
    for (const auto& [seconds, text] : dates)
        EXPECT_EQ(ImageDateText(seconds), text) << seconds;
}

class MakeIsoTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(LauncherSamples().empty()) << "the host build builds the launchers";
        work_ = TestFolder("launcher-iso-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(work_);
        fs::create_directories(work_ / "src");
    }
    void TearDown() override { fs::remove_all(work_); }

    fs::path Lay(const std::string& relative, const std::string& content)
    {
        const fs::path path = work_ / "src" / fs::u8path(relative);
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << content;
        return path;
    }

    int MakeIso(const std::vector<std::string>& more, std::string& out, std::string& err, const std::string& iso = "out.iso")
    {
        out.clear();
        err.clear();
        std::vector<std::string> arguments = {"make", (work_ / "src").string(), "Borvi cd1 versie2/SETUP.exe", "--label",
                                              "Borvi 7", "--iso", (work_ / iso).string()};
        arguments.insert(arguments.end(), more.begin(), more.end());
        return RunStamp(arguments, out, err);
    }

    bool Shell(const std::string& command)
    {
        return std::system(("cd '" + work_.string() + "' && " + command + " >/dev/null 2>&1").c_str()) == 0;
    }

    fs::path work_;
};

TEST_F(MakeIsoTest, RefusesWhatTheImageCannotHoldBeforeWritingAnything)
{
    struct Row {
        const char* what;
        std::function<void(const fs::path& work)> lay;  // beside the program
        std::string iso;                                 // where the image goes, below work
        const char* refusal;
    };
    const Row rows[] = {
        {"a name over 103 characters", [](const fs::path& w) { std::ofstream(w / "src" / (std::string(104, 'n'))); },
         "out.iso", "104 characters long"},
        {"a semicolon", [](const fs::path& w) { std::ofstream(w / "src" / "notes;1.txt"); }, "out.iso", "holds \";\""},
        {"a path over 240 bytes",
         [](const fs::path& w) {
             fs::path deep = w / "src";
             for (int i = 0; i < 3; ++i)
                 deep /= std::string(80, 'd');
             fs::create_directories(deep);
         },
         "out.iso", "holds paths of at most 240"},
        {"letter-case twins",
         [](const fs::path& w) {
             std::ofstream(w / "src" / "ReadMe.txt");
             std::ofstream(w / "src" / "README.TXT");
         },
         "out.iso", "differ only in letter case"},
        {"a symbolic link", [](const fs::path& w) { fs::create_symlink("/etc/hostname", w / "src" / "link.txt"); },
         "out.iso", "is a symbolic link"},
        {"a FIFO", [](const fs::path& w) { mkfifo((w / "src" / "pipe").c_str(), 0600); }, "out.iso",
         "neither a file nor a folder"},
        {"the image inside the medium", [](const fs::path&) {}, "src/out.iso", "lies inside the medium"},
        {"a folder at the image's name", [](const fs::path& w) { fs::create_directories(w / "out.iso"); }, "out.iso",
         "is a folder"},
        {"a link at the image's name", [](const fs::path& w) { fs::create_symlink("elsewhere.iso", w / "out.iso"); },
         "out.iso", "is a link"},
        {"a file that is no image", [](const fs::path& w) { std::ofstream(w / "out.iso") << "my notes"; }, "out.iso",
         "something other than a disc image"},
        {"no folder for the image", [](const fs::path&) {}, "missing/out.iso", "does not exist"},
    };
    for (const Row& row : rows) {
        fs::remove_all(work_);
        fs::create_directories(work_ / "src");
        Lay("Borvi cd1 versie2/SETUP.exe", TestProgram("setup"));
        row.lay(work_);
        const bool hadIso = fs::exists(fs::symlink_status(work_ / row.iso));
        const Bytes before = hadIso && fs::is_regular_file(fs::symlink_status(work_ / row.iso))
                                 ? ReadBytes((work_ / row.iso).string())
                                 : Bytes();
        std::string out, err;
        EXPECT_EQ(MakeIso({}, out, err, row.iso), 1) << row.what;
        EXPECT_NE(err.find(row.refusal), std::string::npos) << row.what << ": " << err;
        // Nothing written: not the launcher, not autorun.inf, not the image.
        EXPECT_FALSE(fs::exists(work_ / "src" / "SETUP.exe")) << row.what;
        EXPECT_FALSE(fs::exists(work_ / "src" / "autorun.inf")) << row.what;
        EXPECT_EQ(fs::exists(fs::symlink_status(work_ / row.iso)), hadIso) << row.what;
        if (!before.empty()) {
            EXPECT_EQ(ReadBytes((work_ / row.iso).string()), before) << row.what;
        }
    }
}

TEST_F(MakeIsoTest, WritesWhatAnotherReaderReadsBackByteForByteUnderWindowsNames)
{
    ASSERT_TRUE(Shell("command -v xorriso")) << "xorriso is missing: scripts/install-dependencies installs it";
    struct Row {
        const char* what;
        std::vector<std::pair<std::string, std::string>> files;  // beside the program: path, content
        std::vector<std::string> folders;                        // empty ones
    };
    const Row rows[] = {
        {"names in Cyrillic, Japanese and beyond the basic plane",
         {{"\xD0\x9F\xD1\x80\xD0\xBE\xD0\xB3\xD0\xB0/\xD0\x9F\xD1\x80\xD0\xBE\xD0\xB3\xD0\xB0.txt", "cyrillic"},
          {"\xE8\xA1\xA8\xE7\xA4\xBA/\xE8\xAA\xAD\xE3\x82\x93\xE3\x81\xA7.txt", "japanese"},
          {"Spiel \xF0\x9F\x8E\xB2/\xF0\x9F\x8E\xB2.txt", "emoji"}},
         {}},
        {"a name of 103 characters, and one whose 64th falls in its extension",
         {{std::string(99, 'n') + ".txt", "long"}, {std::string(61, 'm') + ".exe", "cut by others"}},
         {}},
        {"folders deeper than 8 levels, an empty folder and an empty file",
         {{"1/2/3/4/5/6/7/8/9/10/bottom.txt", "deep"}, {"empty.txt", ""}},
         {"Empty folder"}},
        {"sizes around a sector", {{"a.bin", std::string(2047, 'a')}, {"b.bin", std::string(2048, 'b')},
                                   {"c.bin", std::string(2049, 'c')}}, {}},
    };
    for (const Row& row : rows) {
        fs::remove_all(work_);
        fs::create_directories(work_ / "src");
        Lay("Borvi cd1 versie2/SETUP.exe", TestProgram("setup"));
        for (const auto& [path, content] : row.files)
            Lay(path, content);
        for (const std::string& folder : row.folders)
            fs::create_directories(work_ / "src" / fs::u8path(folder));
        std::string out, err;
        ASSERT_EQ(MakeIso({}, out, err), 0) << row.what << "\n" << err << out;
        EXPECT_NE(out.find("out.iso: written"), std::string::npos) << out;
        EXPECT_NE(out.find("out.iso: ok: Windows reads its Joliet tree, label Borvi 7"), std::string::npos) << out;
        EXPECT_NE(out.find("D:\\SETUP.exe: ok: starts D:\\Borvi cd1 versie2\\SETUP.exe"), std::string::npos) << out;
        // Unpacked by xorriso, by Joliet names and by Rock Ridge names, it is the medium, name for
        // name, byte for byte. (Folders deeper than 8 levels are also recorded under rr_moved, where
        // ISO 9660's primary tree must hold them, which xorriso shows; the Joliet tree Windows reads
        // holds no rr_moved, or make's own reading back would have found it.)
        for (const char* names : {"-rockridge off -joliet on", "-rockridge on"}) {
            fs::remove_all(work_ / "unpacked");
            ASSERT_TRUE(Shell(std::string("xorriso -osirrox on ") + names +
                              " -local_charset UTF-8 -indev out.iso -extract / unpacked"))
                << row.what;
            EXPECT_TRUE(Shell("chmod -R u+w unpacked && diff -r -x rr_moved src unpacked")) << row.what << ", " << names;
        }
    }
}

// Long names in any script, up to the most Joliet holds (and Linux, 255 bytes), in make --iso's
// own image and in xorriso's: their Rock Ridge names, split over NM entries and continuation
// areas, are read whole, as isoinfo reads them, and check finds nothing that differs.
TEST_F(MakeIsoTest, ReadsLongRockRidgeNamesWholeInAnyScript)
{
    ASSERT_TRUE(Shell("command -v xorriso && command -v isoinfo")) << "scripts/install-dependencies installs them";
    auto times = [](const std::string& character, int count) {
        std::string text;
        for (int i = 0; i < count; ++i)
            text += character;
        return text;
    };
    const std::string japanese = "\xE6\x97\xA5", cyrillic = "\xD0\x96", emoji = "\xF0\x9F\x8E\xB2";
    struct Row {
        const char* what;
        std::string folder;  // below the root
        std::string name;
        bool xorrisoJoliet;  // xorriso's Joliet name is the name (it writes characters past U+FFFF as _)
    };
    const Row rows[] = {
        {"Japanese, 50 characters", "Docs", times(japanese, 50), true},
        {"Japanese, 85 characters (255 bytes)", "Docs", times(japanese, 85), true},
        {"Japanese, 79 characters in a path of 91", "Atlas/docs", times(japanese, 79), true},
        {"Cyrillic, 94 characters", "Docs", times(cyrillic, 94), true},
        {"Cyrillic, 103 characters", "Docs", times(cyrillic, 103), true},
        {"emoji, 44 characters", "Docs", times(emoji, 44), false},
        {"emoji, 51 characters (102 UTF-16 units)", "Docs", times(emoji, 51), false},
    };
    for (const Row& row : rows) {
        fs::remove_all(work_);
        fs::create_directories(work_ / "src");
        Lay("Borvi cd1 versie2/SETUP.exe", TestProgram("setup"));
        Lay(row.folder + "/" + row.name, "long");
        std::string out, err;
        ASSERT_EQ(MakeIso({}, out, err), 0) << row.what << "\n" << err << out;
        EXPECT_NE(out.find("out.iso: ok: Windows reads its Joliet tree"), std::string::npos) << row.what << "\n" << out;
        ASSERT_TRUE(Shell("xorriso -as mkisofs -J -joliet-long -R -V BORVI -o other.iso src")) << row.what;
        std::vector<std::string> folders;
        for (std::size_t at = 0, slash; at <= row.folder.size(); at = slash + 1) {
            slash = row.folder.find('/', at);
            slash = slash == std::string::npos ? row.folder.size() : slash;
            folders.push_back(row.folder.substr(at, slash - at));
        }
        for (const char* iso : {"out.iso", "other.iso"}) {
            // Another reader reads the name whole.
            EXPECT_TRUE(Shell(std::string("LC_ALL=C.UTF-8 isoinfo -R -f -i ") + iso + " | grep -qxF '/" + row.folder +
                              "/" + row.name + "'"))
                << row.what << ", " << iso;
            std::uint64_t size = 0;
            const ImageReader file = ImageFileReader((work_ / iso).string(), size);
            DiscImage image;
            std::string error;
            ASSERT_TRUE(image.Open(file, size, 850, error)) << error;
            std::vector<ImageEntry> entries;
            ASSERT_TRUE(image.PrimaryEntries(folders, entries, error)) << row.what << ", " << iso << ": " << error;
            ASSERT_EQ(entries.size(), 1u) << row.what << ", " << iso;
            EXPECT_EQ(entries[0].rockRidgeName, row.name) << row.what << ", " << iso;
            // Only a real difference is found: xorriso's Joliet name of an emoji is _.
            const bool same = row.xorrisoJoliet || std::string(iso) == "out.iso";
            EXPECT_EQ(RunStamp({"check", (work_ / iso).string()}, out, err), same ? 0 : 1) << row.what << ", " << iso;
            EXPECT_EQ(out.find("Rock Ridge") == std::string::npos, same) << row.what << ", " << iso << "\n" << out;
            if (!same) {
                EXPECT_NE(out.find("such as \\DOCS\\" + row.name + ", which Windows reads as \\Docs\\___"),
                          std::string::npos) << row.what << "\n" << out;
            }
        }
    }
}

// The image writer's path limit, in UTF-16 units as Windows counts them: a path in any script
// up to it is written and read back, one past it refused before anything is written, and ASCII
// paths are held as before.
TEST_F(MakeIsoTest, HoldsPathsUpToTheLimitInUtf16Units)
{
    const std::string japanese = "\xE6\x97\xA5";
    auto times = [](const std::string& character, std::size_t count) {
        std::string text;
        for (std::size_t i = 0; i < count; ++i)
            text += character;
        return text;
    };
    struct Row {
        const char* what;
        std::vector<std::string> folders;  // the last one holds a file "x"
        const char* refusal;               // nullptr: written
    };
    const Row rows[] = {
        // /Atlas/docs/ and 79 characters: 91 units, 249 bytes in UTF-8 (its file: 93).
        {"Japanese, 91 characters", {"Atlas", "docs", times(japanese, 79)}, nullptr},
        // The file's path: 4 slashes, 78 + 78 + 79 characters and x: 240 units, 712 bytes in UTF-8.
        {"Japanese, 240 characters", {times(japanese, 78), times(japanese, 78), times(japanese, 79)}, nullptr},
        {"Japanese, 241 characters", {times(japanese, 78), times(japanese, 78), times(japanese, 80)},
         "is 241 characters long (in UTF-16, as Windows counts them), and the image writer holds paths of at most 240"},
        {"ASCII, 240 characters", {std::string(78, 'a'), std::string(78, 'b'), std::string(79, 'c')}, nullptr},
        {"ASCII, 241 characters", {std::string(78, 'a'), std::string(78, 'b'), std::string(80, 'c')},
         "is 241 characters long"},
    };
    for (const Row& row : rows) {
        fs::remove_all(work_);
        fs::create_directories(work_ / "src");
        Lay("Borvi cd1 versie2/SETUP.exe", TestProgram("setup"));
        std::string folder;
        for (const std::string& name : row.folders)
            folder += name + "/";
        Lay(folder + "x", "end");
        std::string out, err;
        const int status = MakeIso({}, out, err);
        if (row.refusal != nullptr) {
            EXPECT_EQ(status, 1) << row.what;
            EXPECT_NE(err.find(row.refusal), std::string::npos) << row.what << ": " << err;
            EXPECT_FALSE(fs::exists(work_ / "out.iso")) << row.what;
            continue;
        }
        ASSERT_EQ(status, 0) << row.what << "\n" << err << out;
        EXPECT_NE(out.find("out.iso: ok: Windows reads its Joliet tree"), std::string::npos) << row.what << "\n" << out;
    }
}

TEST_F(MakeIsoTest, TheSameFilesGiveTheSameImageInAnyTimeZone)
{
    Lay("Borvi cd1 versie2/SETUP.exe", TestProgram("setup"));
    Lay("Borvi cd1 versie2/data/readme.txt", "read me");
    std::string out, err;
    ASSERT_EQ(MakeIso({}, out, err, "first.iso"), 0) << err << out;
    struct Row {
        const char* what;
        const char* timeZone;
        std::function<void(const fs::path& work)> change;
        bool same;
    };
    const Row rows[] = {
        {"again", "UTC0", [](const fs::path&) {}, true},
        {"in another time zone", "JST-9", [](const fs::path&) {}, true},
        {"with the folder's own date changed",
         "UTC0", [](const fs::path& w) { fs::last_write_time(w / "src" / "Borvi cd1 versie2" / "data",
                                                              fs::file_time_type::clock::now()); },
         true},
        {"with a file's date changed", "UTC0",
         [](const fs::path& w) { fs::last_write_time(w / "src" / "Borvi cd1 versie2" / "data" / "readme.txt",
                                                      fs::file_time_type::clock::now() + std::chrono::hours(1)); },
         false},
    };
    const char* zone = std::getenv("TZ");
    const std::string saved = zone != nullptr ? zone : "";
    for (const Row& row : rows) {
        row.change(work_);
        setenv("TZ", row.timeZone, 1);
        tzset();
        const int status = MakeIso({}, out, err, "again.iso");
        zone != nullptr ? setenv("TZ", saved.c_str(), 1) : unsetenv("TZ");
        tzset();
        ASSERT_EQ(status, 0) << row.what << "\n" << err;
        // An image at the name is replaced without --force.
        EXPECT_EQ(ReadBytes((work_ / "first.iso").string()) == ReadBytes((work_ / "again.iso").string()), row.same)
            << row.what;
    }
}


// A medium that lies nowhere on disk: the writer can only have its bytes from the place.
class MemoryPlace : public MediumPlace {
public:
    std::map<std::vector<std::string>, std::string> files;  // a file's bytes; its folders are implied

    bool List(const std::vector<std::string>& below, std::vector<FolderEntry>& entries, std::string&,
              FolderDetail) const override
    {
        entries.clear();
        std::set<std::string> folders;
        for (const auto& [path, bytes] : files) {
            if (path.size() <= below.size() || !std::equal(below.begin(), below.end(), path.begin()))
                continue;
            if (path.size() > below.size() + 1) {
                if (folders.insert(path[below.size()]).second)
                    entries.push_back({path[below.size()], true, false, 0, 0});
            } else {
                entries.push_back({path.back(), false, true, bytes.size(), 1700000000});
            }
        }
        return true;
    }
    bool Read(const std::vector<std::string>& below, std::uint64_t offset, std::size_t count, Bytes& bytes,
              std::string& error) const override
    {
        const auto file = files.find(below);
        if (file == files.end()) {
            error = "no such file";
            return false;
        }
        const std::string& all = file->second;
        const std::size_t from = std::min<std::size_t>(offset, all.size());
        bytes.assign(all.begin() + static_cast<std::ptrdiff_t>(from),
                     all.begin() + static_cast<std::ptrdiff_t>(from + std::min(count, all.size() - from)));
        return true;
    }
    EntryKind Kind(const std::vector<std::string>& below) const override
    {
        if (files.count(below) != 0)
            return EntryKind::File;
        std::vector<FolderEntry> entries;
        std::string error;
        return below.empty() || (List(below, entries, error, FolderDetail::Kinds) && !entries.empty()) ? EntryKind::Folder
                                                                                                    : EntryKind::Missing;
    }
    bool BeingWritten(const std::vector<std::string>&) const override { return false; }
    std::string Shown(const std::vector<std::string>& below) const override
    {
        std::string shown = "memory:";
        for (const std::string& name : below)
            shown += "/" + name;
        return shown;
    }
    const PlaceFacts& Facts() const override { return facts_; }

private:
    PlaceFacts facts_;
};

TEST_F(MakeIsoTest, WritesWhatThePlaceHoldsAndKeepsWhatItReadBackAfterThePathIsReplaced)
{
    MemoryPlace medium;
    const std::string big(3u << 20 | 17, 'b');  // more than one piece of reading
    medium.files = {{{"Borvi cd1 versie2", "SETUP.exe"}, "MZ not on any disk"},
                    {{"Borvi cd1 versie2", "data", "big.bin"}, big},
                    {{"readme.txt"}, ""}};
    std::vector<ImageItem> items;
    std::string reason;
    ASSERT_TRUE(ListMediumForImage(medium, items, reason)) << reason;
    EXPECT_EQ(items.size(), 5u);
    EXPECT_EQ(items[0].path, "memory:/Borvi cd1 versie2");

    const fs::path iso = work_ / "memory.iso";
    StagedFile staged;
    std::uint64_t size = 0;
    ASSERT_TRUE(BeginStaged(iso.string(), staged, reason)) << reason;
    ASSERT_TRUE(WriteDiscImage(medium, items, "Memory", work_.string(), staged, size, reason)) << reason;
    ASSERT_TRUE(FinishStaged(staged, reason)) << reason;
    const PartReader held = HeldStagedReader(staged, reason);
    ASSERT_TRUE(held) << reason;
    bool exists = false, readOnly = false;
    ASSERT_TRUE(PutInPlace(staged, true, exists, readOnly, reason)) << reason;
    // Something else put at the path afterwards changes nothing that is read through the hold.
    fs::remove(iso);
    std::ofstream(iso, std::ios::binary) << "not the image";

    DiscImage image;
    ASSERT_TRUE(image.Open(held, size, 437, reason)) << reason;
    EXPECT_TRUE(ImageHoldsMedium(image, items, reason)) << reason;
    for (const auto& [path, bytes] : medium.files) {
        Bytes read;
        ASSERT_TRUE(image.Read(path, 0, bytes.size() + 1, read, reason)) << reason;
        EXPECT_EQ(std::string(read.begin(), read.end()), bytes) << path.back();
    }
    // A file that changes size between the listing and the writing is refused, not cut.
    medium.files[{"readme.txt"}] = "grew";
    StagedFile again;
    ASSERT_TRUE(BeginStaged((work_ / "again.iso").string(), again, reason)) << reason;
    EXPECT_FALSE(WriteDiscImage(medium, items, "Memory", work_.string(), again, size, reason));
    EXPECT_NE(reason.find("memory:/readme.txt: it changed while the image was written"), std::string::npos) << reason;
    DiscardStaged(again);
}

TEST(FolderPlace, SaysWhereEachEntryEndsAndWhetherThatIsInsideTheMedium)
{
    const fs::path work = TestFolder("launcher-folder-place");
    fs::remove_all(work);
    fs::create_directories(work / "medium" / "app");
    std::ofstream(work / "medium" / "app" / "Setup.exe") << "MZ";
    std::ofstream(work / "outside.txt") << "x";
    fs::create_symlink("app/Setup.exe", work / "medium" / "to-program");
    fs::create_symlink(work / "outside.txt", work / "medium" / "to-outside");
    fs::create_symlink("app/gone.exe", work / "medium" / "dangling-inside");
    fs::create_symlink(work / "gone.txt", work / "medium" / "dangling-outside");
    const std::unique_ptr<MediumPlace> place = FolderPlace((work / "medium").string());
    struct Row {
        std::vector<std::string> below;
        bool link, there, inside;
        std::vector<std::string> end;
    };
    const Row rows[] = {
        {{"app", "Setup.exe"}, false, true, true, {"app", "Setup.exe"}},
        {{"APP", "setup.EXE"}, false, true, true, {"app", "Setup.exe"}},  // names matched as Windows matches them
        {{"to-program"}, true, true, true, {"app", "Setup.exe"}},
        {{"to-outside"}, true, true, false, {}},
        {{"dangling-inside"}, true, false, true, {}},
        {{"dangling-outside"}, true, false, false, {}},
        {{"nothing"}, false, false, false, {}},
    };
    for (const Row& row : rows) {
        const LinkEnd end = place->End(row.below);
        EXPECT_EQ(!end.leadsTo.empty(), row.link) << row.below.back();
        EXPECT_EQ(end.there, row.there) << row.below.back();
        EXPECT_EQ(end.inside, row.inside) << row.below.back();
        EXPECT_EQ(end.below, row.end) << row.below.back();
    }
    std::vector<std::string> below;
    EXPECT_TRUE(place->Below((work / "medium" / "app" / "Setup.exe").string(), below));
    EXPECT_EQ(below, (std::vector<std::string>{"app", "Setup.exe"}));
    EXPECT_FALSE(place->Below((work / "outside.txt").string(), below));
    fs::remove_all(work);
}

}  // namespace
