// The launcher-stamp command line: argument handling and the show and set operations.
#include "stamp_command.h"

#include "launch_field.h"
#include "system.h"

namespace {

const char Usage[] =
    "usage: launcher-stamp show FILE [--codepage N]\n"
    "       launcher-stamp set FILE NAME [--output OUT] [--codepage N] [--force]\n"
    "Reads or rewrites the launch directory stored in a built launcher. NAME is converted to\n"
    "the ANSI code page the launcher will run under (--codepage, 1252 by default).\n";

struct Options {
    std::string command;
    std::vector<std::string> operands;
    std::string output;
    unsigned codePage = 1252;
    bool force = false;
};

bool ParseArguments(const std::vector<std::string>& arguments, Options& options, std::string& error)
{
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        const bool hasValue = i + 1 < arguments.size();
        if (argument == "--force") {
            options.force = true;
        } else if (argument == "--output" && hasValue) {
            options.output = arguments[++i];
        } else if (argument == "--codepage" && hasValue) {
            const std::string& value = arguments[++i];
            if (value.empty() || value.size() > 5 || value.find_first_not_of("0123456789") != std::string::npos) {
                error = "--codepage takes a code page number, such as 1252 or 932";
                return false;
            }
            options.codePage = static_cast<unsigned>(std::stoul(value));
        } else if (argument.size() > 1 && argument[0] == '-' && argument != "-") {
            error = "unknown option " + argument;
            return false;
        } else if (options.command.empty()) {
            options.command = argument;
        } else {
            options.operands.push_back(argument);
        }
    }
    const std::size_t wanted = options.command == "show" ? 1 : options.command == "set" ? 2 : 0;
    if (wanted == 0 || options.operands.size() != wanted) {
        error = "expected show FILE or set FILE NAME";
        return false;
    }
    if (options.command == "show" && (!options.output.empty() || options.force)) {
        error = "--output and --force belong to set";
        return false;
    }
    return true;
}

// Reads and parses a launcher and the name stored in its field; on failure err says what is
// wrong with which file.
bool LoadLauncher(const std::string& path, Bytes& bytes, LauncherImage& image, std::string& stored, std::string& err)
{
    std::string error;
    if (!ReadWholeFile(path, bytes, error) || !ReadLauncherImage(bytes, image, error)) {
        err += "launcher-stamp: " + path + ": " + error + "\n";
        return false;
    }
    if (!ReadFieldName(bytes, image, stored)) {
        err += "launcher-stamp: " + path + ": the launch directory field holds no valid name\n";
        return false;
    }
    return true;
}

int Show(const Options& options, std::string& out, std::string& err)
{
    const std::string& path = options.operands[0];
    Bytes bytes;
    LauncherImage image;
    std::string stored, text, error;
    if (!LoadLauncher(path, bytes, image, stored, err))
        return 1;
    if (!FromCodePage(stored, options.codePage, text, error)) {
        err += "launcher-stamp: " + path + ": " + error + "\n";
        return 1;
    }
    out += text + "\n";
    return 0;
}

int Set(const Options& options, std::string& err)
{
    const std::string& path = options.operands[0];
    const std::string& name = options.operands[1];
    const std::string& target = options.output.empty() ? path : options.output;
    std::string error, converted;
    if (!CheckNewName(name, error) || !ToCodePage(name, options.codePage, converted, error)) {
        err += "launcher-stamp: refused: " + error + "\n";
        return 1;
    }
    if (converted.size() >= FieldSize) {
        err += "launcher-stamp: refused: the name takes " + std::to_string(converted.size()) +
               " bytes in code page " + std::to_string(options.codePage) + "; the field holds at most 1023\n";
        return 1;
    }
    Bytes bytes;
    LauncherImage image;
    std::string stored;
    if (!LoadLauncher(path, bytes, image, stored, err))
        return 1;
    if (image.isSigned && !options.force) {
        err += "launcher-stamp: refused: " + path + " is signed and stamping breaks its signature (--force to stamp anyway)\n";
        return 1;
    }
    WriteFieldName(bytes, image, converted);
    if (!ReplaceFileAtomically(target, bytes, error)) {
        err += "launcher-stamp: " + target + ": " + error + "\n";
        return 1;
    }
    if (image.isSigned)
        err += "launcher-stamp: warning: the signature of " + target + " is no longer valid\n";
    return 0;
}

}  // namespace

int RunStamp(const std::vector<std::string>& arguments, std::string& out, std::string& err)
{
    Options options;
    std::string error;
    if (!ParseArguments(arguments, options, error)) {
        err += "launcher-stamp: " + error + "\n" + Usage;
        return 2;
    }
    return options.command == "show" ? Show(options, out, err) : Set(options, err);
}
