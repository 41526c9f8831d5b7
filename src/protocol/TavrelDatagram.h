#pragma once
// CTavrelDatagram: the control protocol's datagram, in both directions.
//
//   offset 0   4 bytes  tag: "ELIF" carries a message, "KCAN" tells the receiver to stop
//   offset 4   4 bytes  payload length in bytes (little-endian)
//   offset 8   4 bytes  datagram length = payload length + 16 (little-endian)
//   offset 12  payload  the message text in UTF-16LE with its terminating zero character
//   then       4 bytes  zero
//
// A message with its terminator fits a payload area of 1000 bytes (at most 499 characters), and
// the receiver's buffer holds the 12-byte head and those 1000 bytes. The receiver reads only the
// tag, the payload length and the payload; the length field at offset 8 and the trailing bytes
// are not read.
//
// Decoding takes any bytes: a datagram too short for its head is no message, and a payload length
// that claims more than arrived is cut to what arrived, so nothing past the received bytes is
// ever read.

#include "common/QoString.h"
#include "platform/device/WideText.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

class CTavrelDatagram {
public:
    using Bytes = std::vector<std::uint8_t>;

    static constexpr std::uint32_t MessageTag = 0x46494C45; // "ELIF"
    static constexpr std::uint32_t StopTag = 0x4E41434B;    // "KCAN"
    static constexpr std::size_t HeadSize = 12;
    static constexpr std::size_t TrailerSize = 4;
    static constexpr std::size_t PayloadCapacity = 1000;
    static constexpr std::size_t ReceiveBufferSize = HeadSize + PayloadCapacity; // 1012
    static constexpr std::size_t MaxMessageLength = PayloadCapacity / 2 - 1;      // 499 characters

    enum class Kind {
        Message, // "ELIF": the payload is the message
        Stop,    // "KCAN"
        Ignored, // too short for a tag, or another tag
    };

    struct Decoded {
        Kind kind = Kind::Ignored;
        Bytes payload; // the payload bytes that arrived, at most the stated length
    };

    // The datagram of a message; nothing when the text with its terminator does not fit the
    // payload area.
    static std::optional<Bytes> Encode(device::WideView text);
    // The datagram that stops a receiver: the "KCAN" tag with an empty payload.
    static Bytes EncodeStop();

    static Decoded Decode(const std::uint8_t* bytes, std::size_t size);

    // The payload's text: UTF-16LE code units up to the first zero character or the end (an odd
    // last byte is no character). Code units are kept as they came, even unpaired surrogates.
    static CQoString PayloadText(const Bytes& payload);
};
