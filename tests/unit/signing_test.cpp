// Signing: the signing command's placeholders, the command line handed to Windows, the DER
// reader's bounds, the digests' wiring, and the process runner.
#include "base/digest.h"
#include "commands/launcher_signing.h"
#include "medium/command_line.h"
#include "pe/authenticode.h"
#include "pe/der_reader.h"
#include "system/process.h"
#include "system/system.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace {

TEST(SigningCommand, PlaceholdersAreReplacedWithinArgumentsAndTheRestRefused)
{
    struct Row {
        const char* command;
        std::vector<std::string> argv;  // empty: refused
        const char* error;
    };
    const Row rows[] = {
        {R"(signtool sign /fd SHA256 {file})", {"signtool", "sign", "/fd", "SHA256", "F G.exe"}, ""},
        {R"("C:\Program Files\osslsigncode.exe" sign -in {file} -out {out})",
         {R"(C:\Program Files\osslsigncode.exe)", "sign", "-in", "F G.exe", "-out", "O.exe"}, ""},
        {R"(tool "--in={file}" --json {{"a":1})", {"tool", "--in=F G.exe", "--json", "{a:1}"}, ""},
        {R"(tool /p "pa ss\"word" {file})", {"tool", "/p", "pa ss\"word", "F G.exe"}, ""},
        {"  tool {file}", {"tool", "F G.exe"}, ""},
        {"signtool sign /fd SHA256", {}, "{file}"},
        {"tool {File}", {}, "neither"},
        {"tool {file} {", {}, "neither"},
        {"   ", {}, "empty"},
        {"", {}, "empty"},
    };
    for (const Row& row : rows) {
        std::vector<std::string> argv;
        bool usesOut = false;
        std::string error;
        const bool ok = SigningArguments(row.command, "F G.exe", "O.exe", argv, usesOut, error);
        EXPECT_EQ(ok, !row.argv.empty()) << row.command << ": " << error;
        if (ok) {
            EXPECT_EQ(argv, row.argv) << row.command;
        } else {
            EXPECT_NE(error.find(row.error), std::string::npos) << row.command << ": " << error;
        }
    }
}

TEST(SigningCommand, QuotedCommandLineSplitsBackIntoTheSameArguments)
{
    const std::vector<std::vector<std::string>> rows = {
        {"signtool", "sign", "/f", R"(C:\My Keys\k.pfx)"},
        {"prog", "", "a\"b", R"(trailing\)", R"(two\\)", R"(in side\\ "q")", "\t tab"},
        {R"(C:\Program Files\tool.exe)", R"(\\server\share\x y)", R"(a\\\"b)"},
    };
    for (const std::vector<std::string>& argv : rows)
        EXPECT_EQ(SplitLikeTheCRuntime(QuotedCommandLine(argv)).argv, argv) << QuotedCommandLine(argv);
}

TEST(DerReader, RefusesWhatIsNotOneWholeElement)
{
    struct Row {
        std::vector<unsigned char> bytes;
        bool whole;
    };
    const Row rows[] = {
        {{0x30, 0x00}, true},
        {{0x04, 0x02, 0xAA, 0xBB}, true},
        {{0x04, 0x03, 0xAA, 0xBB}, false},                    // the value runs past the end
        {{0x30, 0x80, 0x00, 0x00}, false},                    // indefinite length
        {{0x04, 0x81, 0x01, 0xAA}, true},                     // long form
        {{0x04, 0x85, 0x00, 0x00, 0x00, 0x00, 0x01}, false},  // five length bytes
        {{0x04, 0x84, 0xFF, 0xFF, 0xFF, 0xFF}, false},        // a length far past the end
        {{0x1F, 0x01, 0x00}, false},                          // a long tag
        {{0x04}, false},
    };
    for (const Row& row : rows) {
        DerReader reader(row.bytes.data(), row.bytes.size());
        DerElement element;
        EXPECT_EQ(reader.Next(element), row.whole) << static_cast<int>(row.bytes.size());
        if (row.whole) {
            EXPECT_EQ(element.size, row.bytes.size());
        }
    }
}

TEST(DerReader, ObjectIdentifiersInDottedForm)
{
    struct Row {
        std::vector<unsigned char> value;
        const char* text;
    };
    const Row rows[] = {
        {{0x2A, 0x86, 0x48, 0x86, 0xF7, 0x0D, 0x01, 0x07, 0x02}, "1.2.840.113549.1.7.2"},
        {{0x2B, 0x06, 0x01, 0x04, 0x01, 0x82, 0x37, 0x02, 0x01, 0x04}, "1.3.6.1.4.1.311.2.1.4"},
        {{0x60, 0x86, 0x48, 0x01, 0x65, 0x03, 0x04, 0x02, 0x01}, "2.16.840.1.101.3.4.2.1"},
        {{0x2A, 0x86}, ""},  // the last arc unfinished
        {{}, ""},
    };
    for (const Row& row : rows) {
        DerElement element;
        element.tag = der::ObjectId;
        element.value = row.value.data();
        element.valueSize = row.value.size();
        EXPECT_EQ(ObjectIdText(element), row.text);
    }
}

TEST(Digest, EachAlgorithmGivesItsKnownDigestOfAbc)
{
    struct Row {
        DigestAlgorithm algorithm;
        const char* hex;
    };
    const Row rows[] = {
        {DigestAlgorithm::Sha1, "a9993e364706816aba3e25717850c26c9cd0d89d"},
        {DigestAlgorithm::Sha256, "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {DigestAlgorithm::Sha384, "cb00753f45a35e8bb5a03d699ac65007272c32ab0eded1631a8b605a43ff5bed8086072ba1e7cc2358baeca134c825a7"},
        {DigestAlgorithm::Sha512, "ddaf35a193617abacc417349ae20413112e6fa4e89a97ea20a9eeee64b55d39a2192992a274fc1a836ba3c23a3feebbd"
                                  "454d4423643ce80e2a9ac94fa54ca49f"},
    };
    const unsigned char abc[] = {'a', 'b', 'c'};
    for (const Row& row : rows) {
        // Given in two pieces, as a file is hashed.
        Digest digest(row.algorithm);
        digest.Add(abc, 1);
        digest.Add(abc + 1, 2);
        std::string hex;
        for (unsigned char byte : digest.Finish()) {
            const char digits[] = "0123456789abcdef";
            hex += digits[byte >> 4];
            hex += digits[byte & 15];
        }
        EXPECT_EQ(hex, row.hex) << DigestName(row.algorithm);
    }
}

TEST(Signature, MalformedTablesAreBrokenNeverSigned)
{
    // A PE header just large enough to carry a certificate table's directory entry.
    Bytes file(0x400, 0);
    file[0] = 'M';
    file[1] = 'Z';
    file[0x3C] = 0x80;
    file[0x80] = 'P';
    file[0x81] = 'E';
    file[0x84] = 0x64;  // x86-64
    file[0x85] = 0x86;
    file[0x80 + 20] = 0xF0;  // the optional header's size
    file[0x80 + 22] = 0x22;  // an executable image
    const std::size_t optional = 0x80 + 24;
    file[optional] = 0x0B;
    file[optional + 1] = 0x02;
    file[optional + 60] = 0x00;  // SizeOfHeaders 0x200
    file[optional + 61] = 0x02;
    file[optional + 108] = 16;   // data directories
    const std::size_t entry = optional + 112 + 4 * 8;
    struct Row {
        std::uint32_t offset, size;
        Bytes table;
        const char* problem;
    };
    const Row rows[] = {
        {0x400, 8, {8, 0, 0, 0, 0, 2, 1, 0}, "no Authenticode signature"},  // an X.509 record alone
        {0x400, 8, {8, 0, 0, 0, 0, 2, 2, 0}, "cannot be read"},
        {0x400, 16, {16, 0, 0, 0, 0, 2, 2, 0, 0x30, 0x80, 0, 0, 0, 0, 0, 0}, "cannot be read"},
        {0x400, 16, {200, 0, 0, 0, 0, 2, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0}, "length is wrong"},
        {0x404, 8, {0, 0, 0, 0, 8, 0, 0, 0}, "8-byte boundary"},
        {0x400, 64, {}, "past the end"},
    };
    for (const Row& row : rows) {
        Bytes bytes = file;
        bytes.resize(row.offset, 0);
        bytes.insert(bytes.end(), row.table.begin(), row.table.end());
        for (int k = 0; k < 4; ++k) {
            bytes[entry + static_cast<std::size_t>(k)] = static_cast<unsigned char>(row.offset >> (8 * k));
            bytes[entry + 4 + static_cast<std::size_t>(k)] = static_cast<unsigned char>(row.size >> (8 * k));
        }
        const SignatureInfo info = ReadSignature(bytes);
        EXPECT_EQ(info.state, SignatureState::Broken) << row.problem;
        EXPECT_NE(info.problem.find(row.problem), std::string::npos) << row.problem << ": " << info.problem;
    }
    EXPECT_EQ(ReadSignature(file).state, SignatureState::NotSigned);
}

TEST(Process, RunsWithoutAShellAndEndsWhatRunsTooLong)
{
    struct Row {
        std::vector<std::string> argv;
        unsigned timeout;
        bool started, timedOut;
        int status;
        const char* output;
    };
    const Row rows[] = {
        {{"sh", "-c", "echo out; echo err >&2; exit 3"}, 0, true, false, 3, "out\nerr\n"},
        {{"echo", "a;b", "$HOME", "*"}, 0, true, false, 0, "a;b $HOME *\n"},
        {{"no-such-program-anywhere"}, 0, false, false, -1, ""},
        {{"sh", "-c", "sleep 30 & sleep 30"}, 1, true, true, -1, ""},
    };
    for (const Row& row : rows) {
        ProcessResult result;
        const auto start = std::chrono::steady_clock::now();
        RunProcess(row.argv, row.timeout, false, result);
        EXPECT_EQ(result.started, row.started) << row.argv[0] << ": " << result.error;
        EXPECT_EQ(result.timedOut, row.timedOut) << row.argv[0];
        EXPECT_EQ(result.exitStatus, row.status) << row.argv[0];
        EXPECT_EQ(result.output, row.output) << row.argv[0];
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10)) << row.argv[0];
    }
}

// A folder of its own under the system's temporary folder, removed with everything in it.
struct ScratchFolder {
    std::filesystem::path path;
    ScratchFolder()
    {
        std::string name = (std::filesystem::temp_directory_path() / "signing-test.XXXXXX").string();
        path = mkdtemp(name.data());
    }
    ~ScratchFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    std::string Temporaries() const
    {
        std::string names;
        for (const auto& entry : std::filesystem::directory_iterator(path))
            names += IsTemporaryName(entry.path().filename().string()) ? entry.path().filename().string() + " " : "";
        return names;
    }
};

TEST(Process, AStoppedProgramIsEndedAndACancelledOneWithItsGroup)
{
    struct Row {
        const char* what;
        std::vector<std::string> argv;
        int cancelAfterMs;  // -1: never
        bool stopped, cancelled;
        const char* error;
    };
    // It stops twice: the first stop may be for a terminal it can be given, the second never is.
    const Row rows[] = {
        {"stops for the terminal", {"sh", "-c", "kill -TTIN $$; kill -TTIN $$; exit 5"}, -1, true, false, "SIGTTIN"},
        {"stops itself", {"sh", "-c", "kill -STOP $$; kill -STOP $$; exit 5"}, -1, true, false, "SIGSTOP"},
        {"cancelled while it waits", {"sh", "-c", "sleep 30 & sleep 30"}, 300, false, true, ""},
        {"never cancelled, it ends", {"sh", "-c", "exit 4"}, 100000, false, false, ""},
    };
    for (const Row& row : rows) {
        ProcessResult result;
        const auto start = std::chrono::steady_clock::now();
        auto cancelled = [&] {
            return row.cancelAfterMs >= 0 && std::chrono::steady_clock::now() - start > std::chrono::milliseconds(row.cancelAfterMs);
        };
        const bool ran = RunProcess(row.argv, 60, false, result, cancelled);
        EXPECT_EQ(ran, !row.stopped && !row.cancelled) << row.what;
        EXPECT_TRUE(result.started) << row.what;
        EXPECT_EQ(result.stopped, row.stopped) << row.what;
        EXPECT_EQ(result.cancelled, row.cancelled) << row.what;
        EXPECT_FALSE(result.timedOut) << row.what;
        EXPECT_NE(result.error.find(row.error), std::string::npos) << row.what << ": " << result.error;
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10)) << row.what;
    }
    // Cancelled, what it started has ended too: nothing of its group is left.
    ScratchFolder scratch;
    const std::string pid = (scratch.path / "pid").string();
    ProcessResult result;
    const auto start = std::chrono::steady_clock::now();
    RunProcess({"sh", "-c", "sleep 30 & echo $! > \"$1\"; wait", "sh", pid}, 0, false, result,
               [&] { return std::chrono::steady_clock::now() - start > std::chrono::milliseconds(500); });
    std::ifstream pidFile(pid);
    int child = 0;
    pidFile >> child;
    ASSERT_GT(child, 0);
    // Ended, it may stay a moment as a zombie until it is reaped.
    auto running = [child] {
        std::ifstream stat("/proc/" + std::to_string(child) + "/stat");
        std::string number, name, state;
        return stat >> number >> name >> state && state != "Z";
    };
    for (int tries = 0; running() && tries < 100; ++tries)
        usleep(20 * 1000);
    EXPECT_FALSE(running()) << "the process it started still runs";
}

TEST(HeldFile, IsNoLeftoverWhileHeldAndGoneWhenRemoved)
{
    ScratchFolder scratch;
    const std::string path = (scratch.path / (std::string(TemporaryNamePrefix) + "sign-in-1.exe")).string();
    StagedFile held;
    bool exists = false;
    std::string error;
    ASSERT_TRUE(CreateHeldFile(path, Bytes{'M', 'Z', 1, 2}, exists, held, error)) << error;
    Bytes read;
    EXPECT_TRUE(ReadWholeFile(path, read, error) && read == (Bytes{'M', 'Z', 1, 2})) << "others read what it holds";
    EXPECT_FALSE(IsLeftover(path)) << "held, it was called a leftover";
    EXPECT_TRUE(RemoveLeftovers(scratch.path.string()).empty()) << "held, it was removed as a leftover";
    EXPECT_TRUE(std::filesystem::exists(path));
    // Another held at the same name is refused, and what is there kept.
    StagedFile second;
    EXPECT_FALSE(CreateHeldFile(path, Bytes{'X'}, exists, second, error));
    EXPECT_TRUE(exists);
    EXPECT_TRUE(ReadWholeFile(path, read, error) && read.size() == 4);
    RemoveHeldFile(held);
    EXPECT_EQ(scratch.Temporaries(), "");
}

// What the program working on a held file writes beside it under names that extend its name is
// held with it; other temporary files of ours are leftovers, and all are once it is let go.
TEST(HeldFile, FilesBesideItThatExtendItsNameAreHeldWithIt)
{
    struct Row {
        const char* name;
        bool heldWithIt;
    };
    const std::string prefix = TemporaryNamePrefix;
    const Row rows[] = {
        {"sign-in-12-out.exe", true},     // a signer's {out}
        {"sign-in-12.exe.signed", true},  // a signer's own temporary file
        {"sign-in-123.exe", false},       // another run's, whose name only begins alike
        {"sign-in-1.exe", false},
        {"sign-in-12", false},            // shorter than the held name's stem, not beside it
        {"other-out.exe", false},
    };
    ScratchFolder scratch;
    StagedFile held;
    bool exists = false;
    std::string error;
    ASSERT_TRUE(CreateHeldFile((scratch.path / (prefix + "sign-in-12.exe")).string(), Bytes{'M', 'Z'}, exists, held, error));
    for (const Row& row : rows)
        std::ofstream(scratch.path / (prefix + row.name)) << "x";
    for (const Row& row : rows)
        EXPECT_EQ(IsLeftover((scratch.path / (prefix + row.name)).string()), !row.heldWithIt) << row.name;
    const std::vector<std::string> removed = RemoveLeftovers(scratch.path.string());
    for (const Row& row : rows) {
        const bool gone = std::find(removed.begin(), removed.end(), prefix + row.name) != removed.end();
        EXPECT_EQ(gone, !row.heldWithIt) << row.name;
        EXPECT_EQ(std::filesystem::exists(scratch.path / (prefix + row.name)), row.heldWithIt) << row.name;
    }
    RemoveHeldFile(held);
    RemoveLeftovers(scratch.path.string());
    EXPECT_EQ(scratch.Temporaries(), "") << "let go, what was held with it is a leftover";
}

// Each try signs a fresh copy: the signer below adds a line to {file} and says its size first.
TEST(SignRetries, RefusalsThatAnotherTryMayMendAreTriedAgainAfterGrowingPauses)
{
    struct Row {
        const char* what;
        const char* script;  // run by sh with {file} and the count file
        unsigned retries;
        std::vector<unsigned> pauses;
        unsigned tries;       // how many times the signer ran
        const char* reasonStarts;
    };
    const Row rows[] = {
        {"exits 1, no retries: one try, unmarked", "exit 1", 0, {}, 1, "the signing command (sh) failed"},
        {"exits 1, three retries", "exit 1", 3, {2, 4, 8}, 4, "try 4 of 4: the signing command (sh) failed"},
        {"exits 1, six retries: the pause stops growing", "exit 1", 6, {2, 4, 8, 16, 30, 30}, 7, "try 7 of 7: "},
        {"signs nothing: no retry mends it", "exit 0", 3, {}, 1, "try 1 of 4: the signing command (sh): "},
        {"fails once, then signs nothing", "[ $n -ge 1 ] || exit 2", 3, {2}, 2, "try 2 of 4: "},
    };
    for (const Row& row : rows) {
        ScratchFolder scratch;
        const std::string count = (scratch.path / "count").string();
        SignRequest request;
        request.command = std::string("sh -c \"n=$(cat \\\"$2\\\" 2>/dev/null || echo 0); echo $((n + 1)) > \\\"$2\\\"; "
                                      "echo size $(wc -c < \\\"$1\\\") try $n; echo more >> \\\"$1\\\"; ") +
                          row.script + "\" sh {file} \"" + count + "\"";
        request.retries = row.retries;
        std::vector<unsigned> pauses;
        request.pause = [&pauses](unsigned seconds) { pauses.push_back(seconds); };
        Bytes signedBytes;
        SignatureInfo info;
        std::vector<std::string> tried;
        std::string reason;
        EXPECT_FALSE(SignLauncherTrying(request, scratch.path.string(), Bytes(100, 'M'), signedBytes, info, tried, reason))
            << row.what;
        std::string tries;
        for (const std::string& refused : tried)
            tries += refused + "\n";
        EXPECT_EQ(tried.size() + 1, row.tries) << row.what;
        EXPECT_EQ(pauses, row.pauses) << row.what;
        EXPECT_EQ(reason.rfind(row.reasonStarts, 0), 0u) << row.what << ": " << reason;
        std::ifstream counted(count);
        unsigned ran = 0;
        counted >> ran;
        EXPECT_EQ(ran, row.tries) << row.what;
        // Every try's output is shown under its number, each on a fresh copy of 100 bytes.
        for (unsigned attempt = 1; attempt <= row.tries; ++attempt) {
            const std::string said = attempt == row.tries ? reason : tries;
            const std::string output = "size 100 try " + std::to_string(attempt - 1);
            EXPECT_NE(said.find(output), std::string::npos) << row.what << ": try " << attempt << ": " << said;
            if (row.retries != 0) {
                EXPECT_NE(said.find("try " + std::to_string(attempt) + " of "), std::string::npos) << row.what;
            }
        }
        EXPECT_EQ(scratch.Temporaries(), "") << row.what;
    }
}

}  // namespace
