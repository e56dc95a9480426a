// The starting point: a folder and program, a disc image to check, or a medium file opened or saved.
#include "window/make_medium_window.h"
#include "window/make_medium_ids.h"

#include "commands/medium_file.h"
#include "system/utf16_win32.h"

#include <algorithm>

namespace make_medium {

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

}  // namespace make_medium
