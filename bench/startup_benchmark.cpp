// Start-up benchmark: how long until a program runs when started directly, through the
// launcher, through the floor launcher built for the same architecture, or through a batch
// file, measured interleaved over many rounds.
//
//   startup_benchmark WORK ROUNDS TARGET IDLE LAUNCHER FLOOR [LAUNCHER FLOOR ...]
//
// WORK is an empty folder for the layout (a launch directory holding TARGET as SETUP.exe,
// each launcher beside it, and a batch file). FLOOR hands the same unquoted command to WinExec
// and does nothing else: two bare process starts. Each time is from CreateProcessA until the
// target signals a named event; for IDLE, until it has exited.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr DWORD TimeoutMs = 20000;
const char ReadyEvent[] = "LauncherBenchmarkReady";

double Now()
{
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

struct Subject {
    std::string label;
    std::string application;  // empty: resolved from the command line
    std::string commandLine;
    std::string directory;
    bool waitsForReady = true;  // false: time until the process has exited
    std::vector<double> times;
    bool failed = false;
};

// One measurement in milliseconds, or a negative value when the subject did not run.
double Measure(const Subject& subject, HANDLE ready)
{
    ResetEvent(ready);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::string commandLine = subject.commandLine;
    const double start = Now();
    if (!CreateProcessA(subject.application.empty() ? nullptr : subject.application.c_str(), commandLine.data(),
                        nullptr, nullptr, FALSE, 0, nullptr, subject.directory.c_str(), &startup, &process))
        return -1;
    const HANDLE awaited = subject.waitsForReady ? ready : process.hProcess;
    const bool ran = WaitForSingleObject(awaited, TimeoutMs) == WAIT_OBJECT_0;
    const double elapsed = Now() - start;
    // Let the started process (and whatever it started) finish before the next round.
    if (WaitForSingleObject(process.hProcess, TimeoutMs) != WAIT_OBJECT_0)
        TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    Sleep(20);
    return ran ? elapsed : -1;
}

double Percentile(std::vector<double> values, double fraction)
{
    std::sort(values.begin(), values.end());
    const double position = fraction * static_cast<double>(values.size() - 1);
    const auto low = static_cast<std::size_t>(position);
    const std::size_t high = std::min(low + 1, values.size() - 1);
    return values[low] + (values[high] - values[low]) * (position - static_cast<double>(low));
}

double Median(const Subject& subject)
{
    return subject.times.empty() ? 0 : Percentile(subject.times, 0.5);
}

// The name of the folder a file was built in: windows-x64 for build\windows-x64\launcher.exe.
std::string BuildFolder(const std::string& path)
{
    const std::string folder = path.substr(0, path.find_last_of("\\/"));
    return folder.substr(folder.find_last_of("\\/") + 1);
}

bool Copy(const std::string& from, const std::string& to)
{
    return CopyFileA(from.c_str(), to.c_str(), FALSE) != 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 7 || argc % 2 == 0) {
        std::fprintf(stderr, "usage: startup_benchmark WORK ROUNDS TARGET IDLE LAUNCHER FLOOR [LAUNCHER FLOOR ...]\n");
        return 2;
    }
    const std::string work = argv[1];
    const int rounds = std::max(1, std::atoi(argv[2]));
    const std::string launchDirectory = work + "\\Borvi cd1 versie2";
    CreateDirectoryA(work.c_str(), nullptr);
    CreateDirectoryA(launchDirectory.c_str(), nullptr);
    const std::string target = launchDirectory + "\\SETUP.exe";
    const std::string idle = work + "\\idle.exe";
    if (!Copy(argv[3], target) || !Copy(argv[4], idle)) {
        std::fprintf(stderr, "cannot lay out %s\n", work.c_str());
        return 1;
    }

    std::vector<Subject> subjects;
    auto add = [&subjects](const std::string& label, const std::string& application, const std::string& commandLine,
                           const std::string& directory, bool waitsForReady = true) {
        Subject subject;
        subject.label = label;
        subject.application = application;
        subject.commandLine = commandLine;
        subject.directory = directory;
        subject.waitsForReady = waitsForReady;
        subjects.push_back(subject);
    };
    add("direct start", target, "\"" + target + "\"", launchDirectory);
    for (int i = 5; i + 1 < argc; i += 2) {
        const std::string name = "SETUP" + std::to_string(i - 4);
        const std::string launcher = work + "\\" + name + ".exe";
        const std::string floor = work + "\\floor" + std::to_string(i - 4) + ".exe";
        // Each launcher copy starts the program of its own name: give the target that name too.
        if (!Copy(argv[i], launcher) || !Copy(argv[i + 1], floor) ||
            !Copy(argv[3], launchDirectory + "\\" + name + ".exe"))
            return 1;
        add("launcher from " + BuildFolder(argv[i]), launcher, "\"" + launcher + "\"", work);
        add("floor launcher from " + BuildFolder(argv[i]), floor,
            "\"" + floor + "\" " + launchDirectory + "\\" + name, work);
    }
    const std::string batch = work + "\\setup.bat";
    FILE* file = std::fopen(batch.c_str(), "wb");
    if (file == nullptr)
        return 1;
    std::fputs("@echo off\r\ncd /d \"%~dp0Borvi cd1 versie2\"\r\nstart \"\" SETUP.exe\r\n", file);
    std::fclose(file);
    add("batch file (cmd /c, start)", "", "cmd /c \"" + batch + "\"", work);
    add("idle program (start to exit)", idle, "\"" + idle + "\"", work, false);

    SetEnvironmentVariableA("BENCH_READY", ReadyEvent);
    const HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, ReadyEvent);
    for (Subject& subject : subjects)
        Measure(subject, ready);  // warm-up: file cache, Wine's first-start work
    for (int round = 0; round < rounds; ++round) {
        for (Subject& subject : subjects) {
            if (subject.failed)
                continue;
            const double time = Measure(subject, ready);
            if (time < 0)
                subject.failed = true;
            else
                subject.times.push_back(time);
        }
    }

    std::printf("%d rounds, interleaved; milliseconds from CreateProcessA until the program runs\n\n", rounds);
    std::printf("%-60s %8s %8s %8s %8s %8s\n", "", "median", "p25", "p75", "min", "max");
    for (const Subject& subject : subjects) {
        if (subject.failed || subject.times.empty()) {
            std::printf("%-60s  did not run here\n", subject.label.c_str());
            continue;
        }
        std::printf("%-60s %8.1f %8.1f %8.1f %8.1f %8.1f\n", subject.label.c_str(), Median(subject),
                    Percentile(subject.times, 0.25), Percentile(subject.times, 0.75),
                    *std::min_element(subject.times.begin(), subject.times.end()),
                    *std::max_element(subject.times.begin(), subject.times.end()));
    }
    const Subject& direct = subjects.front();
    const Subject& batchSubject = subjects[subjects.size() - 2];
    const Subject& idleSubject = subjects.back();
    std::printf("\n");
    for (std::size_t i = 1; i + 2 < subjects.size(); i += 2) {
        const Subject& launcher = subjects[i];
        const Subject& floor = subjects[i + 1];
        if (launcher.failed || launcher.times.empty())
            continue;
        const double median = Median(launcher);
        std::printf("%s\n", launcher.label.c_str());
        std::printf("  launcher / direct      %5.2f  (target: at most 2.00)\n", median / Median(direct));
        if (!floor.failed && !floor.times.empty())
            std::printf("  launcher / floor       %5.2f  (target: at most 1.10)\n", median / Median(floor));
        if (!batchSubject.failed)
            std::printf("  launcher / batch file  %5.2f  (target: under 0.50)\n", median / Median(batchSubject));
        std::printf("  launcher overhead      %5.1f ms against one idle process start of %.1f ms\n",
                    median - Median(direct), Median(idleSubject));
    }
    return 0;
}
