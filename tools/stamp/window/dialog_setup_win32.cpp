// The dialog's setup: its controls filled, the author's last choices and the starting point taken.
#include "window/make_medium_window.h"
#include "window/make_medium_ids.h"

#include "base/code_pages.h"
#include "system/system.h"
#include "system/utf16_win32.h"

#include <commctrl.h>

#include <cstdlib>

namespace make_medium {

namespace {

// The window's icon, and the programs list's columns.
void SetUpIconAndList(Window& w)
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
}

// The drop-downs' entries and the fields' limits, at their defaults.
void FillChoices(Window& w)
{
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
}

// The code pages launcher-stamp knows, listed.
void ListCodePages(Window& w)
{
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
}

// The author's last choices, where they still hold, shown in the fields.
void TakeSettings(Window& w)
{
    w.settings = ReadSettings(
        LoadStoredValues(),
        [](const std::string& folder) { return MediumKindAt(folder) == MediumKind::Folder; },
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
}

// The status line, made a live region for screen readers.
void MakeStatusLive(Window& w)
{
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
}

}  // namespace

void InitDialog(Window& w, const StartingPoint& start)
{
    SetUpIconAndList(w);
    FillChoices(w);
    ListCodePages(w);
    TakeSettings(w);
    MakeStatusLive(w);
    LayOut(w);
    Publish(w);
    if (start.root.empty() && start.mediumFile.empty() && w.settings.roots.empty())
        Status(w, "Choose the medium's folder: the folder whose content goes onto the disc or stick.");
    // Opened with nothing, it opens the last medium.
    const bool given = !start.root.empty() || !start.mediumFile.empty();
    TakeStartingPoint(w, given || w.settings.roots.empty() ? start : StartingPoint{w.settings.roots[0], "", false, {}});
    UpdatePreview(w);
}

}  // namespace make_medium
