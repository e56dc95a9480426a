// A signature value verified with a certificate's public key (RSA PKCS#1 v1.5 or PSS, ECDSA on
// P-256, P-384 or P-521), by mbedTLS; the key is read from the certificate with the DER reader.
#pragma once

#include "base/bytes.h"
#include "base/digest.h"
#include "pe/der_reader.h"

#include <optional>
#include <string>

// The digest algorithm an object identifier names; none for one this tool does not compute.
std::optional<DigestAlgorithm> DigestAlgorithmOf(const std::string& oid);

// Whether value is a signature, by the key of publicKeyInfo (a certificate's
// SubjectPublicKeyInfo), over digest (computed with algorithm), made as signatureAlgorithm (the
// SignerInfo's AlgorithmIdentifier) says. False with the reason in words: the value does not
// verify, or the key or algorithm is one this tool cannot read or does not verify.
bool VerifySignatureValue(const DerElement& publicKeyInfo, const DerElement& signatureAlgorithm,
                          DigestAlgorithm algorithm, const Bytes& digest, const DerElement& value, std::string& problem);

// An RSA public exponent longer than this many bytes is refused: real keys use 65537 or 3, and a
// long one only costs time.
constexpr std::size_t LongestRsaExponent = 8;
