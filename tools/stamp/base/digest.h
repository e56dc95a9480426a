// Message digests (SHA-1, SHA-256, SHA-384, SHA-512), from libmd: the same code in every build.
#pragma once

#include "base/bytes.h"

#include <cstddef>
#include <memory>

// The digest algorithms a signed program may use.
enum class DigestAlgorithm { Sha1, Sha256, Sha384, Sha512 };

// The algorithm's name as people read it: "SHA-1", "SHA-256", ...
const char* DigestName(DigestAlgorithm algorithm);

// The size of the algorithm's digest in bytes.
std::size_t DigestSize(DigestAlgorithm algorithm);

// A digest computed over bytes given in pieces.
class Digest {
public:
    explicit Digest(DigestAlgorithm algorithm);
    ~Digest();
    Digest(const Digest&) = delete;
    Digest& operator=(const Digest&) = delete;

    void Add(const unsigned char* data, std::size_t count);
    void Add(const Bytes& bytes) { Add(bytes.data(), bytes.size()); }
    // The digest of everything added. Ends the computation: nothing may be added after it.
    Bytes Finish();

private:
    struct State;
    DigestAlgorithm algorithm_;
    std::unique_ptr<State> state_;
};

// The digest of count bytes at data.
Bytes DigestOf(DigestAlgorithm algorithm, const unsigned char* data, std::size_t count);
