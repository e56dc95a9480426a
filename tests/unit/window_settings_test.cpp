// The window's remembered choices, read back from values a store may hold after any accident.
#include "window/window_settings.h"

#include <gtest/gtest.h>

namespace {

StoredValue Text(const std::string& text)
{
    return {StoredValue::Kind::Text, text, 0};
}

StoredValue Number(std::uint64_t number)
{
    return {StoredValue::Kind::Number, {}, number};
}

const StoredValue Other{StoredValue::Kind::Other, "", 0};

WindowSettings Read(const StoredValues& stored)
{
    return ReadSettings(
        stored, [](const std::string& folder) { return folder.rfind("/gone", 0) != 0; },
        [](unsigned page) { return page == 1252 || page == 932 || page == 437; });
}

TEST(WindowSettings, TakesWhatIsInRangeAndTheDefaultForEverythingElse)
{
    struct Row {
        const char* what;
        StoredValues stored;
        int icon;
        const char* arch;
        unsigned codePage;
        bool image;
    };
    const Row rows[] = {
        {"nothing stored", {}, 0, "x86", 0, false},
        {"every choice", {{"Icon", Number(2)}, {"Architecture", Text("x64")}, {"CodePage", Number(932)}, {"Image", Number(1)}},
         2, "x64", 932, true},
        {"an icon choice past the three", {{"Icon", Number(3)}}, 0, "x86", 0, false},
        {"an icon choice past 32 bits", {{"Icon", Number(0x100000001)}}, 0, "x86", 0, false},
        {"an icon choice as text", {{"Icon", Text("1")}}, 0, "x86", 0, false},
        {"an architecture of another kind", {{"Architecture", Other}}, 0, "x86", 0, false},
        {"an architecture Windows has but the tool does not", {{"Architecture", Text("arm64")}}, 0, "x86", 0, false},
        {"an architecture in capitals", {{"Architecture", Text("X64")}}, 0, "x86", 0, false},
        {"a code page the tool does not convert", {{"CodePage", Number(65001)}}, 0, "x86", 0, false},
        {"a code page past 16 bits that wraps to a known one", {{"CodePage", Number(65536 + 1252)}}, 0, "x86", 0, false},
        {"a code page as text", {{"CodePage", Text("932")}}, 0, "x86", 0, false},
        {"an image choice of 2", {{"Image", Number(2)}}, 0, "x86", 0, false},
        {"an image choice of another kind", {{"Image", Other}}, 0, "x86", 0, false},
        {"one damaged value among good ones", {{"Icon", Number(1)}, {"Architecture", Text("")}, {"Image", Number(1)}},
         1, "x86", 0, true},
    };
    for (const Row& row : rows) {
        const WindowSettings settings = Read(row.stored);
        EXPECT_EQ(settings.icon, row.icon) << row.what;
        EXPECT_EQ(settings.arch, row.arch) << row.what;
        EXPECT_EQ(settings.codePage, row.codePage) << row.what;
        EXPECT_EQ(settings.image, row.image) << row.what;
    }
}

TEST(WindowSettings, RemembersRootFoldersThatStillExistInOrderAndOnce)
{
    struct Row {
        const char* what;
        StoredValues stored;
        std::vector<std::string> roots;
    };
    const Row rows[] = {
        {"in order", {{"Root1", Text("/a")}, {"Root2", Text("/b")}}, {"/a", "/b"}},
        {"a missing folder dropped", {{"Root1", Text("/gone/a")}, {"Root2", Text("/b")}}, {"/b"}},
        {"up to the first gap", {{"Root1", Text("/a")}, {"Root3", Text("/c")}}, {"/a"}},
        {"an empty one dropped", {{"Root1", Text("")}, {"Root2", Text("/b")}}, {"/b"}},
        {"one of another kind dropped", {{"Root1", Number(7)}, {"Root2", Text("/b")}}, {"/b"}},
        {"one holding a NUL dropped", {{"Root1", Text(std::string("/a\0/b", 5))}, {"Root2", Text("/b")}}, {"/b"}},
        {"the same folder twice, letter case aside", {{"Root1", Text("/Media")}, {"Root2", Text("/MEDIA")}}, {"/Media"}},
        {"no more than eight",
         {{"Root1", Text("/1")}, {"Root2", Text("/2")}, {"Root3", Text("/3")}, {"Root4", Text("/4")}, {"Root5", Text("/5")},
          {"Root6", Text("/6")}, {"Root7", Text("/7")}, {"Root8", Text("/8")}, {"Root9", Text("/9")}},
         {"/1", "/2", "/3", "/4", "/5", "/6", "/7", "/8"}},
    };
    for (const Row& row : rows)
        EXPECT_EQ(Read(row.stored).roots, row.roots) << row.what;
}

TEST(WindowSettings, StoredSettingsReadBackAsTheyWere)
{
    WindowSettings settings;
    for (const char* root : {"/1", "/2", "/3", "/4", "/5", "/6", "/7", "/8", "/9", "/3"})
        RememberRoot(settings, root);
    RememberRoot(settings, "");
    settings.icon = 1;
    settings.arch = "x64";
    settings.codePage = 437;
    settings.image = true;
    settings.signCommand = "osslsigncode sign -pkcs11module C:\\token.dll -in {file} -out {out}";
    EXPECT_EQ(settings.roots, (std::vector<std::string>{"/3", "/9", "/8", "/7", "/6", "/5", "/4", "/2"}));
    const WindowSettings read = Read(StoreSettings(settings));
    EXPECT_EQ(read.roots, settings.roots);
    EXPECT_EQ(read.icon, 1);
    EXPECT_EQ(read.arch, "x64");
    EXPECT_EQ(read.codePage, 437u);
    EXPECT_TRUE(read.image);
    EXPECT_EQ(read.signCommand, settings.signCommand);
}

TEST(WindowSettings, TakesASigningCommandOnlyAsOneLineOfText)
{
    struct Row {
        const char* what;
        StoredValues stored;
        std::string command;
    };
    const Row rows[] = {
        {"nothing stored", {}, ""},
        {"a command", {{"SignCommand", Text("signtool sign /n \"Borvi\" /fd SHA256 {file}")}},
         "signtool sign /n \"Borvi\" /fd SHA256 {file}"},
        {"a command of another kind", {{"SignCommand", Number(1)}}, ""},
        {"a command of unreadable kind", {{"SignCommand", Other}}, ""},
        {"a command holding a NUL", {{"SignCommand", Text(std::string("sign {file}\0 /p x", 17))}}, ""},
        {"a command of two lines", {{"SignCommand", Text("sign {file}\r\nformat C:")}}, ""},
    };
    for (const Row& row : rows)
        EXPECT_EQ(Read(row.stored).signCommand, row.command) << row.what;
}

}  // namespace
