// The dialog's fields: the choices read from them, the status line and the report shown in them.
#include "window/make_medium_window.h"
#include "window/make_medium_ids.h"

#include "commands/medium_file.h"
#include "image/disc_fit.h"
#include "system/system.h"
#include "system/utf16_win32.h"

#include <commctrl.h>

namespace make_medium {

Window* TheWindow = nullptr;

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
void SaveSettings(Window& w, const std::string& root)
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

}  // namespace make_medium
