// The medium file: a medium's make options in TOML, kept with the medium in version control.
#pragma once

#include "commands/make_command.h"

#include <string>
#include <vector>

// A medium file's keys, in the order --save writes them; the [sign] table's as "sign.command".
const std::vector<std::string>& MediumFileKeys();

// Reads the medium file at path into options: each key it holds sets its option, and given gets
// the names of those keys (MediumFileKeys). root, icon (a picture) and image are taken relative
// to the file's folder, whatever the current folder; program is relative to root, as make's
// PROGRAM. The text is UTF-8, with or without a byte-order mark, its lines ended by LF or CRLF.
// False with the reason, naming the file and the line, when the file cannot be read, is not
// UTF-8 or not TOML, or holds a key that is not one of MediumFileKeys (the reason lists them) or a
// value of the wrong type or outside what the option takes; options is then as it was.
bool ReadMediumFile(const std::string& path, MakeOptions& options, std::vector<std::string>& given,
                    std::string& reason);

// The medium file that describes options, to be written at path: every key with its value,
// the code page too (each build would otherwise take its own system's), paths relative to
// path's folder with forward slashes, so that the same medium gives the same file on every system.
std::string MediumFileText(const MakeOptions& options, const std::string& path);

// Writes MediumFileText for options at path atomically: only where nothing is, or, with force,
// over a plain file (never through a link, never over a folder). False with the reason.
bool SaveMediumFile(const MakeOptions& options, const std::string& path, bool force, std::string& reason);

namespace CLI {
class App;
}

// make --file's options: the medium file's (ReadMediumFile), each one the command line gave
// (makeCommand's count()) taken from options instead; --force and --json only ever come from the
// command line. given gets the file's keys. False with the reason when the file cannot be read;
// options is then as it was.
bool TakeMediumFile(const CLI::App& makeCommand, const std::string& file, MakeOptions& options,
                    std::vector<std::string>& given, std::string& reason);
