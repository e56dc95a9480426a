// What reading a signature's SignedData (signed_data.cpp) and checking the timestamps of its
// signers (timestamps.cpp) share: a SignerInfo read and its signature verified, a ContentInfo
// holding SignedData read, and a signer's unauthenticated attributes.
#pragma once

#include "base/digest.h"
#include "pe/der_reader.h"
#include "pe/signed_data.h"

#include <cstddef>
#include <string>

// The parts of a SignerInfo this reader needs. Its certificate is named by issuer and serial,
// or (keyIdentifier's start not null) by subject key identifier.
struct SignerParts {
    DerElement issuer, serial, keyIdentifier, digestAlgorithm, authenticated, signatureAlgorithm, encryptedDigest,
        unauthenticated;
};

// Reads a SignerInfo into parts. False when it cannot be read, with read's problem set.
bool ReadSigner(const DerElement& signer, SignerParts& parts, ReadSignatures& read);

// Whether a and the size bytes at data are the same bytes.
bool Same(const DerElement& a, const unsigned char* data, std::size_t size);

// The algorithm of an AlgorithmIdentifier (SEQUENCE { OID, parameters }). False with the
// problem in words when it cannot be read, or names a digest this reader does not compute.
bool ReadAlgorithm(const DerElement& identifier, DigestAlgorithm& algorithm, std::string& problem);

// Whether the signer's signature verifies over content (size bytes), what naming what it signs
// in the words: the messageDigest among its signed attributes is the digest of content, and its
// signature value, over the DER of those attributes as a SET OF (RFC 5652, 5.4), verifies with
// the key of the certificate it names among certificates. A signer without signed attributes
// signs the digest of content itself, where attributes are not required. False with the
// problem in words.
bool VerifySigner(const SignerParts& parts, const DerElement& certificates, const unsigned char* content,
                  std::size_t size, const std::string& what, bool requireAttributes, std::string& problem);

// The parts of a ContentInfo holding SignedData that a signature's reader needs: the
// encapsulated content, the certificates (start null when none) and the signers.
struct SignedDataParts {
    DerElement content, certificates, signers;
};

// Reads contentInfo into parts. False when it is no ContentInfo holding SignedData.
bool ReadSignedData(const DerElement& contentInfo, SignedDataParts& parts);

// The signer's unauthenticated attributes: its timestamps, checked against its signature (one
// says whether one of them verifies, else why not), and the signatures nested in it, added to
// read (depth: how deep the signer's own signature is nested). False with read's problem set
// when they cannot be read.
bool ReadUnauthenticated(const SignerParts& parts, const DerElement& certificates, int depth, OneSignature& one,
                         ReadSignatures& read);
