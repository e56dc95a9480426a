// libFuzzer target for the signature reader: any bytes are read as a program's certificate
// table and its signatures, their values verified, without reading out of bounds, and a state
// is always given; a signature that verifies always names its digest algorithm, a broken one
// what is wrong. The same bytes are also read as a public key, a signature algorithm and a
// value, verified within bounds, saying why whenever they do not verify.
#include "pe/authenticode.h"
#include "pe/der_reader.h"
#include "pe/signature_value.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size)
{
    const Bytes bytes(data, data + size);
    const SignatureInfo info = ReadSignature(bytes);
    if (info.state == SignatureState::Signed && (info.algorithm.empty() || info.signatures == 0))
        std::abort();
    if (info.state == SignatureState::Broken && info.problem.empty())
        std::abort();
    // The DER reader alone, over the same bytes: every element lies inside them.
    DerReader reader(data, size);
    DerElement element;
    while (reader.Next(element)) {
        if (element.value + element.valueSize > data + size || element.start < data)
            std::abort();
        ObjectIdText(element);
    }
    // Three elements: SubjectPublicKeyInfo, AlgorithmIdentifier, value.
    DerReader parts(data, size);
    DerElement key, algorithm, value;
    if (parts.Next(key) && parts.Next(algorithm) && parts.Next(value)) {
        for (DigestAlgorithm digest : {DigestAlgorithm::Sha1, DigestAlgorithm::Sha256, DigestAlgorithm::Sha512}) {
            const Bytes signedDigest(DigestSize(digest), 0x5A);
            std::string problem;
            if (!VerifySignatureValue(key, algorithm, digest, signedDigest, value, problem) && problem.empty())
                std::abort();
        }
    }
    return 0;
}
