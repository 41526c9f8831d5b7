// Reading PCM WAV files: what plays, and the damaged files that must play nothing.

#include "TempDevice.h"

#include "platform/device/FileSystem.h"
#include "platform/sound/WaveFile.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

using sound::WaveFile;

namespace {

using Bytes = std::vector<std::uint8_t>;

void put(Bytes& bytes, std::uint32_t value, int count)
{
    for (int i = 0; i < count; ++i)
        bytes.push_back(std::uint8_t(value >> (8 * i)));
}

void tag(Bytes& bytes, const char* text) { bytes.insert(bytes.end(), text, text + 4); }

Bytes chunk(const char* id, const Bytes& body)
{
    Bytes bytes;
    tag(bytes, id);
    put(bytes, std::uint32_t(body.size()), 4);
    bytes.insert(bytes.end(), body.begin(), body.end());
    if (body.size() % 2)
        bytes.push_back(0);
    return bytes;
}

Bytes format(std::uint16_t encoding, std::uint16_t channels, std::uint32_t rate, std::uint16_t bits)
{
    Bytes body;
    put(body, encoding, 2);
    put(body, channels, 2);
    put(body, rate, 4);
    put(body, rate * channels * bits / 8, 4);
    put(body, channels * bits / 8, 2);
    put(body, bits, 2);
    return body;
}

Bytes riff(const std::vector<Bytes>& chunks)
{
    Bytes inside;
    tag(inside, "WAVE");
    for (const Bytes& part : chunks)
        inside.insert(inside.end(), part.begin(), part.end());
    Bytes bytes;
    tag(bytes, "RIFF");
    put(bytes, std::uint32_t(inside.size()), 4);
    bytes.insert(bytes.end(), inside.begin(), inside.end());
    return bytes;
}

TEST(WaveFile, TheDevicesOwnAlarmIsSixteenBitMonoOfUnderASecond)
{
    testing_support::TempDevice device;
    const std::optional<Bytes> bytes = device::FileSystem::readAll(u"\\Windows\\Alarm2.wav");
    ASSERT_TRUE(bytes);
    const std::optional<WaveFile> alarm = WaveFile::parse(*bytes);
    ASSERT_TRUE(alarm);
    EXPECT_EQ(alarm->format().channels, 1);
    EXPECT_EQ(alarm->format().bitsPerSample, 16);
    EXPECT_EQ(alarm->format().sampleRate, 22050u);
    EXPECT_EQ(alarm->samples().size(), bytes->size() - 44);
    EXPECT_GT(alarm->duration(), std::chrono::milliseconds(500));
    EXPECT_LT(alarm->duration(), std::chrono::milliseconds(2000));
}

TEST(WaveFile, OtherChunksAreSkippedOddChunksArePaddedAndAPartFrameIsLeftOut)
{
    // 8-bit stereo: two bytes a frame. A "LIST" chunk of odd length sits between the format and
    // the data, and the data ends in half a frame.
    const Bytes wave = riff({chunk("fmt ", format(1, 2, 8000, 8)), chunk("LIST", Bytes(5, 'x')),
        chunk("data", Bytes {1, 2, 3, 4, 5, 6, 7})});
    const std::optional<WaveFile> parsed = WaveFile::parse(wave);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->format().channels, 2);
    EXPECT_EQ(parsed->samples(), (Bytes {1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(parsed->duration(), std::chrono::milliseconds(0)); // three frames at 8 kHz

    // The extensible header naming PCM as its sub-format is PCM too.
    Bytes extensible = format(0xFFFE, 1, 44100, 16);
    put(extensible, 22, 2);
    put(extensible, 16, 2);
    put(extensible, 4, 4);
    put(extensible, 1, 2); // sub-format PCM
    extensible.resize(40, 0);
    EXPECT_TRUE(WaveFile::parse(riff({chunk("fmt ", extensible), chunk("data", Bytes(100, 0))})));
}

TEST(WaveFile, DamagedFilesAreNoSound)
{
    const Bytes fmt = chunk("fmt ", format(1, 1, 22050, 16));
    EXPECT_FALSE(WaveFile::parse({})) << "empty";
    EXPECT_FALSE(WaveFile::parse(Bytes {'R', 'I', 'F', 'F'})) << "only a tag";
    EXPECT_FALSE(WaveFile::parse(riff({fmt}))) << "no data";
    EXPECT_FALSE(WaveFile::parse(riff({chunk("data", Bytes(10, 0)), fmt}))) << "data before its format";
    EXPECT_FALSE(WaveFile::parse(riff({fmt, chunk("data", Bytes(1, 0))}))) << "not one whole frame";
    EXPECT_FALSE(WaveFile::parse(riff({chunk("fmt ", format(3, 1, 22050, 32)), chunk("data", Bytes(8, 0))})))
        << "floats";
    EXPECT_FALSE(WaveFile::parse(riff({chunk("fmt ", format(1, 6, 22050, 16)), chunk("data", Bytes(24, 0))})))
        << "six channels";
    EXPECT_FALSE(WaveFile::parse(riff({chunk("fmt ", format(1, 1, 20, 16)), chunk("data", Bytes(8, 0))})))
        << "no real sample rate";
    EXPECT_FALSE(WaveFile::parse(riff({chunk("fmt ", Bytes(10, 1)), chunk("data", Bytes(8, 0))}))) << "short format";

    // A data chunk that claims more than the file holds: cut off in the middle.
    Bytes truncated = riff({fmt, chunk("data", Bytes(1000, 0))});
    truncated.resize(truncated.size() - 10);
    EXPECT_FALSE(WaveFile::parse(truncated));
    // A chunk size near 4 GiB must not wrap around.
    Bytes huge = riff({fmt});
    tag(huge, "data");
    put(huge, 0xFFFFFFF8u, 4);
    EXPECT_FALSE(WaveFile::parse(huge));

    Bytes notWave = riff({fmt, chunk("data", Bytes(8, 0))});
    notWave[8] = 'A';
    EXPECT_FALSE(WaveFile::parse(notWave));
}

TEST(WaveFile, AnyBytesAreReadWithoutHarm)
{
    const Bytes good = riff({chunk("fmt ", format(1, 2, 11025, 16)), chunk("data", Bytes(64, 7))});
    std::mt19937 random(13);
    for (int round = 0; round < 2000; ++round) {
        Bytes bytes = good;
        const int changes = 1 + int(random() % 6);
        for (int i = 0; i < changes; ++i)
            bytes[random() % bytes.size()] = std::uint8_t(random());
        if (random() % 4 == 0)
            bytes.resize(random() % bytes.size());
        if (const std::optional<WaveFile> parsed = WaveFile::parse(bytes)) {
            EXPECT_LE(parsed->samples().size(), bytes.size());
            EXPECT_EQ(parsed->samples().size() % parsed->format().frameBytes(), 0u);
        }
    }
}

} // namespace
