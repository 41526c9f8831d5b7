#include "protocol/TavrelDatagram.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using Bytes = CTavrelDatagram::Bytes;

std::string text(const CQoString& value)
{
    return device::toUtf8(value.View());
}

Bytes head(std::uint32_t tag, std::uint32_t payloadLength)
{
    Bytes out;
    for (std::uint32_t value : {tag, payloadLength, payloadLength + 16})
        for (int shift = 0; shift < 32; shift += 8)
            out.push_back(std::uint8_t(value >> shift));
    return out;
}

TEST(TavrelDatagramTest, OnShowClientTravelsAsTheFortyTwoBytesOfTheProtocol)
{
    std::optional<Bytes> datagram = CTavrelDatagram::Encode(u"OnShowClient");
    ASSERT_TRUE(datagram);
    ASSERT_EQ(datagram->size(), 42u);
    const Bytes expectedHead = {0x45, 0x4C, 0x49, 0x46, 0x1A, 0, 0, 0, 0x2A, 0, 0, 0};
    EXPECT_EQ(Bytes(datagram->begin(), datagram->begin() + 12), expectedHead);
    EXPECT_EQ((*datagram)[12], 'O');
    EXPECT_EQ((*datagram)[13], 0);
    EXPECT_EQ((*datagram)[14], 'n');
    // The terminator, then four zero bytes.
    EXPECT_EQ(Bytes(datagram->end() - 6, datagram->end()), Bytes(6, 0));
}

TEST(TavrelDatagramTest, WhatIsEncodedDecodesToTheSameText)
{
    const char16_t* texts[] = {u"", u"AddActivity:\"1\";\"Work\"", u"Stra\u00DFe \u65E5\u672C \U0001F600"};
    for (const char16_t* original : texts) {
        std::optional<Bytes> datagram = CTavrelDatagram::Encode(original);
        ASSERT_TRUE(datagram);
        CTavrelDatagram::Decoded decoded = CTavrelDatagram::Decode(datagram->data(), datagram->size());
        ASSERT_EQ(decoded.kind, CTavrelDatagram::Kind::Message);
        EXPECT_EQ(CTavrelDatagram::PayloadText(decoded.payload).View(), device::WideView(original));
        EXPECT_EQ(CTavrelDatagram::PayloadText(decoded.payload).GetLength(), std::u16string(original).size());
    }
}

TEST(TavrelDatagramTest, MessagesUpTo497CharactersAreSentInAt1012BytesAndLongerOnesAreNot)
{
    std::optional<Bytes> datagram = CTavrelDatagram::Encode(std::u16string(497, u'x'));
    ASSERT_TRUE(datagram);
    // A control application's 1012-byte receive buffer takes it whole.
    EXPECT_EQ(datagram->size(), 1012u);
    for (std::size_t length : {498u, 499u, 500u})
        EXPECT_FALSE(CTavrelDatagram::Encode(std::u16string(length, u'x'))) << length;
    // A character beyond U+FFFF takes two code units of the limit.
    EXPECT_TRUE(CTavrelDatagram::Encode(std::u16string(495, u'x') + u"\U0001F600"));
    EXPECT_FALSE(CTavrelDatagram::Encode(std::u16string(496, u'x') + u"\U0001F600"));
}

TEST(TavrelDatagramTest, APeersFullPayloadAreaFitsTheReceiveBuffer)
{
    // 499 characters and the terminator fill the 1000 bytes a control application sends from.
    Bytes datagram = head(CTavrelDatagram::MessageTag, 1000);
    for (int i = 0; i < 499; ++i)
        datagram.insert(datagram.end(), {'y', 0});
    datagram.insert(datagram.end(), 6, 0);
    ASSERT_EQ(datagram.size(), 1016u);
    EXPECT_LE(datagram.size(), CTavrelDatagram::ReceiveBufferSize);
    CTavrelDatagram::Decoded decoded = CTavrelDatagram::Decode(datagram.data(), datagram.size());
    ASSERT_EQ(decoded.kind, CTavrelDatagram::Kind::Message);
    EXPECT_EQ(text(CTavrelDatagram::PayloadText(decoded.payload)), std::string(499, 'y'));
}

TEST(TavrelDatagramTest, StopDatagramCarriesTheStopTag)
{
    Bytes stop = CTavrelDatagram::EncodeStop();
    ASSERT_GE(stop.size(), 4u);
    EXPECT_EQ(std::string(stop.begin(), stop.begin() + 4), "KCAN");
    EXPECT_EQ(CTavrelDatagram::Decode(stop.data(), stop.size()).kind, CTavrelDatagram::Kind::Stop);
    // The tag alone is enough.
    EXPECT_EQ(CTavrelDatagram::Decode(stop.data(), 4).kind, CTavrelDatagram::Kind::Stop);
}

TEST(TavrelDatagramTest, ShortAndForeignDatagramsAreIgnored)
{
    Bytes message = *CTavrelDatagram::Encode(u"Initialize");
    for (std::size_t size : {0u, 1u, 3u, 7u})
        EXPECT_EQ(CTavrelDatagram::Decode(message.data(), size).kind, CTavrelDatagram::Kind::Ignored) << size;
    EXPECT_EQ(CTavrelDatagram::Decode(nullptr, 20).kind, CTavrelDatagram::Kind::Ignored);

    Bytes foreign = message;
    foreign[0] = 'X';
    EXPECT_EQ(CTavrelDatagram::Decode(foreign.data(), foreign.size()).kind, CTavrelDatagram::Kind::Ignored);
    // The tag in the wrong byte order is another tag.
    Bytes reversed = head(0x454C4946, 4);
    EXPECT_EQ(CTavrelDatagram::Decode(reversed.data(), reversed.size()).kind, CTavrelDatagram::Kind::Ignored);
}

TEST(TavrelDatagramTest, StatedLengthBeyondTheReceivedBytesIsCutToThem)
{
    Bytes datagram = head(CTavrelDatagram::MessageTag, 0xFFFFFFF0);
    datagram.insert(datagram.end(), {'H', 0, 'i', 0});
    CTavrelDatagram::Decoded decoded = CTavrelDatagram::Decode(datagram.data(), datagram.size());
    ASSERT_EQ(decoded.kind, CTavrelDatagram::Kind::Message);
    EXPECT_EQ(decoded.payload.size(), 4u);
    // No terminator arrived: the text ends with the bytes.
    EXPECT_EQ(text(CTavrelDatagram::PayloadText(decoded.payload)), "Hi");

    // A head without payload, and a head cut short after the length field.
    EXPECT_TRUE(CTavrelDatagram::Decode(datagram.data(), 12).payload.empty());
    EXPECT_TRUE(CTavrelDatagram::Decode(datagram.data(), 9).payload.empty());
}

TEST(TavrelDatagramTest, StatedLengthShorterThanTheDatagramLimitsThePayload)
{
    Bytes datagram = *CTavrelDatagram::Encode(u"Initialize");
    datagram[4] = 4; // two characters
    CTavrelDatagram::Decoded decoded = CTavrelDatagram::Decode(datagram.data(), datagram.size());
    EXPECT_EQ(text(CTavrelDatagram::PayloadText(decoded.payload)), "In");
}

TEST(TavrelDatagramTest, PayloadTextStopsAtTheFirstZeroAndDropsAnOddByte)
{
    EXPECT_EQ(text(CTavrelDatagram::PayloadText({'A', 0, 0, 0, 'B', 0})), "A");
    EXPECT_EQ(text(CTavrelDatagram::PayloadText({'A', 0, 'B'})), "A");
    EXPECT_EQ(text(CTavrelDatagram::PayloadText({'A'})), "");
    EXPECT_TRUE(CTavrelDatagram::PayloadText({}).IsEmpty());
}

TEST(TavrelDatagramTest, UnpairedSurrogatesAreKeptAsTheyCame)
{
    // A lone high surrogate, then a lone low one.
    CQoString value = CTavrelDatagram::PayloadText({0x00, 0xD8, 'x', 0, 0x00, 0xDC});
    ASSERT_EQ(value.GetLength(), 3u);
    EXPECT_EQ(value.GetAt(0), char16_t(0xD800));
    EXPECT_EQ(value.GetAt(2), char16_t(0xDC00));
    // Writing it for a person never fails.
    EXPECT_FALSE(text(value).empty());
}

} // namespace
