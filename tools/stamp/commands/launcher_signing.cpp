// Signing a launcher with the author's command, and checking the file it gives back.
#include "commands/launcher_signing.h"

#include "medium/command_line.h"
#include "pe/pe_image.h"
#include "system/process.h"
#include "system/system.h"

#include <algorithm>
#include <random>

namespace {

// Replaces the placeholders of one argument; false with the reason on an unknown one.
bool Expand(const std::string& argument, const std::string& file, const std::string& out, std::string& expanded,
            bool& usesFile, bool& usesOut, std::string& error)
{
    expanded.clear();
    for (std::size_t i = 0; i < argument.size(); ++i) {
        if (argument[i] != '{') {
            expanded += argument[i];
            continue;
        }
        if (argument.compare(i, 2, "{{") == 0) {
            expanded += '{';
            i += 1;
        } else if (argument.compare(i, 6, "{file}") == 0) {
            expanded += file;
            usesFile = true;
            i += 5;
        } else if (argument.compare(i, 5, "{out}") == 0) {
            expanded += out;
            usesOut = true;
            i += 4;
        } else {
            error = "the signing command holds a { that is neither {file}, {out} nor {{ (write {{ for a brace)";
            return false;
        }
    }
    return true;
}

// A name for a temporary file of ours beside the launcher, unique to this run.
std::string TemporaryPath(const std::string& folder, const char* what)
{
    return ChildPath(folder, std::string(TemporaryNamePrefix) + "sign-" + what + "-" + std::to_string(std::random_device{}()) +
                                 ".exe");
}

}  // namespace

bool SigningArguments(const std::string& command, const std::string& file, const std::string& out,
                      std::vector<std::string>& argv, bool& usesOut, std::string& error)
{
    argv.clear();
    usesOut = false;
    bool usesFile = false;
    if (command.find_first_not_of(" \t") == std::string::npos) {
        error = "the signing command is empty";
        return false;
    }
    const ReceivedCommandLine split = SplitLikeTheCRuntime(command.substr(command.find_first_not_of(" \t")));
    for (const std::string& argument : split.argv) {
        std::string expanded;
        if (!Expand(argument, file, out, expanded, usesFile, usesOut, error))
            return false;
        argv.push_back(expanded);
    }
    if (!usesFile) {
        error = "the signing command names no {file}, the file to sign";
        return false;
    }
    return true;
}

bool CheckSigningCommand(const std::string& command, std::string& error)
{
    std::vector<std::string> argv;
    bool usesOut = false;
    return SigningArguments(command, "file", "out", argv, usesOut, error);
}

bool OnlySignatureAdded(const Bytes& unsignedBytes, const Bytes& signedBytes, std::string& error)
{
    LauncherImage before, after;
    std::string reason;
    if (!ReadProgramImage(signedBytes, after, reason) || !ReadProgramImage(unsignedBytes, before, reason)) {
        error = "the signed file is no Windows program any more (" + reason + ")";
        return false;
    }
    if (after.certificateSize == 0) {
        error = "the file carries no signature after it (it signed nothing)";
        return false;
    }
    const std::uint64_t tableStart = after.certificateOffset;
    if (tableStart < unsignedBytes.size() || tableStart + after.certificateSize != signedBytes.size()) {
        error = "the certificate table does not follow the launcher's own bytes at the end of the file";
        return false;
    }
    for (std::size_t i = 0; i < unsignedBytes.size(); ++i) {
        const bool checksum = i >= before.checksumOffset && i < before.checksumOffset + 4;
        const bool entry = i >= before.securityEntryOffset && i < before.securityEntryOffset + 8;
        if (signedBytes[i] != unsignedBytes[i] && !checksum && !entry) {
            error = "it changed the launcher's bytes at offset " + std::to_string(i) +
                    ", not only the signature's (the certificate table, its directory entry and the CheckSum)";
            return false;
        }
    }
    if (!std::all_of(signedBytes.begin() + static_cast<std::ptrdiff_t>(unsignedBytes.size()),
                     signedBytes.begin() + static_cast<std::ptrdiff_t>(tableStart), [](unsigned char b) { return b == 0; })) {
        error = "it added bytes other than zero padding before the certificate table";
        return false;
    }
    return true;
}

bool SignLauncher(const SignRequest& request, const std::string& folder, const Bytes& launcher, Bytes& signedBytes,
                  SignatureInfo& info, std::string& reason)
{
    const std::string file = TemporaryPath(folder, "in");
    const std::string out = TemporaryPath(folder, "out");
    std::vector<std::string> argv;
    bool usesOut = false;
    if (!SigningArguments(request.command, file, out, argv, usesOut, reason))
        return false;
    const std::string program = "the signing command (" + argv[0] + ")";
    bool exists = false;
    std::string error;
    if (!CreateFileAtomically(file, launcher, exists, error)) {
        reason = "the launcher to sign cannot be written beside it: " + error;
        return false;
    }
    ProcessResult run;
    RunProcess(argv, request.timeoutSeconds, request.echo, run);
    const std::string result = usesOut ? out : file;
    const bool read = run.started && !run.timedOut && run.exitStatus == 0 && ReadWholeFile(result, signedBytes, error);
    RemoveFile(file, error);
    if (usesOut && PathExists(out))
        RemoveFile(out, error);

    const std::string output = run.output.empty() ? std::string()
                               : request.echo     ? std::string(" (its output is shown above)")
                                                  : ". Its output:\n" + run.output;
    auto fail = [&](const std::string& why) {
        reason = why + output;
        if (!reason.empty() && reason.back() == '\n')
            reason.pop_back();
        return false;
    };
    if (!run.started)
        return fail(program + " cannot be started: " + run.error);
    if (run.timedOut)
        return fail(program + " did not end within " + std::to_string(request.timeoutSeconds) +
                    " seconds (--sign-timeout): it was ended, with every process it started");
    if (run.exitStatus != 0)
        return fail(program + " failed (exit status " + std::to_string(run.exitStatus) + ")");
    if (!read)
        return fail(program + " left no signed file" + (usesOut ? " at {out}" : "") + ": " + error);
    if (!OnlySignatureAdded(launcher, signedBytes, error))
        return fail(program + ": " + error);
    info = ReadSignature(signedBytes);
    if (info.state != SignatureState::Signed)
        return fail(program + ": the signature it added does not verify: " + info.problem);
    if (info.onlySha1)
        return fail(program + " signed with SHA-1 alone: sign with SHA-256 or stronger (signtool /fd SHA256, osslsigncode -h sha256)");
    if (request.requireTimestamp && !info.timestamped)
        return fail(program + (info.timestampProblem.empty() ? " added no timestamp"
                                                              : " added a timestamp that does not count (" + info.timestampProblem + ")") +
                    ", and --require-timestamp asks for one");
    return true;
}
