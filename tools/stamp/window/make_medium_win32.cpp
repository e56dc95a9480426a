// make-medium.exe: make, check and explain a medium in one dialog, for authors who never open a
// console. Everything that reads or writes the medium runs on one worker thread, through the
// same make and check as launcher-stamp; the dialog only gathers choices and shows answers.
#include "window/make_medium_ids.h"
#include "window/medium_choices.h"

#include "base/code_pages.h"
#include "medium/autorun_inf.h"
#include "medium/built_launchers.h"
#include "pe/icon_resource.h"
#include "picture/icon_picture.h"
#include "system/system.h"
#include "system/utf16_win32.h"

#include <windows.h>
#include <commctrl.h>
#include <oleacc.h>
#include <shellapi.h>
#include <shobjidl.h>

#include <cstdlib>
#include <cwctype>
#include <deque>
#include <filesystem>
#include <functional>
#include <memory>

namespace {

// ---- text --------------------------------------------------------------------------------

// Lines as an edit control shows them: CR LF.
std::wstring ForEdit(const std::string& text)
{
    std::wstring wide = Utf16FromUtf8(text), lines;
    for (const wchar_t c : wide) {
        if (c == L'\n')
            lines += L'\r';
        lines += c;
    }
    return lines;
}

std::wstring TextOf(HWND control)
{
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    return text;
}

// Whether two paths name the same file, as Windows compares them.
bool SameFile(const std::string& a, const std::string& b)
{
    return FoldCase(ResolvedPath(a)) == FoldCase(ResolvedPath(b));
}

// ---- the worker --------------------------------------------------------------------------

constexpr UINT WM_JOB_DONE = WM_APP + 1;      // lParam: the job's std::function<void()> to run on the dialog's thread
constexpr UINT WM_DPI_FOLLOWED = WM_APP + 2;  // the dialog manager has followed a DPI change

// One thread that runs jobs in order. Each job hands back one piece of work for the dialog's
// thread, which applies it (or drops it when it has gone stale). The dialog counts a job as
// busy from when it is queued until its result has been applied.
class Worker {
public:
    using Result = std::function<void()>;
    using Job = std::function<Result()>;

    void Start(HWND dialog)
    {
        dialog_ = dialog;
        InitializeCriticalSection(&lock_);
        InitializeConditionVariable(&wake_);
        thread_ = CreateThread(nullptr, 0, &Worker::Run, this, 0, nullptr);
    }

    void Queue(Job job)
    {
        EnterCriticalSection(&lock_);
        jobs_.push_back(std::move(job));
        LeaveCriticalSection(&lock_);
        WakeConditionVariable(&wake_);
    }

private:
    static DWORD WINAPI Run(void* self)
    {
        Worker& worker = *static_cast<Worker*>(self);
        for (;;) {
            EnterCriticalSection(&worker.lock_);
            while (worker.jobs_.empty())
                SleepConditionVariableCS(&worker.wake_, &worker.lock_, INFINITE);
            Job job = std::move(worker.jobs_.front());
            worker.jobs_.pop_front();
            LeaveCriticalSection(&worker.lock_);
            auto* result = new Result(job());
            if (!PostMessageW(worker.dialog_, WM_JOB_DONE, 0, reinterpret_cast<LPARAM>(result)))
                delete result;
        }
    }

    HWND dialog_ = nullptr;
    HANDLE thread_ = nullptr;
    CRITICAL_SECTION lock_{};
    CONDITION_VARIABLE wake_{};
    std::deque<Job> jobs_;
};

// ---- the dialog's state ------------------------------------------------------------------

struct Window {
    HWND dialog = nullptr;
    Worker worker;
    int busy = 0;               // jobs queued or running whose results are not applied yet
    long finished = 0;          // jobs whose results were applied
    bool making = false;        // a make is queued or running
    bool closing = false;       // the window closes when the make has ended
    bool ended = false;         // the dialog is ending: nothing more may start
    unsigned scanGeneration = 0, iconGeneration = 0;
    std::shared_ptr<std::atomic<bool>> scanStop;
    std::vector<Candidate> candidates;
    std::string wantedProgram;  // the program to choose when the list arrives (from the arguments or Other...)
    HICON preview = nullptr;
    std::string previewNote;
    std::vector<unsigned> codePages;
    unsigned systemCodePage = 0;
    IAccPropServices* accessibility = nullptr;
    UINT dpi = 96;
};

Window* TheWindow = nullptr;

UINT DpiOf(HWND window)
{
    using GetDpiForWindowType = UINT(WINAPI*)(HWND);
    static const auto getDpi = reinterpret_cast<GetDpiForWindowType>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    if (getDpi != nullptr)
        return getDpi(window);
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return static_cast<UINT>(dpi > 0 ? dpi : 96);
}

int Scaled(int pixels, UINT dpi)
{
    return MulDiv(pixels, static_cast<int>(dpi), 96);
}

void Publish(Window& w)
{
    SetPropW(w.dialog, PROPERTY_BUSY, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(w.busy)));
    SetPropW(w.dialog, PROPERTY_FINISHED, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(w.finished)));
    const bool idle = w.busy == 0;
    EnableWindow(GetDlgItem(w.dialog, IDC_MAKE), idle && !w.closing);
    EnableWindow(GetDlgItem(w.dialog, IDC_CHECK), idle && !w.closing);
}

void Submit(Window& w, Worker::Job job)
{
    ++w.busy;
    Publish(w);
    w.worker.Queue(std::move(job));
}

// Says text in the status line, and to screen readers, where Windows supports it, as a live region.
void Status(Window& w, const std::string& text)
{
    const HWND status = GetDlgItem(w.dialog, IDC_STATUS);
    SetWindowTextW(status, Utf16FromUtf8(text).c_str());
    NotifyWinEvent(EVENT_OBJECT_LIVEREGIONCHANGED, status, OBJID_CLIENT, CHILDID_SELF);
}

void Report(Window& w, const std::string& text)
{
    SetDlgItemTextW(w.dialog, IDC_REPORT, ForEdit(text).c_str());
}

// ---- the choices -------------------------------------------------------------------------

std::string Root(Window& w)
{
    return Utf8FromUtf16(TextOf(GetDlgItem(w.dialog, IDC_ROOT)));
}

int Selected(Window& w)
{
    return ListView_GetNextItem(GetDlgItem(w.dialog, IDC_PROGRAMS), -1, LVNI_SELECTED);
}

std::string CodePageText(const Window& w, unsigned codePage)
{
    return std::to_string(codePage) + (codePage == w.systemCodePage ? " (this system's)" : "");
}

// The choices as make takes them; the program is the one selected, if any.
MakeOptions Choices(Window& w)
{
    MakeOptions options;
    options.root = Root(w);
    const int selected = Selected(w);
    if (selected >= 0 && static_cast<std::size_t>(selected) < w.candidates.size())
        options.program = w.candidates[static_cast<std::size_t>(selected)].path;
    const auto icon = SendDlgItemMessageW(w.dialog, IDC_ICON_CHOICE, CB_GETCURSEL, 0, 0);
    if (icon == ICON_PICTURE)
        options.icon = Utf8FromUtf16(TextOf(GetDlgItem(w.dialog, IDC_PICTURE)));
    options.launcherIcon = icon == ICON_LAUNCHERS_OWN;
    options.label = Utf8FromUtf16(TextOf(GetDlgItem(w.dialog, IDC_LABEL)));
    options.arch = SendDlgItemMessageW(w.dialog, IDC_ARCH, CB_GETCURSEL, 0, 0) == ARCH_X64 ? "x64" : "x86";
    const auto page = SendDlgItemMessageW(w.dialog, IDC_CODE_PAGE, CB_GETCURSEL, 0, 0);
    if (page >= 0 && static_cast<std::size_t>(page) < w.codePages.size())
        options.codePage = w.codePages[static_cast<std::size_t>(page)];
    return options;
}

std::string RowText(const Candidate& candidate)
{
    if (candidate.verdict.empty())
        return "...";
    return candidate.verdict + (candidate.says.empty() ? "" : ": " + candidate.says);
}

void ShowCandidates(Window& w)
{
    const HWND list = GetDlgItem(w.dialog, IDC_PROGRAMS);
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    ListView_DeleteAllItems(list);
    int chosen = w.candidates.empty() ? -1 : 0;
    for (std::size_t i = 0; i < w.candidates.size(); ++i) {
        std::wstring name = Utf16FromUtf8(w.candidates[i].relative), says = Utf16FromUtf8(RowText(w.candidates[i]));
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = static_cast<int>(i);
        item.pszText = name.data();
        ListView_InsertItem(list, &item);
        ListView_SetItemText(list, static_cast<int>(i), 1, says.data());
        if (!w.wantedProgram.empty() && SameFile(w.candidates[i].path, w.wantedProgram))
            chosen = static_cast<int>(i);
    }
    if (chosen >= 0) {
        ListView_SetItemState(list, chosen, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        ListView_EnsureVisible(list, chosen, FALSE);
    }
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

void UpdatePreview(Window& w);

// Looks for the programs below the medium's root again, and says what a launcher would do for
// each; the wanted program joins them when the search does not find it.
void Scan(Window& w)
{
    if (w.scanStop)
        *w.scanStop = true;
    w.scanStop = std::make_shared<std::atomic<bool>>(false);
    const unsigned generation = ++w.scanGeneration;
    const MakeOptions choices = Choices(w);
    const std::string wanted = w.wantedProgram;
    auto stop = w.scanStop;
    Status(w, choices.root.empty() ? "Choose the medium's folder." : "Looking for programs in " + choices.root + "...");
    Submit(w, [generation, choices, wanted, stop]() -> Worker::Result {
        bool cutShort = false;
        std::vector<Candidate> found;
        std::error_code ignored;
        const bool folder = !choices.root.empty() && std::filesystem::is_directory(std::filesystem::u8path(choices.root), ignored);
        if (folder)
            found = FindCandidates(*FolderPlace(choices.root), SearchLimits(), *stop, cutShort);
        auto listed = [&found](const std::string& path) {
            for (const Candidate& candidate : found) {
                if (SameFile(candidate.path, path))
                    return true;
            }
            return false;
        };
        if (folder && !wanted.empty() && !listed(wanted))
            found.insert(found.begin(), Candidate{wanted, wanted, 0, "", ""});
        const std::unique_ptr<MediumPlace> place = FolderPlace(choices.root);
        MediumFolders folders(*place);
        for (Candidate& candidate : found) {
            if (*stop)
                break;
            JudgeCandidate(choices, candidate, folders);
        }
        return [generation, found, cutShort, folder, choices]() {
            Window& window = *TheWindow;
            if (generation != window.scanGeneration)
                return;
            window.candidates = found;
            ShowCandidates(window);
            UpdatePreview(window);
            if (!folder)
                Status(window, choices.root.empty() ? "Choose the medium's folder." : choices.root + " is not a folder.");
            else if (found.empty())
                Status(window, "No program found in the folders below " + choices.root + ": use Other... to choose one.");
            else
                Status(window, std::to_string(found.size()) + (found.size() == 1 ? " program" : " programs") + " found" +
                              (cutShort ? " (the search stopped early; Other... finds the rest)" : "") + ".");
        };
    });
}

// The icon the launcher will get, drawn at the window's DPI: the program's own, a picture, or the
// launcher's own, read on the worker.
void UpdatePreview(Window& w)
{
    const unsigned generation = ++w.iconGeneration;
    const MakeOptions choices = Choices(w);
    Submit(w, [generation, choices]() -> Worker::Result {
        Bytes file, image;
        std::string error, note;
        const std::string source = !choices.icon.empty() ? choices.icon : choices.program;
        bool taken = false;
        if (!choices.launcherIcon && !source.empty())
            taken = ReadPicture(source, file, error) && IconImageFromPicture(file, image, error);
        if (!choices.launcherIcon && !source.empty() && !taken)
            note = "No icon from " + source + " (" + error + "): " +
                   (choices.icon.empty() ? "the launcher keeps its own." : "make will refuse the picture.");
        if (!taken) {
            Bytes launcher = BuiltLauncher(choices.arch == "x64" ? LauncherArchitecture::X64 : LauncherArchitecture::X86);
            LauncherImage launcherImage;
            IconResource icon;
            if (ReadLauncherImage(launcher, launcherImage, error) && FindIconResource(launcher, launcherImage, icon, error))
                image.assign(launcher.begin() + static_cast<std::ptrdiff_t>(icon.imageOffset),
                             launcher.begin() + static_cast<std::ptrdiff_t>(icon.imageOffset + IconImageSize));
        }
        return [generation, image, note]() {
            Window& window = *TheWindow;
            if (generation != window.iconGeneration)
                return;
            if (window.preview)
                DestroyIcon(window.preview);
            const int size = Scaled(32, window.dpi);
            window.preview = image.empty() ? nullptr
                                      : CreateIconFromResourceEx(const_cast<BYTE*>(image.data()), static_cast<DWORD>(image.size()),
                                                                 TRUE, 0x00030000, size, size, LR_DEFAULTCOLOR);
            window.previewNote = note;
            InvalidateRect(GetDlgItem(window.dialog, IDC_ICON_PREVIEW), nullptr, TRUE);
            if (!note.empty())
                Status(window, note);
        };
    });
}

// Pixel sizes the dialog manager does not scale: the list's columns and the icon preview.
void LayOut(Window& w)
{
    w.dpi = DpiOf(w.dialog);
    const HWND list = GetDlgItem(w.dialog, IDC_PROGRAMS);
    RECT client{};
    GetClientRect(list, &client);
    const int width = client.right - client.left - GetSystemMetrics(SM_CXVSCROLL);
    ListView_SetColumnWidth(list, 0, width * 9 / 20);
    ListView_SetColumnWidth(list, 1, width - width * 9 / 20);
    const HWND preview = GetDlgItem(w.dialog, IDC_ICON_PREVIEW);
    const int size = Scaled(32, w.dpi) + 2;
    SetWindowPos(preview, nullptr, 0, 0, size, size, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// ---- asking the author -------------------------------------------------------------------

// A file picker, or with folders a folder picker; empty when cancelled.
std::string Pick(Window& w, bool folders, const wchar_t* title, const COMDLG_FILTERSPEC* types, UINT typeCount)
{
    IFileOpenDialog* picker = nullptr;
    std::string chosen;
    if (FAILED(CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&picker))))
        return chosen;
    FILEOPENDIALOGOPTIONS options = 0;
    picker->GetOptions(&options);
    picker->SetOptions(options | FOS_FORCEFILESYSTEM | (folders ? FOS_PICKFOLDERS : FOS_FILEMUSTEXIST));
    picker->SetTitle(title);
    if (types != nullptr)
        picker->SetFileTypes(typeCount, types);
    IShellItem* item = nullptr;
    wchar_t* path = nullptr;
    if (SUCCEEDED(picker->Show(w.dialog)) && SUCCEEDED(picker->GetResult(&item)) &&
        SUCCEEDED(item->GetDisplayName(SIGDN_FILESYSPATH, &path))) {
        chosen = Utf8FromUtf16(path);
        CoTaskMemFree(path);
    }
    if (item)
        item->Release();
    picker->Release();
    return chosen;
}

// Asks whether make may go on over a file in its way; true to go on.
bool AskToForce(Window& w, const MakeOutcome& outcome)
{
    std::wstring action = Utf16FromUtf8(outcome.forceAction);
    if (!action.empty())
        action[0] = static_cast<wchar_t>(towupper(action[0]));
    const std::wstring content = Utf16FromUtf8(outcome.reason);
    TASKDIALOG_BUTTON buttons[] = {{IDOK, action.c_str()}};
    TASKDIALOGCONFIG config{};
    config.cbSize = sizeof config;
    config.hwndParent = w.dialog;
    config.dwFlags = TDF_POSITION_RELATIVE_TO_WINDOW;
    config.dwCommonButtons = TDCBF_CANCEL_BUTTON;
    config.pszWindowTitle = L"Make a medium";
    config.pszMainIcon = TD_WARNING_ICON;
    config.pszMainInstruction = L"A file is in the way";
    config.pszContent = content.c_str();
    config.cButtons = 1;
    config.pButtons = buttons;
    config.nDefaultButton = IDCANCEL;
    int pressed = IDCANCEL;
    SetPropW(w.dialog, PROPERTY_QUESTION, reinterpret_cast<HANDLE>(1));
    const bool asked = SUCCEEDED(TaskDialogIndirect(&config, &pressed, nullptr, nullptr));
    RemovePropW(w.dialog, PROPERTY_QUESTION);
    return asked && pressed == IDOK;
}

// ---- make and check ----------------------------------------------------------------------

std::string CodePageSaid(const Window& w, unsigned codePage)
{
    return "code page " + std::to_string(codePage) +
           (codePage == w.systemCodePage ? ", this system's" : "");
}

void Make(Window& w, bool force)
{
    if (w.ended)
        return;  // closed while its question was open: nothing more is written
    MakeOptions options = Choices(w);
    options.force = force;
    if (options.root.empty() || options.program.empty()) {
        Report(w, options.root.empty() ? "Not made: choose the medium's folder first."
                                       : "Not made: choose the program to start first.");
        Status(w, "Nothing was made.");
        return;
    }
    w.making = true;
    Status(w, "Making the medium in " + options.root + "...");
    Submit(w, [options]() -> Worker::Result {
        std::string out, err;
        MakeOutcome outcome;
        RunMake(options, out, err, &outcome);
        return [options, out, err, outcome]() {
            Window& window = *TheWindow;
            window.making = false;
            if (outcome.refused && outcome.forceable && !window.closing) {
                Report(window, RefusalHeadline(outcome));
                Status(window, "Nothing was made yet: a file is in the way.");
                if (AskToForce(window, outcome))
                    Make(window, true);
                else
                    Status(window, "Nothing was made: the file in the way was left as it is.");
                return;
            }
            if (outcome.refused || !outcome.reason.empty()) {
                Report(window, RefusalHeadline(outcome) + "\n\n" + out + err);
                Status(window, outcome.refused ? "Nothing was made." : "The medium was not made whole.");
            } else {
                std::string made;
                for (std::size_t i = 0; i < outcome.check.launchers.size(); ++i) {
                    if (outcome.check.counts[i])
                        made = outcome.check.launchers[i].launcher;
                }
                Report(window, Headline(outcome.check, made) + "\n\n" + out + err);
                Status(window, "Made, for " + CodePageSaid(window, options.codePage) + ".");
            }
            if (window.closing) {
                window.ended = true;
                EndDialog(window.dialog, IDCANCEL);
            } else
                Scan(window);  // the new launcher is no candidate, and the rows' verdicts may change
        };
    });
}

void Check(Window& w)
{
    MakeOptions choices = Choices(w);
    if (choices.root.empty()) {
        Report(w, "Nothing checked: choose the medium's folder first.");
        return;
    }
    Status(w, "Checking " + choices.root + "...");
    Submit(w, [choices]() -> Worker::Result {
        CheckOptions check;
        check.paths = {choices.root};
        check.codePage = choices.codePage;
        std::string out, err;
        CheckSummary summary;
        RunCheck(check, out, err, &summary);
        return [choices, out, err, summary]() {
            Window& window = *TheWindow;
            Report(window, Headline(summary, "") + "\n\n" + out + err);
            Status(window, "Checked, for " + CodePageSaid(window, choices.codePage) + ".");
        };
    });
}

// ---- the dialog --------------------------------------------------------------------------

void TakeStartingPoint(Window& w, const StartingPoint& start)
{
    if (start.root.empty())
        return;
    w.wantedProgram = start.program;
    SetDlgItemTextW(w.dialog, IDC_ROOT, Utf16FromUtf8(start.root).c_str());  // which starts a search
}

void InitDialog(Window& w, const StartingPoint& start)
{
    SendMessageW(w.dialog, WM_SETICON, ICON_BIG,
                 reinterpret_cast<LPARAM>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_MAKE_MEDIUM),
                                                     IMAGE_ICON, 0, 0, LR_DEFAULTSIZE | LR_SHARED)));
    const HWND list = GetDlgItem(w.dialog, IDC_PROGRAMS);
    ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER | LVS_EX_LABELTIP);
    const wchar_t* headings[] = {L"Program", L"What Windows will do with its launcher"};
    for (int i = 0; i < 2; ++i) {
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.pszText = const_cast<wchar_t*>(headings[i]);
        column.cx = 100;
        ListView_InsertColumn(list, i, &column);
    }
    for (const wchar_t* choice : {L"The program's own", L"A picture (PNG, BMP or ICO)", L"The launcher's own"})
        SendDlgItemMessageW(w.dialog, IDC_ICON_CHOICE, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(choice));
    SendDlgItemMessageW(w.dialog, IDC_ICON_CHOICE, CB_SETCURSEL, ICON_PROGRAMS_OWN, 0);
    EnableWindow(GetDlgItem(w.dialog, IDC_PICTURE), FALSE);
    EnableWindow(GetDlgItem(w.dialog, IDC_PICTURE_BROWSE), FALSE);
    for (const wchar_t* arch : {L"x86 (every Windows)", L"x64 (64-bit Windows)"})
        SendDlgItemMessageW(w.dialog, IDC_ARCH, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(arch));
    SendDlgItemMessageW(w.dialog, IDC_ARCH, CB_SETCURSEL, ARCH_X86, 0);
    SendDlgItemMessageW(w.dialog, IDC_LABEL, EM_SETLIMITTEXT, 64, 0);

    // This system's code page by default, as launcher-stamp takes it.
    const unsigned system = SystemAnsiCodePage();
    w.systemCodePage = IsKnownCodePage(system) ? system : 0;
    const std::string known = KnownCodePages();
    for (std::size_t at = 0; at < known.size();) {
        const std::size_t comma = known.find(',', at);
        const std::string number = known.substr(at, comma == std::string::npos ? std::string::npos : comma - at);
        const unsigned page = static_cast<unsigned>(std::strtoul(number.c_str(), nullptr, 10));
        if (IsKnownCodePage(page)) {
            w.codePages.push_back(page);
            SendDlgItemMessageW(w.dialog, IDC_CODE_PAGE, CB_ADDSTRING, 0,
                                reinterpret_cast<LPARAM>(Utf16FromUtf8(CodePageText(w, page)).c_str()));
        }
        at = comma == std::string::npos ? known.size() : comma + 1;
        while (at < known.size() && known[at] == ' ')
            ++at;
    }
    const unsigned chosen = w.systemCodePage != 0 ? w.systemCodePage : 1252;
    for (std::size_t i = 0; i < w.codePages.size(); ++i) {
        if (w.codePages[i] == chosen)
            SendDlgItemMessageW(w.dialog, IDC_CODE_PAGE, CB_SETCURSEL, i, 0);
    }

    // The status line is a polite live region, where Windows knows them.
    if (SUCCEEDED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER, IID_IAccPropServices,
                                   reinterpret_cast<void**>(&w.accessibility)))) {
        static const GUID LiveSetting = {0xc12bcd8e, 0x2a8e, 0x4950, {0x8a, 0xe7, 0x36, 0x25, 0x11, 0x1d, 0x58, 0xeb}};
        VARIANT polite;
        VariantInit(&polite);
        polite.vt = VT_I4;
        polite.lVal = 1;
        w.accessibility->SetHwndProp(GetDlgItem(w.dialog, IDC_STATUS), static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                     LiveSetting, polite);
    }
    LayOut(w);
    Publish(w);
    if (start.root.empty())
        Status(w, "Choose the medium's folder: the folder whose content goes onto the disc or stick.");
    TakeStartingPoint(w, start);
    UpdatePreview(w);
}

// Closes now, or when a make has ended: a medium is never left half made.
void Close(Window& w)
{
    if (w.making) {
        w.closing = true;
        Publish(w);
        Status(w, "Closing when make has finished...");
        return;
    }
    if (w.scanStop)
        *w.scanStop = true;
    w.ended = true;
    EndDialog(w.dialog, IDCANCEL);
}

void Command(Window& w, WORD id, WORD code, HWND control)
{
    switch (id) {
    case IDC_ROOT:
        if (code == EN_CHANGE)
            Scan(w);
        return;
    case IDC_BROWSE:
        if (const std::string folder = Pick(w, true, L"The medium's folder", nullptr, 0); !folder.empty()) {
            w.wantedProgram.clear();
            SetDlgItemTextW(w.dialog, IDC_ROOT, Utf16FromUtf8(folder).c_str());
        }
        return;
    case IDC_OTHER: {
        static const COMDLG_FILTERSPEC programs[] = {{L"Programs and batch files", L"*.exe;*.com;*.bat;*.cmd"},
                                                     {L"All files", L"*.*"}};
        if (const std::string program = Pick(w, false, L"The program to start", programs, 2); !program.empty()) {
            w.wantedProgram = program;
            Scan(w);
        }
        return;
    }
    case IDC_ICON_CHOICE:
        if (code == CBN_SELCHANGE) {
            const bool picture = SendMessageW(control, CB_GETCURSEL, 0, 0) == ICON_PICTURE;
            EnableWindow(GetDlgItem(w.dialog, IDC_PICTURE), picture);
            EnableWindow(GetDlgItem(w.dialog, IDC_PICTURE_BROWSE), picture);
            UpdatePreview(w);
        }
        return;
    case IDC_PICTURE:
        if (code == EN_CHANGE)
            UpdatePreview(w);
        return;
    case IDC_PICTURE_BROWSE: {
        static const COMDLG_FILTERSPEC pictures[] = {{L"Pictures and programs", L"*.png;*.bmp;*.ico;*.exe;*.dll"}};
        if (const std::string picture = Pick(w, false, L"The launcher's icon", pictures, 1); !picture.empty())
            SetDlgItemTextW(w.dialog, IDC_PICTURE, Utf16FromUtf8(picture).c_str());
        return;
    }
    case IDC_LABEL:
        if (code == EN_CHANGE)
            SetDlgItemTextW(w.dialog, IDC_LABEL_STATE,
                            Utf16FromUtf8(WhyLabelCannotBeWritten(Utf8FromUtf16(TextOf(control)))).c_str());
        return;
    case IDC_ARCH:
    case IDC_CODE_PAGE:
        if (code == CBN_SELCHANGE) {
            Scan(w);
            UpdatePreview(w);
        }
        return;
    case IDC_MAKE:
    case IDOK:
        if (w.busy == 0 && !w.closing)
            Make(w, false);
        return;
    case IDC_CHECK:
        if (w.busy == 0 && !w.closing)
            Check(w);
        return;
    case IDC_OPEN_FOLDER:
        if (const std::string root = Root(w); !root.empty())
            ShellExecuteW(w.dialog, L"open", Utf16FromUtf8(root).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
        return;
    case IDCANCEL:
        Close(w);
        return;
    default:
        return;
    }
}

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    Window& w = *TheWindow;
    switch (message) {
    case WM_INITDIALOG:
        w.dialog = dialog;
        w.worker.Start(dialog);
        InitDialog(w, *reinterpret_cast<const StartingPoint*>(lParam));
        return TRUE;
    case WM_JOB_DONE: {
        // The job counts as busy until its result is applied, a question it asks included.
        std::unique_ptr<Worker::Result> result(reinterpret_cast<Worker::Result*>(lParam));
        (*result)();
        --w.busy;
        ++w.finished;
        Publish(w);
        return TRUE;
    }
    case WM_COMMAND:
        Command(w, LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
        return TRUE;
    case WM_NOTIFY: {
        const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->idFrom == IDC_PROGRAMS && header->code == LVN_ITEMCHANGED) {
            const NMLISTVIEW* change = reinterpret_cast<const NMLISTVIEW*>(lParam);
            if ((change->uNewState ^ change->uOldState) & LVIS_SELECTED) {
                const int selected = Selected(w);
                if (selected >= 0 && static_cast<std::size_t>(selected) < w.candidates.size())
                    w.wantedProgram = w.candidates[static_cast<std::size_t>(selected)].path;
                UpdatePreview(w);
            }
        }
        return TRUE;
    }
    case WM_DRAWITEM: {
        const DRAWITEMSTRUCT* draw = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (draw->CtlID != IDC_ICON_PREVIEW)
            return FALSE;
        FillRect(draw->hDC, &draw->rcItem, GetSysColorBrush(COLOR_BTNFACE));
        if (w.preview) {
            const int size = Scaled(32, w.dpi);
            DrawIconEx(draw->hDC, draw->rcItem.left + 1, draw->rcItem.top + 1, w.preview, size, size, 0, nullptr, DI_NORMAL);
        }
        return TRUE;
    }
    case WM_DROPFILES: {
        const HDROP drop = reinterpret_cast<HDROP>(wParam);
        std::wstring path(MAX_PATH * 4, L'\0');
        const UINT length = DragQueryFileW(drop, 0, path.data(), static_cast<UINT>(path.size()));
        DragFinish(drop);
        path.resize(length);
        TakeStartingPoint(w, StartingPointFor({Utf8FromUtf16(path)}));
        return TRUE;
    }
    case WM_DPICHANGED:
        // Per monitor (v2): the dialog manager resizes the dialog and lays out its controls and
        // fonts anew when it sees this message unhandled; the pixel sizes set here follow after.
        PostMessageW(dialog, WM_DPI_FOLLOWED, 0, 0);
        return FALSE;
    case WM_DPI_FOLLOWED:
        LayOut(w);
        UpdatePreview(w);
        return TRUE;
    case WM_CLOSE:
        Close(w);
        return TRUE;
    default:
        return FALSE;
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    std::vector<std::string> arguments;
    for (int i = 1; argv != nullptr && i < argc; ++i)
        arguments.push_back(Utf8FromUtf16(argv[i]));
    LocalFree(argv);
    const StartingPoint start = StartingPointFor(arguments);
    static Window window;
    TheWindow = &window;
    DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_MAKE_MEDIUM), nullptr, DialogProc, reinterpret_cast<LPARAM>(&start));
    // A make has ended before the dialog does; what else the worker does only reads.
    ExitProcess(0);
}
