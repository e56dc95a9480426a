// Signing a launcher with the author's command, and checking the file it gives back.
#include "commands/launcher_signing.h"

#include "medium/command_line.h"
#include "pe/pe_image.h"
#include "system/process.h"
#include "system/system.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <thread>

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

// Whether the command ran until it ended by itself (never ended by us).
bool RanToItsEnd(const ProcessResult& run)
{
    return run.started && !run.timedOut && !run.stopped && !run.cancelled;
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
                  SignatureInfo& info, std::string& reason, bool* retryable, bool* cancelled)
{
    bool unusedRetryable = false, unusedCancelled = false;
    bool& again = retryable != nullptr ? *retryable : unusedRetryable;
    bool& ended = cancelled != nullptr ? *cancelled : unusedCancelled;
    again = ended = false;
    const std::string file = TemporaryPath(folder, "in");
    // Named after file, so that it is held with it while the command writes it.
    const std::string out = file.substr(0, file.size() - 4) + "-out.exe";
    std::vector<std::string> argv;
    bool usesOut = false;
    if (!SigningArguments(request.command, file, out, argv, usesOut, reason))
        return false;
    const std::string program = "the signing command (" + argv[0] + ")";
    bool exists = false;
    std::string error;
    StagedFile held;  // held while the command runs: no other run takes it for a leftover
    if (!CreateHeldFile(file, launcher, exists, held, error)) {
        reason = "the launcher to sign cannot be written beside it: " + error;
        return false;
    }
    ProcessResult run;
    RunProcess(argv, request.timeoutSeconds, request.echo, run, request.cancelled);
    const std::string result = usesOut ? out : file;
    const bool read = RanToItsEnd(run) && run.exitStatus == 0 && ReadWholeFile(result, signedBytes, error);
    RemoveHeldFile(held);
    if (usesOut && PathExists(out))
        RemoveFile(out, error);

    const std::string output = run.output.empty() ? std::string()
                               : request.echo     ? std::string(" (its output is shown above)")
                                                  : ". Its output:\n" + run.output;
    auto fail = [&](const std::string& why, bool mendable = false) {
        again = mendable;
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
    if (run.stopped)
        return fail(program + " " + run.error + ": it was ended, with every process it started");
    if (run.cancelled) {
        ended = true;
        return fail(program + " was cancelled: it was ended, with every process it started");
    }
    if (run.exitStatus != 0)
        return fail(program + " failed (exit status " + std::to_string(run.exitStatus) + ")", true);
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
                    ", and --require-timestamp asks for one", true);
    return true;
}

bool SignLauncherTrying(const SignRequest& request, const std::string& folder, const Bytes& launcher, Bytes& signedBytes,
                        SignatureInfo& info, std::vector<std::string>& tries, std::string& reason, bool* cancelled)
{
    const unsigned total = request.retries + 1;
    unsigned pause = 2;
    for (unsigned attempt = 1;; ++attempt) {
        const std::string marked = "try " + std::to_string(attempt) + " of " + std::to_string(total) + ": ";
        // Shown as it comes, its output is marked where it starts.
        if (request.echo && request.retries != 0)
            std::fprintf(stderr, "launcher-stamp: signing, %s\n", marked.substr(0, marked.size() - 2).c_str());
        bool retryable = false;
        if (SignLauncher(request, folder, launcher, signedBytes, info, reason, &retryable, cancelled))
            return true;
        if (!retryable || attempt == total || (request.cancelled && request.cancelled())) {
            if (request.retries != 0)
                reason = marked + reason;
            return false;
        }
        tries.push_back(marked.substr(0, marked.size() - 2) + ", tried again in " + std::to_string(pause) + " seconds: " +
                        reason);
        if (request.pause)
            request.pause(pause);
        // A pause that a cancel cuts short.
        for (unsigned tenths = 0; !request.pause && tenths < pause * 10 && !(request.cancelled && request.cancelled()); ++tenths)
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        if (request.cancelled && request.cancelled()) {
            if (cancelled != nullptr)
                *cancelled = true;
            reason = "signing was cancelled before " + marked.substr(0, marked.size() - 2) + " was followed by another";
            return false;
        }
        pause = std::min(pause * 2, SignRetryPauseLimit);
    }
}
