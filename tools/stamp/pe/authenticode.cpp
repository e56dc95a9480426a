// Authenticode signatures: the certificate table's records read and the image hash checked against each.
#include "pe/authenticode.h"

#include "pe/image_hash.h"
#include "pe/pe_image.h"
#include "pe/signed_data.h"

#include <algorithm>
#include <vector>

const char SignatureMeaning[] =
    "A signature that verifies proves that the file is as it was when someone holding its certificate's key signed "
    "it, not that the certificate is trusted: no chain to a trusted root is checked.";

namespace {

// WIN_CERTIFICATE: its header, and the one type that holds an Authenticode signature.
constexpr std::uint32_t CertificateHeaderSize = 8;
constexpr std::uint16_t CertificateTypePkcsSignedData = 2;

SignatureInfo Broken(SignatureInfo info, const std::string& problem)
{
    info.state = SignatureState::Broken;
    info.problem = problem;
    return info;
}

// Why the certificate table cannot be where the headers place it; empty when it can.
std::string TablePlaceProblem(const LauncherImage& image, std::uint64_t fileSize)
{
    if (image.certificateOffset % 8 != 0)
        return "the certificate table is malformed: it does not start on an 8-byte boundary";
    if (image.certificateOffset > fileSize || fileSize - image.certificateOffset < image.certificateSize)
        return "the certificate table runs past the end of the file";
    if (std::uint64_t{image.certificateOffset} + image.certificateSize != fileSize)
        return "data follows the certificate table: the file changed after it was signed";
    if (image.certificateSize > LargestCertificateTable)
        return "the certificate table is malformed: it is larger than any signature";
    return "";
}

// Reads the table's WIN_CERTIFICATE records, each PKCS#7 SignedData one into found, until one
// fails (found says why). False with malformed when a record itself cannot be read.
bool ReadTableRecords(const Bytes& table, ReadSignatures& found, std::string& malformed)
{
    for (std::size_t at = 0; at < table.size();) {
        if (table.size() - at < CertificateHeaderSize) {
            malformed = "the certificate table is malformed: a record is cut short";
            return false;
        }
        const std::uint32_t length = Little32(&table[at]);
        const std::uint32_t type = Little16(&table[at + 6]);
        if (length < CertificateHeaderSize || length > table.size() - at) {
            malformed = "the certificate table is malformed: a record's length is wrong";
            return false;
        }
        if (type == CertificateTypePkcsSignedData) {
            DerReader blob(&table[at + CertificateHeaderSize], length - CertificateHeaderSize);
            DerElement contentInfo;
            if (!blob.Next(contentInfo)) {
                malformed = "the certificate table is malformed: a signature cannot be read";
                return false;
            }
            if (!ReadContentInfo(contentInfo, 0, found))
                break;
        }
        at += (std::size_t{length} + 7) & ~std::size_t{7};
    }
    return true;
}

// The first signature's algorithm, signer and timestamp, and how many there are, into info.
void TakeFirstSignature(const ReadSignatures& found, SignatureInfo& info)
{
    if (!found.signatures.empty()) {
        const OneSignature& first = found.signatures.front();
        info.algorithm = DigestName(first.algorithm);
        info.signer = first.signer;
        info.timestamped = first.timestamped;
        info.timestampProblem = first.timestampProblem;
        info.signatures = found.signatures.size();
    }
}

// Whether every signature's image digest is the file's image hash: one pass over the file
// computes every algorithm's. False with the problem in error (which holds the reader's last
// words on entry); onlySha1 says whether every digest is SHA-1.
bool ImageDigestsMatch(const FileRangeReader& read, const LauncherImage& image, std::uint64_t fileSize,
                       const ReadSignatures& found, bool& onlySha1, std::string& error)
{
    std::vector<DigestAlgorithm> algorithms;
    for (const OneSignature& one : found.signatures)
        if (std::find(algorithms.begin(), algorithms.end(), one.algorithm) == algorithms.end())
            algorithms.push_back(one.algorithm);
    std::vector<Bytes> computed;
    if (!ComputeImageHashes(read, image, fileSize, algorithms, computed, error))
        return false;
    onlySha1 = true;
    for (const OneSignature& one : found.signatures) {
        const std::size_t index = static_cast<std::size_t>(
            std::find(algorithms.begin(), algorithms.end(), one.algorithm) - algorithms.begin());
        if (computed[index] != one.imageDigest) {
            error = "the file changed after it was signed";
            return false;
        }
        onlySha1 = onlySha1 && one.algorithm == DigestAlgorithm::Sha1;
    }
    return true;
}

}  // namespace

const char* SignatureStateName(SignatureState state)
{
    switch (state) {
    case SignatureState::NotSigned: return "not-signed";
    case SignatureState::Signed: return "signed";
    case SignatureState::Broken: return "broken";
    }
    return "";
}

SignatureInfo ReadSignature(const FileRangeReader& read, std::uint64_t fileSize)
{
    SignatureInfo info;
    Bytes headers;
    std::string error;
    LauncherImage image;
    if (!read(0, LauncherHeaderBytes, headers, error) || !ReadProgramImage(headers, image, error) ||
        image.certificateSize == 0)
        return info;
    if (const std::string problem = TablePlaceProblem(image, fileSize); !problem.empty())
        return Broken(info, problem);

    Bytes table;
    if (!read(image.certificateOffset, image.certificateSize, table, error) || table.size() != image.certificateSize)
        return Broken(info, "the certificate table cannot be read: " + error);
    ReadSignatures found;
    std::string malformed;
    if (!ReadTableRecords(table, found, malformed))
        return Broken(info, malformed);
    TakeFirstSignature(found, info);
    if (!found.problem.empty())
        return Broken(info, found.problem);
    if (found.signatures.empty())
        return Broken(info, "the certificate table holds no Authenticode signature");

    bool onlySha1 = true;
    if (!ImageDigestsMatch(read, image, fileSize, found, onlySha1, error))
        return Broken(info, error);
    info.onlySha1 = onlySha1;
    info.state = SignatureState::Signed;
    return info;
}

SignatureInfo ReadSignature(const Bytes& bytes)
{
    return ReadSignature(
        [&bytes](std::uint64_t offset, std::size_t count, Bytes& part, std::string&) {
            part.clear();
            if (offset < bytes.size()) {
                const std::size_t start = static_cast<std::size_t>(std::min<std::uint64_t>(offset, bytes.size()));
                const std::size_t n = std::min(count, bytes.size() - start);
                part.assign(bytes.begin() + static_cast<std::ptrdiff_t>(start),
                            bytes.begin() + static_cast<std::ptrdiff_t>(start + n));
            }
            return true;
        },
        bytes.size());
}

std::string SignatureLine(const SignatureInfo& info)
{
    switch (info.state) {
    case SignatureState::NotSigned: return "not signed";
    case SignatureState::Broken: return "signature broken: " + info.problem;
    case SignatureState::Signed:
        break;
    }
    std::string line = "signed";
    if (!info.signer.empty())
        line += " by \"" + info.signer + "\"";
    line += " (" + info.algorithm + (info.timestamped ? ", timestamped" : ", not timestamped");
    if (!info.timestamped && !info.timestampProblem.empty())
        line += ": " + info.timestampProblem;
    line += ")";
    return line;
}
