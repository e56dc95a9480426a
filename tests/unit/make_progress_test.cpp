// make's progress and its cancelling: how far the program read and the image are, told to the
// caller's Progress, and what a cancel at each point leaves.
#include "commands/make_command.h"
#include "commands/terminal_progress.h"
#include "image/image_writer.h"
#include "launcher_samples.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>

namespace fs = std::filesystem;

namespace {

// Records what it is told, and cancels from the first call for which cancelWhen holds.
class Recorder : public Progress {
public:
    explicit Recorder(std::function<bool(std::uint64_t, std::uint64_t)> cancelWhen = nullptr)
        : cancelWhen_(std::move(cancelWhen))
    {
    }
    void Advance(std::uint64_t done, std::uint64_t total) override
    {
        calls.emplace_back(done, total);
        cancelled_ = cancelled_ || (cancelWhen_ && cancelWhen_(done, total));
    }
    bool Cancelled() override { return cancelled_; }

    std::vector<std::pair<std::uint64_t, std::uint64_t>> calls;

private:
    std::function<bool(std::uint64_t, std::uint64_t)> cancelWhen_;
    bool cancelled_ = false;
};

constexpr std::uint64_t DataBytes = 3u << 20;  // a file of the medium, read into the image in pieces

class MakeProgressTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        work_ = TestFolder("launcher-progress-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(work_);
        fs::create_directories(work_ / "src" / "My App 2");
        std::ofstream(work_ / "src" / "My App 2" / "App.exe") << TestProgram();
        std::ofstream(work_ / "src" / "My App 2" / "data.bin") << std::string(DataBytes, 'd');
        options_.root = (work_ / "src").string();
        options_.program = "My App 2/App.exe";
        options_.iso = (work_ / "out.iso").string();
        options_.label = "Borvi 7";
    }
    void TearDown() override { fs::remove_all(work_); }

    // The entries in the image's folder other than the medium and the image: staged or temporary files.
    std::vector<std::string> LeftBeside()
    {
        std::vector<std::string> left;
        for (const auto& entry : fs::directory_iterator(work_)) {
            const std::string name = entry.path().filename().string();
            if (name != "src" && name != "out.iso")
                left.push_back(name);
        }
        return left;
    }

    fs::path work_;
    MakeOptions options_;
};

TEST_F(MakeProgressTest, FollowsTheProgramAndTheImageToTheirEndsAndChangesNoByte)
{
    ASSERT_FALSE(LauncherSamples().empty()) << "the host build builds the launchers";
    std::string out, err;
    Recorder progress;
    MakeOutcome outcome;
    ASSERT_EQ(RunMake(options_, out, err, &outcome, &progress), 0) << err;
    ASSERT_FALSE(progress.calls.empty());
    // Each piece of work goes one way, never past its total, and ends whole.
    std::uint64_t total = progress.calls.front().second, done = 0, pieces = 1, imageCalls = 0;
    for (const auto& [nowDone, nowTotal] : progress.calls) {
        if (nowTotal != total) {
            EXPECT_EQ(done, total) << "a piece of work left unfinished";
            total = nowTotal;
            done = 0;
            ++pieces;
        }
        EXPECT_LE(nowDone, nowTotal);
        EXPECT_GE(nowDone, done);
        done = nowDone;
        imageCalls += nowTotal > DataBytes ? 1 : 0;
    }
    EXPECT_EQ(progress.calls.back().first, progress.calls.back().second);
    EXPECT_GE(pieces, 2u) << "the program read and the image";
    EXPECT_GE(imageCalls, 4u) << "the image's progress in pieces";

    // The same image as make without progress writes.
    const Bytes followed = ReadBytes(options_.iso);
    options_.iso = (work_ / "plain.iso").string();
    ASSERT_EQ(RunMake(options_, out, err), 0) << err;
    EXPECT_EQ(ReadBytes(options_.iso), followed);
}

TEST_F(MakeProgressTest, CancelledLeavesNoImageNorStagedFileAndKeepsWhatWasWrittenAtTheRoot)
{
    ASSERT_FALSE(LauncherSamples().empty()) << "the host build builds the launchers";
    struct Row {
        const char* when;
        std::function<bool(std::uint64_t, std::uint64_t)> cancelWhen;
        bool madeBefore;      // the root already holds what make writes
        bool rootWritten;     // the launcher and autorun.inf are at the root afterwards
        const char* says;
    };
    const Row rows[] = {
        {"at once", [](std::uint64_t, std::uint64_t) { return true; }, false, false, "cancelled: nothing was written"},
        {"while the files are read into the image",
         [](std::uint64_t done, std::uint64_t total) { return total > DataBytes && done > 0; }, false, true,
         "cancelled: no image was written, and nothing of it is left; what make wrote at the root is kept ("},
        {"while the image is written out",
         [](std::uint64_t done, std::uint64_t total) { return total > DataBytes && done > DataBytes + (1u << 19); }, false,
         true, "cancelled: no image was written, and nothing of it is left; what make wrote at the root is kept ("},
        {"after a make that wrote the root",
         [](std::uint64_t done, std::uint64_t total) { return total > DataBytes && done > DataBytes + (1u << 19); }, true,
         true, "cancelled: no image was written, and nothing of it is left; the root already held what make writes there"},
    };
    for (const Row& row : rows) {
        fs::remove(work_ / "src" / "App.exe");
        fs::remove(work_ / "src" / "autorun.inf");
        fs::remove(work_ / "out.iso");
        std::string out, err;
        if (row.madeBefore) {
            MakeOptions plain = options_;
            plain.iso.clear();
            ASSERT_EQ(RunMake(plain, out, err), 0) << err;
        }
        Recorder progress(row.cancelWhen);
        MakeOutcome outcome;
        out.clear();
        err.clear();
        EXPECT_EQ(RunMake(options_, out, err, &outcome, &progress), 1) << row.when;
        EXPECT_TRUE(outcome.cancelled) << row.when;
        EXPECT_EQ(outcome.refused, !row.rootWritten) << row.when;
        EXPECT_FALSE(fs::exists(work_ / "out.iso")) << row.when;
        EXPECT_EQ(LeftBeside(), std::vector<std::string>()) << row.when;
        EXPECT_EQ(fs::exists(work_ / "src" / "App.exe"), row.rootWritten) << row.when;
        EXPECT_EQ(fs::exists(work_ / "src" / "autorun.inf"), row.rootWritten) << row.when;
        // One line says it, and which files are kept.
        EXPECT_EQ(err.find(std::string("launcher-stamp: ") + row.says), 0u) << row.when << ": " << err;
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << row.when << ": " << err;
        if (row.rootWritten && !row.madeBefore) {
            EXPECT_NE(err.find((work_ / "src" / "App.exe").string()), std::string::npos) << err;
        }
    }
}

TEST_F(MakeProgressTest, AnImageCancelledInPlaceOfAnotherLeavesTheOtherAsItWas)
{
    ASSERT_FALSE(LauncherSamples().empty()) << "the host build builds the launchers";
    std::string out, err;
    ASSERT_EQ(RunMake(options_, out, err), 0) << err;
    const Bytes before = ReadBytes(options_.iso);
    std::ofstream(work_ / "src" / "My App 2" / "more.txt") << "more";
    Recorder progress([](std::uint64_t done, std::uint64_t total) { return total > DataBytes && done > DataBytes; });
    EXPECT_EQ(RunMake(options_, out, err, nullptr, &progress), 1);
    EXPECT_EQ(ReadBytes(options_.iso), before);
    EXPECT_EQ(LeftBeside(), std::vector<std::string>());
}

TEST(ProgressLine, SaysHowFarInWholePerCentOfTheWholeAmount)
{
    struct Row {
        std::uint64_t done, total;
        const char* line;
    };
    const Row rows[] = {
        {0, 700u << 20, "making the medium: 0% of 700 MiB"},
        {350u << 20, 700u << 20, "making the medium: 50% of 700 MiB"},
        {(700u << 20) - 1, 700u << 20, "making the medium: 99% of 700 MiB"},
        {700u << 20, 700u << 20, "making the medium: 100% of 700 MiB"},
        {800u << 20, 700u << 20, "making the medium: 100% of 700 MiB"},
        {10, 100 << 10, "making the medium: 0% of 100 KiB"},
        {0, 0, "making the medium: 100% of 0 KiB"},
        {std::uint64_t(1) << 62, std::uint64_t(1) << 63, "making the medium: 50% of 8796093022208 MiB"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(ProgressLine(row.done, row.total), row.line) << row.done << " of " << row.total;
}

}  // namespace
