// Make and check: started from the dialog, run on the worker, their reports shown.
#include "window/make_medium_window.h"
#include "window/make_medium_ids.h"

#include "commands/medium_file.h"
#include "system/utf16_win32.h"

#include <commctrl.h>

#include <cwctype>

namespace make_medium {

namespace {

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

// The report of a make that ran: cancelled, refused, cut short or made.
void ReportMade(Window& window, const MakeOptions& options, const std::string& out, const std::string& err,
                const MakeOutcome& outcome, const MakeOptions& fromFile)
{
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
}

// The make's result, on the dialog's thread: a question when a file is in the way, else its report.
void MadeShown(const MakeOptions& options, const std::string& out, const std::string& err, const MakeOutcome& outcome,
               const MakeOptions& fromFile)
{
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
    ReportMade(window, options, out, err, outcome, fromFile);
    if (window.closing)
        End(window);
    else
        Scan(window);  // the new launcher is no candidate, and the rows' verdicts may change
}

}  // namespace

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
        return [options, out, err, outcome, fromFile]() { MadeShown(options, out, err, outcome, fromFile); };
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
        const MediumKind kind = MediumKindAt(choices.root);
        const bool image = kind == MediumKind::Image;
        return [choices, out, err, summary, image, kind]() {
            Window& window = *TheWindow;
            Report(window, Headline(summary, "", image) + "\n\n" + out + err);
            if (image) {
                Status(window, "Checked the image, for " + CodePageSaid(window, choices.codePage) +
                                   ". Make is off: a disc image is read, not written in place.");
            } else {
                Status(window, "Checked, for " + CodePageSaid(window, choices.codePage) + ".");
                if (kind == MediumKind::Folder)
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

}  // namespace make_medium
