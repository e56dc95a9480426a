// The medium file: read with toml++, written line by line in the order of its keys.
#include "commands/medium_file.h"

#include "base/code_pages.h"
#include "system/system.h"

#include <CLI/CLI.hpp>
#include <toml++/toml.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <limits>

namespace fs = std::filesystem;

namespace {

const char* const DiscKinds[] = {"cd", "dvd", "dvd-dl", "bd", "bd-dl"};

// The line of the first byte of text that is not part of valid UTF-8 (1 on), or 0 when all is.
std::size_t FirstLineNotUtf8(const std::string& text)
{
    std::size_t line = 1;
    for (std::size_t i = 0; i < text.size();) {
        const unsigned char lead = static_cast<unsigned char>(text[i]);
        std::size_t length = lead < 0x80 ? 1 : lead >= 0xC2 && lead <= 0xDF ? 2 : lead >= 0xE0 && lead <= 0xEF ? 3
                             : lead >= 0xF0 && lead <= 0xF4 ? 4 : 0;
        if (length == 0 || i + length > text.size())
            return line;
        unsigned code = length == 1 ? lead : lead & (0x7Fu >> length);
        for (std::size_t k = 1; k < length; ++k) {
            const unsigned char next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80)
                return line;
            code = code << 6 | (next & 0x3F);
        }
        // Overlong forms, surrogates and code points past U+10FFFF are not UTF-8.
        if ((length == 3 && code < 0x800) || (length == 4 && (code < 0x10000 || code > 0x10FFFF)) ||
            (code >= 0xD800 && code <= 0xDFFF))
            return line;
        line += lead == '\n' ? 1 : 0;
        i += length;
    }
    return 0;
}

// What reading a medium file found wrong, with the file's name and the line.
struct Reading {
    std::string file;
    std::string reason;

    bool Fail(const toml::source_region& where, const std::string& what)
    {
        reason = file + ":" + std::to_string(where.begin.line) + ": " + what;
        return false;
    }
};

std::string KeyList()
{
    std::string list;
    for (const std::string& key : MediumFileKeys())
        list += (list.empty() ? "" : ", ") + key;
    return list;
}

// A path given in the file: as it is when absolute, else below folder (the file's).
std::string FromFileFolder(const std::string& folder, const std::string& value)
{
    const fs::path given = fs::u8path(value);
    if (folder.empty() || given.is_absolute())
        return value;
    return (fs::u8path(folder) / given).lexically_normal().u8string();
}

// path relative to folder (both as given, made absolute from the current folder), with forward
// slashes; as it is when it lies on another drive.
std::string RelativeTo(const std::string& folder, const std::string& path)
{
    std::error_code ignored;
    const fs::path from = fs::absolute(fs::u8path(folder.empty() ? "." : folder), ignored).lexically_normal();
    const fs::path to = fs::absolute(fs::u8path(path), ignored).lexically_normal();
    const fs::path relative = to.lexically_relative(from);
    if (relative.empty())
        return fs::u8path(path).generic_u8string();
    return relative == "." ? std::string(".") : relative.generic_u8string();
}

// A TOML basic string holding text (valid UTF-8), escaped where TOML needs it.
std::string Quoted(const std::string& text)
{
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            quoted += '\\';
            quoted += c;
        } else if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04X", static_cast<unsigned>(static_cast<unsigned char>(c)));
            quoted += escape;
        } else {
            quoted += c;
        }
    }
    return quoted + "\"";
}

// One key's value in the file, read as what its option takes: each reader is false with the
// reason for a value of the wrong type or outside what the option takes.
struct KeyValue {
    const std::string& key;
    const toml::node& node;
    Reading& reading;

    // Fails with the reason what, at the value's line.
    bool Fail(const std::string& what) const
    {
        return reading.Fail(node.source(), what);
    }

    // Text in quotes (what says what it is), empty only when mayBeEmpty.
    bool Text(const char* what, std::string& into, bool mayBeEmpty = false) const
    {
        const toml::value<std::string>* value = node.as_string();
        if (value == nullptr)
            return Fail(key + " takes " + what + " in quotes");
        if (value->get().empty() && !mayBeEmpty)
            return Fail(key + " is empty; it takes " + what);
        into = value->get();
        return true;
    }

    // A whole number from 0 to most.
    bool Whole(std::int64_t most, unsigned& into) const
    {
        const toml::value<std::int64_t>* value = node.as_integer();
        if (value == nullptr || value->get() < 0 || value->get() > most)
            return Fail(key + " takes a whole number from 0 to " + std::to_string(most));
        into = static_cast<unsigned>(value->get());
        return true;
    }

    // true or false.
    bool Flag(bool& into) const
    {
        const toml::value<bool>* value = node.as_boolean();
        if (value == nullptr)
            return Fail(key + " takes true or false");
        into = value->get();
        return true;
    }
};

// A path (what says what it names), below folder (the file's) unless it is absolute.
bool TakePath(const KeyValue& given, const char* what, const std::string& folder, std::string& into)
{
    std::string value;
    if (!given.Text(what, value))
        return false;
    into = FromFileFolder(folder, value);
    return true;
}

// icon: a picture's path, or the program's or the launcher's own icon.
bool TakeIcon(const KeyValue& given, const std::string& folder, MakeOptions& options)
{
    std::string value;
    if (!given.Text("a picture's path, \"program\" or \"launcher\"", value))
        return false;
    options.launcherIcon = value == "launcher";
    options.icon = value == "launcher" || value == "program" ? std::string() : FromFileFolder(folder, value);
    return true;
}

// arch: x86 or x64.
bool TakeArch(const KeyValue& given, std::string& arch)
{
    std::string value;
    if (!given.Text("x86 or x64", value))
        return false;
    if (value != "x86" && value != "x64")
        return given.Fail("arch is \"" + value + "\"; it takes x86 or x64");
    arch = value;
    return true;
}

// codepage: a code page the tool knows.
bool TakeCodePage(const KeyValue& given, unsigned& codePage)
{
    unsigned value = 0;
    if (!given.Whole(std::numeric_limits<std::uint16_t>::max(), value))
        return false;
    if (!IsKnownCodePage(value))
        return given.Fail("unknown code page " + std::to_string(value) + " (known: " + KnownCodePages() + ")");
    codePage = value;
    return true;
}

// disc: one of DiscKinds.
bool TakeDisc(const KeyValue& given, std::string& disc)
{
    std::string value;
    if (!given.Text("cd, dvd, dvd-dl, bd or bd-dl", value))
        return false;
    if (std::find(std::begin(DiscKinds), std::end(DiscKinds), value) == std::end(DiscKinds))
        return given.Fail("disc is \"" + value + "\"; it takes cd, dvd, dvd-dl, bd or bd-dl");
    disc = value;
    return true;
}

// Reads one key's value into options. False with the reason for a value of the wrong type or
// outside what the option takes.
bool TakeKey(const std::string& key, const toml::node& node, const std::string& folder, MakeOptions& options,
             Reading& reading)
{
    const KeyValue given{key, node, reading};
    if (key == "root")
        return TakePath(given, "a folder", folder, options.root);
    if (key == "program")
        return given.Text("the program's path below root", options.program);
    if (key == "icon")
        return TakeIcon(given, folder, options);
    if (key == "label")
        return given.Text("the medium's label", options.label, true);
    if (key == "arch")
        return TakeArch(given, options.arch);
    if (key == "codepage")
        return TakeCodePage(given, options.codePage);
    if (key == "drive")
        return given.Text("a drive letter, such as \"D:\"", options.drive);
    if (key == "autorun")
        return given.Flag(options.autorun);
    if (key == "image")
        return TakePath(given, "the disc image's path", folder, options.iso);
    if (key == "disc")
        return TakeDisc(given, options.disc);
    if (key == "sign.command")
        return given.Text("the signing command", options.signCommand);
    if (key == "sign.timeout")
        return given.Whole(std::numeric_limits<unsigned>::max(), options.signTimeoutSeconds);
    if (key == "sign.require-timestamp")
        return given.Flag(options.requireTimestamp);
    if (key == "sign.retries")
        return given.Whole(100, options.signRetries);
    return true;
}

// Reads every key of table (the file's, or its [sign] table when prefix is "sign.").
bool TakeTable(const toml::table& table, const std::string& prefix, const std::string& folder, MakeOptions& options,
               std::vector<std::string>& given, Reading& reading)
{
    const std::vector<std::string>& keys = MediumFileKeys();
    for (const auto& [name, node] : table) {
        const std::string key = prefix + std::string(name.str());
        if (key == "sign") {
            if (!node.is_table())
                return reading.Fail(node.source(), "sign takes a table: [sign], then command = \"...\"");
            if (!TakeTable(*node.as_table(), "sign.", folder, options, given, reading))
                return false;
            if (!node.as_table()->contains("command"))
                return reading.Fail(node.source(), "the [sign] table names no command; it takes command = \"...\"");
            continue;
        }
        if (std::find(keys.begin(), keys.end(), key) == keys.end()) {
            const std::string why = key == "force" ? " (replacing someone else's file is for make's --force alone)"
                                                   : "";
            return reading.Fail(name.source(), "unknown key " + key + why + "; the keys are " + KeyList());
        }
        if (!TakeKey(key, node, folder, options, reading))
            return false;
        given.push_back(key);
    }
    return true;
}

}  // namespace

const std::vector<std::string>& MediumFileKeys()
{
    static const std::vector<std::string> keys = {
        "root", "program", "icon", "label", "arch", "codepage", "drive", "autorun", "image", "disc",
        "sign.command", "sign.timeout", "sign.require-timestamp", "sign.retries"};
    return keys;
}

bool ReadMediumFile(const std::string& path, MakeOptions& options, std::vector<std::string>& given,
                    std::string& reason)
{
    Reading reading{path, {}};
    Bytes bytes;
    std::string error;
    std::string leadsTo;
    if (KindOf(path, leadsTo) == EntryKind::Missing) {
        reason = path + ": there is no such file";
        return false;
    }
    // Refused before it is read when it is too large to be a medium's description, as a FIFO is.
    constexpr std::size_t Largest = 1 << 20;
    if (!ReadFileStart(path, Largest + 1, bytes, error)) {
        reason = path + ": " + error;
        return false;
    }
    if (bytes.size() > Largest) {
        reason = path + ": it is larger than 1 MiB, which no medium file is";
        return false;
    }
    std::string text(bytes.begin(), bytes.end());
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0)
        text.erase(0, 3);
    if (const std::size_t line = FirstLineNotUtf8(text); line != 0) {
        reason = path + ":" + std::to_string(line) + ": it is not UTF-8 text. What to do: save it as UTF-8.";
        return false;
    }
    MakeOptions read = options;
    std::vector<std::string> keys;
    const std::string folder = fs::u8path(path).parent_path().u8string();
    try {
        const toml::table table = toml::parse(text, path);
        if (!TakeTable(table, "", folder, read, keys, reading)) {
            reason = reading.reason;
            return false;
        }
    } catch (const toml::parse_error& failure) {
        reason = path + ":" + std::to_string(failure.source().begin.line) + ": " + std::string(failure.description());
        return false;
    }
    options = read;
    given = keys;
    return true;
}

std::string MediumFileText(const MakeOptions& options, const std::string& path)
{
    const std::string folder = fs::u8path(path).parent_path().u8string();
    std::string text = "# The medium: launcher-stamp make --file " + fs::u8path(path).filename().u8string() + "\n";
    text += "root = " + Quoted(RelativeTo(folder, options.root)) + "\n";
    // make also takes a PROGRAM given from the current folder; the file holds it below root.
    const fs::path program = fs::u8path(options.program);
    std::error_code ignored;
    const bool belowRoot = !program.is_absolute() && fs::exists(fs::u8path(options.root) / program, ignored);
    const bool fromHere = program.is_absolute() || (!belowRoot && fs::exists(program, ignored));
    text += "program = " + Quoted(fromHere ? RelativeTo(options.root, options.program) : program.generic_u8string()) + "\n";
    const std::string icon = options.launcherIcon ? "launcher"
                             : options.icon.empty() ? "program"
                                                    : RelativeTo(folder, options.icon);
    text += "icon = " + Quoted(icon) + "\n";
    if (!options.label.empty())
        text += "label = " + Quoted(options.label) + "\n";
    text += "arch = " + Quoted(options.arch) + "\n";
    text += "codepage = " + std::to_string(options.codePage) + "\n";
    text += "drive = " + Quoted(options.drive) + "\n";
    text += std::string("autorun = ") + (options.autorun ? "true" : "false") + "\n";
    if (!options.iso.empty())
        text += "image = " + Quoted(RelativeTo(folder, options.iso)) + "\n";
    if (!options.disc.empty())
        text += "disc = " + Quoted(options.disc) + "\n";
    if (!options.signCommand.empty()) {
        text += "\n[sign]\ncommand = " + Quoted(options.signCommand) + "\n";
        text += "timeout = " + std::to_string(options.signTimeoutSeconds) + "\n";
        text += std::string("require-timestamp = ") + (options.requireTimestamp ? "true" : "false") + "\n";
        text += "retries = " + std::to_string(options.signRetries) + "\n";
    }
    return text;
}

bool SaveMediumFile(const MakeOptions& options, const std::string& path, bool force, std::string& reason)
{
    const std::string text = MediumFileText(options, path);
    const Bytes bytes(text.begin(), text.end());
    std::string leadsTo, error;
    switch (KindOf(path, leadsTo)) {
    case EntryKind::Missing: {
        bool exists = false;
        if (CreateFileAtomically(path, bytes, exists, error))
            return true;
        reason = path + (exists ? ": a file appeared there meanwhile (--force to replace it)" : ": " + error);
        return false;
    }
    case EntryKind::File:
        if (!force) {
            reason = path + ": a file is in the way (--force to replace it)";
            return false;
        }
        if (ReplaceFileAtomically(path, bytes, error))
            return true;
        reason = path + ": " + error;
        return false;
    case EntryKind::Link:
        reason = path + " is a link (to " + leadsTo + "); make writes no medium file through a link";
        return false;
    default:
        reason = path + " is a folder or something other than a plain file";
        return false;
    }
}

bool TakeMediumFile(const CLI::App& makeCommand, const std::string& file, MakeOptions& options,
                    std::vector<std::string>& given, std::string& reason)
{
    MakeOptions read;
    read.showSignOutput = options.showSignOutput;
    read.force = options.force;
    read.json = options.json;
    if (!ReadMediumFile(file, read, given, reason))
        return false;
    // Options another part of the command line may not have are looked up without throwing.
    auto onCommandLine = [&makeCommand](const char* name) {
        const CLI::Option* option = makeCommand.get_option_no_throw(name);
        return option != nullptr && option->count() > 0;
    };
    if (onCommandLine("ROOT"))
        read.root = options.root;
    if (onCommandLine("PROGRAM"))
        read.program = options.program;
    if (onCommandLine("--icon") || onCommandLine("--launcher-icon")) {
        read.icon = options.icon;
        read.launcherIcon = options.launcherIcon;
    }
    if (onCommandLine("--label"))
        read.label = options.label;
    if (onCommandLine("--arch"))
        read.arch = options.arch;
    if (onCommandLine("--codepage"))
        read.codePage = options.codePage;
    if (onCommandLine("--drive"))
        read.drive = options.drive;
    if (onCommandLine("--no-autorun"))
        read.autorun = options.autorun;
    if (onCommandLine("--iso"))
        read.iso = options.iso;
    if (onCommandLine("--disc"))
        read.disc = options.disc;
    if (onCommandLine("--sign"))
        read.signCommand = options.signCommand;
    if (onCommandLine("--sign-timeout"))
        read.signTimeoutSeconds = options.signTimeoutSeconds;
    if (onCommandLine("--require-timestamp"))
        read.requireTimestamp = options.requireTimestamp;
    if (onCommandLine("--sign-retries"))
        read.signRetries = options.signRetries;
    if (read.root.empty() || read.program.empty()) {
        reason = file + ": it names no " + (read.root.empty() ? "root" : "program") + ", nor does the command line";
        return false;
    }
    read.mediumFile = file;
    options = read;
    return true;
}
