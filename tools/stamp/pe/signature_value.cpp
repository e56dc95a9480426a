// Signature values: the public key read with the DER reader, the arithmetic done by mbedTLS.
#include "pe/signature_value.h"

#include <mbedtls/ecdsa.h>
#include <mbedtls/ecp.h>
#include <mbedtls/md.h>
#include <mbedtls/rsa.h>

#include <optional>

namespace {

constexpr char RsaEncryptionOid[] = "1.2.840.113549.1.1.1";
constexpr char RsaPssOid[] = "1.2.840.113549.1.1.10";
constexpr char Mgf1Oid[] = "1.2.840.113549.1.1.8";
constexpr char EcPublicKeyOid[] = "1.2.840.10045.2.1";

enum class Scheme { Pkcs1v15, Pss, Ecdsa };

// The scheme a SignerInfo's signature algorithm names; none when this tool does not verify it.
std::optional<Scheme> SchemeOf(const std::string& oid)
{
    if (oid == RsaEncryptionOid || oid == "1.2.840.113549.1.1.5" || oid == "1.2.840.113549.1.1.11" ||
        oid == "1.2.840.113549.1.1.12" || oid == "1.2.840.113549.1.1.13")
        return Scheme::Pkcs1v15;
    if (oid == RsaPssOid)
        return Scheme::Pss;
    // Signers name ECDSA by the key's type too.
    if (oid == EcPublicKeyOid || oid == "1.2.840.10045.4.1" || oid == "1.2.840.10045.4.3.2" ||
        oid == "1.2.840.10045.4.3.3" || oid == "1.2.840.10045.4.3.4")
        return Scheme::Ecdsa;
    return std::nullopt;
}

std::optional<mbedtls_ecp_group_id> CurveOf(const std::string& oid)
{
    if (oid == "1.2.840.10045.3.1.7")
        return MBEDTLS_ECP_DP_SECP256R1;
    if (oid == "1.3.132.0.34")
        return MBEDTLS_ECP_DP_SECP384R1;
    if (oid == "1.3.132.0.35")
        return MBEDTLS_ECP_DP_SECP521R1;
    return std::nullopt;
}

mbedtls_md_type_t MdOf(DigestAlgorithm algorithm)
{
    switch (algorithm) {
    case DigestAlgorithm::Sha1: return MBEDTLS_MD_SHA1;
    case DigestAlgorithm::Sha256: return MBEDTLS_MD_SHA256;
    case DigestAlgorithm::Sha384: return MBEDTLS_MD_SHA384;
    case DigestAlgorithm::Sha512: return MBEDTLS_MD_SHA512;
    }
    return MBEDTLS_MD_NONE;
}

bool Fail(std::string& problem, const std::string& reason)
{
    problem = reason;
    return false;
}

const char NotVerified[] = "it was not made with the key of the certificate it names";
const char UnreadableKey[] = "its certificate's public key cannot be read";

// The digest algorithm of an AlgorithmIdentifier.
std::optional<DigestAlgorithm> DigestOfIdentifier(const DerElement& identifier)
{
    DerReader inside(identifier);
    DerElement oid;
    if (!identifier.Is(der::Sequence) || !inside.Expect(der::ObjectId, oid))
        return std::nullopt;
    return DigestAlgorithmOf(ObjectIdText(oid));
}

// RSASSA-PSS-params (RFC 4055, 3.1): the hash, MGF1's hash and the salt's length, each with its
// default when left out. False when they cannot be read or name what this tool does not verify.
bool ReadPssParameters(const DerElement& parameters, DigestAlgorithm& hash, DigestAlgorithm& mgfHash, int& saltLength)
{
    hash = mgfHash = DigestAlgorithm::Sha1;
    saltLength = 20;
    if (parameters.start == nullptr || !parameters.Is(der::Sequence))
        return false;
    DerReader fields(parameters);
    DerElement field;
    if (fields.NextIf(der::Context(0), field)) {
        DerReader inside(field);
        DerElement identifier;
        const std::optional<DigestAlgorithm> known = inside.Expect(der::Sequence, identifier) ? DigestOfIdentifier(identifier) : std::nullopt;
        if (!known)
            return false;
        hash = *known;
    }
    if (fields.NextIf(der::Context(1), field)) {
        DerReader inside(field);
        DerElement identifier, oid, hashIdentifier;
        if (!inside.Expect(der::Sequence, identifier))
            return false;
        DerReader mgf(identifier);
        if (!mgf.Expect(der::ObjectId, oid) || ObjectIdText(oid) != Mgf1Oid || !mgf.Expect(der::Sequence, hashIdentifier))
            return false;
        const std::optional<DigestAlgorithm> known = DigestOfIdentifier(hashIdentifier);
        if (!known)
            return false;
        mgfHash = *known;
    }
    if (fields.NextIf(der::Context(2), field)) {
        DerReader inside(field);
        DerElement integer;
        if (!inside.Expect(der::Integer, integer) || integer.valueSize == 0 || integer.valueSize > 2 ||
            (integer.value[0] & 0x80) != 0)
            return false;
        saltLength = 0;
        for (std::size_t i = 0; i < integer.valueSize; ++i)
            saltLength = saltLength << 8 | integer.value[i];
    }
    if (fields.NextIf(der::Context(3), field)) {
        DerReader inside(field);
        DerElement integer;
        if (!inside.Expect(der::Integer, integer) || integer.valueSize != 1 || integer.value[0] != 1)
            return false;
    }
    return fields.AtEnd();
}

// An INTEGER's value without the sign byte DER puts before a high bit.
void Unsigned(const DerElement& integer, const unsigned char*& data, std::size_t& size)
{
    data = integer.value;
    size = integer.valueSize;
    while (size > 1 && data[0] == 0) {
        ++data;
        --size;
    }
}

bool VerifyRsa(const DerElement& key, Scheme scheme, const DerElement& parameters, DigestAlgorithm algorithm,
               const Bytes& digest, const DerElement& value, std::string& problem)
{
    // RSAPublicKey ::= SEQUENCE { modulus INTEGER, publicExponent INTEGER }, in the BIT STRING
    // after its count of unused bits.
    if (key.valueSize < 1 || key.value[0] != 0)
        return Fail(problem, UnreadableKey);
    DerReader bits(key.value + 1, key.valueSize - 1);
    DerElement rsaKey, modulus, exponent;
    if (!bits.Expect(der::Sequence, rsaKey))
        return Fail(problem, UnreadableKey);
    DerReader numbers(rsaKey);
    if (!numbers.Expect(der::Integer, modulus) || !numbers.Expect(der::Integer, exponent) || !numbers.AtEnd() ||
        modulus.valueSize == 0 || exponent.valueSize == 0 || (modulus.value[0] & 0x80) || (exponent.value[0] & 0x80))
        return Fail(problem, UnreadableKey);
    const unsigned char *n, *e;
    std::size_t nSize, eSize;
    Unsigned(modulus, n, nSize);
    Unsigned(exponent, e, eSize);
    if (eSize > LongestRsaExponent || nSize > MBEDTLS_MPI_MAX_SIZE)
        return Fail(problem, "its certificate's RSA key is larger than any this tool verifies");

    DigestAlgorithm mgfHash = algorithm;
    int saltLength = 0;
    if (scheme == Scheme::Pss) {
        DigestAlgorithm hash;
        if (!ReadPssParameters(parameters, hash, mgfHash, saltLength))
            return Fail(problem, "its RSA-PSS parameters cannot be read, or name a digest this tool does not verify");
        if (hash != algorithm)
            return Fail(problem, "its RSA-PSS parameters name another digest than its own");
    }

    mbedtls_rsa_context rsa;
    mbedtls_rsa_init(&rsa, scheme == Scheme::Pss ? MBEDTLS_RSA_PKCS_V21 : MBEDTLS_RSA_PKCS_V15, 0);
    bool verified = false;
    std::string reason = UnreadableKey;
    if (mbedtls_rsa_import_raw(&rsa, n, nSize, nullptr, 0, nullptr, 0, nullptr, 0, e, eSize) == 0 &&
        mbedtls_rsa_complete(&rsa) == 0 && mbedtls_rsa_check_pubkey(&rsa) == 0) {
        reason = NotVerified;
        const mbedtls_md_type_t md = MdOf(algorithm);
        // A digest is at most 64 bytes (checked above).
        const unsigned hashSize = static_cast<unsigned char>(digest.size());
        // The value is as long as the modulus, no shorter, no longer (RFC 8017, 8.2.2 and 8.1.2).
        if (value.valueSize == mbedtls_rsa_get_len(&rsa)) {
            if (scheme == Scheme::Pss)
                verified = mbedtls_rsa_rsassa_pss_verify_ext(&rsa, nullptr, nullptr, MBEDTLS_RSA_PUBLIC, md, hashSize,
                                                             digest.data(), MdOf(mgfHash), saltLength, value.value) == 0;
            else
                verified = mbedtls_rsa_rsassa_pkcs1_v15_verify(&rsa, nullptr, nullptr, MBEDTLS_RSA_PUBLIC, md, hashSize,
                                                               digest.data(), value.value) == 0;
        }
    }
    mbedtls_rsa_free(&rsa);
    return verified || Fail(problem, reason);
}

bool VerifyEcdsa(const DerElement& key, const DerElement& keyParameters, const Bytes& digest, const DerElement& value,
                 std::string& problem)
{
    const std::optional<mbedtls_ecp_group_id> curve =
        keyParameters.Is(der::ObjectId) ? CurveOf(ObjectIdText(keyParameters)) : std::nullopt;
    if (!curve)
        return Fail(problem, "its certificate's key is on a curve this tool does not verify (only P-256, P-384 and P-521)");
    if (key.valueSize < 2 || key.value[0] != 0)
        return Fail(problem, UnreadableKey);
    mbedtls_ecdsa_context ecdsa;
    mbedtls_ecdsa_init(&ecdsa);
    bool verified = false;
    std::string reason = UnreadableKey;
    if (mbedtls_ecp_group_load(&ecdsa.grp, *curve) == 0 &&
        mbedtls_ecp_point_read_binary(&ecdsa.grp, &ecdsa.Q, key.value + 1, key.valueSize - 1) == 0 &&
        mbedtls_ecp_check_pubkey(&ecdsa.grp, &ecdsa.Q) == 0) {
        reason = NotVerified;
        // The value is ECDSA-Sig-Value ::= SEQUENCE { r INTEGER, s INTEGER } (RFC 5753, 7.2).
        verified = mbedtls_ecdsa_read_signature(&ecdsa, digest.data(), digest.size(), value.value, value.valueSize) == 0;
    }
    mbedtls_ecdsa_free(&ecdsa);
    return verified || Fail(problem, reason);
}

}  // namespace

std::optional<DigestAlgorithm> DigestAlgorithmOf(const std::string& oid)
{
    if (oid == "1.3.14.3.2.26")
        return DigestAlgorithm::Sha1;
    if (oid == "2.16.840.1.101.3.4.2.1")
        return DigestAlgorithm::Sha256;
    if (oid == "2.16.840.1.101.3.4.2.2")
        return DigestAlgorithm::Sha384;
    if (oid == "2.16.840.1.101.3.4.2.3")
        return DigestAlgorithm::Sha512;
    return std::nullopt;
}

bool VerifySignatureValue(const DerElement& publicKeyInfo, const DerElement& signatureAlgorithm,
                          DigestAlgorithm algorithm, const Bytes& digest, const DerElement& value, std::string& problem)
{
    DerReader algorithmFields(signatureAlgorithm);
    DerElement algorithmOid, algorithmParameters;
    if (!signatureAlgorithm.Is(der::Sequence) || !algorithmFields.Expect(der::ObjectId, algorithmOid))
        return Fail(problem, "its signature algorithm cannot be read");
    algorithmFields.Next(algorithmParameters);
    const std::string algorithmText = ObjectIdText(algorithmOid);
    const std::optional<Scheme> scheme = SchemeOf(algorithmText);
    if (!scheme)
        return Fail(problem, "it uses a signature algorithm this tool does not verify (" +
                                 (algorithmText.empty() ? std::string("an unreadable one") : algorithmText) + ")");

    // SubjectPublicKeyInfo ::= SEQUENCE { AlgorithmIdentifier, BIT STRING }.
    DerReader keyFields(publicKeyInfo);
    DerElement keyAlgorithm, key, keyOid, keyParameters;
    if (!publicKeyInfo.Is(der::Sequence) || !keyFields.Expect(der::Sequence, keyAlgorithm) ||
        !keyFields.Expect(der::BitString, key))
        return Fail(problem, UnreadableKey);
    DerReader keyAlgorithmFields(keyAlgorithm);
    if (!keyAlgorithmFields.Expect(der::ObjectId, keyOid))
        return Fail(problem, UnreadableKey);
    keyAlgorithmFields.Next(keyParameters);
    const std::string keyType = ObjectIdText(keyOid);
    const bool rsaKey = keyType == RsaEncryptionOid || keyType == RsaPssOid;
    const bool ecKey = keyType == EcPublicKeyOid;
    if (*scheme == Scheme::Ecdsa ? !ecKey : !rsaKey)
        return Fail(problem, rsaKey || ecKey ? "its signature algorithm does not fit its certificate's key"
                                             : "its certificate's key is of a type this tool does not verify");
    if (digest.size() != DigestSize(algorithm))
        return Fail(problem, NotVerified);
    if (*scheme == Scheme::Ecdsa)
        return VerifyEcdsa(key, keyParameters, digest, value, problem);
    return VerifyRsa(key, *scheme, algorithmParameters, algorithm, digest, value, problem);
}
