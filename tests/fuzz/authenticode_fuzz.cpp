// libFuzzer target for the signature reader: any bytes are read as a program's certificate
// table and its signatures without reading out of bounds, and a state is always given; a
// whole signature always names its digest algorithm, a broken one what is wrong.
#include "pe/authenticode.h"
#include "pe/der_reader.h"

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
    return 0;
}
