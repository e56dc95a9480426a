// Authenticode's SignedData read with the DER reader: signers, certificates, nested signatures.
#include "pe/signed_data.h"

#include "base/unicode.h"
#include "pe/signature_value.h"
#include "pe/signed_data_parts.h"

#include <cstring>
#include <optional>

namespace {

// Object identifiers a signature holds.
constexpr char SignedDataOid[] = "1.2.840.113549.1.7.2";
constexpr char IndirectDataOid[] = "1.3.6.1.4.1.311.2.1.4";      // SpcIndirectDataContent
constexpr char MessageDigestOid[] = "1.2.840.113549.1.9.4";
constexpr char CommonNameOid[] = "2.5.4.3";
constexpr char SubjectKeyIdentifierOid[] = "2.5.29.14";

// A table holds no more signatures than this.
constexpr std::size_t MostSignatures = 32;

// A name for an algorithm this reader cannot compute, for the reason it gives.
std::string UnknownAlgorithmName(const std::string& oid)
{
    if (oid == "1.2.840.113549.2.5")
        return "MD5";
    return oid.empty() ? std::string("an unreadable one") : oid;
}

bool ReadAlgorithm(const DerElement& identifier, DigestAlgorithm& algorithm, ReadSignatures& read)
{
    std::string problem;
    return ReadAlgorithm(identifier, algorithm, problem) || read.Fail(problem);
}

// Finds the attribute oid in a SET of Attribute (SEQUENCE { OID, SET OF value }): values gets
// the SET's reader. False when there is none.
bool FindAttribute(const DerElement& attributes, const char* oid, DerReader& values)
{
    DerReader walk(attributes);
    DerElement attribute;
    while (walk.NextIf(der::Sequence, attribute)) {
        DerReader inside(attribute);
        DerElement type, set;
        if (inside.Expect(der::ObjectId, type) && inside.Expect(der::Set, set) && ObjectIdText(type) == oid) {
            values = DerReader(set);
            return true;
        }
    }
    return false;
}

// The text of a directory string (UTF8String, PrintableString, IA5String, T.61, BMPString).
std::string DirectoryText(const DerElement& value)
{
    const std::string raw(reinterpret_cast<const char*>(value.value), value.valueSize);
    if (value.tag == der::BmpString) {
        Bytes little;
        for (std::size_t i = 0; i + 1 < value.valueSize; i += 2) {
            little.push_back(value.value[i + 1]);
            little.push_back(value.value[i]);
        }
        std::string utf8;
        return Utf8FromUtf16Le(little.data(), little.size(), utf8) ? utf8 : std::string();
    }
    if (value.tag == der::TeletexString) {
        std::string latin;
        for (std::size_t i = 0; i < value.valueSize; ++i)
            AppendUtf8(latin, value.value[i]);
        return latin;
    }
    return raw;
}

// The common name in a certificate's subject; empty when it has none.
std::string CommonName(const DerElement& subject)
{
    DerReader names(subject);
    DerElement set;
    while (names.NextIf(der::Set, set)) {
        DerReader pairs(set);
        DerElement pair;
        while (pairs.NextIf(der::Sequence, pair)) {
            DerReader inside(pair);
            DerElement type, value;
            if (inside.Expect(der::ObjectId, type) && inside.Next(value) && ObjectIdText(type) == CommonNameOid)
                return DirectoryText(value);
        }
    }
    return {};
}

// Whether the extensions ([3] of a TBSCertificate) hold the subject key identifier keyIdentifier.
bool HasKeyIdentifier(const DerElement& extensions, const DerElement& keyIdentifier)
{
    DerReader outer(extensions);
    DerElement list, extension;
    if (!outer.Expect(der::Sequence, list))
        return false;
    DerReader walk(list);
    while (walk.NextIf(der::Sequence, extension)) {
        DerReader fields(extension);
        DerElement oid, critical, value, identifier;
        if (!fields.Expect(der::ObjectId, oid) || ObjectIdText(oid) != SubjectKeyIdentifierOid)
            continue;
        fields.NextIf(0x01, critical);
        DerReader inside;
        if (fields.Expect(der::OctetString, value))
            inside = DerReader(value);
        return inside.Expect(der::OctetString, identifier) &&
               Same(identifier, keyIdentifier.value, keyIdentifier.valueSize);
    }
    return false;
}

// The parts of the certificate a signer names that its verification needs.
struct CertificateParts {
    DerElement subject, publicKeyInfo;
};

// Finds, among certificates (a SignedData's [0]; start null when it has none), the one the
// signer names. False when none is there.
bool FindCertificate(const DerElement& certificates, const SignerParts& parts, CertificateParts& found)
{
    if (certificates.start == nullptr)
        return false;
    DerReader walk(certificates);
    DerElement certificate;
    while (walk.Next(certificate)) {
        DerReader outer(certificate);
        DerElement tbs, version, serial, algorithm, issuer, validity, subject, publicKeyInfo, unique, extensions;
        if (!certificate.Is(der::Sequence) || !outer.Expect(der::Sequence, tbs))
            continue;
        DerReader fields(tbs);
        fields.NextIf(der::Context(0), version);
        if (!fields.Expect(der::Integer, serial) || !fields.Expect(der::Sequence, algorithm) ||
            !fields.Expect(der::Sequence, issuer) || !fields.Expect(der::Sequence, validity) ||
            !fields.Expect(der::Sequence, subject) || !fields.Expect(der::Sequence, publicKeyInfo))
            continue;
        if (parts.keyIdentifier.start != nullptr) {
            fields.NextIf(0x81, unique);
            fields.NextIf(0x82, unique);
            if (!fields.NextIf(der::Context(3), extensions) || !HasKeyIdentifier(extensions, parts.keyIdentifier))
                continue;
        } else if (!Same(serial, parts.serial.value, parts.serial.valueSize) ||
                   !Same(issuer, parts.issuer.value, parts.issuer.valueSize)) {
            continue;
        }
        found = {subject, publicKeyInfo};
        return true;
    }
    return false;
}

bool Refuse(std::string& problem, const std::string& reason)
{
    problem = reason;
    return false;
}

}  // namespace

bool Same(const DerElement& a, const unsigned char* data, std::size_t size)
{
    return a.valueSize == size && (size == 0 || std::memcmp(a.value, data, size) == 0);
}

bool ReadAlgorithm(const DerElement& identifier, DigestAlgorithm& algorithm, std::string& problem)
{
    DerReader inside(identifier);
    DerElement oid;
    if (!identifier.Is(der::Sequence) || !inside.Expect(der::ObjectId, oid)) {
        problem = "the certificate table is malformed: an algorithm identifier cannot be read";
        return false;
    }
    const std::string text = ObjectIdText(oid);
    const std::optional<DigestAlgorithm> known = DigestAlgorithmOf(text);
    if (!known) {
        problem = "a signature uses a digest algorithm this tool does not verify (" + UnknownAlgorithmName(text) + ")";
        return false;
    }
    algorithm = *known;
    return true;
}

bool ReadSigner(const DerElement& signer, SignerParts& parts, ReadSignatures& read)
{
    DerReader inside(signer);
    DerElement version, issuerAndSerial;
    if (!signer.Is(der::Sequence) || !inside.Expect(der::Integer, version))
        return read.Fail("the certificate table is malformed: a signer cannot be read");
    // SignerIdentifier: issuerAndSerialNumber, or subjectKeyIdentifier [0] IMPLICIT OCTET STRING.
    if (inside.NextIf(der::Sequence, issuerAndSerial)) {
        DerReader who(issuerAndSerial);
        if (!who.Expect(der::Sequence, parts.issuer) || !who.Expect(der::Integer, parts.serial))
            return read.Fail("the certificate table is malformed: a signer's certificate is not named");
    } else if (!inside.NextIf(0x80, parts.keyIdentifier)) {
        return read.Fail("the certificate table is malformed: a signer's certificate is not named");
    }
    if (!inside.Expect(der::Sequence, parts.digestAlgorithm))
        return read.Fail("the certificate table is malformed: a signer cannot be read");
    inside.NextIf(der::Context(0), parts.authenticated);
    if (!inside.Expect(der::Sequence, parts.signatureAlgorithm) || !inside.Expect(der::OctetString, parts.encryptedDigest))
        return read.Fail("the certificate table is malformed: a signer's signature cannot be read");
    inside.NextIf(der::Context(1), parts.unauthenticated);
    return true;
}

bool VerifySigner(const SignerParts& parts, const DerElement& certificates, const unsigned char* content,
                  std::size_t size, const std::string& what, bool requireAttributes, std::string& problem)
{
    DigestAlgorithm algorithm;
    if (!ReadAlgorithm(parts.digestAlgorithm, algorithm, problem))
        return false;
    Bytes signedDigest;
    if (parts.authenticated.start != nullptr) {
        DerReader values;
        DerElement digest;
        if (!FindAttribute(parts.authenticated, MessageDigestOid, values) || !values.Expect(der::OctetString, digest))
            return Refuse(problem, "the certificate table is malformed: " + what + " has no message digest");
        const Bytes computed = DigestOf(algorithm, content, size);
        if (!Same(digest, computed.data(), computed.size()))
            return Refuse(problem, "the digest of " + what + " does not match: it was changed after it was signed");
        Bytes attributes(parts.authenticated.start, parts.authenticated.start + parts.authenticated.size);
        attributes[0] = der::Set;
        signedDigest = DigestOf(algorithm, attributes.data(), attributes.size());
    } else if (requireAttributes) {
        return Refuse(problem, "the certificate table is malformed: " + what + " has no message digest");
    } else {
        signedDigest = DigestOf(algorithm, content, size);
    }
    CertificateParts certificate;
    if (!FindCertificate(certificates, parts, certificate))
        return Refuse(problem, "the certificate its signer names is missing from the table, so the signature value of " +
                                   what + " cannot be verified");
    std::string why;
    if (!VerifySignatureValue(certificate.publicKeyInfo, parts.signatureAlgorithm, algorithm, signedDigest,
                              parts.encryptedDigest, why))
        return Refuse(problem, "the signature value of " + what + " does not verify: " + why);
    return true;
}

bool ReadSignedData(const DerElement& contentInfo, SignedDataParts& parts)
{
    DerReader outer(contentInfo);
    DerElement type, explicitData, signedData, version, algorithms, crls;
    if (!contentInfo.Is(der::Sequence) || !outer.Expect(der::ObjectId, type) || ObjectIdText(type) != SignedDataOid ||
        !outer.Expect(der::Context(0), explicitData))
        return false;
    DerReader wrapper(explicitData);
    if (!wrapper.Expect(der::Sequence, signedData))
        return false;
    DerReader fields(signedData);
    if (!fields.Expect(der::Integer, version) || !fields.Expect(der::Set, algorithms) ||
        !fields.Expect(der::Sequence, parts.content))
        return false;
    fields.NextIf(der::Context(0), parts.certificates);
    fields.NextIf(der::Context(1), crls);
    return fields.Expect(der::Set, parts.signers);
}

// A ContentInfo holding Authenticode's SignedData: adds its signature (then those nested in
// it) to read.
bool ReadContentInfo(const DerElement& contentInfo, int depth, ReadSignatures& read)
{
    const char* malformed = "the certificate table is malformed: a signature cannot be read";
    if (read.signatures.size() >= MostSignatures)
        return read.Fail("the certificate table is malformed: too many signatures");
    SignedDataParts signedData;
    if (!ReadSignedData(contentInfo, signedData))
        return read.Fail(malformed);
    const DerElement& content = signedData.content;
    const DerElement& certificates = signedData.certificates;
    const DerElement& signers = signedData.signers;
    DerElement signer;

    // The content: SpcIndirectDataContent { SpcAttributeTypeAndOptionalValue, DigestInfo }.
    DerReader contentReader(content);
    DerElement contentType, explicitContent, indirect, data, digestInfo, algorithm, digest;
    if (!contentReader.Expect(der::ObjectId, contentType) || ObjectIdText(contentType) != IndirectDataOid ||
        !contentReader.Expect(der::Context(0), explicitContent))
        return read.Fail("the certificate table is malformed: a signature holds no Authenticode content");
    DerReader indirectReader(explicitContent);
    if (!indirectReader.Expect(der::Sequence, indirect))
        return read.Fail(malformed);
    DerReader indirectFields(indirect);
    if (!indirectFields.Expect(der::Sequence, data) || !indirectFields.Expect(der::Sequence, digestInfo))
        return read.Fail(malformed);
    DerReader digestFields(digestInfo);
    OneSignature one;
    if (!digestFields.Expect(der::Sequence, algorithm) || !digestFields.Expect(der::OctetString, digest))
        return read.Fail(malformed);
    if (!ReadAlgorithm(algorithm, one.algorithm, read))
        return false;
    if (digest.valueSize != DigestSize(one.algorithm))
        return read.Fail("the certificate table is malformed: an image digest has the wrong size");
    one.imageDigest.assign(digest.value, digest.value + digest.valueSize);

    DerReader signerReader(signers);
    SignerParts parts;
    if (!signerReader.Expect(der::Sequence, signer) || !ReadSigner(signer, parts, read))
        return read.Fail(malformed);
    CertificateParts certificate;
    if (FindCertificate(certificates, parts, certificate))
        one.signer = CommonName(certificate.subject);
    // The signer's digest covers SpcIndirectDataContent's value, without its own tag and length.
    std::string problem;
    if (!VerifySigner(parts, certificates, indirect.value, indirect.valueSize, "the signed content", true, problem))
        return read.Fail(problem);
    const std::size_t at = read.signatures.size();
    read.signatures.push_back(one);
    OneSignature unauthenticated = one;
    if (!ReadUnauthenticated(parts, certificates, depth, unauthenticated, read))
        return false;
    read.signatures[at].timestamped = unauthenticated.timestamped;
    if (!unauthenticated.timestamped)
        read.signatures[at].timestampProblem = unauthenticated.timestampProblem;
    return true;
}
