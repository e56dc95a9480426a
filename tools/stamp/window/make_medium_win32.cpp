// make-medium.exe: make, check and explain a medium in one dialog, for authors who never open a
// console. Everything that reads or writes the medium runs on one worker thread, through the
// same make and check as launcher-stamp; the dialog only gathers choices and shows answers.
#include "window/make_medium_ids.h"
#include "window/medium_choices.h"
#include "window/window_settings.h"
#include "commands/medium_file.h"

#include "base/code_pages.h"
#include "image/disc_fit.h"
#include "image/disc_image.h"
#include "medium/autorun_inf.h"
#include "medium/built_launchers.h"
#include "pe/icon_resource.h"
#include "picture/icon_picture.h"
#include "system/dll_search_win32.h"
#include "system/system.h"
#include "system/utf16_win32.h"

#include <windows.h>
#include <commctrl.h>
#include <oleacc.h>
#include <shellapi.h>
#include <shobjidl.h>

#include <algorithm>
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
constexpr UINT WM_PROGRESS = WM_APP + 3;      // the long work in hand has gone on (WindowProgress)

// Whether path is a file that holds a disc image (by its volume descriptors).
bool IsDiscImageFile(const std::string& path)
{
    std::error_code ignored;
    std::uint64_t size = 0;
    return !path.empty() && std::filesystem::is_regular_file(std::filesystem::u8path(path), ignored) &&
           LooksLikeDiscImage(ImageFileReader(path, size));
}

// Make's progress, told from the worker to the dialog: the figures are kept here, and the dialog
// is told by a posted message at most every 50 ms (and at the end of each piece of work), so that
// it draws them when it has time. Cancel is the author's, read by the worker.
class WindowProgress : public Progress {
public:
    explicit WindowProgress(HWND dialog) : dialog_(dialog) {}

    void Advance(std::uint64_t done, std::uint64_t total) override
    {
        done_ = done;
        total_ = total;
        const ULONGLONG now = GetTickCount64();
        if (done >= total || now - posted_ >= 50) {
            posted_ = now;
            PostMessageW(dialog_, WM_PROGRESS, 0, 0);
        }
    }
    bool Cancelled() override { return cancelled_; }

    void Cancel() { cancelled_ = true; }
    // How far the work in hand is, in thousandths.
    int Thousandths() const
    {
        const std::uint64_t done = done_, total = total_;
        if (total == 0)
            return 0;
        const std::uint64_t thousandths = total < (UINT64_MAX / 1000) ? done * 1000 / total : done / (total / 1000);
        return static_cast<int>(std::min<std::uint64_t>(1000, thousandths));
    }

private:
    HWND dialog_;
    std::atomic<std::uint64_t> done_{0}, total_{0};
    std::atomic<bool> cancelled_{false};
    ULONGLONG posted_ = 0;  // the worker's alone
};

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
    bool makingImage = false;   // that make writes a disc image
    bool makingSigned = false;  // that make runs the signing command
    bool asking = false;        // a question about closing is open
    bool imageChecked = false;  // the root is a disc image, read and checked: Make is off
    bool settingRoot = false;   // the root's text is being set here, not typed
    std::string imageDefault;   // the image path last offered, replaced while the author keeps it
    std::shared_ptr<WindowProgress> progress;  // the make's, while it runs
    WindowSettings settings;    // the author's last choices, kept for the next start
    std::string mediumFile;     // the medium file open: Make runs make --file with the fields' changes; empty: none
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
    SetPropW(w.dialog, PROPERTY_PROGRESS,
             reinterpret_cast<HANDLE>(static_cast<INT_PTR>(w.progress ? w.progress->Thousandths() : 0)));
    SetPropW(w.dialog, PROPERTY_IMAGE_CHECKED, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(w.imageChecked)));
    const bool idle = w.busy == 0;
    // While a make runs, Make is its Cancel.
    const bool cancellable = w.making && w.progress && !w.progress->Cancelled();
    const std::wstring make = w.making ? L"Cancel" : L"Ma&ke";
    if (TextOf(GetDlgItem(w.dialog, IDC_MAKE)) != make)
        SetDlgItemTextW(w.dialog, IDC_MAKE, make.c_str());
    EnableWindow(GetDlgItem(w.dialog, IDC_MAKE), ((idle && !w.imageChecked) || cancellable) && !w.closing);
    EnableWindow(GetDlgItem(w.dialog, IDC_CHECK), idle && !w.closing);
    EnableWindow(GetDlgItem(w.dialog, IDC_CHECK_IMAGE), idle && !w.closing);
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

// Sets the root's text as the window's own doing (no search started by it).
void SetRoot(Window& w, const std::string& root)
{
    w.settingRoot = true;
    SetDlgItemTextW(w.dialog, IDC_ROOT, Utf16FromUtf8(root).c_str());
    w.settingRoot = false;
}

bool Checked(Window& w, int id)
{
    return IsDlgButtonChecked(w.dialog, id) == BST_CHECKED;
}

int Selected(Window& w)
{
    return ListView_GetNextItem(GetDlgItem(w.dialog, IDC_PROGRAMS), -1, LVNI_SELECTED);
}

std::string CodePageText(const Window& w, unsigned codePage)
{
    return std::to_string(codePage) + (codePage == w.systemCodePage ? " (this system's)" : "");
}

// The disc the image must fit, as make's --disc names it; empty for any disc.
std::string DiscChoice(const Window& w)
{
    const auto chosen = SendDlgItemMessageW(w.dialog, IDC_DISC, CB_GETCURSEL, 0, 0);
    const std::vector<Disc>& discs = Discs();
    return chosen > DISC_ANY && static_cast<std::size_t>(chosen) <= discs.size()
               ? discs[static_cast<std::size_t>(chosen) - 1].name
               : "";
}

// The choices as make takes them; the program is the one selected, if any.
MakeOptions Choices(Window& w)
{
    DialogFields fields;
    fields.root = Root(w);
    // A disc image's programs are listed, never chosen: nothing is made of an image.
    const int selected = Selected(w);
    if (selected >= 0 && static_cast<std::size_t>(selected) < w.candidates.size() && !w.imageChecked)
        fields.program = w.candidates[static_cast<std::size_t>(selected)].path;
    fields.icon = static_cast<int>(SendDlgItemMessageW(w.dialog, IDC_ICON_CHOICE, CB_GETCURSEL, 0, 0));
    fields.picture = Utf8FromUtf16(TextOf(GetDlgItem(w.dialog, IDC_PICTURE)));
    fields.label = Utf8FromUtf16(TextOf(GetDlgItem(w.dialog, IDC_LABEL)));
    fields.x64 = SendDlgItemMessageW(w.dialog, IDC_ARCH, CB_GETCURSEL, 0, 0) == ARCH_X64;
    const auto page = SendDlgItemMessageW(w.dialog, IDC_CODE_PAGE, CB_GETCURSEL, 0, 0);
    if (page >= 0 && static_cast<std::size_t>(page) < w.codePages.size())
        fields.codePage = w.codePages[static_cast<std::size_t>(page)];
    fields.autorun = Checked(w, IDC_AUTORUN);
    fields.image = Checked(w, IDC_IMAGE);
    fields.imagePath = Utf8FromUtf16(TextOf(GetDlgItem(w.dialog, IDC_IMAGE_PATH)));
    fields.disc = DiscChoice(w);
    fields.signCommand = Utf8FromUtf16(TextOf(GetDlgItem(w.dialog, IDC_SIGN)));
    // With a medium file open, its keys the fields do not show; the fields alone if it is gone.
    MakeOptions fromFile;
    std::vector<std::string> given;
    std::string unread;
    if (!w.mediumFile.empty() && ReadMediumFile(w.mediumFile, fromFile, given, unread))
        return OptionsForMediumFile(w.mediumFile, fromFile, fields);
    return OptionsFor(fields);
}

// Offers the image's default path while the author has not written another.
void OfferImagePath(Window& w)
{
    const HWND field = GetDlgItem(w.dialog, IDC_IMAGE_PATH);
    const std::string now = Utf8FromUtf16(TextOf(field));
    if (!Checked(w, IDC_IMAGE) || (!now.empty() && now != w.imageDefault))
        return;
    w.imageDefault = DefaultImagePath(Root(w), Utf8FromUtf16(TextOf(GetDlgItem(w.dialog, IDC_LABEL))));
    SetWindowTextW(field, Utf16FromUtf8(w.imageDefault).c_str());
}

// The drop-down's list: the last root folders, the root's text kept as it is.
void ShowRememberedRoots(Window& w)
{
    const std::wstring text = TextOf(GetDlgItem(w.dialog, IDC_ROOT));
    SendDlgItemMessageW(w.dialog, IDC_ROOT, CB_RESETCONTENT, 0, 0);
    for (const std::string& root : w.settings.roots)
        SendDlgItemMessageW(w.dialog, IDC_ROOT, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Utf16FromUtf8(root).c_str()));
    w.settingRoot = true;
    SetDlgItemTextW(w.dialog, IDC_ROOT, text.c_str());
    w.settingRoot = false;
}

// Keeps the choices for the next start; a root folder made or checked joins the remembered ones.
void SaveSettings(Window& w, const std::string& root = "")
{
    if (!root.empty()) {
        RememberRoot(w.settings, root);
        ShowRememberedRoots(w);
    }
    const MakeOptions choices = Choices(w);
    w.settings.icon = static_cast<int>(SendDlgItemMessageW(w.dialog, IDC_ICON_CHOICE, CB_GETCURSEL, 0, 0));
    w.settings.arch = choices.arch;
    w.settings.codePage = choices.codePage == w.systemCodePage ? 0 : choices.codePage;
    w.settings.image = Checked(w, IDC_IMAGE);
    w.settings.signCommand = Utf8FromUtf16(TextOf(GetDlgItem(w.dialog, IDC_SIGN)));
    SaveStoredValues(StoreSettings(w.settings));
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
    OfferImagePath(w);
    Submit(w, [generation, choices, wanted, stop]() -> Worker::Result {
        bool cutShort = false;
        std::vector<Candidate> found;
        std::error_code ignored;
        const bool folder = !choices.root.empty() && std::filesystem::is_directory(std::filesystem::u8path(choices.root), ignored);
        // One listing of each folder, for the search and the judgements alike.
        const std::unique_ptr<MediumPlace> place = FolderPlace(choices.root);
        MediumFolders folders(*place);
        if (folder)
            found = FindCandidates(folders, SearchLimits(), *stop, cutShort);
        // A disc image's programs are listed as they lie in it, read only: its check says the rest.
        const bool image = !folder && IsDiscImageFile(choices.root);
        std::string unreadable;
        if (image) {
            if (const std::unique_ptr<MediumPlace> opened = OpenMediumPlace(choices.root, choices.codePage, unreadable))
                found = FindCandidates(*opened, SearchLimits(), *stop, cutShort);
            for (Candidate& candidate : found)
                candidate.verdict = "in the image (read only)";
            return [generation, found, cutShort, choices, unreadable]() {
                Window& window = *TheWindow;
                if (generation != window.scanGeneration)
                    return;
                window.imageChecked = true;
                window.candidates = found;
                ShowCandidates(window);
                Publish(window);
                Status(window, unreadable.empty() ? "Make is off: a disc image is read, not written in place. Choose a "
                                                    "folder to make a medium."
                                                  : choices.root + " cannot be read: " + unreadable);
            };
        }
        auto listed = [&found](const std::string& path) {
            for (const Candidate& candidate : found) {
                if (SameFile(candidate.path, path))
                    return true;
            }
            return false;
        };
        if (folder && !wanted.empty() && !listed(wanted))
            found.insert(found.begin(), Candidate{wanted, wanted, 0, "", ""});
        for (Candidate& candidate : found) {
            if (*stop)
                break;
            JudgeCandidate(choices, candidate, folders);
        }
        return [generation, found, cutShort, folder, choices]() {
            Window& window = *TheWindow;
            if (generation != window.scanGeneration)
                return;
            window.imageChecked = false;
            window.candidates = found;
            ShowCandidates(window);
            UpdatePreview(window);
            Publish(window);
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

// Shows picker over the window and releases it: the path chosen, empty when cancelled.
std::string Shown(Window& w, IFileDialog* picker)
{
    std::string chosen;
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

// A file picker, or with folders a folder picker; empty when cancelled.
std::string Pick(Window& w, bool folders, const wchar_t* title, const COMDLG_FILTERSPEC* types, UINT typeCount)
{
    IFileOpenDialog* picker = nullptr;
    if (FAILED(CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&picker))))
        return {};
    FILEOPENDIALOGOPTIONS options = 0;
    picker->GetOptions(&options);
    picker->SetOptions(options | FOS_FORCEFILESYSTEM | (folders ? FOS_PICKFOLDERS : FOS_FILEMUSTEXIST));
    picker->SetTitle(title);
    if (types != nullptr)
        picker->SetFileTypes(typeCount, types);
    return Shown(w, picker);
}

// A save picker for the disc image, at the path offered; empty when cancelled.
std::string PickImageFile(Window& w)
{
    IFileSaveDialog* picker = nullptr;
    if (FAILED(CoCreateInstance(CLSID_FileSaveDialog, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&picker))))
        return {};
    static const COMDLG_FILTERSPEC images[] = {{L"Disc images", L"*.iso"}};
    FILEOPENDIALOGOPTIONS options = 0;
    picker->GetOptions(&options);
    picker->SetOptions(options | FOS_FORCEFILESYSTEM | FOS_OVERWRITEPROMPT);
    picker->SetTitle(L"The disc image to write");
    picker->SetFileTypes(1, images);
    picker->SetDefaultExtension(L"iso");
    const std::string offered = Utf8FromUtf16(TextOf(GetDlgItem(w.dialog, IDC_IMAGE_PATH)));
    if (!offered.empty()) {
        const std::filesystem::path path = std::filesystem::u8path(offered);
        picker->SetFileName(path.filename().wstring().c_str());
        IShellItem* folder = nullptr;
        if (SUCCEEDED(SHCreateItemFromParsingName(path.parent_path().wstring().c_str(), nullptr, IID_PPV_ARGS(&folder)))) {
            picker->SetFolder(folder);
            folder->Release();
        }
    }
    return Shown(w, picker);
}

// A save picker for a file of one type, at the open medium file when there is one; empty when cancelled.
std::string PickSaveFile(Window& w, const wchar_t* title, const wchar_t* type, const wchar_t* extension)
{
    IFileSaveDialog* picker = nullptr;
    if (FAILED(CoCreateInstance(CLSID_FileSaveDialog, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&picker))))
        return {};
    const std::wstring pattern = std::wstring(L"*.") + extension;
    const COMDLG_FILTERSPEC types[] = {{type, pattern.c_str()}};
    FILEOPENDIALOGOPTIONS options = 0;
    picker->GetOptions(&options);
    picker->SetOptions(options | FOS_FORCEFILESYSTEM | FOS_OVERWRITEPROMPT);
    picker->SetTitle(title);
    picker->SetFileTypes(1, types);
    picker->SetDefaultExtension(extension);
    if (!w.mediumFile.empty())
        picker->SetFileName(std::filesystem::u8path(w.mediumFile).filename().wstring().c_str());
    return Shown(w, picker);
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

// Ends the dialog, the author's choices kept for the next start.
void End(Window& w)
{
    if (w.scanStop)
        *w.scanStop = true;
    w.ended = true;
    SaveSettings(w);
    EndDialog(w.dialog, IDCANCEL);
}

// The launcher make wrote, as the check after it names it.
std::string MadeLauncher(const MakeOutcome& outcome)
{
    std::string made;
    for (std::size_t i = 0; i < outcome.check.launchers.size(); ++i) {
        if (outcome.check.counts[i])
            made = outcome.check.launchers[i].launcher;
    }
    return made;
}

// The report's line on the command line Make ran, with a medium file open; else nothing.
std::string MadeAs(const MakeOptions& options, const MakeOptions& fromFile)
{
    if (options.mediumFile.empty())
        return "";
    const std::vector<std::string> arguments = MediumFileArguments(options.mediumFile, fromFile, options);
    if (arguments.empty())
        return "As make --file " + options.mediumFile + " with the window's changes.\n";
    std::string line = "As: launcher-stamp";
    for (const std::string& argument : arguments)
        line += " " + (argument.find_first_of(" \t\"") == std::string::npos && !argument.empty() ? argument
                                                                                              : "\"" + argument + "\"");
    return line + "\n";
}

void Make(Window& w, bool force)
{
    if (w.ended)
        return;  // closed while its question was open: nothing more is written
    MakeOptions options = Choices(w);
    options.force = force;
    MakeOptions fromFile;
    std::vector<std::string> given;
    std::string unread;
    if (!w.mediumFile.empty() && !ReadMediumFile(w.mediumFile, fromFile, given, unread)) {
        Report(w, "Not made: " + unread);
        Status(w, "Nothing was made.");
        return;
    }
    if (options.root.empty() || options.program.empty() || (Checked(w, IDC_IMAGE) && options.iso.empty())) {
        Report(w, options.root.empty()      ? "Not made: choose the medium's folder first."
                  : options.program.empty() ? "Not made: choose the program to start first."
                                            : "Not made: name the disc image's file first (Save as...).");
        Status(w, "Nothing was made.");
        return;
    }
    SaveSettings(w, options.root);
    w.making = true;
    w.makingImage = !options.iso.empty();
    w.makingSigned = !options.signCommand.empty();
    w.progress = std::make_shared<WindowProgress>(w.dialog);
    SendDlgItemMessageW(w.dialog, IDC_PROGRESS, PBM_SETPOS, 0, 0);
    Status(w, "Making the medium in " + options.root + (w.makingImage ? " and its disc image" : "") + "...");
    const std::shared_ptr<WindowProgress> progress = w.progress;
    Submit(w, [options, progress, fromFile]() -> Worker::Result {
        std::string out, err;
        MakeOutcome outcome;
        RunMake(options, out, err, &outcome, progress.get());
        return [options, out, err, outcome, fromFile]() {
            Window& window = *TheWindow;
            window.making = false;
            window.makingImage = false;
            window.makingSigned = false;
            window.progress.reset();
            SendDlgItemMessageW(window.dialog, IDC_PROGRESS, PBM_SETPOS, 0, 0);
            if (outcome.refused && outcome.forceable && !window.closing) {
                Report(window, RefusalHeadline(outcome));
                Status(window, "Nothing was made yet: a file is in the way.");
                if (AskToForce(window, outcome))
                    Make(window, true);
                else
                    Status(window, "Nothing was made: the file in the way was left as it is.");
                return;
            }
            if (outcome.cancelled) {
                Report(window, CancelledHeadline(outcome) + "\n\n" + out + err);
                Status(window, "Cancelled.");
            } else if (outcome.refused || !outcome.reason.empty()) {
                Report(window, RefusalHeadline(outcome) + "\n\n" + out + err);
                Status(window, outcome.refused ? "Nothing was made." : "The medium was not made whole.");
            } else {
                // Signed, the launcher's signature in check's words right under the first line.
                const std::string made = MadeLauncher(outcome);
                const std::string signature = options.signCommand.empty() ? "" : MadeSignature(outcome.check, made);
                Report(window, Headline(outcome.check, made, !options.iso.empty()) + "\n" +
                                   (signature.empty() ? "" : signature + "\n") + MadeAs(options, fromFile) + "\n" +
                                   out + err);
                Status(window, "Made" + std::string(options.iso.empty() ? "" : ", with its disc image,") + " for " +
                                   CodePageSaid(window, options.codePage) + ".");
            }
            if (window.closing)
                End(window);
            else
                Scan(window);  // the new launcher is no candidate, and the rows' verdicts may change
        };
    });
    Publish(w);
}

void Check(Window& w)
{
    MakeOptions choices = Choices(w);
    if (choices.root.empty()) {
        Report(w, "Nothing checked: choose the medium's folder first.");
        return;
    }
    Status(w, "Checking " + choices.root + "...");
    Submit(w, [choices, disc = DiscChoice(w)]() -> Worker::Result {
        CheckOptions check;
        check.paths = {choices.root};
        check.codePage = choices.codePage;
        check.disc = disc;
        std::string out, err;
        CheckSummary summary;
        RunCheck(check, out, err, &summary);
        const bool image = IsDiscImageFile(choices.root);
        return [choices, out, err, summary, image]() {
            Window& window = *TheWindow;
            Report(window, Headline(summary, "", image) + "\n\n" + out + err);
            if (image) {
                Status(window, "Checked the image, for " + CodePageSaid(window, choices.codePage) +
                                   ". Make is off: a disc image is read, not written in place.");
            } else {
                Status(window, "Checked, for " + CodePageSaid(window, choices.codePage) + ".");
                std::error_code ignored;
                if (std::filesystem::is_directory(std::filesystem::u8path(choices.root), ignored))
                    SaveSettings(window, choices.root);
            }
        };
    });
}

// Asks whether to cancel the disc image being written, or the signing, and close; true to do so.
bool AskToCancelImage(Window& w)
{
    const bool image = w.makingImage;
    TASKDIALOGCONFIG config{};
    config.cbSize = sizeof config;
    config.hwndParent = w.dialog;
    config.dwFlags = TDF_POSITION_RELATIVE_TO_WINDOW;
    config.dwCommonButtons = TDCBF_YES_BUTTON | TDCBF_NO_BUTTON;
    config.pszWindowTitle = L"Make a medium";
    config.pszMainIcon = TD_WARNING_ICON;
    config.pszMainInstruction = image ? L"Cancel the disc image and close?" : L"Cancel the signing and close?";
    config.pszContent = image ? L"The disc image is still being written. Cancelled, it leaves no image behind; what make "
                                L"has written at the medium's root is kept. No: the image goes on, and the window stays open."
                              : L"The launcher is being signed. Cancelled, the signing command is ended with every process "
                                L"it started, and nothing is written. No: the signing goes on, and the window stays open.";
    config.nDefaultButton = IDNO;
    int pressed = IDNO;
    w.asking = true;
    SetPropW(w.dialog, PROPERTY_QUESTION, reinterpret_cast<HANDLE>(1));
    const bool asked = SUCCEEDED(TaskDialogIndirect(&config, &pressed, nullptr, nullptr));
    RemovePropW(w.dialog, PROPERTY_QUESTION);
    w.asking = false;
    return asked && pressed == IDYES;
}

// ---- the dialog --------------------------------------------------------------------------

void OpenMediumFile(Window& w, const std::string& path);

// Takes a folder and program, or a disc image, which is checked at once, or a medium file.
void TakeStartingPoint(Window& w, const StartingPoint& start)
{
    if (!start.mediumFile.empty()) {
        OpenMediumFile(w, start.mediumFile);
        return;
    }
    if (start.root.empty())
        return;
    w.mediumFile.clear();
    w.wantedProgram = start.program;
    SetRoot(w, start.root);
    Scan(w);
    if (start.image)
        Check(w);
}

// Shows the medium a medium file describes, and keeps it open for Make; says why when it cannot
// be read, and leaves the window as it was.
void OpenMediumFile(Window& w, const std::string& path)
{
    MakeOptions options;
    std::vector<std::string> given;
    std::string reason;
    if (!ReadMediumFile(path, options, given, reason)) {
        Report(w, "Not opened: " + reason);
        Status(w, "The medium file was not opened.");
        return;
    }
    // Without a code page make takes this system's, and so does the window.
    if (std::find(given.begin(), given.end(), "codepage") == given.end())
        options.codePage = w.systemCodePage != 0 ? w.systemCodePage : 1252;
    const DialogFields fields = FieldsFor(options);
    SendDlgItemMessageW(w.dialog, IDC_ICON_CHOICE, CB_SETCURSEL, static_cast<WPARAM>(fields.icon), 0);
    EnableWindow(GetDlgItem(w.dialog, IDC_PICTURE), fields.icon == ICON_PICTURE);
    EnableWindow(GetDlgItem(w.dialog, IDC_PICTURE_BROWSE), fields.icon == ICON_PICTURE);
    SetDlgItemTextW(w.dialog, IDC_PICTURE, Utf16FromUtf8(fields.picture).c_str());
    SetDlgItemTextW(w.dialog, IDC_LABEL, Utf16FromUtf8(fields.label).c_str());
    SendDlgItemMessageW(w.dialog, IDC_ARCH, CB_SETCURSEL, fields.x64 ? ARCH_X64 : ARCH_X86, 0);
    for (std::size_t i = 0; i < w.codePages.size(); ++i) {
        if (w.codePages[i] == fields.codePage)
            SendDlgItemMessageW(w.dialog, IDC_CODE_PAGE, CB_SETCURSEL, i, 0);
    }
    CheckDlgButton(w.dialog, IDC_AUTORUN, fields.autorun ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(w.dialog, IDC_IMAGE, fields.image ? BST_CHECKED : BST_UNCHECKED);
    SetDlgItemTextW(w.dialog, IDC_IMAGE_PATH, Utf16FromUtf8(fields.imagePath).c_str());
    SetDlgItemTextW(w.dialog, IDC_SIGN, Utf16FromUtf8(fields.signCommand).c_str());
    TakeStartingPoint(w, {fields.root, fields.program, false, {}});
    w.mediumFile = path;
    Status(w, "Opened " + path + ": Make makes the medium it describes, with your changes.");
}

// Writes the medium file of the window's choices (and the open file's other keys), then keeps
// it open. The picker has asked before replacing a file.
void SaveMediumFileAs(Window& w, const std::string& path)
{
    std::string reason;
    if (!SaveMediumFile(Choices(w), path, true, reason)) {
        Report(w, "Not saved: " + reason);
        Status(w, "The medium file was not saved.");
        return;
    }
    w.mediumFile = path;
    Status(w, "Saved " + path + ": launcher-stamp make --file makes this medium.");
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
    for (const wchar_t* disc : {L"Any", L"CD (700 MB)", L"DVD (4.7 GB)", L"DVD dual layer (8.5 GB)", L"BD (25 GB)",
                                L"BD dual layer (50 GB)"})
        SendDlgItemMessageW(w.dialog, IDC_DISC, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(disc));
    SendDlgItemMessageW(w.dialog, IDC_DISC, CB_SETCURSEL, DISC_ANY, 0);
    SendDlgItemMessageW(w.dialog, IDC_LABEL, EM_SETLIMITTEXT, 64, 0);
    SendDlgItemMessageW(w.dialog, IDC_SIGN, EM_SETLIMITTEXT, LongestSignCommand, 0);
    SetDlgItemTextW(w.dialog, IDC_SIGN_LIMIT, (L"Ends after " + std::to_wstring(WindowSignMinutes) + L" min").c_str());
    CheckDlgButton(w.dialog, IDC_AUTORUN, BST_CHECKED);
    SendDlgItemMessageW(w.dialog, IDC_PROGRESS, PBM_SETRANGE32, 0, 1000);

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
    // The author's last choices, where they still hold.
    w.settings = ReadSettings(
        LoadStoredValues(),
        [](const std::string& folder) {
            std::error_code ignored;
            return std::filesystem::is_directory(std::filesystem::u8path(folder), ignored);
        },
        [](unsigned page) { return IsKnownCodePage(page); });
    ShowRememberedRoots(w);
    SendDlgItemMessageW(w.dialog, IDC_ICON_CHOICE, CB_SETCURSEL, static_cast<WPARAM>(w.settings.icon), 0);
    EnableWindow(GetDlgItem(w.dialog, IDC_PICTURE), w.settings.icon == ICON_PICTURE);
    EnableWindow(GetDlgItem(w.dialog, IDC_PICTURE_BROWSE), w.settings.icon == ICON_PICTURE);
    SendDlgItemMessageW(w.dialog, IDC_ARCH, CB_SETCURSEL, w.settings.arch == "x64" ? ARCH_X64 : ARCH_X86, 0);
    CheckDlgButton(w.dialog, IDC_IMAGE, w.settings.image ? BST_CHECKED : BST_UNCHECKED);
    SetDlgItemTextW(w.dialog, IDC_SIGN, Utf16FromUtf8(w.settings.signCommand).c_str());

    const unsigned chosen = w.settings.codePage != 0 ? w.settings.codePage : w.systemCodePage != 0 ? w.systemCodePage : 1252;
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
    if (start.root.empty() && start.mediumFile.empty() && w.settings.roots.empty())
        Status(w, "Choose the medium's folder: the folder whose content goes onto the disc or stick.");
    // Opened with nothing, it opens the last medium.
    const bool given = !start.root.empty() || !start.mediumFile.empty();
    TakeStartingPoint(w, given || w.settings.roots.empty() ? start : StartingPoint{w.settings.roots[0], "", false, {}});
    UpdatePreview(w);
}

// Closes now, or when a make has ended: a medium is never left half made.
// During a disc image, asks first whether to cancel it; the window then closes once it has stopped.
void Close(Window& w)
{
    if (w.asking || w.ended)
        return;
    if (w.making && (w.makingImage || w.makingSigned) && !w.closing) {
        if (!AskToCancelImage(w))
            return;
        if (!w.making) {
            End(w);  // it ended while the question was open
            return;
        }
        w.progress->Cancel();
        Status(w, w.makingImage ? "Cancelling the disc image, then closing..." : "Cancelling the signing, then closing...");
    }
    if (w.making) {
        w.closing = true;
        Publish(w);
        if (!w.makingImage && !w.makingSigned)
            Status(w, "Closing when make has finished...");
        return;
    }
    End(w);
}

void Command(Window& w, WORD id, WORD code, HWND control)
{
    switch (id) {
    case IDC_ROOT:
        if (code == CBN_EDITCHANGE && !w.settingRoot) {
            Scan(w);
        } else if (code == CBN_SELCHANGE) {
            // The list's choice reaches the field after this message: taken from the list.
            const auto chosen = SendMessageW(control, CB_GETCURSEL, 0, 0);
            if (chosen >= 0 && static_cast<std::size_t>(chosen) < w.settings.roots.size()) {
                w.wantedProgram.clear();
                SetRoot(w, w.settings.roots[static_cast<std::size_t>(chosen)]);
                Scan(w);
            }
        }
        return;
    case IDC_BROWSE:
        if (const std::string folder = Pick(w, true, L"The medium's folder", nullptr, 0); !folder.empty()) {
            w.wantedProgram.clear();
            SetRoot(w, folder);
            Scan(w);
        }
        return;
    case IDC_CHECK_IMAGE: {
        static const COMDLG_FILTERSPEC images[] = {{L"Disc images", L"*.iso"}, {L"All files", L"*.*"}};
        if (const std::string image = Pick(w, false, L"The disc image to check", images, 2); !image.empty() && w.busy == 0)
            TakeStartingPoint(w, {image, "", true, {}});
        return;
    }
    case IDC_IMAGE:
        if (code == BN_CLICKED)
            OfferImagePath(w);
        return;
    case IDC_IMAGE_BROWSE:
        if (const std::string image = PickImageFile(w); !image.empty()) {
            SetDlgItemTextW(w.dialog, IDC_IMAGE_PATH, Utf16FromUtf8(image).c_str());
            CheckDlgButton(w.dialog, IDC_IMAGE, BST_CHECKED);
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
        if (code == EN_CHANGE) {
            SetDlgItemTextW(w.dialog, IDC_LABEL_STATE,
                            Utf16FromUtf8(WhyLabelCannotBeWritten(Utf8FromUtf16(TextOf(control)))).c_str());
            OfferImagePath(w);
        }
        return;
    case IDC_ARCH:
    case IDC_CODE_PAGE:
        if (code == CBN_SELCHANGE) {
            Scan(w);
            UpdatePreview(w);
        }
        return;
    case IDC_MAKE:
        if (w.making && w.progress && !w.closing) {
            w.progress->Cancel();
            Status(w, w.makingImage ? "Cancelling the disc image..." : "Cancelling...");
            Publish(w);
            return;
        }
        [[fallthrough]];
    case IDOK:
        if (w.busy == 0 && !w.closing && !w.imageChecked)
            Make(w, false);
        return;
    case IDC_CHECK:
        if (w.busy == 0 && !w.closing)
            Check(w);
        return;
    case IDC_OPEN_MEDIUM_FILE: {
        static const COMDLG_FILTERSPEC media[] = {{L"Medium files", L"*.toml"}};
        if (const std::string file = Pick(w, false, L"The medium file to open", media, 1); !file.empty() && w.busy == 0)
            OpenMediumFile(w, file);
        return;
    }
    case IDC_SAVE_MEDIUM_FILE:
        if (const std::string file = PickSaveFile(w, L"The medium file to save", L"Medium files", L"toml"); !file.empty())
            SaveMediumFileAs(w, file);
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
    case WM_PROGRESS:
        if (w.progress) {
            SendDlgItemMessageW(dialog, IDC_PROGRESS, PBM_SETPOS, static_cast<WPARAM>(w.progress->Thousandths()), 0);
            Publish(w);
        }
        return TRUE;
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
    // Before COM, the common controls and the shell load theirs: never a DLL planted beside it.
    LimitDllSearchToSystemFolder();
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS};
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
