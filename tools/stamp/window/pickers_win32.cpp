// The pickers: the file, folder and save dialogs the author chooses paths with.
#include "window/make_medium_window.h"
#include "window/make_medium_ids.h"

#include "system/utf16_win32.h"

#include <filesystem>

namespace make_medium {

namespace {

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

}  // namespace

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

}  // namespace make_medium
