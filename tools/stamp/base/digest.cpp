// Message digests from libmd's SHA-1 and SHA-2.
#include "base/digest.h"

#include <sha1.h>
#include <sha2.h>

struct Digest::State {
    SHA1_CTX sha1;
    SHA2_CTX sha2;
};

const char* DigestName(DigestAlgorithm algorithm)
{
    switch (algorithm) {
    case DigestAlgorithm::Sha1: return "SHA-1";
    case DigestAlgorithm::Sha256: return "SHA-256";
    case DigestAlgorithm::Sha384: return "SHA-384";
    case DigestAlgorithm::Sha512: return "SHA-512";
    }
    return "";
}

std::size_t DigestSize(DigestAlgorithm algorithm)
{
    switch (algorithm) {
    case DigestAlgorithm::Sha1: return SHA1_DIGEST_LENGTH;
    case DigestAlgorithm::Sha256: return SHA256_DIGEST_LENGTH;
    case DigestAlgorithm::Sha384: return SHA384_DIGEST_LENGTH;
    case DigestAlgorithm::Sha512: return SHA512_DIGEST_LENGTH;
    }
    return 0;
}

Digest::Digest(DigestAlgorithm algorithm) : algorithm_(algorithm), state_(std::make_unique<State>())
{
    switch (algorithm_) {
    case DigestAlgorithm::Sha1: SHA1Init(&state_->sha1); break;
    case DigestAlgorithm::Sha256: SHA256Init(&state_->sha2); break;
    case DigestAlgorithm::Sha384: SHA384Init(&state_->sha2); break;
    case DigestAlgorithm::Sha512: SHA512Init(&state_->sha2); break;
    }
}

Digest::~Digest() = default;

void Digest::Add(const unsigned char* data, std::size_t count)
{
    if (count == 0)
        return;
    switch (algorithm_) {
    case DigestAlgorithm::Sha1: SHA1Update(&state_->sha1, data, count); break;
    case DigestAlgorithm::Sha256: SHA256Update(&state_->sha2, data, count); break;
    case DigestAlgorithm::Sha384: SHA384Update(&state_->sha2, data, count); break;
    case DigestAlgorithm::Sha512: SHA512Update(&state_->sha2, data, count); break;
    }
}

Bytes Digest::Finish()
{
    Bytes digest(DigestSize(algorithm_));
    switch (algorithm_) {
    case DigestAlgorithm::Sha1: SHA1Final(digest.data(), &state_->sha1); break;
    case DigestAlgorithm::Sha256: SHA256Final(digest.data(), &state_->sha2); break;
    case DigestAlgorithm::Sha384: SHA384Final(digest.data(), &state_->sha2); break;
    case DigestAlgorithm::Sha512: SHA512Final(digest.data(), &state_->sha2); break;
    }
    return digest;
}

Bytes DigestOf(DigestAlgorithm algorithm, const unsigned char* data, std::size_t count)
{
    Digest digest(algorithm);
    digest.Add(data, count);
    return digest.Finish();
}
