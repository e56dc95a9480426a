// Reading launchers' PE headers: the built launchers, and corrupted copies of them.
#include "launcher_samples.h"
#include "pe/launch_field.h"
#include "pe/pe_image.h"
#include "pe/version_resource.h"
#include "base/windows_path.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>

namespace {

class PeImageTest : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override
    {
        const auto samples = LauncherSamples();
        ASSERT_LT(static_cast<std::size_t>(GetParam()), samples.size()) << "the host build builds both launchers";
        bytes_ = ReadBytes(samples[static_cast<std::size_t>(GetParam())]);
    }

    // File offsets of the section table and of section i's header.
    std::size_t SectionTable() const
    {
        const std::size_t coff = Get32(bytes_, 0x3C) + 4;
        return coff + 20 + bytes_[coff + 16] + (std::size_t{bytes_[coff + 17]} << 8);
    }
    std::size_t SectionHeader(const char* name) const
    {
        const std::size_t count = bytes_[Get32(bytes_, 0x3C) + 6];
        for (std::size_t i = 0; i < count; ++i) {
            const std::size_t header = SectionTable() + i * 40;
            if (std::strncmp(reinterpret_cast<const char*>(&bytes_[header]), name, 8) == 0)
                return header;
        }
        ADD_FAILURE() << "no section " << name;
        return 0;
    }

    Bytes bytes_;
};

TEST_P(PeImageTest, FindsTheFieldAndAgreesWithTheLinkersChecksum)
{
    LauncherImage image;
    std::string error, name;
    ASSERT_TRUE(ReadLauncherImage(bytes_, image, error)) << error;
    ASSERT_TRUE(ReadFieldName(bytes_, image, name));
    EXPECT_EQ(name, "Borvi cd1 versie2");
    EXPECT_FALSE(image.isSigned);
    ASSERT_NE(image.checksum, 0u);
    EXPECT_EQ(PeChecksum(bytes_, image.checksumOffset), image.checksum);
}

TEST_P(PeImageTest, RefusesCorruptedCopies)
{
    struct Row {
        const char* what;
        std::function<void(Bytes&)> corrupt;
        const char* error;
    };
    const Row rows[] = {
        {"wrong magic", [](Bytes& b) { b[0] = 'X'; }, "no MZ header"},
        {"no PE signature", [](Bytes& b) { b[Get32(b, 0x3C)] = 'Q'; }, "no PE signature"},
        {"PE header offset past the end", [](Bytes& b) { Put32(b, 0x3C, 0xFFFFFFF0); }, "no PE signature"},
        {"section table past the end", [](Bytes& b) { b[Get32(b, 0x3C) + 6] = 0xFF; b[Get32(b, 0x3C) + 7] = 0xFF; },
         "section table runs past the end"},
        {"field missing", [this](Bytes& b) { b[SectionHeader(".rdata") + 2] = 'u'; }, "no launch directory field"},
        {"field twice", [this](Bytes& b) { std::memcpy(&b[SectionHeader(".idata")], ".launch\0", 8); },
         "more than one launch directory field"},
        {"field of another size", [this](Bytes& b) { Put32(b, SectionHeader(".rdata") + 8, 0x200); },
         "no launch directory field"},
        {"a field named as in 1.x, of another size",
         [this](Bytes& b) { std::memcpy(&b[SectionHeader(".rdata")], ".launch\0", 8); Put32(b, SectionHeader(".rdata") + 8, 0x200); },
         "not 1024 bytes"},
        {"field past the end", [this](Bytes& b) { Put32(b, SectionHeader(".rdata") + 20, 0x7FFFFF00); },
         "past the end of the file"},
        {"field over the headers", [this](Bytes& b) { Put32(b, SectionHeader(".rdata") + 20, 0); },
         "overlaps the headers"},
        // Writing it would change the resources that tell a launcher: found by fuzzing.
        {"field over the resources",
         [this](Bytes& b) { Put32(b, SectionHeader(".rdata") + 20, Get32(b, SectionHeader(".rsrc") + 20)); },
         "overlaps another section"},
        // A section .rdata of 1024 bytes alone is any program's: the launcher's icon group tells.
        {"no launcher icon group",
         [](Bytes& b) {
             const unsigned char name[] = {'S', 0, 'E', 0, 'T', 0, 'U', 0, 'P', 0};
             *std::search(b.begin(), b.end(), name, name + sizeof name) = 'X';
         },
         "no launch directory field"},
        {"optional header too small", [](Bytes& b) { b[Get32(b, 0x3C) + 20] = 16; b[Get32(b, 0x3C) + 21] = 0; },
         "optional header"},
    };
    for (const Row& row : rows) {
        Bytes copy = bytes_;
        row.corrupt(copy);
        LauncherImage image;
        std::string error;
        EXPECT_FALSE(ReadLauncherImage(copy, image, error)) << row.what;
        EXPECT_NE(error.find(row.error), std::string::npos) << row.what << ": " << error;
    }
}

TEST_P(PeImageTest, ReadsAndWritesTheFieldOfALauncherOf1x)
{
    // Launchers of 1.x named the field's section .launch: otherwise laid out alike.
    std::memcpy(&bytes_[SectionHeader(".rdata")], ".launch\0", 8);
    LauncherImage image;
    std::string error, name;
    ASSERT_TRUE(ReadLauncherImage(bytes_, image, error)) << error;
    ASSERT_TRUE(ReadFieldName(bytes_, image, name));
    EXPECT_EQ(name, "Borvi cd1 versie2");
    EXPECT_TRUE(IsLauncherHeader(bytes_, bytes_.size()));
    WriteFieldName(bytes_, image, "Disc 2\\Setup");
    ASSERT_TRUE(ReadLauncherImage(bytes_, image, error)) << error;
    ASSERT_TRUE(ReadFieldName(bytes_, image, name));
    EXPECT_EQ(name, "Disc 2\\Setup");
    EXPECT_EQ(PeChecksum(bytes_, image.checksumOffset), image.checksum);
}

TEST_P(PeImageTest, ReadsTheVersionStringsAndNothingOutsideThem)
{
    // Offsets in the version resource: its root node starts 6 bytes before its key.
    const unsigned char key[] = {'V', 0, 'S', 0, '_', 0, 'V', 0};
    const std::size_t root = static_cast<std::size_t>(std::search(bytes_.begin(), bytes_.end(), key, key + 8) - bytes_.begin()) - 6;
    auto at = [this, root](const char* text) {  // the offset of a UTF-16 text in the resource
        std::vector<unsigned char> wide;
        for (const char* c = text; *c != '\0'; ++c)
            wide.insert(wide.end(), {static_cast<unsigned char>(*c), 0});
        return static_cast<std::size_t>(std::search(bytes_.begin() + static_cast<std::ptrdiff_t>(root), bytes_.end(),
                                                    wide.begin(), wide.end()) - bytes_.begin());
    };
    const std::size_t productName = at("ProductName") - 6, launcherText = at("Launcher");
    struct Row {
        const char* what;
        std::function<void(Bytes&)> change;
        bool read;
        std::size_t count;            // strings read
        const char* productName;      // its value, or null when it is left out
    };
    const Row rows[] = {
        {"as built", [](Bytes&) {}, true, 6, "Launcher"},
        {"a value that is not UTF-16", [&](Bytes& b) { b[launcherText] = 0x00, b[launcherText + 1] = 0xD8; }, true, 5, nullptr},
        {"a value length counted in bytes", [&](Bytes& b) { b[productName + 2] = static_cast<unsigned char>(b[productName + 2] * 2); },
         true, 6, "Launcher"},
        {"a string longer than its table", [&](Bytes& b) { b[productName] = 0xFF, b[productName + 1] = 0xFF; }, true, 1,
         nullptr},
        {"a resource longer than it is", [root](Bytes& b) { b[root] = 0xFF, b[root + 1] = 0xFF; }, false, 0, nullptr},
        {"another root", [root](Bytes& b) { b[root + 6] = 'X'; }, false, 0, nullptr},
    };
    for (const Row& row : rows) {
        Bytes copy = bytes_;
        row.change(copy);
        LauncherImage image;
        std::string error;
        ASSERT_TRUE(ReadLauncherImage(copy, image, error)) << row.what << ": " << error;
        std::vector<VersionString> strings;
        bool noVersion = true;
        EXPECT_EQ(ReadVersionStrings(copy, image, strings, noVersion, error), row.read) << row.what << ": " << error;
        EXPECT_FALSE(noVersion) << row.what;
        EXPECT_EQ(strings.size(), row.count) << row.what;
        const auto found = std::find_if(strings.begin(), strings.end(),
                                        [](const VersionString& string) { return string.key == "ProductName"; });
        EXPECT_EQ(found == strings.end() ? "(none)" : found->value, row.productName ? row.productName : "(none)")
            << row.what;
    }
}

TEST_P(PeImageTest, WritesVersionStringsThatReadBackSafely)
{
    const std::string emoji = "\xF0\x9F\x98\x80";  // two UTF-16 units
    struct Row {
        const char* what;
        std::string value;
        std::string readBack;
    };
    const Row rows[] = {
        {"plain text", "Borvi Setup", "Borvi Setup"},
        {"characters beyond ASCII", "Caf\xC3\xA9 \xE8\xA1\xA8 " + emoji, "Caf\xC3\xA9 \xE8\xA1\xA8 " + emoji},
        {"control characters", "one\ttwo\r\nthree\x7F", "one two  three "},
        {"the longest kept whole", std::string(255, 'a'), std::string(255, 'a')},
        {"a longer one cut", std::string(300, 'b'), std::string(255, 'b')},
        {"never inside a character", std::string(254, 'c') + emoji, std::string(254, 'c')},
        {"empty", "", ""},
    };
    LauncherImage image;
    std::string error;
    Bytes fixed;
    ASSERT_TRUE(ReadLauncherImage(bytes_, image, error)) << error;
    ASSERT_TRUE(ReadVersionFixed(bytes_, image, fixed, error)) << error;
    for (const Row& row : rows) {
        Bytes copy = bytes_;
        LauncherImage copyImage = image;
        const std::vector<VersionString> strings = {{"FileDescription", row.value}, {"OriginalFilename", "Setup.exe"}};
        ASSERT_TRUE(ReplaceVersionResource(copy, copyImage, VersionResourceFor(fixed, strings), error)) << row.what << ": " << error;
        std::vector<VersionString> read;
        bool noVersion = false;
        ASSERT_TRUE(ReadVersionStrings(copy, copyImage, read, noVersion, error)) << row.what << ": " << error;
        EXPECT_EQ(read, (std::vector<VersionString>{{"FileDescription", row.readBack}, {"OriginalFilename", "Setup.exe"}}))
            << row.what;
        // Everything else reads as before: the field, the icon, the checksum.
        std::string name;
        EXPECT_TRUE(ReadFieldName(copy, copyImage, name) && name == "Borvi cd1 versie2") << row.what;
        EXPECT_EQ(PeChecksum(copy, copyImage.checksumOffset), copyImage.checksum) << row.what;
        EXPECT_EQ(copy.size() % 512, 0u) << row.what;
    }
}

// A resource whose data entry names bytes outside the resource section is refused before any
// byte of it is copied, however the entry reaches out of it.
TEST_P(PeImageTest, RefusesToLayOutResourcesWhoseDataLieOutsideTheirSection)
{
    LauncherImage image;
    std::string error;
    Bytes fixed;
    ASSERT_TRUE(ReadLauncherImage(bytes_, image, error)) << error;
    ASSERT_TRUE(ReadVersionFixed(bytes_, image, fixed, error)) << error;
    const std::size_t rsrc = SectionHeader(".rsrc");
    const std::uint32_t address = Get32(bytes_, rsrc + 12), virtualSize = Get32(bytes_, rsrc + 8);
    // The version resource's data entry: its address and size, as the resource directory records them.
    const unsigned char key[] = {'V', 0, 'S', 0, '_', 0, 'V', 0};
    const std::size_t root = static_cast<std::size_t>(std::search(bytes_.begin(), bytes_.end(), key, key + 8) - bytes_.begin()) - 6;
    const std::uint32_t rva = static_cast<std::uint32_t>(root - Get32(bytes_, rsrc + 20) + address);
    std::size_t entry = 0;
    for (std::size_t at = Get32(bytes_, rsrc + 20); at + 8 <= bytes_.size() && entry == 0; at += 4) {
        if (Get32(bytes_, at) == rva && Get32(bytes_, at + 4) == static_cast<std::uint32_t>(bytes_[root] | bytes_[root + 1] << 8))
            entry = at;
    }
    ASSERT_NE(entry, 0u);
    struct Row {
        const char* what;
        std::uint32_t rva, size;
    };
    const Row rows[] = {
        {"larger than the section, at its start", address, virtualSize + 1},
        {"running past the section's end", address + virtualSize - 8, 16},
        {"before the section", address - 4, 8},
    };
    for (const Row& row : rows) {
        Bytes copy = bytes_;
        Put32(copy, entry, row.rva);
        Put32(copy, entry + 4, row.size);
        LauncherImage copyImage = image;
        EXPECT_FALSE(ReplaceVersionResource(copy, copyImage, VersionResourceFor(fixed, {{"FileDescription", "x"}}), error))
            << row.what;
        EXPECT_NE(error.find("a resource's data lies outside their section"), std::string::npos) << row.what << ": " << error;
    }
}

// Resources that share a data entry, or a table below their type, cannot each be given a
// place of their own: laying them out again is refused, never done so that one resource's
// entry ends up naming another's data.
TEST_P(PeImageTest, RefusesToLayOutResourcesThatShareADataEntry)
{
    LauncherImage image;
    std::string error;
    Bytes fixed;
    ASSERT_TRUE(ReadLauncherImage(bytes_, image, error)) << error;
    ASSERT_TRUE(ReadVersionFixed(bytes_, image, fixed, error)) << error;
    const std::size_t rsrc = Get32(bytes_, SectionHeader(".rsrc") + 20);
    // The file offset of the root's entry for a type, and the offset within the section of
    // the first entry of the table an entry's target names.
    auto typeEntry = [&](std::uint32_t type) {
        for (std::size_t i = 0; i < std::size_t{bytes_[rsrc + 12]} + bytes_[rsrc + 14]; ++i) {
            if (Get32(bytes_, rsrc + 16 + 8 * i) == type)
                return rsrc + 16 + 8 * i;
        }
        ADD_FAILURE() << "no resources of type " << type;
        return rsrc;
    };
    auto below = [&](std::size_t entry) { return (Get32(bytes_, entry + 4) & 0x7FFFFFFFu) + 16; };
    // The first language's entry of a type's first resource, and the data entry it names.
    auto languageEntry = [&](std::uint32_t type) { return rsrc + below(rsrc + below(typeEntry(type))); };
    struct Row {
        const char* what;
        std::size_t at;        // the entry whose target changes
        std::uint32_t target;  // to another's
    };
    const Row rows[] = {
        {"the manifest's language names the version's data", languageEntry(24), Get32(bytes_, languageEntry(16) + 4)},
        {"the version's language names the manifest's data", languageEntry(16), Get32(bytes_, languageEntry(24) + 4)},
        {"the manifest's type names the version's table", typeEntry(24), Get32(bytes_, typeEntry(16) + 4)},
        {"the group icon's language names the icon's data", languageEntry(14), Get32(bytes_, languageEntry(3) + 4)},
    };
    for (const Row& row : rows) {
        Bytes copy = bytes_;
        Put32(copy, row.at + 4, row.target);
        LauncherImage copyImage = image;
        EXPECT_FALSE(ReplaceVersionResource(copy, copyImage, VersionResourceFor(fixed, {{"FileDescription", "x"}}), error))
            << row.what;
        EXPECT_NE(error.find("share one data entry"), std::string::npos) << row.what << ": " << error;
    }
}

TEST_P(PeImageTest, RefusesEveryTruncatedCopy)
{
    // Every cut that loses part of the headers or the field must be refused, never misread.
    LauncherImage image;
    std::string error;
    ASSERT_TRUE(ReadLauncherImage(bytes_, image, error));
    const std::size_t needed = image.fieldOffset + FieldSize;
    for (std::size_t size = 0; size < needed; size += 3) {
        const Bytes cut(bytes_.begin(), bytes_.begin() + static_cast<std::ptrdiff_t>(size));
        LauncherImage ignored;
        EXPECT_FALSE(ReadLauncherImage(cut, ignored, error)) << "cut at " << size;
    }
}

TEST_P(PeImageTest, NoticesASignature)
{
    LauncherImage image;
    std::string error;
    ASSERT_TRUE(ReadLauncherImage(bytes_, image, error));
    // The certificate table is data directory 4, just after the checksum's header fields.
    const bool pe32Plus = bytes_[image.checksumOffset - 64] == 0x0B && bytes_[image.checksumOffset - 63] == 0x02;
    const std::size_t directories = image.checksumOffset - 64 + (pe32Plus ? 112 : 96);
    Put32(bytes_, directories + 4 * 8 + 4, 0x400);
    ASSERT_TRUE(ReadLauncherImage(bytes_, image, error));
    EXPECT_TRUE(image.isSigned);
}

INSTANTIATE_TEST_SUITE_P(BuiltLaunchers, PeImageTest, ::testing::Values(0, 1),
                         [](const ::testing::TestParamInfo<int>& param) { return param.param == 0 ? "x64" : "x86"; });

TEST(CheckNewName, AcceptsFolderNames)
{
    for (const char* name : {"Borvi cd1 versie2", "Disc 2\\Setup files", "..\\Other", "a\\..\\b", "x/y", "D:\\",
                             "C:\\Data", "\\\\server\\share", "\\Root", "\xE8\xA1\xA8\xE7\xA4\xBA", "D:Folder",
                             "CONSOLE", "COM10", "Nullify"}) {
        std::string error;
        EXPECT_TRUE(CheckNewName(name, error)) << name << ": " << error;
    }
}

TEST(CheckNewName, RefusesEmptyForbiddenAndOwnFolderNames)
{
    struct Row {
        const char* name;
        const char* error;
    };
    const Row rows[] = {
        {"", "empty"},
        {".", "own folder"},
        {".\\", "own folder"},
        {"./", "own folder"},
        {".\\.", "own folder"},
        {"a\\..", "own folder"},
        {"a/b/../..", "own folder"},
        {"...", "own folder"},  // Windows drops the trailing dots
        {". ", "own folder"},
        {"C:", "own folder"},   // the current folder of drive C:
        {"C:.", "own folder"},
        {"x<y", "'<'"},
        {"x>y", "'>'"},
        {"a|b", "'|'"},
        {"a?", "'?'"},
        {"a*", "'*'"},
        {"a\"b", "'\"'"},
        {"ab:c", "':'"},  // a colon other than a drive's
        {"tab\there", "control character"},
        {"\\\\?\\C:\\x", "'?'"},
        {"CON", "device"},
        {"Disc\\nul.txt\\x", "device"},
        {"D:\\com7", "device"},
        {"lpt1 .", "device"},
    };
    for (const Row& row : rows) {
        std::string error;
        EXPECT_FALSE(CheckNewName(row.name, error)) << row.name;
        EXPECT_NE(error.find(row.error), std::string::npos) << row.name << ": " << error;
    }
}

}  // namespace

TEST(NewNameWarnings, SayHowWindowsReadsTheNameAndWhenItLeadsBackToTheRoot)
{
    struct Row {
        const char* name;
        const char* warning;  // empty: none
    };
    const Row rows[] = {
        {"Borvi cd1 versie2", ""},
        {"Dir \\Sub", "keeps the trailing space of the folder \"Dir \""},
        {"Dir..\\Sub", "reads the folder \"Dir..\" as \"Dir.\""},
        {"Dir.\\Sub", "reads the folder \"Dir.\" as \"Dir\""},
        {"Setup \\", "keeps the trailing space of the folder \"Setup \""},
        {"Sub. ", "reads the last folder \"Sub. \" as \"Sub\""},
        {"..", "leads back to the medium's root"},
        {"..\\..", "leads back to the medium's root"},
        {"x\\..\\..", "leads back to the medium's root"},
        {"\\.", "leads back to the medium's root"},
        {"D:\\", "leads back to the medium's root"},
        {"\\Setup files", ""},
    };
    for (const Row& row : rows) {
        std::string all;
        for (const std::string& warning : NewNameWarnings(row.name))
            all += warning + "\n";
        if (*row.warning == '\0')
            EXPECT_EQ(all, "") << row.name;
        else
            EXPECT_NE(all.find(row.warning), std::string::npos) << row.name << ": " << all;
    }
}

TEST(NormalisePath, AsWindowsNormalisesAFullPath)
{
    struct Row {
        std::vector<std::string> start;
        const char* relative;
        std::vector<std::string> components;
    };
    const Row rows[] = {
        {{}, "test./file", {"test", "file"}},
        {{}, "test.. /file", {"test.. ", "file"}},  // a space ends it: nothing dropped
        {{}, "test../file", {"test.", "file"}},     // one dot of two
        {{}, "test/.. ", {"test"}},                // the last is trimmed to nothing
        {{}, "Dir \\Sub. .", {"Dir ", "Sub"}},
        {{}, "Setup \\", {"Setup "}},
        {{}, "a//b\\.\\c", {"a", "b", "c"}},
        {{}, "..\\..\\x", {"x"}},                 // never above the root
        {{"cd"}, "x\\..\\y", {"cd", "y"}},
        {{"cd"}, "\\y", {"y"}},                     // rooted
        {{"cd", "e"}, "..", {"cd"}},
        {{"cd"}, "", {"cd"}},
    };
    for (const Row& row : rows)
        EXPECT_EQ(NormalisePath(row.start, row.relative), row.components) << row.relative;
}
