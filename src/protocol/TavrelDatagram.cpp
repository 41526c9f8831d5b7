#include "protocol/TavrelDatagram.h"

// The longest message fills the longest datagram exactly, and whatever is sent fits the buffer.
static_assert(CTavrelDatagram::HeadSize + (CTavrelDatagram::MaxMessageLength + 1) * 2 + CTavrelDatagram::TrailerSize
              == CTavrelDatagram::MaxDatagramSize);
static_assert(CTavrelDatagram::MaxDatagramSize <= CTavrelDatagram::ReceiveBufferSize);

namespace {

void putLittleEndian(CTavrelDatagram::Bytes& out, std::uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(std::uint8_t(value >> shift));
}

std::uint32_t readLittleEndian(const std::uint8_t* bytes)
{
    return std::uint32_t(bytes[0]) | std::uint32_t(bytes[1]) << 8 | std::uint32_t(bytes[2]) << 16 |
           std::uint32_t(bytes[3]) << 24;
}

} // namespace

std::optional<CTavrelDatagram::Bytes> CTavrelDatagram::Encode(device::WideView text)
{
    if (text.size() > MaxMessageLength)
        return std::nullopt;
    const std::uint32_t payloadLength = std::uint32_t((text.size() + 1) * 2);
    Bytes out;
    out.reserve(HeadSize + payloadLength + TrailerSize);
    putLittleEndian(out, MessageTag);
    putLittleEndian(out, payloadLength);
    putLittleEndian(out, payloadLength + std::uint32_t(HeadSize + TrailerSize));
    for (char16_t unit : text) {
        out.push_back(std::uint8_t(unit & 0xFF));
        out.push_back(std::uint8_t(unit >> 8));
    }
    out.insert(out.end(), 2 + TrailerSize, 0); // the terminator, then the trailer
    return out;
}

CTavrelDatagram::Bytes CTavrelDatagram::EncodeStop()
{
    Bytes out;
    putLittleEndian(out, StopTag);
    putLittleEndian(out, 0);
    putLittleEndian(out, std::uint32_t(HeadSize + TrailerSize));
    out.insert(out.end(), TrailerSize, 0);
    return out;
}

CTavrelDatagram::Decoded CTavrelDatagram::Decode(const std::uint8_t* bytes, std::size_t size)
{
    Decoded decoded;
    if (!bytes || size < 4)
        return decoded;
    const std::uint32_t tag = readLittleEndian(bytes);
    if (tag == StopTag) {
        decoded.kind = Kind::Stop;
        return decoded;
    }
    if (tag != MessageTag || size < 8)
        return decoded;
    decoded.kind = Kind::Message;
    const std::size_t stated = readLittleEndian(bytes + 4);
    const std::size_t arrived = size > HeadSize ? size - HeadSize : 0;
    const std::size_t length = stated < arrived ? stated : arrived;
    if (length > 0)
        decoded.payload.assign(bytes + HeadSize, bytes + HeadSize + length);
    return decoded;
}

CQoString CTavrelDatagram::PayloadText(const Bytes& payload)
{
    std::u16string text;
    text.reserve(payload.size() / 2);
    for (std::size_t at = 0; at + 1 < payload.size(); at += 2) {
        const char16_t unit = char16_t(payload[at] | payload[at + 1] << 8);
        if (unit == 0)
            break;
        text.push_back(unit);
    }
    return CQoString(text.c_str());
}
