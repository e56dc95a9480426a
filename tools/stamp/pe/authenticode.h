// A program's Authenticode signatures read and verified: every digest they hold and every
// signature value (RSA or ECDSA, with the key of the certificate each names), so that the file
// is as it was when someone holding that key signed it. Never whether the certificate is
// trusted: no root store, no chain, no revocation.
#pragma once

#include "base/bytes.h"
#include "base/digest.h"

#include <cstdint>
#include <functional>
#include <string>

// What a file's signatures tell.
enum class SignatureState {
    NotSigned,  // no certificate table
    Signed,     // every digest and signature value of every signature (nested ones too) verifies
    Broken,     // a digest differs, a value does not verify, a certificate is missing, or the
                // table is malformed
};

// "not-signed", "signed", "broken": the state as check's JSON gives it.
const char* SignatureStateName(SignatureState state);

// The signature state of a file, and of its first signature.
struct SignatureInfo {
    SignatureState state = SignatureState::NotSigned;
    std::string problem;        // when broken: what is wrong, in words
    std::string algorithm;      // the first signature's digest algorithm ("SHA-256"); empty when none was read
    std::string signer;         // the common name of its signer's certificate subject; may be empty
    bool timestamped = false;   // it carries a timestamp (RFC 3161 or the older countersignature) that verifies
    std::string timestampProblem; // when it carries timestamps and none verifies: why, in words
    std::size_t signatures = 0; // how many signatures it holds, nested ones included
    bool onlySha1 = false;      // every signature's image digest is SHA-1 (none stronger)
};

// Reads count bytes at offset of the file (fewer only past its end); false with the reason.
using FileRangeReader =
    std::function<bool(std::uint64_t offset, std::size_t count, Bytes& bytes, std::string& error)>;

// Reads the signatures of the PE file of fileSize bytes that read gives, and verifies each: the
// certificate table (WIN_CERTIFICATE records, each PKCS#7 SignedData), the image hash computed
// as Microsoft's "Windows Authenticode Portable Executable Signature Format" says against the
// digest each SpcIndirectDataContent holds, the signer's digest of that content and its
// signature value, nested signatures the same way. A timestamp counts only when it verifies the
// same way and is over the signer's signature value. The file is read in pieces, never whole, and the
// certificate table only up to LargestCertificateTable. A file that is no PE program is not
// signed.
SignatureInfo ReadSignature(const FileRangeReader& read, std::uint64_t fileSize);

// The same for a file held in memory.
SignatureInfo ReadSignature(const Bytes& bytes);

// A certificate table larger than this is refused as malformed: signatures are kilobytes.
constexpr std::uint32_t LargestCertificateTable = 16u << 20;

// How check describes it: `signed by "NAME" (SHA-256, timestamped)` (or `not timestamped`, with
// why a timestamp it carries does not count), `signature broken: ...`, or "not signed".
std::string SignatureLine(const SignatureInfo& info);

// The sentence that says what a signature that verifies proves.
extern const char SignatureMeaning[];
