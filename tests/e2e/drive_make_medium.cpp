// Drives make-medium.exe from outside, by window messages, as an author's hands would: opens it
// with a medium's folder, reads the ranked programs, makes, answers the replace question both
// ways, meets a refusal, checks, makes a disc image and cancels one, closes during a make and
// during an image; signs with a signing command that signs nothing, and cancels one that waits;
// opens a medium file and makes what make --file makes; measures how fast the window answers
// while a 100 MB file is read and while an
// image is written; opens an image dropped on it; starts it again with its remembered choices,
// and with damaged ones; saves a picture of the window. Reads every field's name as a screen
// reader does, its mnemonic and the tab order. Waits only on the state the window
// publishes (its busy and finished counts, an open question, its progress), each wait bounded.
//
//   drive_make_medium walk MAKE_MEDIUM MEDIUM REFERENCE SCREENSHOT.png LAUNCHER_STAMP SIGN_NOTHING
//   drive_make_medium picture MAKE_MEDIUM PROGRAM SCREENSHOT.png
//
// MEDIUM holds "Borvi cd1 versie2\SETUP.exe" and the other programs that run-e2e lays out;
// REFERENCE is the same medium on which launcher-stamp made the launcher with the same choices;
// SIGN_NOTHING a program that exits 0 and leaves the file it is given unsigned.
// Prints one line per failed check and exits 1 when any failed.
#include "window/make_medium_ids.h"

#include <windows.h>
#include <commctrl.h>
#include <oleacc.h>
#include <shlobj.h>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO
#include <stb/stb_image_write.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <cwctype>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace {

int Failures = 0;

void Check(bool ok, const std::string& what)
{
    if (!ok) {
        std::printf("FAIL %s\n", what.c_str());
        ++Failures;
    }
}

std::string Utf8(const std::wstring& wide)
{
    const int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), text.data(), length, nullptr, nullptr);
    return text;
}

std::wstring Wide(const std::string& text)
{
    const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
    return wide;
}

// ---- the window, from outside ------------------------------------------------------------

constexpr DWORD WaitLimitMs = 60000;

struct Opened {
    PROCESS_INFORMATION process{};
    HWND dialog = nullptr;
};

// Waits until done() holds, checking as fast as the window can change; false after the limit.
bool WaitFor(const std::function<bool()>& done, DWORD limitMs = WaitLimitMs)
{
    const ULONGLONG end = GetTickCount64() + limitMs;
    while (!done()) {
        if (GetTickCount64() > end)
            return false;
        Sleep(5);
    }
    return true;
}

// How long the window takes to answer a message that asks nothing, in milliseconds.
ULONGLONG ReplyTime(HWND dialog)
{
    const ULONGLONG start = GetTickCount64();
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(dialog, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &ignored);
    return GetTickCount64() - start;
}

HWND DialogOf(DWORD processId, HWND except = nullptr)
{
    struct Search {
        DWORD processId;
        HWND except, found;
    } search{processId, except, nullptr};
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto& s = *reinterpret_cast<Search*>(data);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            wchar_t name[32] = {};
            GetClassNameW(window, name, 32);
            if (owner == s.processId && window != s.except && IsWindowVisible(window) && std::wstring(name) == L"#32770") {
                s.found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

Opened Open(const std::string& program, const std::string& argument)
{
    Opened opened;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    std::wstring command = L"\"" + Wide(program) + L"\"" + (argument.empty() ? L"" : L" \"" + Wide(argument) + L"\"");
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &opened.process)) {
        Check(false, "make-medium.exe did not start");
        return opened;
    }
    WaitFor([&opened] { return (opened.dialog = DialogOf(opened.process.dwProcessId)) != nullptr; });
    Check(opened.dialog != nullptr, "make-medium.exe showed no dialog");
    return opened;
}

INT_PTR Property(HWND dialog, const wchar_t* name)
{
    return reinterpret_cast<INT_PTR>(GetPropW(dialog, name));
}

INT_PTR Finished(HWND dialog)
{
    return Property(dialog, PROPERTY_FINISHED);
}

// Waits until every job the window has is done, at least one of them after finishedBefore.
bool WaitIdle(HWND dialog, INT_PTR finishedBefore)
{
    const bool idle = WaitFor([&] { return Finished(dialog) > finishedBefore && Property(dialog, PROPERTY_BUSY) == 0; });
    Check(idle, "the window stayed busy");
    return idle;
}

void Click(HWND dialog, int id)
{
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

std::string Text(HWND dialog, int id)
{
    wchar_t buffer[65536] = {};
    SendMessageW(GetDlgItem(dialog, id), WM_GETTEXT, 65536, reinterpret_cast<LPARAM>(buffer));
    return Utf8(buffer);
}

std::string FirstLine(const std::string& text)
{
    return text.substr(0, text.find_first_of("\r\n"));
}

// Sets an edit control's text as typing does: the window hears of the change.
void Type(HWND dialog, int id, const std::string& text)
{
    const std::wstring wide = Wide(text);
    SendMessageW(GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()));
}

// Chooses an item of a drop-down list as a click does: the window hears of the change, and has
// started what it does about it when this returns.
void Choose(HWND dialog, int id, int item)
{
    SendDlgItemMessageW(dialog, id, CB_SETCURSEL, static_cast<WPARAM>(item), 0);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

// Ticks or clears a check box as a click does.
void Tick(HWND dialog, int id, bool on)
{
    SendDlgItemMessageW(dialog, id, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

bool Ticked(HWND dialog, int id)
{
    return SendDlgItemMessageW(dialog, id, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

// Presses Make and waits until the image is being written: its progress between start and end.
bool StartImage(HWND dialog)
{
    WaitFor([dialog] { return Property(dialog, PROPERTY_BUSY) == 0; });
    Click(dialog, IDC_MAKE);
    const bool writing = WaitFor([dialog] {
        const INT_PTR done = Property(dialog, PROPERTY_PROGRESS);
        return done > 0 && done < 1000;
    });
    Check(writing, "the image's progress was never shown between its start and its end");
    return writing;
}

// Waits for the question whether to cancel the image and close, and answers it.
bool AnswerCloseQuestion(const Opened& opened, int answer)
{
    HWND asked = nullptr;
    const bool shown = WaitFor([&] {
        return Property(opened.dialog, PROPERTY_QUESTION) != 0 &&
               (asked = DialogOf(opened.process.dwProcessId, opened.dialog)) != nullptr;
    });
    Check(shown, "closing during the image asked nothing");
    if (shown)
        PostMessageW(asked, TDM_CLICK_BUTTON, static_cast<WPARAM>(answer), 0);
    return shown;
}

// The program list's rows (program, what Windows will do), read through memory in the
// window's process, where the list keeps its text.
std::vector<std::pair<std::string, std::string>> Rows(const Opened& opened)
{
    const HWND list = GetDlgItem(opened.dialog, IDC_PROGRAMS);
    const int count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    constexpr int Characters = 1024;
    const SIZE_T size = sizeof(LVITEMW) + Characters * sizeof(wchar_t);
    auto* remote = static_cast<char*>(VirtualAllocEx(opened.process.hProcess, nullptr, size, MEM_COMMIT, PAGE_READWRITE));
    std::vector<std::pair<std::string, std::string>> rows;
    for (int row = 0; remote != nullptr && row < count; ++row) {
        std::string cells[2];
        for (int column = 0; column < 2; ++column) {
            LVITEMW item{};
            item.iSubItem = column;
            item.cchTextMax = Characters;
            item.pszText = reinterpret_cast<wchar_t*>(remote + sizeof(LVITEMW));
            WriteProcessMemory(opened.process.hProcess, remote, &item, sizeof item, nullptr);
            SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(remote));
            wchar_t text[Characters] = {};
            ReadProcessMemory(opened.process.hProcess, remote + sizeof(LVITEMW), text, sizeof text - sizeof(wchar_t), nullptr);
            cells[column] = Utf8(text);
        }
        rows.emplace_back(cells[0], cells[1]);
    }
    if (remote != nullptr)
        VirtualFreeEx(opened.process.hProcess, remote, 0, MEM_RELEASE);
    return rows;
}

// Selects the row that names program, as a click does; false when there is none.
bool Select(const Opened& opened, const std::string& program)
{
    const auto rows = Rows(opened);
    const auto found = std::find_if(rows.begin(), rows.end(), [&](const auto& row) { return row.first == program; });
    if (found == rows.end())
        return false;
    const HWND list = GetDlgItem(opened.dialog, IDC_PROGRAMS);
    auto* remote = VirtualAllocEx(opened.process.hProcess, nullptr, sizeof(LVITEMW), MEM_COMMIT, PAGE_READWRITE);
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    WriteProcessMemory(opened.process.hProcess, remote, &item, sizeof item, nullptr);
    SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(found - rows.begin()), reinterpret_cast<LPARAM>(remote));
    VirtualFreeEx(opened.process.hProcess, remote, 0, MEM_RELEASE);
    return true;
}

// Closes the window as its Close button does; false when the program does not end.
bool Close(Opened& opened)
{
    PostMessageW(opened.dialog, WM_CLOSE, 0, 0);
    const bool ended = WaitForSingleObject(opened.process.hProcess, WaitLimitMs) == WAIT_OBJECT_0;
    if (!ended)
        TerminateProcess(opened.process.hProcess, 1);
    CloseHandle(opened.process.hProcess);
    CloseHandle(opened.process.hThread);
    return ended;
}

// Presses Make or Check once the window is idle (they are disabled while it works), and waits
// until everything it started is done; the report then.
std::string Press(HWND dialog, int id)
{
    WaitFor([dialog] { return Property(dialog, PROPERTY_BUSY) == 0; });
    const INT_PTR before = Finished(dialog);
    Click(dialog, id);
    WaitIdle(dialog, before);
    return Text(dialog, IDC_REPORT);
}

// Presses Make, expects the question whether to go on over a file in the way, and answers it.
std::string MakeAnswering(const Opened& opened, int answer, std::string& question)
{
    WaitFor([&opened] { return Property(opened.dialog, PROPERTY_BUSY) == 0; });
    const INT_PTR before = Finished(opened.dialog);
    Click(opened.dialog, IDC_MAKE);
    HWND asked = nullptr;
    const bool shown = WaitFor([&] {
        return Property(opened.dialog, PROPERTY_QUESTION) != 0 &&
               (asked = DialogOf(opened.process.dwProcessId, opened.dialog)) != nullptr;
    });
    Check(shown, "make asked no question about the file in its way");
    if (!shown)
        return {};
    wchar_t buffer[4096] = {};
    EnumChildWindows(
        asked,
        [](HWND child, LPARAM data) -> BOOL {
            wchar_t text[2048] = {};
            GetWindowTextW(child, text, 2048);
            std::wcscat(reinterpret_cast<wchar_t*>(data), text);
            std::wcscat(reinterpret_cast<wchar_t*>(data), L"\n");
            return TRUE;
        },
        reinterpret_cast<LPARAM>(buffer));
    question = Utf8(buffer);
    PostMessageW(asked, TDM_CLICK_BUTTON, static_cast<WPARAM>(answer), 0);
    WaitFor([&] { return Property(opened.dialog, PROPERTY_QUESTION) == 0; });
    WaitIdle(opened.dialog, before);
    return Text(opened.dialog, IDC_REPORT);
}

// ---- names, mnemonics and tab order --------------------------------------------------------

// A child window of the dialog as a keyboard or screen reader user meets it.
struct Control {
    HWND window;
    int id;
    std::wstring className;
    std::wstring text;  // its own window text
    LONG style;
    RECT place;  // on the screen
};

// The dialog's child windows in tab order (their Z order).
std::vector<Control> Controls(HWND dialog)
{
    std::vector<Control> controls;
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        Control control{child, GetDlgCtrlID(child), {}, {}, GetWindowLongW(child, GWL_STYLE), {}};
        wchar_t name[64] = {};
        GetClassNameW(child, name, 64);
        control.className = name;
        std::vector<wchar_t> text(65536);
        SendMessageW(child, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
        control.text = text.data();
        GetWindowRect(child, &control.place);
        controls.push_back(control);
    }
    return controls;
}

bool IsStatic(const Control& control)
{
    return _wcsicmp(control.className.c_str(), L"Static") == 0;
}

bool IsButton(const Control& control)
{
    return _wcsicmp(control.className.c_str(), L"Button") == 0;
}

// The key of text's mnemonic (the character after a single ampersand), lower case; 0 for none.
// A static that shows its text as it is (SS_NOPREFIX) has none.
wchar_t MnemonicOf(const Control& control)
{
    if (IsStatic(control) && (control.style & SS_NOPREFIX))
        return 0;
    const std::wstring& text = control.text;
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != L'&')
            continue;
        if (text[i + 1] != L'&')
            return static_cast<wchar_t>(std::towlower(text[i + 1]));
        ++i;
    }
    return 0;
}

// The text as shown: mnemonic ampersands dropped, and a label's closing colon.
std::string Shown(std::wstring text)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'&')
            text.erase(i, 1);
    }
    while (!text.empty() && (text.back() == L':' || text.back() == L' '))
        text.pop_back();
    return Utf8(text);
}

// The name oleacc gives control, as Narrator asks for it; empty when it gives none.
std::string AccessibleName(HWND control)
{
    IAccessible* accessible = nullptr;
    if (FAILED(AccessibleObjectFromWindow(control, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                                          reinterpret_cast<void**>(&accessible))) || accessible == nullptr)
        return "";
    VARIANT self;
    VariantInit(&self);
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    std::string result;
    if (accessible->get_accName(self, &name) == S_OK && name != nullptr)
        result = Utf8(std::wstring(name, SysStringLen(name)));
    SysFreeString(name);
    accessible->Release();
    return result;
}

// Whether a comes before b as a reader's eye goes: a row above, or the same row (their heights
// overlap) and further left.
bool ComesBefore(const RECT& a, const RECT& b)
{
    const bool sameRow = a.top < b.bottom && b.top < a.bottom;
    return sameRow ? a.left < b.left : a.bottom <= b.top;
}

// The window that has the keyboard focus in the dialog's thread.
HWND FocusOf(HWND dialog)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info) ? info.hwndFocus : nullptr;
}

// Every field that takes input has a name, from oleacc where Wine gives one, else from the
// label right before it in tab order, which must carry a mnemonic that reaches the field; no two
// mnemonics share a key; the tab order follows the visual order.
void Names(const Opened& opened)
{
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const std::vector<Control> controls = Controls(opened.dialog);
    std::map<wchar_t, std::string> keys;  // mnemonic -> the control that has it
    std::vector<const Control*> stops;
    int fromOleacc = 0, fromLabel = 0;
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const Control& control = controls[i];
        const std::string what = Utf8(control.className) + " " + std::to_string(control.id) + " (\"" + Shown(control.text) + "\")";
        if (const wchar_t key = MnemonicOf(control); key != 0) {
            const auto [at, fresh] = keys.emplace(key, what);
            Check(fresh, "the mnemonic " + Utf8(std::wstring(1, key)) + " of " + what + " is also " + at->second + "'s");
        }
        if (!(control.style & WS_TABSTOP))
            continue;
        stops.push_back(&control);
        if (IsButton(control)) {  // named by its own text
            Check(!Shown(control.text).empty(), "the button " + what + " has no text");
            continue;
        }
        // A field: Windows takes the static right before it for its name and its mnemonic.
        const Control* label = i > 0 && IsStatic(controls[i - 1]) ? &controls[i - 1] : nullptr;
        Check(label != nullptr && MnemonicOf(*label) != 0 && !Shown(label->text).empty(),
              "the field " + what + " has no label with a mnemonic right before it");
        // Where Wine's oleacc names a field only by its own content (its first ampersand
        // dropped), the label is its name, as on Windows.
        std::string name = AccessibleName(control.window);
        std::wstring content = control.text;
        if (const std::size_t ampersand = content.find(L'&'); ampersand != std::wstring::npos)
            content.erase(ampersand, 1);
        if (!name.empty() && name != Utf8(content))
            ++fromOleacc;
        else if (label != nullptr && !Shown(label->text).empty()) {
            name = Shown(label->text);
            ++fromLabel;
        }
        Check(!name.empty(), "the field " + what + " has no accessible name");
        if (control.id == IDC_IMAGE_PATH)
            Check(name == "Image file", "the disc image's path is named \"" + name + "\"");
        // Its label's mnemonic moves the focus to it, as Alt and the key do.
        if (label != nullptr && MnemonicOf(*label) != 0 && IsWindowEnabled(control.window) && IsWindowVisible(control.window)) {
            PostMessageW(opened.dialog, WM_SYSCHAR, MnemonicOf(*label), 1 << 29);
            const bool reached = WaitFor([&] {
                const HWND focus = FocusOf(opened.dialog);
                return focus == control.window || IsChild(control.window, focus);
            }, 5000);
            Check(reached, "Alt+" + Utf8(std::wstring(1, MnemonicOf(*label))) + " does not reach " + what);
        }
    }
    std::printf("names of the %zu fields: %d from oleacc, %d from the label before them\n",
                static_cast<std::size_t>(fromOleacc + fromLabel), fromOleacc, fromLabel);
    for (std::size_t i = 0; i < stops.size(); ++i) {
        for (std::size_t j = i + 1; j < stops.size(); ++j) {
            Check(!ComesBefore(stops[j]->place, stops[i]->place),
                  "in tab order " + Utf8(stops[j]->className) + " " + std::to_string(stops[j]->id) + " (\"" +
                      Shown(stops[j]->text) + "\") comes after " + std::to_string(stops[i]->id) + " (\"" +
                      Shown(stops[i]->text) + "\"), which is below or right of it");
        }
    }
    CoUninitialize();
}

// ---- files -------------------------------------------------------------------------------

std::string Read(const std::string& path)
{
    std::string bytes;
    const HANDLE file = CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, 0, nullptr);
    char buffer[65536];
    DWORD n = 0;
    while (file != INVALID_HANDLE_VALUE && ReadFile(file, buffer, sizeof buffer, &n, nullptr) && n > 0)
        bytes.append(buffer, n);
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
    return bytes;
}

void Write(const std::string& path, const std::string& bytes)
{
    const HANDLE file = CreateFileW(Wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    if (file != INVALID_HANDLE_VALUE) {
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        CloseHandle(file);
    }
    Check(written == bytes.size(), "could not write " + path);
}

// Every file below folder and its bytes.
std::map<std::string, std::string> Snapshot(const std::string& folder)
{
    std::map<std::string, std::string> files;
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW(Wide(folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return files;
    do {
        const std::string name = Utf8(found.cFileName), path = folder + "\\" + name;
        if (name == "." || name == "..")
            continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            for (const auto& [below, bytes] : Snapshot(path))
                files[below] = bytes;
        } else {
            files[path] = found.nFileSizeHigh == 0 && found.nFileSizeLow < (1u << 20) ? Read(path) : std::to_string(found.nFileSizeLow);
        }
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return files;
}

bool Exists(const std::string& path)
{
    return GetFileAttributesW(Wide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The names in folder that our staged files or the image writer's temporary files have.
std::vector<std::string> LeftOvers(const std::string& folder)
{
    std::vector<std::string> left;
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW(Wide(folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return left;
    do {
        const std::string name = Utf8(found.cFileName);
        if (name.rfind(".launcher-stamp-", 0) == 0 || name.rfind("libarchive", 0) == 0)
            left.push_back(name);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return left;
}

std::string FolderOf(const std::string& path)
{
    return path.substr(0, path.rfind('\\'));
}

// Runs a console program to its end, its standard output read from a pipe; its exit status.
DWORD RunTool(const std::string& program, const std::vector<std::string>& arguments, std::string& out)
{
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE reading = nullptr, writing = nullptr;
    CreatePipe(&reading, &writing, &inherit, 0);
    SetHandleInformation(reading, HANDLE_FLAG_INHERIT, 0);
    std::wstring command = L"\"" + Wide(program) + L"\"";
    for (const std::string& argument : arguments)
        command += L" \"" + Wide(argument) + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writing;
    startup.hStdError = writing;
    startup.hStdInput = nullptr;
    PROCESS_INFORMATION process{};
    const BOOL started = CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, DETACHED_PROCESS, nullptr, nullptr,
                                        &startup, &process);
    CloseHandle(writing);
    out.clear();
    char buffer[65536];
    DWORD n = 0;
    while (started && ReadFile(reading, buffer, sizeof buffer, &n, nullptr) && n > 0)
        out.append(buffer, n);
    CloseHandle(reading);
    DWORD status = 1;
    if (started) {
        WaitForSingleObject(process.hProcess, WaitLimitMs);
        GetExitCodeProcess(process.hProcess, &status);
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
    }
    Check(started != 0, "could not start " + program);
    return status;
}

// Text with CR LF line ends as plain LF.
std::string Lines(std::string text)
{
    text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
    return text;
}

// ---- a picture of the window -------------------------------------------------------------

void SavePicture(HWND dialog, const std::string& path)
{
    RECT frame{};
    GetWindowRect(dialog, &frame);
    const int width = frame.right - frame.left, height = frame.bottom - frame.top;
    HDC screen = GetDC(nullptr), memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    // What the screen shows: the window is on top, and nothing covers it.
    // Every control painted first: WM_PAINT sent to each, which returns when it has drawn.
    SetForegroundWindow(dialog);
    RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    UpdateWindow(dialog);
    EnumChildWindows(dialog, [](HWND child, LPARAM) -> BOOL { return UpdateWindow(child) || TRUE; }, 0);
    BitBlt(memory, 0, 0, width, height, screen, frame.left, frame.top, SRCCOPY);
    GdiFlush();
    std::vector<unsigned char> rgb(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3);
    const auto* bgra = static_cast<const unsigned char*>(bits);
    for (std::size_t i = 0; i < rgb.size() / 3; ++i) {
        rgb[i * 3] = bgra[i * 4 + 2];
        rgb[i * 3 + 1] = bgra[i * 4 + 1];
        rgb[i * 3 + 2] = bgra[i * 4];
    }
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    std::string png;
    stbi_write_png_to_func(
        [](void* context, void* data, int size) { static_cast<std::string*>(context)->append(static_cast<char*>(data), static_cast<std::size_t>(size)); },
        &png, width, height, 3, rgb.data(), width * 3);
    Write(path, png);
    std::printf("saved a picture of the window, %dx%d at %u DPI: %s\n", width, height, GetDpiForWindow(dialog), path.c_str());
}

// ---- the walk ----------------------------------------------------------------------------

const char Program[] = "Borvi cd1 versie2\\SETUP.exe";

// Drops path on the window, as Explorer does: the list of files lives in the window's process.
void Drop(const Opened& opened, const std::string& path)
{
    const std::wstring wide = Wide(path);
    std::vector<char> drop(sizeof(DROPFILES) + (wide.size() + 2) * sizeof(wchar_t), '\0');
    DROPFILES header{};
    header.pFiles = sizeof(DROPFILES);
    header.fWide = TRUE;
    std::memcpy(drop.data(), &header, sizeof header);
    std::memcpy(drop.data() + sizeof header, wide.c_str(), wide.size() * sizeof(wchar_t));
    void* remote = VirtualAllocEx(opened.process.hProcess, nullptr, drop.size(), MEM_COMMIT, PAGE_READWRITE);
    WriteProcessMemory(opened.process.hProcess, remote, drop.data(), drop.size(), nullptr);
    PostMessageW(opened.dialog, WM_DROPFILES, reinterpret_cast<WPARAM>(remote), 0);
}

// An image dropped on make-medium.exe, and on its window: its programs listed read only, check
// IMAGE's report, and Make off with the reason.
void DroppedImage(const std::string& makeMedium, const std::string& image, const std::string& stampTool)
{
    std::string checked;
    // The tool's check of an image on drive Z: speaks of the drive a disc will have, as the window's.
    RunTool(stampTool, {"check", image}, checked);
    // check's report, less the line on the code page the tool took from this system.
    std::string body = Lines(checked);
    const std::size_t said = body.find("launcher-stamp: code page");
    if (said != std::string::npos)
        body.erase(said, body.find('\n', said) + 1 - said);
    auto shown = [&](const Opened& opened, const std::string& how) {
        Check(Text(opened.dialog, IDC_ROOT) == image, how + ", the window shows " + Text(opened.dialog, IDC_ROOT));
        Check(Property(opened.dialog, PROPERTY_IMAGE_CHECKED) != 0, how + ", the image was not taken for one");
        Check(!IsWindowEnabled(GetDlgItem(opened.dialog, IDC_MAKE)), how + ", Make is on for an image");
        Check(Text(opened.dialog, IDC_STATUS).find("a disc image is read, not written in place") != std::string::npos,
              how + ", no line says why Make is off: " + Text(opened.dialog, IDC_STATUS));
        const auto rows = Rows(opened);
        Check(std::any_of(rows.begin(), rows.end(),
                          [](const auto& row) { return row.first == Program && row.second == "in the image (read only)"; }),
              how + ", the image's programs are not listed");
        const std::string report = Lines(Text(opened.dialog, IDC_REPORT));
        std::printf("  report: %s\n", FirstLine(report).c_str());
        Check(FirstLine(report) == "Ready: the image's D:\\SETUP.exe starts D:\\Borvi cd1 versie2\\SETUP.exe.",
              how + ", the report says: " + FirstLine(report));
        Check(report.find(body) != std::string::npos, how + ", the report is not check IMAGE's:\n" + report + "\n---\n" + body);
    };
    Opened opened = Open(makeMedium, image);
    if (!opened.dialog)
        return;
    WaitIdle(opened.dialog, 0);  // the search and the check, queued as it opened
    shown(opened, "dropped on make-medium.exe");
    Check(Close(opened), "the window did not close");

    opened = Open(makeMedium, "");  // the last medium, a folder
    if (!opened.dialog)
        return;
    WaitIdle(opened.dialog, 0);
    const INT_PTR finished = Finished(opened.dialog);
    Drop(opened, image);
    WaitFor([&] { return Finished(opened.dialog) >= finished + 2 && Property(opened.dialog, PROPERTY_BUSY) == 0; });
    shown(opened, "dropped on the window");
    Check(Close(opened), "the window did not close");
}

// HKEY_CURRENT_USER\Software\Launcher\make-medium, where the window keeps its choices.
const wchar_t SettingsKey[] = L"Software\\Launcher\\make-medium";

// Started again: the last medium, its choices and the drop-down of folders come back; closed
// during an image with Yes, nothing of the image is left. Damaged settings give the defaults.
void Remembered(const std::string& makeMedium, const std::string& medium, const std::string& image)
{
    Opened opened = Open(makeMedium, "");
    if (!opened.dialog)
        return;
    WaitIdle(opened.dialog, 0);
    Check(Text(opened.dialog, IDC_ROOT) == medium, "started again, the medium is " + Text(opened.dialog, IDC_ROOT));
    Check(SendDlgItemMessageW(opened.dialog, IDC_ROOT, CB_GETCOUNT, 0, 0) >= 1, "no folder in the drop-down");
    Check(SendDlgItemMessageW(opened.dialog, IDC_ARCH, CB_GETCURSEL, 0, 0) == ARCH_X64, "started again, x64 is not chosen");
    // Choices made now, kept when it closes.
    const auto page932 = SendDlgItemMessageW(opened.dialog, IDC_CODE_PAGE, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                             reinterpret_cast<LPARAM>(L"932"));
    Check(page932 >= 0, "code page 932 is not offered");
    INT_PTR finished = Finished(opened.dialog);
    Choose(opened.dialog, IDC_CODE_PAGE, static_cast<int>(page932));
    Choose(opened.dialog, IDC_ICON_CHOICE, ICON_LAUNCHERS_OWN);
    Tick(opened.dialog, IDC_IMAGE, true);
    const std::string signWith = "signtool sign /a /fd SHA256 \"{file}\"";
    Type(opened.dialog, IDC_SIGN, signWith);
    WaitIdle(opened.dialog, finished);
    Check(Close(opened), "the window did not close");
    // The command may hold a password: it is kept sealed for this user, not as text.
    HKEY kept = nullptr;
    std::vector<BYTE> stored(16384);
    DWORD type = 0, size = static_cast<DWORD>(stored.size());
    const bool found = RegOpenKeyExW(HKEY_CURRENT_USER, SettingsKey, 0, KEY_READ, &kept) == ERROR_SUCCESS &&
                       RegQueryValueExW(kept, L"SignCommand", nullptr, &type, stored.data(), &size) == ERROR_SUCCESS;
    if (kept != nullptr)
        RegCloseKey(kept);
    const std::wstring plain = Wide(signWith);
    const std::string storedBytes(reinterpret_cast<const char*>(stored.data()), found ? size : 0);
    Check(found && type == REG_BINARY, "the signing command is not kept sealed");
    Check(storedBytes.find(std::string(reinterpret_cast<const char*>(plain.data()), plain.size() * sizeof(wchar_t))) ==
                  std::string::npos &&
              storedBytes.find("signtool") == std::string::npos,
          "the signing command is kept as plain text");

    opened = Open(makeMedium, "");
    if (!opened.dialog)
        return;
    WaitIdle(opened.dialog, 0);
    Check(SendDlgItemMessageW(opened.dialog, IDC_CODE_PAGE, CB_GETCURSEL, 0, 0) == page932, "the code page chosen is forgotten");
    Check(SendDlgItemMessageW(opened.dialog, IDC_ICON_CHOICE, CB_GETCURSEL, 0, 0) == ICON_LAUNCHERS_OWN,
          "the icon choice is forgotten");
    Check(Ticked(opened.dialog, IDC_IMAGE), "the image choice is forgotten");
    Check(Text(opened.dialog, IDC_SIGN) == signWith, "the signing command is forgotten: " + Text(opened.dialog, IDC_SIGN));
    Type(opened.dialog, IDC_SIGN, "");
    // The label is not kept: the image is offered under the folder's name until one is typed.
    Check(Text(opened.dialog, IDC_IMAGE_PATH) == FolderOf(medium) + "\\medium.iso",
          "the image offered is " + Text(opened.dialog, IDC_IMAGE_PATH));
    Type(opened.dialog, IDC_LABEL, "Borvi 7");
    Check(Text(opened.dialog, IDC_IMAGE_PATH) == image, "with the label, the image offered is " + Text(opened.dialog, IDC_IMAGE_PATH));
    // Closed during the image, Yes: the window closes once the image has stopped, leaving none.
    DeleteFileW(Wide(image).c_str());
    if (StartImage(opened.dialog)) {
        PostMessageW(opened.dialog, WM_CLOSE, 0, 0);
        AnswerCloseQuestion(opened, IDYES);
        Check(WaitForSingleObject(opened.process.hProcess, WaitLimitMs) == WAIT_OBJECT_0, "Yes to the question did not close");
        Check(!Exists(image), "closed during the image with Yes, an image was left");
        Check(LeftOvers(FolderOf(medium)).empty(), "closed during the image with Yes, a staged or temporary file was left");
    }
    CloseHandle(opened.process.hProcess);
    CloseHandle(opened.process.hThread);

    // Damaged settings: each ignored, its default taken; a folder that is gone is dropped.
    HKEY key = nullptr;
    RegCreateKeyExW(HKEY_CURRENT_USER, SettingsKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr);
    auto text = [key](const wchar_t* name, const std::wstring& value) {
        RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    };
    auto number = [key](const wchar_t* name, DWORD value) {
        RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    };
    text(L"Root1", Wide(medium + "\\gone"));
    text(L"Root2", Wide(medium));
    number(L"Icon", 7);
    const BYTE garbage[] = {0xFF, 0xFE, 0x00};
    RegSetValueExW(key, L"Architecture", 0, REG_BINARY, garbage, sizeof garbage);
    number(L"CodePage", 123456);
    text(L"Image", L"yes");
    text(L"SignCommand", L"plain {file}");  // never written as plain text: not taken
    RegCloseKey(key);
    opened = Open(makeMedium, "");
    if (!opened.dialog)
        return;
    WaitIdle(opened.dialog, 0);
    Check(Text(opened.dialog, IDC_ROOT) == medium, "with a folder gone, the medium is " + Text(opened.dialog, IDC_ROOT));
    Check(SendDlgItemMessageW(opened.dialog, IDC_ROOT, CB_GETCOUNT, 0, 0) == 1, "a folder that is gone is offered");
    Check(SendDlgItemMessageW(opened.dialog, IDC_ICON_CHOICE, CB_GETCURSEL, 0, 0) == ICON_PROGRAMS_OWN,
          "a damaged icon choice was not ignored");
    Check(SendDlgItemMessageW(opened.dialog, IDC_ARCH, CB_GETCURSEL, 0, 0) == ARCH_X86, "a damaged architecture was not ignored");
    wchar_t page[64] = {};
    GetDlgItemTextW(opened.dialog, IDC_CODE_PAGE, page, 64);
    Check(std::wstring(page).find(L"this system's") != std::wstring::npos, "a damaged code page was not ignored");
    Check(!Ticked(opened.dialog, IDC_IMAGE), "a damaged image choice was not ignored");
    Check(Text(opened.dialog, IDC_SIGN).empty(), "a damaged signing command was not ignored");
    Check(Close(opened), "the window did not close");
}

void MediumFileOpened(const std::string& makeMedium, const std::string& medium, const std::string& stampTool);

void Walk(const std::string& makeMedium, const std::string& medium, const std::string& reference, const std::string& picture,
          const std::string& stampTool, const std::string& signNothing)
{
    // A user for whom the window keeps nothing yet.
    RegDeleteKeyW(HKEY_CURRENT_USER, SettingsKey);
    // Opened with the medium's folder: the programs below it, ranked, each with its verdict.
    Opened opened = Open(makeMedium, medium);
    if (!opened.dialog)
        return;
    WaitIdle(opened.dialog, 0);
    const auto rows = Rows(opened);
    for (const auto& [program, says] : rows)
        std::printf("  listed: %-40s %s\n", program.c_str(), says.c_str());
    struct Row {
        std::size_t at;
        const char *program, *verdict;
    };
    const Row expected[] = {
        {0, Program, "ok"},                          // named like a setup program
        {1, "Big\\Big.exe", "ok"},                    // then the shallowest, by name
        {2, "Docs\\broken.exe", "cannot-run"},
        {3, "Tools\\Helper.exe", "ok"},
        {4, "Tools\\run.cmd", "ok"},
        {5, "Deep 1\\Deep 2\\Deep 3\\Tool.exe", "ok"},
    };
    Check(rows.size() == std::size(expected), std::to_string(rows.size()) + " programs listed, not " +
                                                  std::to_string(std::size(expected)) + " (the deepest is past the search's depth)");
    for (const Row& row : expected) {
        const bool listed = row.at < rows.size() && rows[row.at].first == row.program &&
                            rows[row.at].second.compare(0, std::strlen(row.verdict), row.verdict) == 0;
        Check(listed, std::string("row ") + std::to_string(row.at) + " is not " + row.program + " (" + row.verdict + ")");
    }
    Check(Text(opened.dialog, IDC_LABEL).empty(), "a label was filled in before one was typed");
    Check(SendDlgItemMessageW(opened.dialog, IDC_ARCH, CB_GETCURSEL, 0, 0) == ARCH_X86, "x86 is not the default");
    Check(SendDlgItemMessageW(opened.dialog, IDC_ICON_CHOICE, CB_GETCURSEL, 0, 0) == ICON_PROGRAMS_OWN,
          "the program's own icon is not the default");
    Names(opened);

    // A program that cannot run: refused in make's words, and nothing written.
    const auto before = Snapshot(medium);
    Check(Select(opened, "Docs\\broken.exe"), "the broken program cannot be chosen");
    std::string report = Press(opened.dialog, IDC_MAKE);
    Check(FirstLine(report).rfind("Not made, nothing was written: ", 0) == 0, "a refused make reported: " + FirstLine(report));
    Check(Snapshot(medium) == before, "a refused make changed the medium");

    // Sign with a command that exits 0 and signs nothing: make refuses in its words, names the
    // command's program and never its arguments, and nothing is written at the root.
    Check(Text(opened.dialog, IDC_SIGN).empty(), "Sign with is filled in before a command was typed");
    Check(Select(opened, Program), "the setup program cannot be chosen");
    Type(opened.dialog, IDC_SIGN, "\"" + signNothing + "\" sign /p Secret-42 {file}");
    report = Press(opened.dialog, IDC_MAKE);
    std::printf("  report: %s\n", FirstLine(report).c_str());
    Check(FirstLine(report).rfind("Not made, nothing was written: SETUP.exe not signed: ", 0) == 0 &&
              report.find("signed nothing") != std::string::npos,
          "a signing command that signs nothing reported: " + FirstLine(report));
    Check(report.find("sign_nothing") != std::string::npos, "the refusal does not name the signing program: " + report);
    Check(report.find("Secret-42") == std::string::npos, "the report shows the signing command's arguments: " + report);
    Check(Snapshot(medium) == before, "a refused signing changed the medium");
    Check(LeftOvers(medium).empty(), "a refused signing left a staged or temporary file");

    // Sign with a command that waits for ever, having started a process of its own: the window
    // shows its time limit; closed meanwhile, it asks, and No goes on signing; Cancel ends the
    // command and what it started, and writes nothing.
    Check(Text(opened.dialog, IDC_SIGN_LIMIT).find("min") != std::string::npos,
          "no time limit is shown beside Sign with: " + Text(opened.dialog, IDC_SIGN_LIMIT));
    const std::string pids = FolderOf(medium) + "\\signer.pids";
    DeleteFileW(Wide(pids).c_str());
    Type(opened.dialog, IDC_SIGN, "\"" + signNothing + "\" waits \"" + pids + "\" {file}");
    WaitFor([&opened] { return Property(opened.dialog, PROPERTY_BUSY) == 0; });
    INT_PTR signing = Finished(opened.dialog);
    Click(opened.dialog, IDC_MAKE);
    unsigned long signer = 0, child = 0;
    const bool waits = WaitFor([&] { return std::sscanf(Read(pids).c_str(), "%lu %lu", &signer, &child) == 2; });
    Check(waits, "the signing command that waits never started its process");
    if (waits) {
        PostMessageW(opened.dialog, WM_CLOSE, 0, 0);
        AnswerCloseQuestion(opened, IDNO);
        Check(WaitForSingleObject(opened.process.hProcess, 500) == WAIT_TIMEOUT, "No to the question closed the window");
        Check(Property(opened.dialog, PROPERTY_BUSY) != 0, "No to the question ended the signing");
        Click(opened.dialog, IDC_MAKE);
        WaitIdle(opened.dialog, signing);
        report = Text(opened.dialog, IDC_REPORT);
        std::printf("  report: %s\n", FirstLine(report).c_str());
        Check(FirstLine(report).rfind("Cancelled", 0) == 0, "Cancel during the signing reported: " + FirstLine(report));
        for (const unsigned long pid : {signer, child}) {
            const HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
            Check(process == nullptr || WaitForSingleObject(process, 10000) == WAIT_OBJECT_0,
                  "Cancel left process " + std::to_string(pid) + " of the signing command running");
            if (process != nullptr)
                CloseHandle(process);
        }
    }
    Check(Snapshot(medium) == before, "a cancelled signing changed the medium");
    Check(LeftOvers(medium).empty(), "a cancelled signing left a staged or temporary file");
    DeleteFileW(Wide(pids).c_str());
    Type(opened.dialog, IDC_SIGN, "");

    // The setup program with a label and x64: the same files launcher-stamp make writes.
    Check(Select(opened, Program), "the setup program cannot be chosen");
    INT_PTR finished = Finished(opened.dialog);
    Type(opened.dialog, IDC_LABEL, "Borvi 7");
    Choose(opened.dialog, IDC_ARCH, ARCH_X64);
    WaitIdle(opened.dialog, finished);
    report = Press(opened.dialog, IDC_MAKE);
    std::printf("  report: %s\n", FirstLine(report).c_str());
    Check(FirstLine(report) == "Ready: D:\\SETUP.exe starts D:\\Borvi cd1 versie2\\SETUP.exe.",
          "the report does not say the medium is ready: " + FirstLine(report));
    for (const char* file : {"SETUP.exe", "autorun.inf"})
        Check(Read(medium + "\\" + file) == Read(reference + "\\" + file) && !Read(medium + "\\" + file).empty(),
              std::string(file) + " differs from what launcher-stamp make writes");

    // A file of someone else's in the way: a question; Cancel changes nothing, the action replaces it.
    const std::string foreign = "[autorun]\r\nopen=Other.exe\r\n";
    Write(medium + "\\autorun.inf", foreign);
    std::string question;
    report = MakeAnswering(opened, IDCANCEL, question);
    Check(question.find("autorun.inf") != std::string::npos && question.find("Replace it") != std::string::npos,
          "the question names no file or action: " + question);
    Check(Read(medium + "\\autorun.inf") == foreign, "Cancel changed autorun.inf");
    Check(FirstLine(report).rfind("Not made, nothing was written: ", 0) == 0, "after Cancel the report says: " + FirstLine(report));
    report = MakeAnswering(opened, IDOK, question);
    Check(Read(medium + "\\autorun.inf") == Read(reference + "\\autorun.inf"), "Replace it did not write make's autorun.inf");
    Check(FirstLine(report).rfind("Ready: ", 0) == 0, "after Replace it the report says: " + FirstLine(report));

    // Check alone: the medium as it is, check's report under the first line.
    report = Press(opened.dialog, IDC_CHECK);
    Check(FirstLine(report) == "Ready: D:\\SETUP.exe starts D:\\Borvi cd1 versie2\\SETUP.exe.", "Check reported: " + FirstLine(report));
    Check(report.find("D:\\SETUP.exe: ok: starts D:\\Borvi cd1 versie2\\SETUP.exe") != std::string::npos,
          "the report is not check's: " + report);

    // The disc image: offered beside the medium under its label; Make writes the files and the
    // image, byte for byte what launcher-stamp make --iso writes with the same choices, and the
    // window answers throughout.
    Check(Ticked(opened.dialog, IDC_AUTORUN), "Write autorun.inf is not on by default");
    Check(!Ticked(opened.dialog, IDC_IMAGE), "the disc image is chosen before the author chose it");
    Tick(opened.dialog, IDC_IMAGE, true);
    const std::string image = FolderOf(medium) + "\\Borvi 7.iso";
    Check(Text(opened.dialog, IDC_IMAGE_PATH) == image, "the image offered is " + Text(opened.dialog, IDC_IMAGE_PATH));
    WaitFor([&opened] { return Property(opened.dialog, PROPERTY_BUSY) == 0; });
    finished = Finished(opened.dialog);
    Click(opened.dialog, IDC_MAKE);
    ULONGLONG slowestImage = 0;
    INT_PTR shownBetween = 0;
    do {
        slowestImage = std::max(slowestImage, ReplyTime(opened.dialog));
        const INT_PTR done = Property(opened.dialog, PROPERTY_PROGRESS);
        shownBetween = done > 0 && done < 1000 ? done : shownBetween;
        Sleep(2);
    } while (!(Finished(opened.dialog) > finished && Property(opened.dialog, PROPERTY_BUSY) == 0));
    // A figure, as for the icon below: how long a reply takes depends on the machine's load. That
    // the window answered at all while the image was written shows in the progress it drew.
    std::printf("slowest reply of the window while a 100 MB medium's image was written: %llu ms\n", slowestImage);
    Check(shownBetween != 0, "no progress was shown while the image was written");
    Check(slowestImage < 5000, "the window did not answer for " + std::to_string(slowestImage) + " ms while the image was written");
    report = Text(opened.dialog, IDC_REPORT);
    std::printf("  report: %s\n", FirstLine(report).c_str());
    Check(FirstLine(report) == "Ready: the image's D:\\SETUP.exe starts D:\\Borvi cd1 versie2\\SETUP.exe.",
          "after the image the report says: " + FirstLine(report));
    const std::string toolImage = FolderOf(medium) + "\\by-the-tool.iso";
    std::string toolSaid;
    RunTool(stampTool, {"make", medium, Program, "--label", "Borvi 7", "--arch", "x64", "--iso", toolImage}, toolSaid);
    const std::string windowBytes = Read(image);
    Check(!windowBytes.empty() && windowBytes == Read(toolImage),
          "the window's image differs from launcher-stamp make --iso's: " + toolSaid);
    DeleteFileW(Wide(toolImage).c_str());
    SavePicture(opened.dialog, picture);

    // Cancel during the image: no image and no staged file; the launcher make wrote is kept.
    DeleteFileW(Wide(image).c_str());
    DeleteFileW(Wide(medium + "\\SETUP.exe").c_str());
    finished = Finished(opened.dialog);
    if (StartImage(opened.dialog)) {
        Check(Text(opened.dialog, IDC_MAKE) == "Cancel", "Make is not Cancel while the image is written");
        Click(opened.dialog, IDC_MAKE);
        WaitIdle(opened.dialog, finished);
        report = Text(opened.dialog, IDC_REPORT);
        std::printf("  report: %s\n", FirstLine(report).c_str());
        Check(FirstLine(report).rfind("Cancelled: no image was written, and nothing of it is left; what make wrote at the "
                                      "root is kept (", 0) == 0,
              "after Cancel the report says: " + FirstLine(report));
        Check(!Exists(image), "Cancel left an image");
        Check(LeftOvers(FolderOf(medium)).empty() && LeftOvers(medium).empty(), "Cancel left a staged or temporary file");
        Check(Read(medium + "\\SETUP.exe") == Read(reference + "\\SETUP.exe"), "Cancel did not keep the launcher make wrote");
        Check(Text(opened.dialog, IDC_MAKE) == "Ma&ke", "Make did not come back after Cancel");
    }

    // Closed during the image, the window asks; No goes on, and the window stays.
    finished = Finished(opened.dialog);
    if (StartImage(opened.dialog)) {
        PostMessageW(opened.dialog, WM_CLOSE, 0, 0);
        AnswerCloseQuestion(opened, IDNO);
        WaitIdle(opened.dialog, finished);
        Check(WaitForSingleObject(opened.process.hProcess, 0) == WAIT_TIMEOUT, "No to the question closed the window");
        Check(Exists(image), "No to the question did not let the image be written");
    }
    Tick(opened.dialog, IDC_IMAGE, false);

    // A label is checked as it is typed.
    struct Label {
        const char* text;
        bool refused;
    };
    for (const Label& label : {Label{"Borvi 7", false}, Label{"Borvi 7 ", true}, Label{"123456789012345678901234567890123", true},
                               Label{"Borvi\t7", true}}) {
        Type(opened.dialog, IDC_LABEL, label.text);
        Check(Text(opened.dialog, IDC_LABEL_STATE).empty() != label.refused,
              std::string("the label \"") + label.text + "\" is judged: " + Text(opened.dialog, IDC_LABEL_STATE));
    }
    Type(opened.dialog, IDC_LABEL, "Borvi 7");

    // The icon of a 100 MB program read for the preview: the slowest reply meanwhile, as a figure.
    finished = Finished(opened.dialog);
    Check(Select(opened, "Big\\Big.exe"), "the 100 MB program is not listed");
    ULONGLONG slowest = 0;
    do {
        slowest = std::max(slowest, ReplyTime(opened.dialog));
    } while (!(Finished(opened.dialog) > finished && Property(opened.dialog, PROPERTY_BUSY) == 0));
    std::printf("slowest reply of the window while a 100 MB program's icon was read: %llu ms\n", slowest);
    Check(Select(opened, Program), "the setup program cannot be chosen again");
    WaitIdle(opened.dialog, finished);

    // Closed during a make: it waits for the make to end, which leaves a whole medium.
    DeleteFileW(Wide(medium + "\\SETUP.exe").c_str());
    Click(opened.dialog, IDC_MAKE);
    PostMessageW(opened.dialog, WM_CLOSE, 0, 0);
    Check(WaitForSingleObject(opened.process.hProcess, WaitLimitMs) == WAIT_OBJECT_0, "the window did not close after its make");
    Check(Read(medium + "\\SETUP.exe") == Read(reference + "\\SETUP.exe"), "closing during make left no whole launcher");
    CloseHandle(opened.process.hProcess);
    CloseHandle(opened.process.hThread);

    DroppedImage(makeMedium, image, stampTool);
    Remembered(makeMedium, medium, image);
    MediumFileOpened(makeMedium, medium, stampTool);
}

// A medium file given to make-medium.exe, or dropped on its window: its medium and choices fill
// the window, and Make writes what launcher-stamp make --file writes, with the window's changes
// as options.
void MediumFileOpened(const std::string& makeMedium, const std::string& medium, const std::string& stampTool)
{
    const std::string folder = FolderOf(medium);
    for (const char* copy : {"filed", "filed-reference"}) {
        const std::string root = folder + "\\" + copy;
        CreateDirectoryW(Wide(root).c_str(), nullptr);
        CreateDirectoryW(Wide(root + "\\App").c_str(), nullptr);
        CopyFileW(Wide(medium + "\\" + Program).c_str(), Wide(root + "\\App\\Setup.exe").c_str(), FALSE);
        Write(root + ".toml", std::string("\xEF\xBB\xBFroot = \"") + copy + "\"\r\nprogram = \"App/Setup.exe\"\r\n"
                              "label = \"Filed 1\"\r\narch = \"x64\"\r\ncodepage = 1252\r\n");
    }
    const std::string filed = folder + "\\filed", reference = folder + "\\filed-reference";
    auto same = [&](const std::string& what) {
        for (const char* name : {"\\Setup.exe", "\\autorun.inf"})
            Check(Exists(filed + name) && Read(filed + name) == Read(reference + name),
                  what + ": the window's " + name + " is not make --file's");
    };
    std::string out;
    Check(RunTool(stampTool, {"make", "--file", reference + ".toml"}, out) == 0, "make --file: " + out);
    Opened opened = Open(makeMedium, filed + ".toml");
    if (!opened.dialog)
        return;
    WaitIdle(opened.dialog, 0);
    Check(Text(opened.dialog, IDC_ROOT) == filed, "a medium file opened, the medium is " + Text(opened.dialog, IDC_ROOT));
    Check(Text(opened.dialog, IDC_LABEL) == "Filed 1", "a medium file opened, the label is " + Text(opened.dialog, IDC_LABEL));
    Check(SendDlgItemMessageW(opened.dialog, IDC_ARCH, CB_GETCURSEL, 0, 0) == ARCH_X64, "the file's x64 is not chosen");
    std::string report = Lines(Press(opened.dialog, IDC_MAKE));
    std::printf("  report: %s\n", FirstLine(report).c_str());
    Check(report.find("As: launcher-stamp make --file " + filed + ".toml\n") != std::string::npos,
          "the report does not say make --file ran:\n" + report);
    same("made from the file");

    // A change in the window is an option after --file (on roots made afresh: a label that
    // changes would make autorun.inf one make asks about replacing).
    for (const std::string& root : {filed, reference}) {
        DeleteFileW(Wide(root + "\\Setup.exe").c_str());
        DeleteFileW(Wide(root + "\\autorun.inf").c_str());
    }
    Type(opened.dialog, IDC_LABEL, "Filed 2");
    report = Lines(Press(opened.dialog, IDC_MAKE));
    Check(RunTool(stampTool, {"make", "--file", reference + ".toml", "--label", "Filed 2"}, out) == 0, "make --file --label: " + out);
    Check(report.find("As: launcher-stamp make --file " + filed + ".toml --label \"Filed 2\"") != std::string::npos,
          "the report does not give the label as an option:\n" + report);
    same("the label changed");
    Check(Close(opened), "the window did not close");

    // Dropped on the window: the same medium opens.
    opened = Open(makeMedium, "");
    if (!opened.dialog)
        return;
    WaitIdle(opened.dialog, 0);
    const INT_PTR finished = Finished(opened.dialog);
    Drop(opened, reference + ".toml");
    WaitFor([&] { return Finished(opened.dialog) > finished && Property(opened.dialog, PROPERTY_BUSY) == 0; });
    Check(Text(opened.dialog, IDC_ROOT) == reference, "a medium file dropped, the medium is " + Text(opened.dialog, IDC_ROOT));
    Check(Text(opened.dialog, IDC_LABEL) == "Filed 1", "a medium file dropped, the label is " + Text(opened.dialog, IDC_LABEL));
    Check(Close(opened), "the window did not close");
}

// Opened with a program: its medium is the folder above the program's folder, and it is chosen.
// Then a picture of the window, checked (for other DPIs).
void Picture(const std::string& makeMedium, const std::string& program, const std::string& picture)
{
    Opened opened = Open(makeMedium, program);
    if (!opened.dialog)
        return;
    WaitIdle(opened.dialog, 0);
    const std::string medium = program.substr(0, program.rfind('\\', program.rfind('\\') - 1));
    Check(Text(opened.dialog, IDC_ROOT) == medium, "opened with a program, the medium is " + Text(opened.dialog, IDC_ROOT));
    const int selected = static_cast<int>(SendDlgItemMessageW(opened.dialog, IDC_PROGRAMS, LVM_GETNEXTITEM,
                                                              static_cast<WPARAM>(-1), LVNI_SELECTED));
    const auto rows = Rows(opened);
    Check(selected >= 0 && rows[static_cast<std::size_t>(selected)].first == Program, "opened with a program, it is not chosen");
    Press(opened.dialog, IDC_CHECK);
    SavePicture(opened.dialog, picture);
    Check(Close(opened), "the window did not close");
}

}  // namespace

int wmain(int argc, wchar_t** argv);

int wmain(int argc, wchar_t** argv)
{
    SetProcessDPIAware();
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i)
        arguments.push_back(Utf8(argv[i]));
    if (arguments.size() == 7 && arguments[0] == "walk")
        Walk(arguments[1], arguments[2], arguments[3], arguments[4], arguments[5], arguments[6]);
    else if (arguments.size() == 4 && arguments[0] == "picture")
        Picture(arguments[1], arguments[2], arguments[3]);
    else {
        std::fprintf(stderr, "usage: drive_make_medium walk MAKE_MEDIUM MEDIUM REFERENCE PICTURE.png LAUNCHER_STAMP "
                             "SIGN_NOTHING | picture MAKE_MEDIUM PROGRAM PICTURE.png\n");
        return 2;
    }
    std::printf("%s\n", Failures == 0 ? "passed make-medium: every check" : "make-medium: some checks failed");
    return Failures == 0 ? 0 : 1;
}
