// A bounded reader of DER (the tag-length-value encoding of ASN.1), as far as signatures
// need it: definite lengths only, tags of one byte, never reading outside the bytes given.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// DER tags used by signatures.
namespace der {
constexpr unsigned char Integer = 0x02;
constexpr unsigned char BitString = 0x03;
constexpr unsigned char OctetString = 0x04;
constexpr unsigned char Null = 0x05;
constexpr unsigned char ObjectId = 0x06;
constexpr unsigned char Utf8String = 0x0C;
constexpr unsigned char PrintableString = 0x13;
constexpr unsigned char TeletexString = 0x14;
constexpr unsigned char Ia5String = 0x16;
constexpr unsigned char BmpString = 0x1E;
constexpr unsigned char Sequence = 0x30;
constexpr unsigned char Set = 0x31;
// A context-specific tag [n], constructed.
constexpr unsigned char Context(unsigned n) { return static_cast<unsigned char>(0xA0 | n); }
}  // namespace der

// One element: its tag, the whole encoding and the value inside it.
struct DerElement {
    unsigned char tag = 0;
    const unsigned char* start = nullptr;  // the tag's byte
    const unsigned char* value = nullptr;  // the first byte of the value
    std::size_t valueSize = 0;
    std::size_t size = 0;                  // tag, length and value

    bool Is(unsigned char t) const { return start != nullptr && tag == t; }
};

// Walks the elements that lie one after another in a span of bytes (the value of a SEQUENCE
// or SET, or a whole encoding).
class DerReader {
public:
    DerReader() = default;
    DerReader(const unsigned char* data, std::size_t size) : data_(data), end_(data + size) {}
    // The elements inside a constructed element.
    explicit DerReader(const DerElement& element) : data_(element.value), end_(element.value + element.valueSize) {}

    bool AtEnd() const { return data_ == end_; }
    // The next element; false (and the reader left at its end) when what follows is not
    // one whole element: a long tag, an indefinite or over-long length, a value past the end.
    bool Next(DerElement& element);
    // The next element only when it has tag t; false, and nothing taken, otherwise.
    bool NextIf(unsigned char t, DerElement& element);
    // The next element, which must have tag t.
    bool Expect(unsigned char t, DerElement& element) { return NextIf(t, element); }

private:
    const unsigned char* data_ = nullptr;
    const unsigned char* end_ = nullptr;
};

// An OBJECT IDENTIFIER's value in dotted form ("1.2.840.113549.1.7.2"); empty when it is not
// a valid one.
std::string ObjectIdText(const DerElement& element);
