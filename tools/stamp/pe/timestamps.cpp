// The timestamps a signer carries among its unauthenticated attributes, RFC 3161 tokens and the
// older countersignatures, checked against its signature; and the signatures nested in it.
#include "pe/signed_data_parts.h"

#include <string>

namespace {

// Object identifiers of a signer's unauthenticated attributes.
constexpr char CounterSignatureOid[] = "1.2.840.113549.1.9.6";
constexpr char NestedSignatureOid[] = "1.3.6.1.4.1.311.2.4.1";
constexpr char TimestampTokenOid[] = "1.3.6.1.4.1.311.3.3.1";    // an RFC 3161 token
constexpr char TimestampInfoOid[] = "1.2.840.113549.1.9.16.1.4"; // TSTInfo

// Nested signatures within nested signatures go no deeper than this.
constexpr int DeepestNesting = 4;

// What is said of a timestamp that does not verify.
std::string NotCounted(const std::string& problem)
{
    return problem + ", so the timestamp is not counted";
}

// An RFC 3161 token: its TSTInfo's messageImprint must be the digest of signature (the
// signer's signature value), and its own signer must verify over the TSTInfo with a
// certificate the token holds. False when it cannot be read (read says why); notVerified says
// why when it is read but does not verify.
bool CheckTimestampToken(const DerElement& token, const DerElement& signature, ReadSignatures& read,
                         std::string& notVerified)
{
    const char* malformed = "the certificate table is malformed: a timestamp cannot be read";
    SignedDataParts tokenData;
    if (!ReadSignedData(token, tokenData))
        return read.Fail(malformed);
    DerElement signer;
    DerReader content(tokenData.content);
    DerElement contentType, explicitContent, octets;
    if (!content.Expect(der::ObjectId, contentType) || ObjectIdText(contentType) != TimestampInfoOid ||
        !content.Expect(der::Context(0), explicitContent))
        return read.Fail(malformed);
    DerReader octetReader(explicitContent);
    if (!octetReader.Expect(der::OctetString, octets))
        return read.Fail(malformed);
    DerReader info(octets.value, octets.valueSize);
    DerElement tstInfo, tstVersion, policy, imprint, imprintAlgorithm, hashed;
    if (!info.Expect(der::Sequence, tstInfo))
        return read.Fail(malformed);
    DerReader tst(tstInfo);
    if (!tst.Expect(der::Integer, tstVersion) || !tst.Expect(der::ObjectId, policy) || !tst.Expect(der::Sequence, imprint))
        return read.Fail(malformed);
    DerReader imprintReader(imprint);
    if (!imprintReader.Expect(der::Sequence, imprintAlgorithm) || !imprintReader.Expect(der::OctetString, hashed))
        return read.Fail(malformed);
    DerReader signerReader(tokenData.signers);
    SignerParts parts;
    if (!signerReader.Expect(der::Sequence, signer) || !ReadSigner(signer, parts, read))
        return read.Fail(malformed);
    DigestAlgorithm algorithm;
    std::string problem;
    if (!ReadAlgorithm(imprintAlgorithm, algorithm, problem)) {
        notVerified = NotCounted(problem);
        return true;
    }
    const Bytes expected = DigestOf(algorithm, signature.value, signature.valueSize);
    if (!Same(hashed, expected.data(), expected.size()))
        notVerified = NotCounted("the timestamp does not match the signature: it was made for another one, or changed");
    else if (!VerifySigner(parts, tokenData.certificates, octets.value, octets.valueSize, "the timestamp", true, problem))
        notVerified = NotCounted(problem);
    return true;
}

// The older countersignature: a SignerInfo over signature (the signer's signature value), its
// certificate among certificates (those of the SignedData it is in).
bool CheckCounterSignature(const DerElement& counter, const DerElement& signature, const DerElement& certificates,
                           ReadSignatures& read, std::string& notVerified)
{
    SignerParts parts;
    if (!ReadSigner(counter, parts, read))
        return false;
    std::string problem;
    if (!VerifySigner(parts, certificates, signature.value, signature.valueSize, "the timestamp", false, problem))
        notVerified = NotCounted(problem);
    return true;
}

}  // namespace

bool ReadUnauthenticated(const SignerParts& parts, const DerElement& certificates, int depth, OneSignature& one,
                         ReadSignatures& read)
{
    if (parts.unauthenticated.start == nullptr)
        return true;
    DerReader walk(parts.unauthenticated);
    DerElement attribute;
    while (walk.Next(attribute)) {
        DerReader inside(attribute);
        DerElement type, set;
        if (!attribute.Is(der::Sequence) || !inside.Expect(der::ObjectId, type) || !inside.Expect(der::Set, set))
            return read.Fail("the certificate table is malformed: an attribute of a signer cannot be read");
        const std::string oid = ObjectIdText(type);
        DerReader values(set);
        DerElement value;
        while (values.Next(value)) {
            if (oid == TimestampTokenOid || oid == CounterSignatureOid) {
                std::string notVerified;
                const bool readable = oid == TimestampTokenOid
                                       ? CheckTimestampToken(value, parts.encryptedDigest, read, notVerified)
                                       : CheckCounterSignature(value, parts.encryptedDigest, certificates, read, notVerified);
                if (!readable)
                    return false;
                if (notVerified.empty())
                    one.timestamped = true;
                else if (one.timestampProblem.empty())
                    one.timestampProblem = notVerified;
            } else if (oid == NestedSignatureOid) {
                if (depth >= DeepestNesting)
                    return read.Fail("the certificate table is malformed: signatures nested too deep");
                // Listed after the one it is nested in.
                if (!ReadContentInfo(value, depth + 1, read))
                    return false;
            }
        }
    }
    return true;
}
