#pragma once
// CTavrelDatagram: the control protocol's datagram, in both directions.
//
//   offset 0   4 bytes  tag: "ELIF" carries a message, "KCAN" tells the receiver to stop
//   offset 4   4 bytes  payload length in bytes (little-endian)
//   offset 8   4 bytes  datagram length = payload length + 16 (little-endian)
//   offset 12  payload  the message text in UTF-16LE with its terminating zero character
//   then       4 bytes  zero
//
// Sizes. Control applications are built with a payload area of 1000 bytes to send from and a
// receive buffer of 1012 bytes (the head and those 1000 bytes), which leaves no room for the
// trailer of a full payload area. So both ends here keep to one limit and read generously:
// - no datagram sent is longer than 1012 bytes, so any receiver's buffer takes it whole: a message
//   has at most 497 characters (UTF-16 code units) with its terminator;
// - the receive buffer is 1016 bytes, the head, a full 1000-byte payload area and the trailer, so
//   the 499-character message of a peer that fills its payload area is still taken in.
// The receiver reads only the tag, the payload length and the payload; the length field at
// offset 8 and the trailing bytes are not read.
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
    // The longest datagram sent, and so the longest message: 497 characters and the terminator.
    static constexpr std::size_t MaxDatagramSize = 1012;
    static constexpr std::size_t MaxMessageLength = (MaxDatagramSize - HeadSize - TrailerSize) / 2 - 1;
    // What a peer may put in one datagram, and the buffer that takes it whole (1016 bytes).
    static constexpr std::size_t PayloadCapacity = 1000;
    static constexpr std::size_t ReceiveBufferSize = HeadSize + PayloadCapacity + TrailerSize;

    enum class Kind {
        Message, // "ELIF": the payload is the message
        Stop,    // "KCAN"
        Ignored, // too short for a tag, or another tag
    };

    struct Decoded {
        Kind kind = Kind::Ignored;
        Bytes payload; // the payload bytes that arrived, at most the stated length
    };

    // The datagram of a message; nothing when the text is longer than MaxMessageLength.
    static std::optional<Bytes> Encode(device::WideView text);
    // The datagram that stops a receiver: the "KCAN" tag with an empty payload.
    static Bytes EncodeStop();

    static Decoded Decode(const std::uint8_t* bytes, std::size_t size);

    // The payload's text: UTF-16LE code units up to the first zero character or the end (an odd
    // last byte is no character). Code units are kept as they came, even unpaired surrogates.
    static CQoString PayloadText(const Bytes& payload);
};
