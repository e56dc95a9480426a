// Signing a launcher with the author's own signing command, and proving what it did.
#pragma once

#include "base/bytes.h"
#include "pe/authenticode.h"

#include <functional>
#include <string>
#include <vector>

// How a launcher is signed.
struct SignRequest {
    std::string command;          // the signing command line, with {file} (and {out}) in it
    unsigned timeoutSeconds = 0;  // after this the command is ended (0: no limit)
    bool requireTimestamp = false;  // a signature without a timestamp is refused
    bool echo = false;            // the command's output is shown as it comes (on a console)
    std::function<bool()> cancelled;  // when it says so, the command is ended and signing refused
    unsigned retries = 0;         // a refused try that another may mend is followed by up to this many
    std::function<void(unsigned)> pause;  // waits that many seconds between tries (empty: sleeps)
};

// Splits command as the C runtime splits a Windows command line, then puts file for each
// {file}, out for each {out} and { for each {{. False with the reason when command is
// empty, lacks {file}, or holds any other {...}. usesOut tells whether {out} appears.
bool SigningArguments(const std::string& command, const std::string& file, const std::string& out,
                      std::vector<std::string>& argv, bool& usesOut, std::string& error);

// Whether command can be used (SigningArguments accepts it); false with the reason.
bool CheckSigningCommand(const std::string& command, std::string& error);

// Signs the launcher bytes: writes them to a temporary file of ours in folder (and names a
// temporary {out} beside it), runs the command there, and takes the result only when every one
// of these holds: the command exited with 0; the file now carries a certificate table; nothing
// but the table, the CheckSum and the table's directory entry changed (zero padding before the
// table aside); every digest of every signature matches our own hash, and some signature's
// image digest is SHA-256 or stronger; a timestamp, when required. Then signedBytes gets the
// signed file and info its signature; otherwise reason says which failed, naming the command's
// program but never its arguments (they may hold a password), followed by the command's output
// unless it was shown already. The temporary files are removed in either case.
// The temporary file the command signs is held while it runs, as a staged file is, so that no
// other run takes it for a leftover. Ended by request.cancelled, reason says so and cancelled is
// set. retryable (when given) tells whether another try may mend a refusal: the command exited
// with another status, or gave no timestamp that was required.
bool SignLauncher(const SignRequest& request, const std::string& folder, const Bytes& launcher, Bytes& signedBytes,
                  SignatureInfo& info, std::string& reason, bool* retryable = nullptr, bool* cancelled = nullptr);

// SignLauncher tried up to 1 + request.retries times while each refusal is retryable, each try
// on a fresh copy of launcher and within the time limit, after a pause of 2, 4, 8... seconds (at
// most SignRetryPauseLimit). tries gets, for each refused try that was followed by another, its
// reason with the command's output, marked with its number and the pause; reason, when the
// last is refused too, is marked with its number as well (unmarked without retries).
constexpr unsigned SignRetryPauseLimit = 30;
bool SignLauncherTrying(const SignRequest& request, const std::string& folder, const Bytes& launcher, Bytes& signedBytes,
                        SignatureInfo& info, std::vector<std::string>& tries, std::string& reason,
                        bool* cancelled = nullptr);

// Whether signed is unsigned with a certificate table added as signing adds it: the same
// bytes but for the CheckSum and the certificate table's directory entry, then zeros up to the
// table, then the table at the file's end. False with what else changed.
bool OnlySignatureAdded(const Bytes& unsignedBytes, const Bytes& signedBytes, std::string& error);
