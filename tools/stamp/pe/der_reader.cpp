// A bounded DER reader.
#include "pe/der_reader.h"

bool DerReader::Next(DerElement& element)
{
    const std::size_t left = static_cast<std::size_t>(end_ - data_);
    // The long tag form (low five bits all set) appears in nothing signatures hold.
    if (left < 2 || (data_[0] & 0x1F) == 0x1F) {
        data_ = end_;
        return false;
    }
    std::size_t header = 2;
    std::size_t length = data_[1];
    if (length & 0x80) {
        const std::size_t count = length & 0x7F;
        // 0x80 is the indefinite length, which DER forbids; four length bytes are plenty.
        if (count == 0 || count > 4 || left < 2 + count) {
            data_ = end_;
            return false;
        }
        length = 0;
        for (std::size_t i = 0; i < count; ++i)
            length = length << 8 | data_[2 + i];
        header += count;
    }
    if (length > left - header) {
        data_ = end_;
        return false;
    }
    element.tag = data_[0];
    element.start = data_;
    element.value = data_ + header;
    element.valueSize = length;
    element.size = header + length;
    data_ += element.size;
    return true;
}

bool DerReader::NextIf(unsigned char t, DerElement& element)
{
    const unsigned char* at = data_;
    DerElement next;
    if (!Next(next) || next.tag != t) {
        data_ = at;
        return false;
    }
    element = next;
    return true;
}

std::string ObjectIdText(const DerElement& element)
{
    if (element.tag != der::ObjectId || element.valueSize == 0 || element.valueSize > 64)
        return {};
    std::string text;
    std::uint64_t arc = 0;
    bool first = true;
    for (std::size_t i = 0; i < element.valueSize; ++i) {
        const unsigned char byte = element.value[i];
        if (arc > (UINT64_MAX >> 8))
            return {};
        arc = arc << 7 | (byte & 0x7F);
        if (byte & 0x80) {
            if (i + 1 == element.valueSize)
                return {};  // the last arc is not finished
            continue;
        }
        if (first) {
            const std::uint64_t top = arc < 40 ? 0 : arc < 80 ? 1 : 2;
            text = std::to_string(top) + "." + std::to_string(arc - 40 * top);
            first = false;
        } else {
            text += "." + std::to_string(arc);
        }
        arc = 0;
    }
    return text;
}
