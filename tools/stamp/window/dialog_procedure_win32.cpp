// The dialog procedure: one small handler per control and per message.
#include "window/make_medium_window.h"
#include "window/make_medium_ids.h"

#include "medium/autorun_inf.h"
#include "system/utf16_win32.h"

#include <commctrl.h>
#include <shellapi.h>

namespace make_medium {

// Ends the dialog, the author's choices kept for the next start.
void End(Window& w)
{
    if (w.scanStop)
        *w.scanStop = true;
    w.ended = true;
    SaveSettings(w);
    EndDialog(w.dialog, IDCANCEL);
}

namespace {

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

// ---- one handler per control: each takes the control's notification code and the control ----

void OnRoot(Window& w, WORD code, HWND control)
{
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
}

void OnBrowse(Window& w, WORD, HWND)
{
    if (const std::string folder = Pick(w, true, L"The medium's folder", nullptr, 0); !folder.empty()) {
        w.wantedProgram.clear();
        SetRoot(w, folder);
        Scan(w);
    }
}

void OnCheckImage(Window& w, WORD, HWND)
{
    static const COMDLG_FILTERSPEC images[] = {{L"Disc images", L"*.iso"}, {L"All files", L"*.*"}};
    if (const std::string image = Pick(w, false, L"The disc image to check", images, 2); !image.empty() && w.busy == 0)
        TakeStartingPoint(w, {image, "", true, {}});
}

void OnImage(Window& w, WORD code, HWND)
{
    if (code == BN_CLICKED)
        OfferImagePath(w);
}

void OnImageBrowse(Window& w, WORD, HWND)
{
    if (const std::string image = PickImageFile(w); !image.empty()) {
        SetDlgItemTextW(w.dialog, IDC_IMAGE_PATH, Utf16FromUtf8(image).c_str());
        CheckDlgButton(w.dialog, IDC_IMAGE, BST_CHECKED);
    }
}

void OnOther(Window& w, WORD, HWND)
{
    static const COMDLG_FILTERSPEC programs[] = {{L"Programs and batch files", L"*.exe;*.com;*.bat;*.cmd"},
                                                 {L"All files", L"*.*"}};
    if (const std::string program = Pick(w, false, L"The program to start", programs, 2); !program.empty()) {
        w.wantedProgram = program;
        Scan(w);
    }
}

void OnIconChoice(Window& w, WORD code, HWND control)
{
    if (code == CBN_SELCHANGE) {
        const bool picture = SendMessageW(control, CB_GETCURSEL, 0, 0) == ICON_PICTURE;
        EnableWindow(GetDlgItem(w.dialog, IDC_PICTURE), picture);
        EnableWindow(GetDlgItem(w.dialog, IDC_PICTURE_BROWSE), picture);
        UpdatePreview(w);
    }
}

void OnPicture(Window& w, WORD code, HWND)
{
    if (code == EN_CHANGE)
        UpdatePreview(w);
}

void OnPictureBrowse(Window& w, WORD, HWND)
{
    static const COMDLG_FILTERSPEC pictures[] = {{L"Pictures and programs", L"*.png;*.bmp;*.ico;*.exe;*.dll"}};
    if (const std::string picture = Pick(w, false, L"The launcher's icon", pictures, 1); !picture.empty())
        SetDlgItemTextW(w.dialog, IDC_PICTURE, Utf16FromUtf8(picture).c_str());
}

void OnLabel(Window& w, WORD code, HWND control)
{
    if (code == EN_CHANGE) {
        SetDlgItemTextW(w.dialog, IDC_LABEL_STATE,
                        Utf16FromUtf8(WhyLabelCannotBeWritten(Utf8FromUtf16(TextOf(control)))).c_str());
        OfferImagePath(w);
    }
}

// The architecture and the code page: both change the verdicts and the launcher's icon.
void OnArchOrCodePage(Window& w, WORD code, HWND)
{
    if (code == CBN_SELCHANGE) {
        Scan(w);
        UpdatePreview(w);
    }
}

void OnOk(Window& w, WORD, HWND)
{
    if (w.busy == 0 && !w.closing && !w.imageChecked)
        Make(w, false);
}

// While a make runs, Make is its Cancel.
void OnMake(Window& w, WORD code, HWND control)
{
    if (w.making && w.progress && !w.closing) {
        w.progress->Cancel();
        Status(w, w.makingImage ? "Cancelling the disc image..." : "Cancelling...");
        Publish(w);
        return;
    }
    OnOk(w, code, control);
}

void OnCheck(Window& w, WORD, HWND)
{
    if (w.busy == 0 && !w.closing)
        Check(w);
}

void OnOpenMediumFile(Window& w, WORD, HWND)
{
    static const COMDLG_FILTERSPEC media[] = {{L"Medium files", L"*.toml"}};
    if (const std::string file = Pick(w, false, L"The medium file to open", media, 1); !file.empty() && w.busy == 0)
        OpenMediumFile(w, file);
}

void OnSaveMediumFile(Window& w, WORD, HWND)
{
    if (const std::string file = PickSaveFile(w, L"The medium file to save", L"Medium files", L"toml"); !file.empty())
        SaveMediumFileAs(w, file);
}

void OnOpenFolder(Window& w, WORD, HWND)
{
    if (const std::string root = Root(w); !root.empty())
        ShellExecuteW(w.dialog, L"open", Utf16FromUtf8(root).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void OnCancel(Window& w, WORD, HWND)
{
    Close(w);
}

// Each control's handler; a control not named here does nothing.
struct ControlHandler {
    WORD id;
    void (*handle)(Window& w, WORD code, HWND control);
};
const ControlHandler ControlHandlers[] = {
    {IDC_ROOT, OnRoot},
    {IDC_BROWSE, OnBrowse},
    {IDC_CHECK_IMAGE, OnCheckImage},
    {IDC_IMAGE, OnImage},
    {IDC_IMAGE_BROWSE, OnImageBrowse},
    {IDC_OTHER, OnOther},
    {IDC_ICON_CHOICE, OnIconChoice},
    {IDC_PICTURE, OnPicture},
    {IDC_PICTURE_BROWSE, OnPictureBrowse},
    {IDC_LABEL, OnLabel},
    {IDC_ARCH, OnArchOrCodePage},
    {IDC_CODE_PAGE, OnArchOrCodePage},
    {IDC_MAKE, OnMake},
    {IDOK, OnOk},
    {IDC_CHECK, OnCheck},
    {IDC_OPEN_MEDIUM_FILE, OnOpenMediumFile},
    {IDC_SAVE_MEDIUM_FILE, OnSaveMediumFile},
    {IDC_OPEN_FOLDER, OnOpenFolder},
    {IDCANCEL, OnCancel},
};

void Command(Window& w, WORD id, WORD code, HWND control)
{
    for (const ControlHandler& handler : ControlHandlers) {
        if (handler.id == id) {
            handler.handle(w, code, control);
            return;
        }
    }
}

// ---- one handler per message -------------------------------------------------------------

// The job counts as busy until its result is applied, a question it asks included.
void OnJobDone(Window& w, LPARAM lParam)
{
    std::unique_ptr<Worker::Result> result(reinterpret_cast<Worker::Result*>(lParam));
    (*result)();
    --w.busy;
    ++w.finished;
    Publish(w);
}

void OnNotify(Window& w, LPARAM lParam)
{
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
}

// Draws the icon preview; FALSE for any other owner-drawn control.
INT_PTR OnDrawItem(Window& w, LPARAM lParam)
{
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

void OnDropFiles(Window& w, WPARAM wParam)
{
    const HDROP drop = reinterpret_cast<HDROP>(wParam);
    std::wstring path(MAX_PATH * 4, L'\0');
    const UINT length = DragQueryFileW(drop, 0, path.data(), static_cast<UINT>(path.size()));
    DragFinish(drop);
    path.resize(length);
    TakeStartingPoint(w, StartingPointFor({Utf8FromUtf16(path)}));
}

void OnProgress(Window& w, HWND dialog)
{
    if (w.progress) {
        SendDlgItemMessageW(dialog, IDC_PROGRESS, PBM_SETPOS, static_cast<WPARAM>(w.progress->Thousandths()), 0);
        Publish(w);
    }
}

}  // namespace

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    Window& w = *TheWindow;
    switch (message) {
    case WM_INITDIALOG:
        w.dialog = dialog;
        w.worker.Start(dialog);
        InitDialog(w, *reinterpret_cast<const StartingPoint*>(lParam));
        return TRUE;
    case WM_JOB_DONE:
        OnJobDone(w, lParam);
        return TRUE;
    case WM_COMMAND:
        Command(w, LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
        return TRUE;
    case WM_NOTIFY:
        OnNotify(w, lParam);
        return TRUE;
    case WM_DRAWITEM:
        return OnDrawItem(w, lParam);
    case WM_DROPFILES:
        OnDropFiles(w, wParam);
        return TRUE;
    case WM_DPICHANGED:
        // Per monitor (v2): the dialog manager resizes the dialog and lays out its controls and
        // fonts anew when it sees this message unhandled; the pixel sizes set here follow after.
        PostMessageW(dialog, WM_DPI_FOLLOWED, 0, 0);
        return FALSE;
    case WM_PROGRESS:
        OnProgress(w, dialog);
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

}  // namespace make_medium
