// Authenticode's SignedData read: each signature's image digest, signer and timestamps, their values verified.
#pragma once

#include "base/bytes.h"
#include "base/digest.h"
#include "pe/der_reader.h"

#include <string>
#include <vector>

// A signature read from the table, to be checked against the image hash.
struct OneSignature {
    DigestAlgorithm algorithm = DigestAlgorithm::Sha256;
    Bytes imageDigest;         // what SpcIndirectDataContent says the image hash is
    std::string signer;
    bool timestamped = false;      // a timestamp it carries verifies
    std::string timestampProblem;  // when it carries timestamps and none verifies: why
};

// What the table's signatures said, or the first thing wrong with them.
struct ReadSignatures {
    std::vector<OneSignature> signatures;
    std::string problem;

    bool Fail(const std::string& reason)
    {
        if (problem.empty())
            problem = reason;
        return false;
    }
};

// A ContentInfo holding Authenticode's SignedData: adds its signature (then those nested in
// it) to read, each signer's digest and signature value verified, and its timestamps checked.
// False with read's problem set when a signature cannot be read or does not verify.
bool ReadContentInfo(const DerElement& contentInfo, int depth, ReadSignatures& read);
