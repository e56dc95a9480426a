// The make-medium dialog's shared state and the functions its files call of one another (window/ only).
#pragma once

#include "window/medium_choices.h"
#include "window/window_settings.h"

#include "image/progress.h"

#include <windows.h>
#include <oleacc.h>
#include <shobjidl.h>

#include <atomic>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace make_medium {

// ---- the worker --------------------------------------------------------------------------

constexpr UINT WM_JOB_DONE = WM_APP + 1;      // lParam: the job's std::function<void()> to run on the dialog's thread
constexpr UINT WM_DPI_FOLLOWED = WM_APP + 2;  // the dialog manager has followed a DPI change
constexpr UINT WM_PROGRESS = WM_APP + 3;      // the long work in hand has gone on (WindowProgress)

// Make's progress, told from the worker to the dialog: the figures are kept here, and the dialog
// is told by a posted message at most every 50 ms (and at the end of each piece of work), so that
// it draws them when it has time. Cancel is the author's, read by the worker.
class WindowProgress : public Progress {
public:
    explicit WindowProgress(HWND dialog) : dialog_(dialog) {}

    void Advance(std::uint64_t done, std::uint64_t total) override;
    bool Cancelled() override { return cancelled_; }

    void Cancel() { cancelled_ = true; }
    // How far the work in hand is, in thousandths.
    int Thousandths() const;

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

    void Start(HWND dialog);
    void Queue(Job job);

private:
    static DWORD WINAPI Run(void* self);

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

// The one dialog, for the results the worker hands back.
extern Window* TheWindow;

// Shows the busy count, the progress and the buttons' state (window_worker_win32.cpp).
void Publish(Window& w);
// Counts job as busy and queues it on the worker.
void Submit(Window& w, Worker::Job job);

// ---- the dialog's fields (dialog_fields_win32.cpp) -----------------------------------------

// Lines as an edit control shows them: CR LF.
std::wstring ForEdit(const std::string& text);
std::wstring TextOf(HWND control);
// Whether two paths name the same file, as Windows compares them.
bool SameFile(const std::string& a, const std::string& b);
UINT DpiOf(HWND window);
int Scaled(int pixels, UINT dpi);
// Says text in the status line, and to screen readers, where Windows supports it, as a live region.
void Status(Window& w, const std::string& text);
void Report(Window& w, const std::string& text);
std::string Root(Window& w);
// Sets the root's text as the window's own doing (no search started by it).
void SetRoot(Window& w, const std::string& root);
bool Checked(Window& w, int id);
int Selected(Window& w);
std::string CodePageText(const Window& w, unsigned codePage);
// The disc the image must fit, as make's --disc names it; empty for any disc.
std::string DiscChoice(const Window& w);
// The choices as make takes them; the program is the one selected, if any.
MakeOptions Choices(Window& w);
// Offers the image's default path while the author has not written another.
void OfferImagePath(Window& w);
// The drop-down's list: the last root folders, the root's text kept as it is.
void ShowRememberedRoots(Window& w);
// Keeps the choices for the next start; a root folder made or checked joins the remembered ones.
void SaveSettings(Window& w, const std::string& root = "");
// Pixel sizes the dialog manager does not scale: the list's columns and the icon preview.
void LayOut(Window& w);

// ---- the scan and the preview (candidate_scan_win32.cpp) ---------------------------------

void ShowCandidates(Window& w);
// Looks for the programs below the medium's root again, and says what a launcher would do for
// each; the wanted program joins them when the search does not find it.
void Scan(Window& w);
// The icon the launcher will get, drawn at the window's DPI: the program's own, a picture, or the
// launcher's own, read on the worker.
void UpdatePreview(Window& w);

// ---- the pickers (pickers_win32.cpp) -----------------------------------------------------

// A file picker, or with folders a folder picker; empty when cancelled.
std::string Pick(Window& w, bool folders, const wchar_t* title, const COMDLG_FILTERSPEC* types, UINT typeCount);
// A save picker for the disc image, at the path offered; empty when cancelled.
std::string PickImageFile(Window& w);
// A save picker for a file of one type, at the open medium file when there is one; empty when cancelled.
std::string PickSaveFile(Window& w, const wchar_t* title, const wchar_t* type, const wchar_t* extension);

// ---- make and check (make_and_check_win32.cpp) -------------------------------------------

// Makes the medium of the window's choices on the worker and shows the report; force goes on
// over a file in the way.
void Make(Window& w, bool force);
// Checks the medium's root (a folder or a disc image) on the worker and shows the report.
void Check(Window& w);
// Asks whether to cancel the disc image being written, or the signing, and close; true to do so.
bool AskToCancelImage(Window& w);

// ---- the starting point and the medium file (starting_point_win32.cpp) -------------------

// Takes a folder and program, or a disc image, which is checked at once, or a medium file.
void TakeStartingPoint(Window& w, const StartingPoint& start);
// Shows the medium a medium file describes, and keeps it open for Make; says why when it cannot
// be read, and leaves the window as it was.
void OpenMediumFile(Window& w, const std::string& path);
// Writes the medium file of the window's choices (and the open file's other keys), then keeps
// it open. The picker has asked before replacing a file.
void SaveMediumFileAs(Window& w, const std::string& path);

// ---- the dialog (dialog_setup_win32.cpp, dialog_procedure_win32.cpp) ---------------------

// Fills the controls, takes the author's last choices and the starting point.
void InitDialog(Window& w, const StartingPoint& start);
// Ends the dialog, the author's choices kept for the next start.
void End(Window& w);
INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace make_medium
