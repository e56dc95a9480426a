// End-to-end driver: starts the real launcher as a desktop would and checks what a user
// could observe (the program it started, the window it showed, its exit status).
//
//   driver GROUP LAUNCHER PROBE WORK [STAMP]
//
// GROUP picks the cases (start, window, double-byte, drive-root, nested, stamped, check,
// differential: random layouts of E2E_SEED (else a fresh seed, printed) and E2E_LAYOUTS (24),
// elevation with the test launcher whose start is refused, consent with a person at the desk
// and PROBE asking for administrator rights), or is "selftest" for all of them but the last
// two on the system at hand: then the driver stamps copies of
// LAUNCHER with STAMP for the groups that need another launch directory, maps the drives it
// needs itself, and reports as skipped what this system cannot do (all of a 32-bit launcher's
// cases where no 32-bit program can start). LAUNCHER is the launcher
// executable to try, PROBE the program to place in launch directories, WORK an empty folder
// for the cases' layouts, STAMP the launcher-stamp tool. Every wait is bounded. Prints one line per failed check and
// a closing "N passed, N failed" line; exits non-zero when a case failed.
#include <windows.h>
#include <tlhelp32.h>

#include <nlohmann/json.hpp>

#include <cstdio>
#include <cstring>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr DWORD LauncherTimeoutMs = 15000;  // a launcher that waits longer has hung
constexpr DWORD RecordTimeoutMs = 15000;    // a started program writes its record well within this
constexpr DWORD AbsenceWaitMs = 2000;       // how long to watch for a program that must not start
constexpr DWORD ConsentTimeoutMs = 180000;  // how long a person may take to answer the consent prompt
const char DefaultLaunchDirectory[] = "Borvi cd1 versie2";
const char MessageTitle[] = "Ruvio Error";

struct Settings {
    std::string launcher;
    std::string probe;
    std::string work;
    std::string stamp;
};
Settings Given;

int Passed = 0;
int Failed = 0;
int Skipped = 0;
std::string CurrentCase;
bool CaseFailed = false;
std::string SkipReason;  // set when the current case cannot run on this system

bool Observing = false;  // on a system of its own (the self-test): print what programs received

char DriveRootLetter = 'R';  // the drive the drive-root launcher's launch directory names
char MediumLetter = 'M';     // the drive the check cases lay their media out on

std::string DriveRoot(char letter)
{
    return std::string(1, letter) + ":\\";
}

void Check(bool condition, const std::string& what)
{
    if (!condition) {
        std::printf("FAIL %s: %s\n", CurrentCase.c_str(), what.c_str());
        CaseFailed = true;
    }
}

void CheckEqual(const std::string& actual, const std::string& expected, const std::string& what)
{
    Check(actual == expected, what + ": expected [" + expected + "], got [" + actual + "]");
}

std::string Join(const std::string& folder, const std::string& name)
{
    return folder.back() == '\\' ? folder + name : folder + "\\" + name;
}

void MakeFolder(const std::string& path)
{
    if (!CreateDirectoryA(path.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
        Check(false, "cannot create folder " + path);
}

void CopyAs(const std::string& from, const std::string& to)
{
    Check(CopyFileA(from.c_str(), to.c_str(), FALSE) != 0, "cannot copy " + from + " to " + to);
}

// What a probe recorded, key by key; empty when it wrote nothing.
using Record = std::map<std::string, std::string>;

Record ReadRecord(const std::string& path)
{
    Record record;
    FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr)
        return record;
    char line[4096];
    while (std::fgets(line, sizeof line, file) != nullptr) {
        std::string text(line);
        while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
            text.pop_back();
        const auto equals = text.find('=');
        if (equals != std::string::npos)
            record[text.substr(0, equals)] = text.substr(equals + 1);
    }
    std::fclose(file);
    return record;
}

Record AwaitRecord(const std::string& path, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    for (;;) {
        // A record that cannot be read yet (the probe's rename still settling) is read again.
        if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) {
            const Record record = ReadRecord(path);
            if (!record.empty())
                return record;
        }
        if (GetTickCount() - start >= timeoutMs)
            return Record();
        Sleep(20);
    }
}

// The command line a started program saw, without the quotes Wine adds around a resolved
// path that holds spaces (Windows hands the command on as it was given).
std::string Unquoted(const std::string& commandLine)
{
    if (commandLine.size() >= 2 && commandLine.front() == '"' && commandLine.back() == '"')
        return commandLine.substr(1, commandLine.size() - 2);
    return commandLine;
}

// One case's folder: a fresh folder under WORK, the launcher copied in as launcherName, and
// a record path for the probe.
struct Layout {
    std::string folder;
    std::string launcher;
    std::string record;
};

Layout MakeLayout(const std::string& caseFolder, const std::string& launcherName)
{
    Layout layout;
    layout.folder = Join(Given.work, caseFolder);
    MakeFolder(layout.folder);
    layout.launcher = Join(layout.folder, launcherName);
    CopyAs(Given.launcher, layout.launcher);
    layout.record = Join(layout.folder, "started-program.txt");
    return layout;
}

// Places the probe at launchDirectory\programName, creating the launch directory.
void PlaceProgram(const std::string& launchDirectory, const std::string& programName)
{
    MakeFolder(launchDirectory);
    CopyAs(Given.probe, Join(launchDirectory, programName));
}

struct Launch {
    std::string commandLine;   // empty: the launcher's path in double quotes
    std::string directory;     // empty: the layout's folder
    int showMode = -1;         // -1: no show mode of its own
    std::string holdEvent;     // passed to the probe, which then waits for it
};

// Starts the layout's launcher as a desktop would. Returns its process, or null.
PROCESS_INFORMATION Start(const Layout& layout, const Launch& launch)
{
    std::string commandLine = launch.commandLine.empty() ? "\"" + layout.launcher + "\"" : launch.commandLine;
    const std::string directory = launch.directory.empty() ? layout.folder : launch.directory;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    if (launch.showMode >= 0) {
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = static_cast<WORD>(launch.showMode);
    }
    SetEnvironmentVariableA("LAUNCHER_PROBE_RECORD", layout.record.c_str());
    SetEnvironmentVariableA("LAUNCHER_PROBE_HOLD", launch.holdEvent.empty() ? nullptr : launch.holdEvent.c_str());
    SetEnvironmentVariableA("LAUNCHER_PROBE_WINDOW", Observing ? "1" : nullptr);
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(layout.launcher.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        directory.c_str(), &startup, &process)) {
        Check(false, "cannot start " + layout.launcher + " (error " + std::to_string(GetLastError()) + ")");
        return PROCESS_INFORMATION{};
    }
    CloseHandle(process.hThread);
    return process;
}

// Waits for the launcher to end and checks it ended with status 0; ends it if it hung.
void ExpectExitZero(PROCESS_INFORMATION& process, DWORD timeoutMs = LauncherTimeoutMs)
{
    if (process.hProcess == nullptr)
        return;
    if (WaitForSingleObject(process.hProcess, timeoutMs) != WAIT_OBJECT_0) {
        Check(false, "the launcher did not end within its time");
        TerminateProcess(process.hProcess, 99);
        WaitForSingleObject(process.hProcess, 5000);
    } else {
        DWORD status = 1;
        GetExitCodeProcess(process.hProcess, &status);
        Check(status == 0, "exit status " + std::to_string(status));
    }
    CloseHandle(process.hProcess);
    process.hProcess = nullptr;
}

// An ANSI path (perhaps a short one) in its long form, in UTF-8, as the probe records its own.
std::string LongUtf8(const std::string& path)
{
    wchar_t wide[MAX_PATH * 4], longPath[MAX_PATH * 4];
    if (MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH * 4) == 0)
        return path;
    const DWORD length = GetLongPathNameW(wide, longPath, MAX_PATH * 4);
    char text[MAX_PATH * 16];
    return WideCharToMultiByte(CP_UTF8, 0, length != 0 && length < MAX_PATH * 4 ? longPath : wide, -1, text, sizeof text,
                               nullptr, nullptr) > 0 ? text : path;
}

void ExpectStarted(const Layout& layout, const std::string& launchDirectory, const std::string& programName,
                   const std::string& command)
{
    const Record record = AwaitRecord(layout.record, RecordTimeoutMs);
    if (record.empty()) {
        Check(false, "nothing was started (expected " + programName + ")");
        return;
    }
    auto field = [&record](const char* key) {
        const auto found = record.find(key);
        return found == record.end() ? std::string() : found->second;
    };
    CheckEqual(field("module"), LongUtf8(Join(launchDirectory, programName)), "started program");
    CheckEqual(field("directory"), launchDirectory, "its current directory");
    CheckEqual(Unquoted(field("command_line")), command, "its command");
    CheckEqual(field("show_window"), "1", "its show mode");
    Check((std::stoul("0" + field("flags")) & STARTF_USESHOWWINDOW) != 0, "its show mode was not set");
    // What Windows really hands a program differs from Wine: shown, neither passed nor failed.
    if (Observing)
        std::printf("  observed: %s received the command line [%s]; its window %s the foreground window\n",
                    programName.c_str(), field("command_line").c_str(),
                    field("foreground") == "1" ? "became" : field("foreground") == "0" ? "did not become" : "could not show");
}

void ExpectNothingStarted(const Layout& layout)
{
    Check(AwaitRecord(layout.record, AbsenceWaitMs).empty(), "a program was started");
}

// The normal road: launcher named NAME.exe beside the launch directory holding NAME.exe.
void RunNormal(const std::string& caseFolder, const std::string& launcherName, const std::string& programName,
               const std::string& commandName, Launch launch = Launch())
{
    const Layout layout = MakeLayout(caseFolder, launcherName);
    const std::string launchDirectory = Join(layout.folder, DefaultLaunchDirectory);
    PlaceProgram(launchDirectory, programName);
    if (!launch.commandLine.empty() && launch.commandLine.find('%') != std::string::npos)
        launch.commandLine.replace(launch.commandLine.find('%'), 1, layout.launcher);
    PROCESS_INFORMATION process = Start(layout, launch);
    ExpectExitZero(process);
    ExpectStarted(layout, launchDirectory, programName, Join(launchDirectory, commandName));
}

// ---- start: the normal road, command lines and file names -------------------------------

void NormalStartDoesNotWaitForTheProgram()
{
    const Layout layout = MakeLayout("normal", "SETUP.exe");
    const std::string launchDirectory = Join(layout.folder, DefaultLaunchDirectory);
    PlaceProgram(launchDirectory, "SETUP.exe");
    const std::string holdName = "LauncherTestHold" + std::to_string(GetCurrentProcessId());
    const HANDLE hold = CreateEventA(nullptr, TRUE, FALSE, holdName.c_str());
    Launch launch;
    launch.holdEvent = holdName;
    PROCESS_INFORMATION process = Start(layout, launch);
    // The probe stays until released, so the launcher must end on its own first.
    ExpectExitZero(process);
    ExpectStarted(layout, launchDirectory, "SETUP.exe", Join(launchDirectory, "SETUP"));
    SetEvent(hold);
    CloseHandle(hold);
}

void StartedMinimisedStillShowsTheProgramNormally()
{
    for (const int own : {SW_SHOWMINNOACTIVE, SW_HIDE, SW_MAXIMIZE}) {
        Launch launch;
        launch.showMode = own;
        RunNormal("show-mode-" + std::to_string(own), "SETUP.exe", "SETUP.exe", "SETUP", launch);
    }
}

void CommandLinesNameTheProgram()
{
    struct Row {
        const char* folder;
        const char* commandLine;  // % stands for the launcher's full path
        const char* program;      // file placed in the launch directory
        const char* command;      // name part of the command started
    };
    const Row rows[] = {
        {"slash-argument", "\"%\" /x", "x.exe", "x"},
        {"path-argument", "\"%\" C:\\DATA\\NOTES.TXT", "NOTES.exe", "NOTES"},
        {"drive-no-backslash", "Q:DEMO.EXE", "DEMO.exe", "DEMO"},
        {"unquoted-path", "%", "DEMO.exe", "DEMO"},
        {"trailing-space", "\"%\" ", "DEMO.exe", "DEMO"},
        {"several-full-stops", "\"%\\..\\A.B.C.EXE\"", "A.B.C", "A.B.C"},
        {"no-extension", "%\\..\\DEMO", "DEMO.exe", "DEMO"},
    };
    for (const Row& row : rows) {
        Launch launch;
        launch.commandLine = row.commandLine;
        CurrentCase = std::string("command lines name the program (") + row.folder + ")";
        RunNormal(row.folder, "DEMO.EXE", row.program, row.command, launch);
    }
}

void NoBreakSpaceBecomesASpaceInTheNameOnly()
{
    // The case folder holds 0xA0 too: the path in front of the name is handed on unchanged.
    RunNormal("nbsp\xA0" "folder", "Demo\xA0Go.exe", "Demo Go.exe", "Demo Go");
}

void NoProgramOfThatNameStartsNothingSilently()
{
    const Layout layout = MakeLayout("no-program", "SETUP.exe");
    PlaceProgram(Join(layout.folder, DefaultLaunchDirectory), "OTHER.exe");
    PROCESS_INFORMATION process = Start(layout, Launch());
    ExpectExitZero(process);
    ExpectNothingStarted(layout);
    Check(FindWindowA(nullptr, MessageTitle) == nullptr, "a message box was shown");
}

// ---- window: the failure path's message box ----------------------------------------------

struct BoxInfo {
    HWND box = nullptr;
    int titled = 0;
};

BOOL CALLBACK CountTitled(HWND window, LPARAM parameter)
{
    auto* info = reinterpret_cast<BoxInfo*>(parameter);
    char title[64];
    if (GetWindowTextA(window, title, sizeof title) > 0 && std::string(title) == MessageTitle) {
        ++info->titled;
        info->box = window;
    }
    return TRUE;
}

struct Controls {
    int buttons = 0;
    int icons = 0;
};

BOOL CALLBACK CountControls(HWND control, LPARAM parameter)
{
    auto* controls = reinterpret_cast<Controls*>(parameter);
    char className[64];
    GetClassNameA(control, className, sizeof className);
    const LONG_PTR style = GetWindowLongPtrA(control, GWL_STYLE);
    if (!(style & WS_VISIBLE))
        return TRUE;
    if (lstrcmpiA(className, "Button") == 0)
        ++controls->buttons;
    // An icon control may stand empty in a box without an icon: count only a shown icon.
    if (lstrcmpiA(className, "Static") == 0 && (style & SS_TYPEMASK) == SS_ICON &&
        SendMessageA(control, STM_GETICON, 0, 0) != 0)
        ++controls->icons;
    return TRUE;
}

void MissingLaunchDirectoryShowsOneMessageBox()
{
    const Layout layout = MakeLayout("missing-directory", "SETUP.exe");
    PROCESS_INFORMATION process = Start(layout, Launch());
    if (process.hProcess == nullptr)
        return;

    BoxInfo info;
    const DWORD start = GetTickCount();
    while (info.box == nullptr && GetTickCount() - start < LauncherTimeoutMs) {
        Sleep(50);
        info = BoxInfo();
        EnumWindows(CountTitled, reinterpret_cast<LPARAM>(&info));
    }
    if (info.box == nullptr) {
        Check(false, "no message box appeared");
    } else {
        Sleep(300);  // a second box would show by now
        info = BoxInfo();
        EnumWindows(CountTitled, reinterpret_cast<LPARAM>(&info));
        Check(info.titled == 1, std::to_string(info.titled) + " windows titled " + MessageTitle);
        DWORD owner = 0;
        GetWindowThreadProcessId(info.box, &owner);
        Check(owner == process.dwProcessId, "the box belongs to another process");
        Check(GetWindow(info.box, GW_OWNER) == nullptr, "the box has an owner window");
        char text[1100] = "";
        GetDlgItemTextA(info.box, 0xFFFF, text, sizeof text);
        CheckEqual(text, "Failed changing directory to \"Borvi cd1 versie2\".", "message");
        Controls controls;
        EnumChildWindows(info.box, CountControls, reinterpret_cast<LPARAM>(&controls));
        Check(controls.buttons == 1 && GetDlgItem(info.box, IDOK) != nullptr,
              std::to_string(controls.buttons) + " buttons, expected OK alone");
        Check(controls.icons == 0, "the box shows an icon");
        Check(WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT, "the launcher ended before the box closed");
        PostMessageA(info.box, WM_COMMAND, IDOK, 0);
    }
    ExpectExitZero(process);
    ExpectNothingStarted(layout);
}

// ---- double-byte: code page 932 ------------------------------------------------------------

void DoubleByteNameIsKeptWhole()
{
    // U+8868 is 0x95 0x5C in code page 932: with the second byte taken for a backslash the
    // name would be empty and nothing would start.
    const std::string name = "\x95\x5C";
    RunNormal("double-byte", name + ".exe", name + ".exe", name);
}

// ---- drive-root and nested: launchers built with other launch directories ---------------

void DriveRootGetsNoDoubledBackslash()
{
    // This launcher's launch directory is a drive root (R:\ unless the self-test picked
    // another letter), a drive mapped to a folder of its own.
    const Layout layout = MakeLayout("drive-root", "SETUP.exe");
    const std::string root = DriveRoot(DriveRootLetter);
    CopyAs(Given.probe, root + "SETUP.exe");
    PROCESS_INFORMATION process = Start(layout, Launch());
    ExpectExitZero(process);
    ExpectStarted(layout, root, "SETUP.exe", root + "SETUP");
}

void NestedLaunchDirectoryWorks()
{
    // This launcher's launch directory is "Outer dir\Inner".
    const Layout layout = MakeLayout("nested", "SETUP.exe");
    MakeFolder(Join(layout.folder, "Outer dir"));
    const std::string launchDirectory = Join(layout.folder, "Outer dir\\Inner");
    PlaceProgram(launchDirectory, "SETUP.exe");
    PROCESS_INFORMATION process = Start(layout, Launch());
    ExpectExitZero(process);
    ExpectStarted(layout, launchDirectory, "SETUP.exe", Join(launchDirectory, "SETUP"));
}

// ---- stamped: a launcher whose launch directory was rewritten by launcher-stamp ----------

void StampedLauncherStartsFromItsNewLaunchDirectory()
{
    const Layout layout = MakeLayout("stamped", "SETUP.exe");
    MakeFolder(Join(layout.folder, "Disc 2"));
    const std::string launchDirectory = Join(layout.folder, "Disc 2\\Setup files");
    PlaceProgram(launchDirectory, "SETUP.exe");
    PlaceProgram(Join(layout.folder, DefaultLaunchDirectory), "SETUP.exe");  // must not be used
    PROCESS_INFORMATION process = Start(layout, Launch());
    ExpectExitZero(process);
    ExpectStarted(layout, launchDirectory, "SETUP.exe", Join(launchDirectory, "SETUP"));
}

// ---- elevation: a start that Windows refuses for elevation goes to the shell ---------------

// The test launcher's start step is refused as Windows refuses an installer; the shell then
// starts the program's full path from the launch directory, shown normally, with no arguments.
void RefusedStartGoesToTheShell()
{
    for (const std::string name : {"SETUP", "My App"})
        RunNormal("refused " + name, name + ".exe", name + ".exe", name + ".exe");
}

// ---- consent: on Windows, a program that needs administrator rights -----------------------

// The launcher as shipped before a program whose manifest requires administrator rights:
// Windows refuses the plain start, the shell asks the person at the desk, and the program runs
// elevated in the launch directory. An elevated program may not get the driver's environment,
// so the probe writes its record beside itself.
void ElevatedProgramStartsAfterConsent()
{
    Layout layout = MakeLayout("consent", "SETUP.exe");
    const std::string launchDirectory = Join(layout.folder, DefaultLaunchDirectory);
    PlaceProgram(launchDirectory, "SETUP.exe");
    layout.record = Join(launchDirectory, "started-program.txt");  // wherever the probe takes it from
    std::printf("Windows now asks whether SETUP.exe may make changes: answer Yes.\n");
    std::fflush(stdout);
    Launch launch;
    PROCESS_INFORMATION process = Start(layout, launch);
    ExpectExitZero(process, ConsentTimeoutMs);
    const Record record = AwaitRecord(layout.record, ConsentTimeoutMs);
    Check(!record.empty(), "nothing was started (was the prompt declined?)");
    if (record.empty())
        return;
    CheckEqual(record.at("directory"), launchDirectory, "its current directory");
    CheckEqual(record.count("elevated") != 0 ? record.at("elevated") : "", "1", "its token elevated");
}

// ---- check: what launcher-stamp check predicts is what really starts ----------------------

// Runs a command line, returns what it printed on standard output (and its exit status).
std::string Capture(const std::string& commandLine, DWORD& status)
{
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    CreatePipe(&readEnd, &writeEnd, &inherit, 0);
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process{};
    std::string command = commandLine, output;
    status = 99;
    const bool started =
        CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process) != 0;
    CloseHandle(writeEnd);
    char buffer[4096];
    DWORD n = 0;
    while (started && ReadFile(readEnd, buffer, sizeof buffer, &n, nullptr) && n > 0)
        output.append(buffer, n);
    CloseHandle(readEnd);
    if (started) {
        WaitForSingleObject(process.hProcess, LauncherTimeoutMs);
        GetExitCodeProcess(process.hProcess, &status);
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
    }
    return output;
}

void RemoveTree(const std::string& folder)
{
    WIN32_FIND_DATAA entry;
    const HANDLE search = FindFirstFileA(Join(folder, "*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::string name = entry.cFileName;
        if (name == "." || name == "..")
            continue;
        const std::string path = Join(folder, name);
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            RemoveTree(path);
            RemoveDirectoryA(path.c_str());
        } else {
            DeleteFileA(path.c_str());
        }
    } while (FindNextFileA(search, &entry));
    FindClose(search);
}

std::string Lower(std::string text)
{
    CharLowerBuffA(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

// Starts module with exactly commandLine, as Windows starts the file the launcher's unquoted
// command names, and checks that the probe there received it unchanged and split it as check
// predicted (received: check's "received").
void ExpectReceived(const std::string& module, const std::string& commandLine, const nlohmann::json& received,
                    const std::string& record)
{
    DeleteFileA(record.c_str());
    SetEnvironmentVariableA("LAUNCHER_PROBE_RECORD", record.c_str());
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::string line = commandLine;
    if (!CreateProcessA(module.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
        Check(false, "cannot start " + module + " (error " + std::to_string(GetLastError()) + ")");
        return;
    }
    ExpectExitZero(process);
    CloseHandle(process.hThread);
    const Record started = AwaitRecord(record, RecordTimeoutMs);
    auto field = [&started](const std::string& key) {
        const auto found = started.find(key);
        return found == started.end() ? std::string() : found->second;
    };
    CheckEqual(field("command_line"), commandLine, "the command line handed on");
    std::vector<std::string> argv;
    for (int i = 0; i < std::atoi(field("argc").c_str()); ++i)
        argv.push_back(field("argv" + std::to_string(i)));
    Check(argv == received["argv"].get<std::vector<std::string>>(),
          "the C runtime split [" + commandLine + "] otherwise than predicted: " + received["argv"].dump());
    CheckEqual(field("winmain"), received["command_line"].get<std::string>(), "WinMain's command line");
}

void PredictionAgreesWithWhatStarts()
{
    // The medium is a drive (M: unless the self-test picked another letter) mapped to an
    // empty folder. Every file of a layout is a copy of the probe, so whichever starts writes
    // down its own path.
    const std::string medium = DriveRoot(MediumLetter);
    const std::string dir = std::string(DefaultLaunchDirectory) + "\\";
    struct Row {
        const char* what;
        const char* launcher;
        std::vector<std::string> files;  // a name ending in a backslash is a folder
    };
    const Row rows[] = {
        {"ok", "SETUP.exe", {dir + "SETUP.exe"}},
        {"other letter case on disk", "SETUP.exe", {"borvi CD1 Versie2\\setup.EXE"}},
        {"hijack at the first space", "SETUP.exe", {"Borvi.exe", dir + "SETUP.exe"}},
        {"hijack at a later space", "SETUP.exe", {"Borvi cd1.exe", dir + "SETUP.exe"}},
        {"folders named like candidates", "SETUP.exe", {"Borvi.exe\\", "Borvi cd1.exe\\", dir + "SETUP.exe"}},
        {"a space in the name", "Setup Wizard.exe", {dir + "Setup.exe", dir + "Setup Wizard.exe"}},
        {"a no-break space in the name", "Demo\xA0Go.exe", {dir + "Demo.exe", dir + "Demo Go.exe"}},
        {"a dotted name", "A.B.C.exe", {dir + "A.B.C"}},
        {"a dotted name gets no .exe", "A.B.C.exe", {dir + "A.B.C.exe"}},
        {"no program", "SETUP.exe", {dir + "OTHER.exe"}},
    };
    const std::string record = Join(Given.work, "check-record.txt");
    for (const Row& row : rows) {
        CurrentCase = std::string("check agrees (") + row.what + ")";
        RemoveTree(medium);
        Layout layout{medium, medium + row.launcher, record};
        DeleteFileA(record.c_str());
        CopyAs(Given.launcher, layout.launcher);
        for (const std::string& file : row.files) {
            const std::size_t slash = file.rfind('\\', file.size() - 2);
            if (slash != std::string::npos)
                MakeFolder(medium + file.substr(0, slash));
            if (file.back() == '\\')
                MakeFolder(medium + file);
            else
                CopyAs(Given.probe, medium + file);
        }

        DWORD status = 0;
        const std::string output = Capture("\"" + Given.stamp + "\" check " + medium + " --drive " +
                                               medium.substr(0, 2) + " --json", status);
        const nlohmann::json predictions = nlohmann::json::parse(output, nullptr, false);
        if (predictions.is_discarded() || predictions.size() != 1) {
            Check(false, "launcher-stamp check printed no single prediction: " + output);
            continue;
        }
        const nlohmann::json& prediction = predictions[0];
        Check(status == (prediction["verdict"] == "ok" ? 0u : 1u), "exit status " + std::to_string(status));

        PROCESS_INFORMATION process = Start(layout, Launch());
        ExpectExitZero(process);
        if (prediction["starts"].is_null()) {
            ExpectNothingStarted(layout);
            continue;
        }
        const Record started = AwaitRecord(record, RecordTimeoutMs);
        const std::string predicted = prediction["starts"];
        const auto module = started.find("module");
        Check(module != started.end() && Lower(module->second) == Lower(predicted),
              "predicted " + predicted + ", started " + (module == started.end() ? "nothing" : module->second));
        const std::string arguments = prediction["arguments"];
        const std::string commandLine = started.count("command_line") ? started.at("command_line") : "";
        Check(arguments.empty() || (commandLine.size() > arguments.size() &&
                                    commandLine.compare(commandLine.size() - arguments.size() - 1,
                                                        std::string::npos, " " + arguments) == 0),
              "predicted the arguments [" + arguments + "], the command line was [" + commandLine + "]");
        if (!prediction["received"].is_null())
            ExpectReceived(predicted, prediction["command"], prediction["received"], record);
    }
    RemoveTree(medium);
}

// ---- differential: check's predictions against what opening the launchers does ------------

// One random layout of a medium: folders, files and launchers, named below the root.
struct MediumLayout {
    std::vector<std::string> folders;                            // created in this order
    std::vector<std::pair<std::string, std::string>> files;      // path, kind (see WriteFileOfKind)
    std::vector<std::pair<std::string, std::string>> launchers;  // file name at the root, launch directory

    // The layout as a reproducer: every name, quoted.
    std::string Describe() const
    {
        std::string text = "folders:";
        for (const std::string& folder : folders)
            text += " [" + folder + "]";
        text += "; files:";
        for (const auto& [path, kind] : files)
            text += " [" + path + "] (" + kind + ")";
        text += "; launchers:";
        for (const auto& [name, directory] : launchers)
            text += " [" + name + "] -> [" + directory + "]";
        return text;
    }
};

// A generator of layouts that authors plausibly make, and of the mistakes they plausibly make:
// names with spaces and dots, folders in two letter cases or with a trailing dot or space,
// decoys at the root that the unquoted command finds first, files that are no program.
class LayoutGenerator {
public:
    explicit LayoutGenerator(unsigned seed) : random_(seed) {}

    MediumLayout Next()
    {
        static const std::vector<std::string> names = {"Borvi cd1 versie2", "Setup files", "Setup", "SETUP", "Dir",
                                                       "Dir ", "Dir.", "Disk 1", "Tools (x64)", "Go@home", "A&B",
                                                       "Sub", "sub"};
        static const std::vector<std::string> programs = {"SETUP.exe", "Setup.exe", "Install.exe", "App v2.exe",
                                                          "A.B.exe", "Tool.cmd", "Run.bat", "readme.txt",
                                                          "INSTALL.COM", "Go Fast.exe", "Go.exe"};
        static const std::vector<std::string> decoys = {"Borvi.exe", "Setup.exe", "Dir.exe", "Disk.exe",
                                                        "Borvi cd1.exe", "Tools.exe", "Borvi"};
        MediumLayout layout;
        for (int i = Below(3) + 1; i > 0; --i) {
            const std::string top = Pick(names);
            Add(layout.folders, top);
            if (Chance(50))
                Add(layout.folders, top + "\\" + Pick(names));
        }
        for (int i = Below(4) + 1; i > 0; --i) {
            const std::string name = Pick(programs);
            const std::string path = Pick(layout.folders) + "\\" + name;
            if (!HasFile(layout, path))
                layout.files.emplace_back(path, KindFor(name));
        }
        if (Chance(40)) {
            const std::string decoy = Pick(decoys);
            if (!HasFile(layout, decoy))
                layout.files.emplace_back(decoy, Chance(80) ? "program" : "text");
        }
        for (int i = Below(3) + 1; i > 0; --i) {
            std::string name, directory;
            if (Chance(80)) {
                const std::string& path = layout.files[static_cast<std::size_t>(Below(static_cast<int>(layout.files.size())))].first;
                const std::size_t slash = path.rfind('\\');
                if (slash == std::string::npos)
                    continue;  // a decoy at the root
                const std::string program = path.substr(slash + 1);
                const bool plain = Lower(program).size() > 4 && Lower(program).compare(program.size() - 4, 4, ".exe") == 0 &&
                                   program.find('.') == program.size() - 4;
                name = plain ? program : program + ".exe";
                directory = Mutated(path.substr(0, slash));
            } else {
                name = Pick(programs);
                name = name.substr(0, name.rfind('.')) + ".exe";
                directory = Pick(names);
            }
            if (!HasFile(layout, name))
                layout.launchers.emplace_back(name, directory);
        }
        return layout;
    }

private:
    int Below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }
    bool Chance(int percent) { return Below(100) < percent; }
    const std::string& Pick(const std::vector<std::string>& from)
    {
        return from[static_cast<std::size_t>(Below(static_cast<int>(from.size())))];
    }
    static void Add(std::vector<std::string>& folders, const std::string& folder)
    {
        for (const std::string& existing : folders) {
            if (existing == folder)
                return;
        }
        folders.push_back(folder);
    }
    static bool HasFile(const MediumLayout& layout, const std::string& path)
    {
        for (const auto& file : layout.files) {
            if (file.first == path)
                return true;
        }
        for (const auto& launcher : layout.launchers) {
            if (launcher.first == path)
                return true;
        }
        return false;
    }
    std::string KindFor(const std::string& name)
    {
        const std::string extension = Lower(name.substr(name.rfind('.')));
        if (extension == ".cmd" || extension == ".bat")
            return "batch";
        if (extension == ".txt")
            return "document";
        if (extension == ".com")
            return "dos";
        return Chance(80) ? "program" : Chance(50) ? "empty" : "text";
    }
    // The launch directory an author may store for folder: as it is, or written otherwise.
    std::string Mutated(const std::string& folder)
    {
        switch (Below(10)) {
        case 0: return folder + " .";
        case 1: return "\\" + folder;
        case 2: return "x\\..\\" + folder;
        case 3: return Lower(folder);
        case 4: {
            const std::size_t slash = folder.find('\\');
            return slash == std::string::npos ? folder + "\\" : folder.substr(0, slash) + " " + folder.substr(slash);
        }
        case 5: {
            const std::size_t slash = folder.find('\\');
            return slash == std::string::npos ? folder + "." : folder.substr(0, slash) + ".." + folder.substr(slash);
        }
        case 6: return "..";
        default: return folder;
        }
    }

    std::mt19937 random_;
};

// Writes a file of kind at path: a copy of the probe, a batch file that records its own path in
// record as the probe would, a document, an empty file, text named as a program, a DOS program.
void WriteFileOfKind(const std::string& path, const std::string& kind, const std::string& record)
{
    if (kind == "program") {
        CopyAs(Given.probe, path);
        return;
    }
    const std::string content = kind == "batch"  ? "@echo module=%~f0>\"" + record + "\"\r\n"
                                : kind == "text" ? "not a program\r\n"
                                : kind == "dos"  ? std::string("\xB4\x09\xCD\x21", 4)
                                : kind == "document" ? "notes\r\n"
                                                     : "";
    FILE* file = std::fopen(path.c_str(), "wb");
    Check(file != nullptr, "cannot write " + path);
    if (file != nullptr) {
        std::fwrite(content.data(), 1, content.size(), file);
        std::fclose(file);
    }
}

// A command-line argument in double quotes, read back whole by the C runtime.
std::string Quoted(const std::string& argument)
{
    std::string text = "\"" + argument;
    for (std::size_t i = argument.size(); i > 0 && argument[i - 1] == '\\'; --i)
        text += '\\';
    return text + "\"";
}

// The processes whose program lies on drive letter (the launchers and whatever they started).
std::vector<DWORD> ProcessesOnDrive(char letter)
{
    std::vector<DWORD> found;
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
        const HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ProcessID);
        char image[MAX_PATH * 2];
        DWORD size = sizeof image;
        if (process != nullptr && QueryFullProcessImageNameA(process, 0, image, &size) &&
            (image[0] & ~0x20) == letter && image[1] == ':')
            found.push_back(entry.th32ProcessID);
        if (process != nullptr)
            CloseHandle(process);
    }
    CloseHandle(snapshot);
    return found;
}

// Ends every process started from drive letter, until none has been seen for a moment.
void EndProcessesOnDrive(char letter)
{
    for (DWORD quiet = GetTickCount(); GetTickCount() - quiet < 300;) {
        for (const DWORD id : ProcessesOnDrive(letter)) {
            const HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id);
            if (process != nullptr) {
                TerminateProcess(process, 0);
                WaitForSingleObject(process, 1000);
                CloseHandle(process);
            }
            quiet = GetTickCount();
        }
        Sleep(20);
    }
}

// Opens the launcher as Explorer does and tells what it did: "started PATH" (lower case),
// "message box" (closed then), "restarts" (copies of it still start one another after a
// while) or "nothing".
std::string Observe(const std::string& medium, const std::string& launcher, const std::string& record)
{
    constexpr DWORD RestartWatchMs = 2500;
    DeleteFileA(record.c_str());
    const Layout layout{medium, launcher, record};
    PROCESS_INFORMATION process = Start(layout, Launch());
    if (process.hProcess == nullptr)
        return "not opened";
    const DWORD start = GetTickCount();
    DWORD quietSince = 0;  // when no process from the medium was last seen to start running
    std::string seen = "nothing";
    while (GetTickCount() - start < LauncherTimeoutMs) {
        const Record started = ReadRecord(record);
        if (started.count("module") != 0) {
            seen = "started " + Lower(started.at("module"));
            break;
        }
        BoxInfo box;
        EnumWindows(CountTitled, reinterpret_cast<LPARAM>(&box));
        if (box.box != nullptr) {
            seen = "message box";
            PostMessageA(box.box, WM_COMMAND, IDOK, 0);
            break;
        }
        const bool running = WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT ||
                             !ProcessesOnDrive(medium[0]).empty();
        if (running && GetTickCount() - start > RestartWatchMs && WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0) {
            seen = "restarts";  // the launcher ended long ago, and its copies still run
            break;
        }
        if (running)
            quietSince = 0;
        else if (quietSince == 0)
            quietSince = GetTickCount();
        else if (GetTickCount() - quietSince > AbsenceWaitMs)
            break;
        Sleep(20);
    }
    EndProcessesOnDrive(medium[0]);
    CloseHandle(process.hProcess);
    return seen;
}

// What check's prediction says opening the launcher does, in Observe's words, or empty when
// it cannot be told from the prediction alone (not checkable, a chain of copies, or another
// launcher of ours started, which then does what it does from another folder).
std::string Expected(const nlohmann::json& prediction, const nlohmann::json& predictions)
{
    for (const nlohmann::json& other : predictions) {
        if (other.contains("launcher") && prediction["starts"].is_string() &&
            Lower(other["launcher"].get<std::string>()) == Lower(prediction["starts"].get<std::string>()) &&
            other["launcher"] != prediction["launcher"])
            return "";
    }
    const std::string verdict = prediction["verdict"];
    std::string findings;
    for (const auto& finding : prediction["findings"])
        findings += finding.get<std::string>() + "\n";
    if (verdict == "ok" || verdict == "hijacked" || verdict == "wrong-program")
        return "started " + Lower(prediction["starts"].get<std::string>());
    if (verdict == "nothing-starts" || verdict == "cannot-run")
        return "nothing";
    if (verdict == "directory-missing")
        return "message box";
    if (verdict == "starts-itself" && findings.find("without end") != std::string::npos)
        return "restarts";
    if (verdict == "starts-itself" && findings.find(" once") != std::string::npos)
        return "message box";
    return "";
}

// Why Wine, not Windows, explains that opening the launcher did observed instead of expected,
// by the known ways in which Wine's start of an unquoted command differs, or empty.
std::string WineDifference(const std::string& command, const std::string& expected, const std::string& observed)
{
    const std::string started = observed.rfind("started ", 0) == 0 ? observed.substr(8) : "";
    const std::string extension = started.substr(std::min(started.size(), started.find_last_of(".\\")));
    if ((extension == ".cmd" || extension == ".bat") && expected == "nothing")
        return "Wine's cmd keeps the quotes around a batch file's path that Windows' cmd drops";
    if (extension == ".com" && expected == "nothing")
        return "Wine runs DOS programs, which 64-bit Windows does not";
    // Wine quotes a command line it rebuilds when the path holds a space (platform notes): a copy
    // of the launcher then takes the closing quote into its name.
    if (expected == "restarts" && observed == "nothing" && command.find(' ') != std::string::npos)
        return "Wine hands a copy of the launcher a quoted command line, whose closing quote ends up in its name";
    // Each candidate the unquoted command holds, in the order Windows and Wine try them.
    for (std::size_t end = command.find(' ');; end = command.find(' ', end + 1)) {
        const std::string candidate = command.substr(0, end);
        if (!started.empty() && Lower(candidate) == started && extension.find('.') == std::string::npos)
            return "Wine also tries a candidate without .exe, as it is";
        const DWORD attributes = GetFileAttributesA(candidate.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
            return "a folder named as a candidate of the unquoted command is, without .exe, ends Wine's search";
        // A plain file named as a bare candidate is, with no .exe of its own beside it: Wine picks
        // it and fails to start it when it is no program, where Windows goes on to the next one.
        const bool bare = candidate.find('.', candidate.find_last_of('\\') + 1) == std::string::npos;
        if (bare && attributes != INVALID_FILE_ATTRIBUTES &&
            GetFileAttributesA((candidate + ".exe").c_str()) == INVALID_FILE_ATTRIBUTES && observed == "nothing")
            return "Wine also tries a candidate without .exe, as it is, and stops at a file that is no program";
        if ("started " + Lower(candidate + ".exe") == expected || "started " + Lower(candidate) == expected ||
            end == std::string::npos)
            break;
    }
    return "";
}

void PredictionsAgreeOnRandomLayouts()
{
    const std::string medium = DriveRoot(MediumLetter);
    // Written and removed as \\?\ paths, which Windows takes as they are: names may end in a
    // dot or space.
    const std::string verbatim = "\\\\?\\" + medium;
    const std::string record = Join(Given.work, "differential-record.txt");
    char value[32] = "";
    const unsigned seed = GetEnvironmentVariableA("E2E_SEED", value, sizeof value) > 0
                              ? static_cast<unsigned>(std::strtoul(value, nullptr, 10))
                              : GetTickCount() ^ (GetCurrentProcessId() << 16);
    const int layouts = GetEnvironmentVariableA("E2E_LAYOUTS", value, sizeof value) > 0 ? std::atoi(value) : 24;
    std::printf("differential: seed %u, %d layouts (E2E_SEED=%u repeats this run)\n", seed, layouts, seed);
    LayoutGenerator generator(seed);
    int compared = 0, agreed = 0, wine = 0, uncounted = 0;
    std::map<std::string, int> wineReasons;
    for (int index = 0; index < layouts; ++index) {
        const MediumLayout layout = generator.Next();
        CurrentCase = "differential layout " + std::to_string(index) + " of seed " + std::to_string(seed);
        RemoveTree(verbatim);
        for (const std::string& folder : layout.folders)
            MakeFolder(verbatim + folder);
        for (const auto& [path, kind] : layout.files)
            WriteFileOfKind(verbatim + path, kind, record);
        int placed = 0;
        for (const auto& [name, directory] : layout.launchers) {
            CopyAs(Given.launcher, medium + name);
            DWORD status = 0;
            Capture("\"" + Given.stamp + "\" set " + Quoted(medium + name) + " " + Quoted(directory), status);
            if (status != 0)
                DeleteFileA((medium + name).c_str());  // a name set refuses: not part of the layout
            placed += status == 0;
        }
        if (placed == 0)
            continue;
        DWORD status = 0;
        const std::string output = Capture("\"" + Given.stamp + "\" check " + medium + " --drive " + medium.substr(0, 2) +
                                               " --json", status);
        const nlohmann::json predictions = nlohmann::json::parse(output, nullptr, false);
        if (predictions.is_discarded() || !predictions.is_array()) {
            Check(false, "check printed no predictions: " + output + "\n  layout: " + layout.Describe());
            continue;
        }
        for (const nlohmann::json& prediction : predictions) {
            if (!prediction.contains("launcher"))
                continue;  // autorun.inf or a leftover
            const std::string launcher = prediction["launcher"];
            const std::string expected = Expected(prediction, predictions);
            const std::string observed = Observe(medium, launcher, record);
            if (expected.empty()) {
                ++uncounted;
                continue;
            }
            ++compared;
            if (observed == expected) {
                ++agreed;
                continue;
            }
            const std::string command = prediction["command"].is_string() ? prediction["command"].get<std::string>() : "";
            const std::string reason = WineDifference(command, expected, observed);
            if (!reason.empty()) {
                ++wine;
                ++wineReasons[reason];
                continue;
            }
            Check(false, launcher + ": check predicted [" + expected + "] (" + prediction["verdict"].get<std::string>() +
                             "), opening it did [" + observed + "]\n  layout: " + layout.Describe() +
                             "\n  reproduce: E2E_SEED=" + std::to_string(seed) + " E2E_LAYOUTS=" +
                             std::to_string(index + 1) + "\n  prediction: " + prediction.dump());
        }
    }
    RemoveTree(verbatim);
    std::printf("differential: %d opened and compared, %d agreed, %d known Wine differences, %d not comparable "
                "(not checkable, a chain of copies, or another launcher started)\n", compared, agreed, wine, uncounted);
    for (const auto& [reason, count] : wineReasons)
        std::printf("  Wine difference, %d times: %s\n", count, reason.c_str());
}

struct Case {
    const char* group;
    const char* name;
    void (*run)();
    const char* launchDirectory = nullptr;  // for the self-test's stamped copy; null: as built
};

const Case Cases[] = {
    {"start", "normal start, launcher does not wait", NormalStartDoesNotWaitForTheProgram},
    {"start", "own show mode ignored", StartedMinimisedStillShowsTheProgramNormally},
    {"start", "command lines name the program", CommandLinesNameTheProgram},
    {"start", "no-break space in the name only", NoBreakSpaceBecomesASpaceInTheNameOnly},
    {"window", "missing launch directory", MissingLaunchDirectoryShowsOneMessageBox},
    {"window", "no program of that name", NoProgramOfThatNameStartsNothingSilently},
    {"double-byte", "double-byte name kept whole", DoubleByteNameIsKeptWhole},
    {"drive-root", "drive root launch directory", DriveRootGetsNoDoubledBackslash, "?:\\"},
    {"nested", "nested launch directory", NestedLaunchDirectoryWorks, "Outer dir\\Inner"},
    {"stamped", "stamped launch directory", StampedLauncherStartsFromItsNewLaunchDirectory, "Disc 2\\Setup files"},
    {"check", "check predicts what starts", PredictionAgreesWithWhatStarts},
    {"differential", "check agrees with random layouts opened", PredictionsAgreeOnRandomLayouts},
    {"elevation", "start refused for elevation goes to the shell", RefusedStartGoesToTheShell},
    {"consent", "program needing administrator rights starts after consent", ElevatedProgramStartsAfterConsent},
};

// Whether the self-test runs a case: not those that need a launcher built only for the tests
// (elevation), nor those that need a person at the desk (consent, asked for on its own), nor
// the long differential run.
bool InSelfTest(const Case& testCase)
{
    const std::string group = testCase.group;
    return group != "elevation" && group != "consent" && group != "differential";
}

// ---- selftest: every group, on the system at hand -----------------------------------------

// Maps a free drive letter to folder; 0 when the system cannot (some accept the definition
// but do not resolve names through it, so a marker file must be seen through the drive).
char MapDrive(const std::string& folder)
{
    MakeFolder(folder);
    const DWORD used = GetLogicalDrives();
    char letter = 'Z';
    while (letter >= 'H' && (used & (1u << (letter - 'A'))) != 0)
        --letter;
    const std::string device(1, letter);
    if (letter < 'H' || !DefineDosDeviceA(0, (device + ":").c_str(), folder.c_str()))
        return 0;
    const std::string marker = Join(folder, "drive-marker");
    CloseHandle(CreateFileA(marker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    const bool seen = GetFileAttributesA((device + ":\\drive-marker").c_str()) != INVALID_FILE_ATTRIBUTES;
    DeleteFileA(marker.c_str());
    if (!seen) {
        DefineDosDeviceA(DDD_REMOVE_DEFINITION, (device + ":").c_str(), nullptr);
        return 0;
    }
    return letter;
}

void UnmapDrive(char letter)
{
    if (letter != 0)
        DefineDosDeviceA(DDD_REMOVE_DEFINITION, (std::string(1, letter) + ":").c_str(), nullptr);
}

// Readies the system for one case of the self-test: its launcher, drives and code page.
// Returns the drive it mapped (to be unmapped after the case), or sets SkipReason.
char PrepareSelfTest(const Case& testCase, const std::string& launcher)
{
    const std::string group = testCase.group;
    Given.launcher = launcher;
    char mapped = 0;
    if (group == "double-byte" && (GetACP() != 932 || GetOEMCP() != 932)) {
        SkipReason = "the system code page is " + std::to_string(GetACP()) + ", not 932";
        return 0;
    }
    if (group == "drive-root" || group == "check" || group == "differential") {
        mapped = MapDrive(Join(Given.work, group + "-drive"));
        if (mapped == 0) {
            SkipReason = "this system cannot map a folder to a drive letter";
            return 0;
        }
        (group == "drive-root" ? DriveRootLetter : MediumLetter) = mapped;
    }
    if (testCase.launchDirectory != nullptr) {
        std::string launchDirectory = testCase.launchDirectory;
        if (launchDirectory[0] == '?')
            launchDirectory[0] = mapped;
        Given.launcher = Join(Given.work, "launcher-" + group + ".exe");
        DWORD status = 0;
        Capture("\"" + Given.stamp + "\" set \"" + launcher + "\" \"" + launchDirectory + "\" --output \"" +
                    Given.launcher + "\"",
                status);
        Check(status == 0, "launcher-stamp could not set the launch directory " + launchDirectory);
    }
    return mapped;
}

// Why no case of a 32-bit launcher can run here, or empty when it can. A 64-bit system
// without 32-bit support (Windows without WOW64, Wine on a kernel without 32-bit programs)
// cannot start any 32-bit program: the start fails, or the process ends before it is
// resumed. That is seen by starting the launcher suspended, so that it never runs a step of
// its own, and ending it. A 64-bit launcher, or one that starts, runs every case, and then a
// launcher that misbehaves fails them.
std::string NoThirtyTwoBitReason(const std::string& launcher)
{
    DWORD type = 0;
    if (!GetBinaryTypeA(launcher.c_str(), &type) || type != SCS_32BIT_BINARY)
        return "";
    const std::string reason = "this system runs no 32-bit programs (the 32-bit launcher ";
    std::string commandLine = "\"" + launcher + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(launcher.c_str(), commandLine.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                        nullptr, &startup, &process))
        return reason + "could not be started: error " + std::to_string(GetLastError()) + ")";
    const bool endedSuspended = WaitForSingleObject(process.hProcess, AbsenceWaitMs) == WAIT_OBJECT_0;
    TerminateProcess(process.hProcess, 0);
    WaitForSingleObject(process.hProcess, LauncherTimeoutMs);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return endedSuspended ? reason + "ended before it could run)" : "";
}

}  // namespace

namespace {

// A path as the ANSI code page names it, for the launcher and the cases: the path itself when
// every character has a place there, else its short form (whose names are ASCII where the file
// system keeps them), else empty.
std::string AnsiPath(const std::wstring& path)
{
    auto ansi = [](const std::wstring& wide) {
        BOOL lossy = FALSE;
        const int length = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.c_str(), -1, nullptr, 0, nullptr, &lossy);
        std::string text(static_cast<std::size_t>(length > 0 ? length : 1), '\0');
        WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.c_str(), -1, text.data(), length, nullptr, &lossy);
        text.resize(std::strlen(text.c_str()));
        return lossy ? std::string() : text;
    };
    const std::string plain = ansi(path);
    if (!plain.empty() || path.empty())
        return plain;
    wchar_t shortPath[MAX_PATH * 4];
    const DWORD length = GetShortPathNameW(path.c_str(), shortPath, MAX_PATH * 4);
    return length == 0 || length >= MAX_PATH * 4 ? std::string() : ansi(shortPath);
}

int RunDriver(const std::vector<std::string>& argv)
{
    const std::size_t argc = argv.size();
    if (argc != 5 && argc != 6) {
        std::fprintf(stderr, "usage: driver GROUP LAUNCHER PROBE WORK [STAMP]\n");
        return 2;
    }
    const std::string group = argv[1];
    const bool selfTest = group == "selftest";
    const bool onWindowsAsItIs = selfTest || group == "consent";  // not only under the test runner
    Observing = selfTest;
    Given = Settings{argv[2], argv[3], argv[4], argc > 5 ? argv[5] : std::string()};
    const std::string launcher = Given.launcher;
    MakeFolder(Given.work);
    if (selfTest && Given.stamp.empty()) {
        std::fprintf(stderr, "the self-test needs STAMP, the launcher-stamp tool\n");
        return 2;
    }
    const std::string noThirtyTwoBit = onWindowsAsItIs ? NoThirtyTwoBitReason(launcher) : "";
    if (!noThirtyTwoBit.empty())
        std::printf("skipped %s: %s\n", launcher.c_str(), noThirtyTwoBit.c_str());
    for (const Case& testCase : Cases) {
        if (selfTest ? !InSelfTest(testCase) : group != testCase.group)
            continue;
        CurrentCase = testCase.name;
        CaseFailed = false;
        SkipReason = noThirtyTwoBit;
        const char mapped = selfTest && SkipReason.empty() ? PrepareSelfTest(testCase, launcher) : 0;
        if (SkipReason.empty() && !CaseFailed)
            testCase.run();
        UnmapDrive(mapped);
        if (!SkipReason.empty() && !CaseFailed) {
            std::printf("skipped %s: %s\n", testCase.name, SkipReason.c_str());
            ++Skipped;
            continue;
        }
        std::printf("%s %s\n", CaseFailed ? "failed" : "passed", testCase.name);
        ++(CaseFailed ? Failed : Passed);
    }
    if (Skipped > 0)
        std::printf("%d passed, %d failed, %d skipped\n", Passed, Failed, Skipped);
    else
        std::printf("%d passed, %d failed\n", Passed, Failed);
    return Failed == 0 && (Passed > 0 || onWindowsAsItIs) ? 0 : 1;
}

}  // namespace

// The Unicode entry point: the paths it is given may hold any character (a %TEMP% outside the
// code page, say). Each is taken in a form the ANSI launcher can work in; the work folder is
// made first, so that it has a short form.
int wmain(int argc, wchar_t** argv);

int wmain(int argc, wchar_t** argv)
{
    std::vector<std::string> arguments;
    for (int i = 0; i < argc; ++i) {
        if (i == 4)
            CreateDirectoryW(argv[i], nullptr);
        arguments.push_back(AnsiPath(argv[i]));
        if (arguments.back().empty() && argv[i][0] != L'\0') {
            std::fwprintf(stderr, L"driver: cannot name %ls in the ANSI code page, nor by a short name\n", argv[i]);
            return 2;
        }
    }
    return RunDriver(arguments);
}
