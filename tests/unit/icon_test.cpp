// The launcher's icon on copies of the built launchers: set-icon and get-icon round trips,
// pictures made into 16-colour icons, and refusals that leave the file as it was.
#include "pe/icon_resource.h"
#include "picture/icon_picture.h"
#include "launcher_samples.h"
#include "commands/stamp_command.h"

#include <gtest/gtest.h>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <set>

namespace fs = std::filesystem;

namespace {

class IconTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const auto samples = LauncherSamples();
        ASSERT_FALSE(samples.empty()) << "the host build builds the launchers";
        folder_ = TestFolder("launcher-icon-test");
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        original_ = ReadBytes(samples[0]);
        launcher_ = Path("SETUP.exe");
        WriteBytes(launcher_, original_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    std::string Path(const char* name) const { return (folder_ / name).string(); }

    int Stamp(const std::vector<std::string>& arguments)
    {
        std::string out;
        err_.clear();
        return RunStamp(arguments, out, err_);
    }

    // The image bytes of the launcher's icon, through get-icon (the .ico's one entry).
    Bytes IconImage(const std::string& launcher)
    {
        EXPECT_EQ(Stamp({"get-icon", launcher, Path("got.ico")}), 0) << err_;
        const Bytes ico = ReadBytes(Path("got.ico"));
        return ico.size() == 22 + IconImageSize ? Bytes(ico.begin() + 22, ico.end()) : Bytes();
    }

    fs::path folder_;
    std::string launcher_, err_;
    Bytes original_;
};

TEST_F(IconTest, AFourBitIcoIsTakenAsItIsAndNothingElseChanges)
{
    ASSERT_EQ(Stamp({"get-icon", launcher_, Path("old.ico")}), 0) << err_;
    Bytes ico = ReadBytes(Path("old.ico"));
    for (std::size_t i = 22 + 40 + 64; i < ico.size(); ++i)
        ico[i] = static_cast<unsigned char>(ico[i] ^ 0x5A);  // other pixels and another mask
    WriteBytes(Path("new.ico"), ico);

    ASSERT_EQ(Stamp({"set-icon", launcher_, Path("new.ico")}), 0) << err_;
    const Bytes stamped = ReadBytes(launcher_);
    EXPECT_EQ(IconImage(launcher_), Bytes(ico.begin() + 22, ico.end()));

    LauncherImage image;
    IconResource icon;
    std::string error;
    ASSERT_TRUE(ReadLauncherImage(stamped, image, error) && FindIconResource(stamped, image, icon, error)) << error;
    ASSERT_EQ(stamped.size(), original_.size());
    EXPECT_EQ(PeChecksum(stamped, image.checksumOffset), Get32(stamped, image.checksumOffset));
    for (std::size_t i = 0; i < stamped.size(); ++i) {
        const bool inImage = i >= icon.imageOffset && i < icon.imageOffset + IconImageSize;
        const bool inChecksum = i >= image.checksumOffset && i < image.checksumOffset + 4;
        if (!inImage && !inChecksum && stamped[i] != original_[i]) {
            ADD_FAILURE() << "byte " << i << " changed";
            break;
        }
    }

    // A reader that shares nothing with ours still sees one group holding one image, the version
    // resource and the manifest.
    FILE* listing = popen(("wrestool -l '" + launcher_ + "' 2>/dev/null").c_str(), "r");
    std::string resources;
    char line[512];
    while (listing != nullptr && std::fgets(line, sizeof line, listing) != nullptr)
        resources += std::string(line).substr(0, std::string(line).find(" --language"));
    ASSERT_TRUE(listing != nullptr && pclose(listing) == 0) << "wrestool is missing: scripts/install-dependencies installs it";
    EXPECT_EQ(resources, "--type=3 --name=1--type=14 --name='SETUPRTICON'--type=16 --name=1--type=24 --name=1");
}

TEST_F(IconTest, APictureWithAlphaGetsItsOwnColoursAndMask)
{
    // 64x32: the left half two colours, opaque above and faint (alpha 100) below; the right
    // half clear. Scaled to 32x16 and centred, only x < 16 and 8 <= y < 16 stay opaque.
    const unsigned char red[] = {200, 30, 60}, blue[] = {20, 140, 220};
    std::vector<unsigned char> rgba;
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 64; ++x) {
            const unsigned char* colour = x < 16 ? red : blue;
            rgba.insert(rgba.end(), colour, colour + 3);
            rgba.push_back(x >= 32 ? 0 : y < 16 ? 200 : 100);
        }
    }
    ASSERT_TRUE(stbi_write_png(Path("logo.png").c_str(), 64, 32, 4, rgba.data(), 64 * 4));
    ASSERT_EQ(Stamp({"set-icon", launcher_, Path("logo.png")}), 0) << err_;

    const Bytes icon = IconImage(launcher_);
    ASSERT_EQ(icon.size(), IconImageSize);
    std::set<std::vector<unsigned char>> opaqueColours;
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            const std::size_t row = static_cast<std::size_t>(31 - y);  // rows are stored bottom-up
            const bool clear = (icon[40 + 64 + 512 + row * 4 + static_cast<std::size_t>(x / 8)] >> (7 - x % 8)) & 1;
            EXPECT_EQ(clear, !(x < 16 && y >= 8 && y < 16)) << "mask at " << x << "," << y;
            const unsigned index = icon[40 + 64 + row * 16 + static_cast<std::size_t>(x / 2)] >> (x % 2 ? 0 : 4) & 0xF;
            const unsigned char* entry = &icon[40 + 4 * index];
            const std::vector<unsigned char> rgb = {entry[2], entry[1], entry[0]};
            if (clear)
                EXPECT_EQ(rgb, std::vector<unsigned char>({0, 0, 0})) << "a clear pixel must draw black";
            else
                opaqueColours.insert(rgb);
        }
    }
    EXPECT_EQ(opaqueColours, (std::set<std::vector<unsigned char>>{{200, 30, 60}, {20, 140, 220}}));
}

TEST_F(IconTest, RefusalsLeaveTheFileUntouched)
{
    LauncherImage image;
    IconResource icon;
    std::string error;
    ASSERT_TRUE(ReadLauncherImage(original_, image, error) && FindIconResource(original_, image, icon, error));
    std::size_t resources = 0;
    ASSERT_TRUE(RvaToOffset(original_, image, image.resourceRva, 16, resources));
    ASSERT_EQ(Stamp({"get-icon", launcher_, Path("good.ico")}), 0);
    WriteBytes(Path("notes.txt"), Bytes{'h', 'i'});
    const unsigned char name[] = {'S', 0, 'E', 0, 'T', 0};  // the group's name, in UTF-16

    struct Row {
        const char* what;
        std::function<void(Bytes&)> corrupt;
        const char* picture;
        const char* error;
    };
    const Row rows[] = {
        {"a picture that cannot be decoded", nullptr, "notes.txt", "not a PNG, BMP or ICO"},
        {"a resource table counting past its end", [&](Bytes& b) { b[resources + 14] = 0xFF; }, "good.ico",
         "expected shape"},
        {"a group of another name", [&](Bytes& b) { *std::search(b.begin(), b.end(), name, name + 6) = 'X'; },
         "good.ico", "not a launcher of ours"},
        {"an image of 16 colours no more", [&](Bytes& b) { b[icon.imageOffset + 14] = 8; }, "good.ico",
         "expected shape"},
        {"a group naming image 2", [&](Bytes& b) { b[icon.groupOffset + 18] = 2; }, "good.ico", "expected shape"},
        {"a signed launcher", [&](Bytes& b) { Put32(b, image.checksumOffset - 64 + 112 + 36, 8); }, "good.ico",
         "signed"},
    };
    for (const Row& row : rows) {
        Bytes copy = original_;
        if (row.corrupt)
            row.corrupt(copy);
        WriteBytes(launcher_, copy);
        EXPECT_EQ(Stamp({"set-icon", launcher_, Path(row.picture)}), 1) << row.what;
        EXPECT_NE(err_.find(row.error), std::string::npos) << row.what << ": " << err_;
        EXPECT_EQ(ReadBytes(launcher_), copy) << row.what;
    }
}

// The colour most of an icon image's pixels have (its palette entry, as R, G, B).
std::array<int, 3> MainColour(const Bytes& image)
{
    int counts[16] = {};
    for (std::size_t i = 40 + 64; i < 40 + 64 + 32 * 16; ++i) {
        ++counts[image[i] >> 4];
        ++counts[image[i] & 15];
    }
    const auto most = static_cast<std::size_t>(std::max_element(std::begin(counts), std::end(counts)) - counts);
    const unsigned char* entry = image.data() + 40 + 4 * most;
    return {entry[2], entry[1], entry[0]};
}

TEST_F(IconTest, AProgramGivesTheIconExplorerShowsAt32)
{
    ASSERT_TRUE(fs::exists(ICON_PROGRAM_SAMPLE) && fs::exists(PLAIN_PROGRAM_SAMPLE)) << "the host build builds the test programs";
    // Of 16x16 red, 32x32 green and 256x256 blue, the 32x32 image is taken: green.
    ASSERT_EQ(Stamp({"set-icon", launcher_, ICON_PROGRAM_SAMPLE}), 0) << err_;
    const Bytes fromProgram = IconImage(launcher_);
    ASSERT_FALSE(fromProgram.empty());
    EXPECT_EQ(MainColour(fromProgram), (std::array<int, 3>{0, 255, 0}));

    // make takes the program's own icon; a program without one leaves the launcher's.
    const fs::path medium = folder_ / "medium";
    fs::create_directories(medium / "Prog");
    fs::copy_file(ICON_PROGRAM_SAMPLE, medium / "Prog" / "App.exe");
    fs::copy_file(PLAIN_PROGRAM_SAMPLE, medium / "Prog" / "Plain.exe");
    std::string out;
    ASSERT_EQ(RunStamp({"make", medium.string(), "Prog/App.exe", "--arch", "x64", "--no-autorun"}, out, err_), 0) << err_;
    EXPECT_EQ(IconImage((medium / "App.exe").string()), fromProgram);
    out.clear();
    ASSERT_EQ(RunStamp({"make", medium.string(), "Prog/Plain.exe", "--arch", "x64", "--no-autorun"}, out, err_), 0) << err_;
    EXPECT_NE(out.find("no icon taken (the program has no icon)"), std::string::npos) << out;
    WriteBytes(Path("fresh.exe"), original_);
    EXPECT_EQ(IconImage((medium / "Plain.exe").string()), IconImage(Path("fresh.exe")));

    // Refused, the launcher left as it was: no icon, and malformed resources.
    WriteBytes(launcher_, original_);
    const Bytes program = ReadBytes(ICON_PROGRAM_SAMPLE);
    LauncherImage image;
    std::string error;
    std::size_t directory = 0;
    ASSERT_TRUE(ReadProgramImage(program, image, error)) << error;
    ASSERT_TRUE(RvaToOffset(program, image, image.resourceRva, image.resourceSize, directory));
    Bytes cut(program.begin(), program.begin() + static_cast<std::ptrdiff_t>(directory + 40));
    Bytes pastEnd = program;
    Put32(pastEnd, image.checksumOffset - 64 + (program[image.checksumOffset - 63] == 2 ? 112 : 96) + 2 * 8 + 4, 0x7FFFFFF0);
    Bytes itself = program;  // the first type's entry points at the root table itself
    Put32(itself, directory + 16 + 4, 0x80000000u);
    Bytes group = program;   // a group that claims more images than it holds
    const unsigned char header[] = {0, 0, 1, 0, 3, 0, 16, 16};
    const auto at = std::search(group.begin(), group.end(), std::begin(header), std::end(header));
    ASSERT_NE(at, group.end());
    at[4] = 200;
    const std::pair<const char*, Bytes> refused[] = {{"no icon", ReadBytes(PLAIN_PROGRAM_SAMPLE)},
        {"cut in its resources", cut}, {"resources past the end", pastEnd}, {"an entry pointing at itself", itself},
        {"a group longer than its data", group}};
    for (const auto& [what, bytes] : refused) {
        WriteBytes(Path("program.exe"), bytes);
        EXPECT_EQ(Stamp({"set-icon", launcher_, Path("program.exe")}), 1) << what;
        EXPECT_FALSE(err_.empty()) << what;
        EXPECT_EQ(ReadBytes(launcher_), original_) << what;
    }
}

}  // namespace

TEST(PictureLimits, AreReadFromTheHeaderBeforeAnythingIsDecoded)
{
    // Headers alone, with nothing to decode behind them: a refusal must come from the header.
    auto png = [](std::uint32_t width, std::uint32_t height) {
        Bytes bytes = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R'};
        for (const std::uint32_t value : {width, height}) {
            for (int shift = 24; shift >= 0; shift -= 8)
                bytes.push_back(static_cast<unsigned char>(value >> shift));
        }
        bytes.insert(bytes.end(), {8, 6, 0, 0, 0, 0, 0, 0, 0});
        return bytes;
    };
    auto bmp = [](std::int32_t width, std::int32_t height) {
        Bytes bytes(54, 0);
        bytes[0] = 'B', bytes[1] = 'M', bytes[14] = 40, bytes[26] = 1, bytes[28] = 32;
        Put32(bytes, 18, static_cast<std::uint32_t>(width));
        Put32(bytes, 22, static_cast<std::uint32_t>(height));
        return bytes;
    };
    struct Row {
        const char* what;
        Bytes picture;
        const char* error;
    };
    const Row rows[] = {
        {"a PNG one pixel too wide", png(4097, 1), "4097x1 pixels; at most 4096x4096"},
        {"a PNG one pixel too high", png(1, 4097), "1x4097 pixels"},
        {"a PNG too large for the decoder to name", png(20000, 20000), "20000x20000 pixels"},
        {"a BMP too wide", bmp(5000, 10), "5000x10 pixels"},
        {"a BMP stored top-down", bmp(10, -5000), "10x5000 pixels"},
    };
    for (const Row& row : rows) {
        Bytes image;
        std::string error;
        EXPECT_FALSE(IconImageFromPicture(row.picture, image, error)) << row.what;
        EXPECT_NE(error.find(row.error), std::string::npos) << row.what << ": " << error;
        EXPECT_NE(error.find("scale it down"), std::string::npos) << row.what << ": " << error;
    }
    // The largest side taken is taken.
    int size = 0;
    const std::vector<unsigned char> rgba(4096u * 4 * 4, 0x80);
    unsigned char* written = stbi_write_png_to_mem(rgba.data(), 4096 * 4, 4096, 4, 4, &size);
    ASSERT_NE(written, nullptr);
    const Bytes wide(written, written + size);
    STBIW_FREE(written);
    Bytes image;
    std::string error;
    EXPECT_TRUE(IconImageFromPicture(wide, image, error)) << error;
}

TEST(PictureLimits, APngsChunksAreWalkedBeforeItIsDecoded)
{
    // A sound 2x2 PNG, then the same bytes with one field changed or cut: each must be refused
    // from its chunks, before the decoder sizes a buffer from what they state.
    const std::vector<unsigned char> rgba(2u * 2 * 4, 0x40);
    int size = 0;
    unsigned char* written = stbi_write_png_to_mem(rgba.data(), 2 * 4, 2, 2, 4, &size);
    ASSERT_NE(written, nullptr);
    const Bytes sound(written, written + size);
    STBIW_FREE(written);
    const std::size_t idat = 8 + 12 + 13;  // the data chunk follows the signature and the header
    ASSERT_EQ(Bytes(sound.begin() + idat + 4, sound.begin() + idat + 8), (Bytes{'I', 'D', 'A', 'T'}));
    auto with = [&](const std::function<void(Bytes&)>& change) {
        Bytes bytes = sound;
        change(bytes);
        return bytes;
    };
    auto big32 = [](Bytes& bytes, std::size_t at, std::uint32_t value) {
        for (std::size_t k = 0; k < 4; ++k)
            bytes[at + k] = static_cast<unsigned char>(value >> (24 - 8 * k));
    };
    struct Row {
        const char* what;
        Bytes picture;
        const char* error;  // nullptr: taken
    };
    const Row rows[] = {
        {"the sound picture", sound, nullptr},
        {"a data chunk stating 677 MB", with([&](Bytes& b) { big32(b, idat, 677581615); }),
         "states 677581615 bytes, more than the file holds"},
        {"a data chunk stating 4 GB - 1", with([&](Bytes& b) { big32(b, idat, 0xFFFFFFFF); }),
         "more than the file holds"},
        {"cut inside its data chunk", Bytes(sound.begin(), sound.end() - 12 - 5), "more than the file holds"},
        {"cut before its last chunk", Bytes(sound.begin(), sound.end() - 12), "ends before its last chunk"},
        {"a header stating 4096x4096 over the data of 2x2",
         with([&](Bytes& b) { big32(b, 16, 4096), big32(b, 20, 4096); }), "states 4096x4096 pixels, more than its"},
        {"a header stating 16 bits a channel at 4096x1024",
         with([&](Bytes& b) { big32(b, 16, 4096), big32(b, 20, 1024), b[24] = 16; }), "more than its"},
    };
    for (const Row& row : rows) {
        Bytes image;
        std::string error;
        EXPECT_EQ(IconImageFromPicture(row.picture, image, error), row.error == nullptr) << row.what << ": " << error;
        if (row.error != nullptr) {
            EXPECT_NE(error.find(row.error), std::string::npos) << row.what << ": " << error;
        }
    }
}
