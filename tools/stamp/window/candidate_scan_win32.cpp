// The scan and the preview: the candidates list below the medium's root and the launcher's icon.
#include "window/make_medium_window.h"
#include "window/make_medium_ids.h"

#include "image/disc_image.h"
#include "medium/built_launchers.h"
#include "pe/icon_resource.h"
#include "picture/icon_picture.h"
#include "system/system.h"
#include "system/utf16_win32.h"

#include <commctrl.h>


namespace make_medium {

namespace {

std::string RowText(const Candidate& candidate)
{
    if (candidate.verdict.empty())
        return "...";
    return candidate.verdict + (candidate.says.empty() ? "" : ": " + candidate.says);
}

}  // namespace

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

namespace {

// The scan's result for a disc image: its programs listed, read only, and Make off.
Worker::Result ImageScanShown(unsigned generation, const std::vector<Candidate>& found, bool cutShort,
                              const MakeOptions& choices, const std::string& unreadable)
{
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

// The scan's result for a folder (or a root that is none): the candidates and their verdicts.
Worker::Result FolderScanShown(unsigned generation, const std::vector<Candidate>& found, bool cutShort, bool folder,
                               const MakeOptions& choices)
{
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
}

// The scan itself, on the worker: the candidates below the root, or in the disc image it names.
Worker::Result ScanOnWorker(unsigned generation, const MakeOptions& choices, const std::string& wanted,
                            const std::shared_ptr<std::atomic<bool>>& stop)
{
    bool cutShort = false;
    std::vector<Candidate> found;
    OpenedMedium medium = choices.root.empty() ? OpenedMedium{} : OpenMedium(choices.root, choices.codePage);
    // A disc image's programs are listed as they lie in it, read only: its check says the rest.
    if (medium.kind == MediumKind::Image) {
        if (medium.place != nullptr)
            found = FindCandidates(*medium.place, SearchLimits(), *stop, cutShort);
        for (Candidate& candidate : found)
            candidate.verdict = "in the image (read only)";
        return ImageScanShown(generation, found, cutShort, choices, medium.reason);
    }
    const bool folder = medium.kind == MediumKind::Folder;
    if (!folder)
        return FolderScanShown(generation, found, cutShort, folder, choices);
    // One listing of each folder, for the search and the judgements alike.
    MediumFolders folders(*medium.place);
    found = FindCandidates(folders, SearchLimits(), *stop, cutShort);
    auto listed = [&found](const std::string& path) {
        for (const Candidate& candidate : found) {
            if (SameFile(candidate.path, path))
                return true;
        }
        return false;
    };
    if (!wanted.empty() && !listed(wanted))
        found.insert(found.begin(), Candidate{wanted, wanted, 0, "", ""});
    for (Candidate& candidate : found) {
        if (*stop)
            break;
        JudgeCandidate(choices, candidate, folders);
    }
    return FolderScanShown(generation, found, cutShort, folder, choices);
}

}  // namespace

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
        return ScanOnWorker(generation, choices, wanted, stop);
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

}  // namespace make_medium
