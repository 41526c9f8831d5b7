#pragma once
// A PCM WAV file read into memory: the RIFF "WAVE" container with its "fmt " and "data" chunks,
// 8-bit unsigned or 16-bit signed samples, one or two channels. Anything else — another encoding,
// a chunk that runs past the end of the file, no whole sample frame — is no sound, and parse()
// gives nothing; no input can make it read outside the bytes it was given.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace sound {

struct WaveFormat {
    std::uint16_t channels = 0;
    std::uint32_t sampleRate = 0;
    std::uint16_t bitsPerSample = 0;

    std::size_t frameBytes() const { return std::size_t(channels) * bitsPerSample / 8; }
};

class WaveFile {
public:
    // Larger files are refused: an alarm of a few seconds is a few hundred kilobytes.
    static constexpr std::size_t MaximumSize = 32 * 1024 * 1024;

    static std::optional<WaveFile> parse(std::span<const std::uint8_t> bytes);

    const WaveFormat& format() const { return m_format; }
    // Whole sample frames, interleaved, little-endian as stored.
    const std::vector<std::uint8_t>& samples() const { return m_samples; }
    std::chrono::milliseconds duration() const;

private:
    WaveFormat m_format;
    std::vector<std::uint8_t> m_samples;
};

} // namespace sound
