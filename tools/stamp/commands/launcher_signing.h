// Signing a launcher with the author's own signing command, and proving what it did.
#pragma once

#include "base/bytes.h"
#include "pe/authenticode.h"

#include <string>
#include <vector>

// How a launcher is signed.
struct SignRequest {
    std::string command;          // the signing command line, with {file} (and {out}) in it
    unsigned timeoutSeconds = 0;  // after this the command is ended (0: no limit)
    bool requireTimestamp = false;  // a signature without a timestamp is refused
    bool echo = false;            // the command's output is shown as it comes (on a console)
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
bool SignLauncher(const SignRequest& request, const std::string& folder, const Bytes& launcher, Bytes& signedBytes,
                  SignatureInfo& info, std::string& reason);

// Whether signed is unsigned with a certificate table added as signing adds it: the same
// bytes but for the CheckSum and the certificate table's directory entry, then zeros up to the
// table, then the table at the file's end. False with what else changed.
bool OnlySignatureAdded(const Bytes& unsignedBytes, const Bytes& signedBytes, std::string& error);
