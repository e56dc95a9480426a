// The launcher-stamp command line (CLI11): its subcommands, and the show and set operations.
#include "commands/stamp_command.h"

#include "commands/check_command.h"
#include "commands/icon_command.h"
#include "commands/json_answer.h"
#include "image/disc_fit.h"
#include "commands/make_command.h"
#include "commands/medium_file.h"
#include "commands/terminal_progress.h"
#include "medium/medium_place.h"
#include "pe/executable_format.h"
#include "pe/icon_resource.h"
#include "pe/launch_field.h"
#include "pe/launcher_file.h"
#include "pe/version_resource.h"
#include "system/system.h"

#include <CLI/CLI.hpp>

#include <algorithm>

namespace {

const char Usage[] =
    "usage: launcher-stamp show FILE [--codepage N] [--json]\n"
    "       launcher-stamp set FILE NAME [--output OUT] [--codepage N] [--force]\n"
    "       launcher-stamp check ROOT|IMAGE|LAUNCHER... [--drive X:] [--codepage N] [--disc D] [--json]\n"
    "       launcher-stamp set-icon FILE PICTURE [--output OUT] [--force]\n"
    "       launcher-stamp get-icon FILE OUT.ico\n"
    "       launcher-stamp make --file MEDIUM.toml [ROOT PROGRAM] [make's options below]\n"
    "       launcher-stamp make ROOT PROGRAM [make's options below] --save MEDIUM.toml\n"
    "       launcher-stamp make ROOT PROGRAM [--icon PICTURE | --launcher-icon] [--label TEXT] [--arch x86|x64] [--codepage N]\n"
    "                           [--drive X:] [--no-autorun] [--force] [--iso OUT.iso [--disc D]] [--json]\n"
    "                           [--sign COMMAND [--sign-timeout SECONDS] [--require-timestamp]]\n"
    "       launcher-stamp --help | --version\n";

// What the show and set subcommands were given.
struct Options {
    std::string file;
    std::string name;
    std::string output;
    unsigned codePage = 1252;
    bool force = false;
    bool json = false;  // show: print a JSON object instead of lines
};

// The launcher's architecture in --arch's words, x86 or x64.
std::string ArchitectureName(std::uint16_t machine)
{
    return machine == 0x8664 ? "x64" : MachineName(machine);
}

// show --json's object for the launcher loaded from options.file (its launch directory as
// text); strings are its version strings when versionRead (none when noVersion: it has no
// version resource; null when that resource cannot be read).
nlohmann::ordered_json ShowAnswer(const Options& options, const Bytes& bytes, const LauncherImage& image,
                                  const std::string& launchDirectory, bool versionRead, bool noVersion,
                                  const std::vector<VersionString>& strings)
{
    IconResource icon;
    std::string error;
    // Read again from the file, in pieces: the certificate table may lie beyond what was loaded.
    const SignatureInfo signature = SignatureOfFile(options.file, error);
    nlohmann::ordered_json sizes = nlohmann::ordered_json::array();
    if (FindIconResource(bytes, image, icon, error))
        sizes.push_back({{"width", IconImageSide}, {"height", IconImageSide}});
    // A key stored twice keeps its first value.
    nlohmann::ordered_json version =
        versionRead || noVersion ? nlohmann::ordered_json::object() : nlohmann::ordered_json();
    for (const VersionString& string : versionRead ? strings : std::vector<VersionString>()) {
        if (!version.contains(string.key))
            version[string.key] = string.value;
    }
    return {{"version", ShowAnswerVersion},
            {"launcher", options.file},
            {"launch_directory", launchDirectory},
            {"architecture", ArchitectureName(image.machine)},
            {"code_page", options.codePage},
            {"icon_sizes", sizes},
            {"version_strings", version},
            {"signed", signature.state == SignatureState::Signed},
            {"signature", SignatureJson(signature)}};
}

int Show(const Options& options, std::string& out, std::string& err)
{
    const std::string& path = options.file;
    Bytes bytes;
    LauncherImage image;
    std::string stored, text, error;
    if (!LoadLauncher(path, bytes, image, stored, err))
        return 1;
    if (!FromCodePage(stored, options.codePage, text, error)) {
        err += "launcher-stamp: " + path + ": " + error + "\n";
        return 1;
    }
    // Then what Explorer's Details tab shows of it, when it has a version resource.
    std::vector<VersionString> strings;
    bool noVersion = false;
    const bool versionRead = ReadVersionStrings(bytes, image, strings, noVersion, error);
    if (options.json) {
        out += JsonAnswerText(ShowAnswer(options, bytes, image, text, versionRead, noVersion, strings));
        return 0;
    }
    // The first line is the launch directory alone, for scripts that read it so: a field that
    // holds a line break (no Windows path does) cannot be given that way.
    if (text.find_first_of("\r\n") != std::string::npos) {
        err += "launcher-stamp: " + path + ": the launch directory field holds a line break, which no Windows path "
               "holds (show --json gives it whole)\n";
        return 1;
    }
    out += text + "\n";
    for (const VersionString& string : versionRead ? strings : std::vector<VersionString>())
        out += "  " + string.key + ": " + string.value + "\n";
    return 0;
}

int Set(const Options& options, std::string& err)
{
    const std::string& path = options.file;
    const std::string& name = options.name;
    const std::string& target = options.output.empty() ? path : options.output;
    std::string error, converted;
    if (!FieldNameFor(name, options.codePage, converted, error)) {
        err += "launcher-stamp: refused: " + error + "\n";
        return 1;
    }
    Bytes bytes;
    LauncherImage image;
    std::string stored;
    if (!LoadLauncher(path, bytes, image, stored, err))
        return 1;
    if (!PrepareChange(path, bytes, image, options.force, "stamping", err))
        return 1;
    WriteFieldName(bytes, image, converted);
    if (SaveLauncher(target, bytes, image, options.force, err) != 0)
        return 1;
    for (const std::string& warning : NewNameWarnings(name))
        err += "launcher-stamp: warning: " + warning + "\n";
    return 0;
}

}  // namespace

Opening HowOpened(bool consoleOfItsOwn, const std::vector<std::string>& arguments, bool onlyArgumentExists)
{
    if (!consoleOfItsOwn)
        return Opening::AsCommand;
    if (arguments.empty())
        return Opening::Help;
    return arguments.size() == 1 && onlyArgumentExists ? Opening::CheckDropped : Opening::AsCommand;
}

namespace {

constexpr int kGoOn = -1;  // a step's answer when the command goes on; else the exit status

// The subcommands, as added to the app.
struct Subcommands {
    CLI::App* show = nullptr;
    CLI::App* set = nullptr;
    CLI::App* check = nullptr;
    CLI::App* setIcon = nullptr;
    CLI::App* getIcon = nullptr;
    CLI::App* make = nullptr;
};

// A code page this tool converts, else a usage error that names the option.
CLI::Validator KnownCodePage()
{
    return CLI::Validator(
        [](std::string& value) {
            unsigned long codePage = 0;
            try {
                codePage = std::stoul(value);
            } catch (const std::exception&) {
            }
            return IsKnownCodePage(static_cast<unsigned>(codePage)) ? std::string()
                                                                     : "unknown code page " + value + " (known: " +
                                                                           KnownCodePages() + ")";
        },
        "CODEPAGE");
}

// The names --disc takes, in the order of the discs themselves.
std::vector<std::string> DiscOptionNames()
{
    std::vector<std::string> names;
    for (const Disc& disc : Discs())
        names.emplace_back(disc.name);
    return names;
}

void AddCodePage(CLI::App* command, unsigned& codePage)
{
    command->add_option("--codepage", codePage,
                        "ANSI code page the launcher will run under (this system's on Windows, else 1252; 932 for Japanese)")
        ->check(KnownCodePage());
}

void AddShowAndSet(CLI::App& app, Options& options, Subcommands& commands)
{
    CLI::App* show = commands.show =
        app.add_subcommand("show", "Print the launch directory stored in a launcher, then its version strings");
    show->add_option("FILE", options.file, "A built launcher")->required();
    AddCodePage(show, options.codePage);
    show->add_flag("--json", options.json,
                   "Print a JSON object: the launch directory, architecture, code page, icon sizes, version strings and signature");

    CLI::App* set = commands.set = app.add_subcommand("set", "Store a new launch directory in a launcher");
    set->add_option("FILE", options.file, "A built launcher")->required();
    set->add_option("NAME", options.name, "The new launch directory, relative or absolute")->required();
    set->add_option("--output", options.output, "Write the stamped launcher here and leave FILE as it is");
    AddCodePage(set, options.codePage);
    set->add_flag("--force", options.force, "Stamp a signed launcher too, removing its signature (sign it again after)");
}

void AddCheck(CLI::App& app, CheckOptions& check, Subcommands& commands)
{
    CLI::App* checkCommand = commands.check = app.add_subcommand(
        "check", "Predict what each launcher on a medium will start, and find the files that would hijack it");
    checkCommand->add_option("PATH", check.paths,
                             "The folder that becomes the medium's root, a disc image (read as Windows reads it), or launchers")
        ->required();
    checkCommand->add_option("--drive", check.drive, "Drive letter the medium will have (D: by default)");
    checkCommand->add_option("--codepage", check.codePage, "ANSI code page of the system (this system's on Windows, else 1252)")
        ->check(KnownCodePage());
    checkCommand->add_flag("--json", check.json, "Print a JSON array, one object per launcher");
    checkCommand->add_option("--disc", check.disc, "The disc a disc image must fit: cd, dvd, dvd-dl, bd or bd-dl")
        ->check(CLI::IsMember(DiscOptionNames()));
}

void AddIcons(CLI::App& app, IconOptions& icon, Subcommands& commands)
{
    CLI::App* setIcon = commands.setIcon =
        app.add_subcommand("set-icon", "Make a picture (PNG, BMP or ICO) or a program's icon the launcher's icon");
    setIcon->add_option("FILE", icon.file, "A built launcher")->required();
    setIcon->add_option("PICTURE", icon.picture, "A PNG, BMP or ICO file, or a Windows program (.exe, .dll)")->required();
    setIcon->add_option("--output", icon.output, "Write the changed launcher here and leave FILE as it is");
    setIcon->add_flag("--force", icon.force, "Change a signed launcher too, removing its signature (sign it again after)");

    CLI::App* getIcon = commands.getIcon = app.add_subcommand("get-icon", "Write the launcher's icon as an .ico file");
    getIcon->add_option("FILE", icon.file, "A built launcher")->required();
    getIcon->add_option("OUT", icon.picture, "The .ico file to write")->required();
}

void AddSigning(CLI::App* makeCommand, MakeOptions& make)
{
    CLI::Option* sign = makeCommand->add_option(
        "--sign", make.signCommand,
        "Your signing command, run on the launcher before it is put in place: {file} is the file to sign, {out} a "
        "file for a signer that writes elsewhere, {{ a brace; run without a shell, split as Windows splits a command line");
    makeCommand->add_option("--sign-timeout", make.signTimeoutSeconds,
                            "End the signing command, and every process it started, after this many seconds")
        ->needs(sign);
    makeCommand->add_flag("--require-timestamp", make.requireTimestamp, "Refuse a signature without a timestamp")
        ->needs(sign);
    makeCommand->add_option("--sign-retries", make.signRetries,
                            "Run the signing command again, up to this many times, when it exits with an error or "
                            "gives no timestamp that --require-timestamp asks for (after 2, 4, 8... seconds)")
        ->needs(sign);
    make.showSignOutput = true;
}

// make's options; with a medium file (withFile), ROOT and PROGRAM may come from it.
void AddMake(CLI::App& app, bool withFile, MakeOptions& make, std::string& mediumFile, std::string& saveFile,
             Subcommands& commands)
{
    CLI::App* makeCommand = commands.make = app.add_subcommand(
        "make", "Lay out a medium: the launcher for PROGRAM at ROOT, an autorun.inf, then check it");
    makeCommand->add_option("ROOT", make.root, "The folder that becomes the medium's root")->required(!withFile);
    makeCommand->add_option("PROGRAM", make.program, "The program to start, in a folder below ROOT")->required(!withFile);
    makeCommand->add_option("--file", mediumFile,
                            "Read the medium from this TOML file (its paths relative to its folder); options given "
                            "here override its keys");
    CLI::Option* save = makeCommand->add_option(
        "--save", saveFile, "Write the medium file for these options there, and make nothing (--force to replace a file)");
    CLI::Option* makeIcon = makeCommand->add_option(
        "--icon", make.icon, "A PNG, BMP or ICO file or a program for the launcher's icon (PROGRAM's own by default)");
    makeCommand->add_flag("--launcher-icon", make.launcherIcon, "Keep the launcher's own icon instead of PROGRAM's")
        ->excludes(makeIcon);
    makeCommand->add_option("--label", make.label, "The medium's label in autorun.inf (at most 32 characters)");
    makeCommand->add_option("--arch", make.arch, "x86 (the default: runs on every Windows) or x64")
        ->check(CLI::IsMember({"x86", "x64"}));
    makeCommand->add_option("--codepage", make.codePage, "ANSI code page of the systems the medium is for (this system's on Windows, else 1252)")
        ->check(KnownCodePage());
    makeCommand->add_option("--drive", make.drive, "Drive letter the medium will have, for the check (D: by default)");
    makeCommand->add_flag_callback("--no-autorun", [&make] { make.autorun = false; }, "Write no autorun.inf");
    makeCommand->add_flag("--force", make.force, "Replace files of someone else's at the names make writes");
    CLI::Option* iso = makeCommand->add_option(
        "--iso", make.iso, "Then write ROOT's disc image (ISO 9660 and Joliet) to this file, and check the image");
    makeCommand->add_option("--disc", make.disc, "The disc the image must fit: cd, dvd, dvd-dl, bd or bd-dl")
        ->check(CLI::IsMember(DiscOptionNames()))
        ->needs(iso);
    makeCommand->add_flag("--json", make.json,
                          "Print a JSON object: what became of each file, the image, and check's JSON of the result")
        ->excludes(save);
    AddSigning(makeCommand, make);
}

// Parses arguments into app's options; 0 after the help or the version, 2 on a usage error.
int Parse(CLI::App& app, const std::vector<std::string>& arguments, std::string& out, std::string& err)
{
    // "/?" still asks for the help on Windows, where no other argument is an option.
    std::vector<std::string> reversed;
    for (auto argument = arguments.rbegin(); argument != arguments.rend(); ++argument)
        reversed.push_back(*argument == "/?" ? "--help" : *argument);
    try {
        app.parse(reversed);
    } catch (const CLI::CallForHelp&) {
        out += app.help();
        return 0;
    } catch (const CLI::CallForVersion& version) {
        out += std::string(version.what()) + "\n";
        return 0;
    } catch (const CLI::ParseError& error) {
        err += "launcher-stamp: " + std::string(error.what()) + "\n" + Usage;
        return 2;
    }
    return kGoOn;
}

// What parsing leaves to do: make's medium file taken, the code page and the drive each command
// has when not given; and make --save done. kGoOn, else the exit status.
int TakeDefaults(const Subcommands& commands, const std::string& mediumFile, const std::string& saveFile,
                 Options& options, CheckOptions& check, MakeOptions& make, std::string& out, std::string& err)
{
    CLI::App* makeCommand = commands.make;
    std::vector<std::string> fileKeys;
    if (std::string reason; makeCommand->parsed() && !mediumFile.empty() &&
                            !TakeMediumFile(*makeCommand, mediumFile, make, fileKeys, reason)) {
        err += "launcher-stamp: " + reason + "\n";
        return 2;
    }
    auto fromFile = [&fileKeys](const char* key) {
        return std::find(fileKeys.begin(), fileKeys.end(), key) != fileKeys.end();
    };
    // A drive root is a ROOT as it is ("M:" is "M:\\"), and its letter the medium's drive
    // unless --drive names another.
    // A medium written to a disc image, and a disc image checked, keep the drive a disc will
    // have: where the image file lies is no drive its launchers will run from.
    auto takeDrive = [&fromFile](const CLI::App* command, std::string& root, std::string& drive, bool toImage = false) {
        root = FolderPath(root);
        if (command->count("--drive") == 0 && !fromFile("drive") && DriveOf(root) != 0 && !toImage)
            drive = std::string(1, DriveOf(root)) + ":";
    };
    // Without --codepage, the Windows tool takes the code page of the system it runs on and says
    // so; elsewhere, and where the system's is not one this tool converts, it is 1252.
    for (CLI::App* command : {commands.show, commands.set, commands.check, makeCommand}) {
        if (!command->parsed() || command->count("--codepage") != 0 || (command == makeCommand && fromFile("codepage")))
            continue;
        const unsigned system = SystemAnsiCodePage();
        const unsigned chosen = IsKnownCodePage(system) ? system : 1252;
        options.codePage = check.codePage = make.codePage = chosen;
        if (system != 0)
            err += "launcher-stamp: code page " + std::to_string(chosen) +
                   (chosen == system ? ", this system's" : ", as this system's (" + std::to_string(system) +
                                                               ") is not one this tool converts") +
                   " (--codepage to choose another)\n";
    }
    if (commands.check->parsed() && check.paths.size() == 1) {
        const bool image = MediumKindAt(check.paths[0]) == MediumKind::Image;
        takeDrive(commands.check, check.paths[0], check.drive, image);
    }
    if (makeCommand->parsed())
        takeDrive(makeCommand, make.root, make.drive, !make.iso.empty());
    if (makeCommand->parsed() && !saveFile.empty()) {
        std::string reason;
        if (!SaveMediumFile(make, saveFile, make.force, reason)) {
            err += "launcher-stamp: refused: " + reason + "\n";
            return 1;
        }
        out += saveFile + ": written (the medium; launcher-stamp make --file " + saveFile + " makes it)\n";
        return 0;
    }
    return kGoOn;
}

}  // namespace

int RunStamp(const std::vector<std::string>& arguments, std::string& out, std::string& err)
{
    CLI::App app("Shows, sets and checks what a built launcher starts, and its icon; lays out a medium.", "launcher-stamp");
    // Only "--" options: a path such as /Setup files is an argument, on Windows too (subcommands
    // take this setting from the app when they are added).
    app.allow_windows_style_options(false);
    app.set_version_flag("--version", "launcher-stamp " LAUNCHER_VERSION, "Print the version and exit");
    app.require_subcommand(1);

    Subcommands commands;
    Options options;
    AddShowAndSet(app, options, commands);
    CheckOptions check;
    AddCheck(app, check, commands);
    IconOptions icon;
    AddIcons(app, icon, commands);
    MakeOptions make;
    // With a medium file, ROOT and PROGRAM may come from it.
    const bool withFile = std::any_of(arguments.begin(), arguments.end(), [](const std::string& argument) {
        return argument == "--file" || argument.rfind("--file=", 0) == 0;
    });
    std::string mediumFile, saveFile;
    AddMake(app, withFile, make, mediumFile, saveFile, commands);

    if (const int status = Parse(app, arguments, out, err); status != kGoOn)
        return status;
    if (const int status = TakeDefaults(commands, mediumFile, saveFile, options, check, make, out, err); status != kGoOn)
        return status;
    if (commands.show->parsed())
        return Show(options, out, err);
    if (commands.set->parsed())
        return Set(options, err);
    if (commands.check->parsed())
        return RunCheck(check, out, err);
    if (commands.setIcon->parsed())
        return SetIcon(icon, err);
    if (commands.make->parsed() && !make.iso.empty() && ErrorIsTerminal()) {
        // A disc image takes a while: a person at a terminal sees how far it is.
        TerminalProgress progress;
        const int status = RunMake(make, out, err, nullptr, &progress);
        progress.Finish();
        return status;
    }
    if (commands.make->parsed())
        return RunMake(make, out, err);
    return GetIcon(icon, err);
}
