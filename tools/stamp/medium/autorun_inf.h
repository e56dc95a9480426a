// autorun.inf at a medium's root: the one make writes, and its [autorun] section read as
// Windows reads it.
#pragma once

#include "base/bytes.h"
#include "medium/launch_check.h"

#include <optional>
#include <string>
#include <vector>

// The most characters a medium's label may have.
constexpr std::size_t MaxLabelCharacters = 32;

// Why label (UTF-8) cannot be the medium's label in an autorun.inf of ours, or empty when it
// can: a control character would break the file's lines, a space at either end is dropped
// when Windows reads it, and more than MaxLabelCharacters characters are not shown.
std::string WhyLabelCannotBeWritten(const std::string& label);

// The [autorun] keys that make writes and check reads (UTF-8; absent when not given).
struct AutorunInf {
    std::optional<std::string> open;
    std::optional<std::string> shellexecute;  // like open=, through the shell
    std::optional<std::string> icon;
    std::optional<std::string> label;
    bool amd64Section = false;                 // an [AutoRun.Amd64] section is there (read or not)
};

// The autorun.inf that opens and shows the launcher named launcherName at the root, with
// label when it is not empty: lines ending in CR LF, in codePage when every character has a
// place there, else UTF-16LE with a byte-order mark.
Bytes AutorunInfFor(const std::string& launcherName, const std::string& label, unsigned codePage);

// The section 64-bit Windows reads instead of [AutoRun] when a medium has it: the shell looks
// for its architecture's section first, and once it finds a section it ignores all others.
constexpr char Amd64Section[] = "AutoRun.Amd64";

// Reads one section of file, [AutoRun] unless section names another: section and key names in
// any letter case, values trimmed, the first of a repeated key taken; text in codePage, or
// UTF-16LE or UTF-8 after a byte-order mark. False with the reason when the text cannot be
// decoded.
bool ReadAutorunInf(const Bytes& file, unsigned codePage, AutorunInf& inf, std::string& error,
                    const std::string& section = "AutoRun");

// What is wrong with an autorun.inf at root, as sentences: open= (or shellexecute=, which
// Windows uses instead when both are given) naming no file on the medium, a launcher of ours
// (among launchers, predicted on the same medium) whose verdict is not ok, or a launcher with
// arguments it would take its program's name from; icon= naming a missing file; a label over
// MaxLabelCharacters characters. Paths are read as Windows reads them: relative to the root,
// or with the medium's drive or a leading backslash; a launcher's arguments as it reads its
// command line under codePage.
std::vector<std::string> AutorunFindings(const AutorunInf& inf, MediumFolders& folders, char drive, unsigned codePage,
                                         const std::vector<Prediction>& launchers);
