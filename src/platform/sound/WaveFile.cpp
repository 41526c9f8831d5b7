#include "platform/sound/WaveFile.h"

#include <cstring>

namespace sound {

namespace {

constexpr std::uint16_t formatPcm = 1;
constexpr std::uint16_t formatExtensible = 0xFFFE;

std::uint32_t readLittleEndian(std::span<const std::uint8_t> bytes, std::size_t at, std::size_t count)
{
    std::uint32_t value = 0;
    for (std::size_t i = count; i-- > 0;)
        value = (value << 8) | bytes[at + i];
    return value;
}

bool hasTag(std::span<const std::uint8_t> bytes, std::size_t at, const char* tag)
{
    return bytes.size() >= at + 4 && std::memcmp(bytes.data() + at, tag, 4) == 0;
}

std::optional<WaveFormat> readFormat(std::span<const std::uint8_t> chunk)
{
    if (chunk.size() < 16)
        return std::nullopt;
    std::uint16_t tag = std::uint16_t(readLittleEndian(chunk, 0, 2));
    // The extensible header names the real encoding in the first two bytes of its sub-format.
    if (tag == formatExtensible && chunk.size() >= 26)
        tag = std::uint16_t(readLittleEndian(chunk, 24, 2));
    WaveFormat format;
    format.channels = std::uint16_t(readLittleEndian(chunk, 2, 2));
    format.sampleRate = readLittleEndian(chunk, 4, 4);
    const std::uint16_t blockAlign = std::uint16_t(readLittleEndian(chunk, 12, 2));
    format.bitsPerSample = std::uint16_t(readLittleEndian(chunk, 14, 2));
    const bool supported = tag == formatPcm && (format.channels == 1 || format.channels == 2)
        && (format.bitsPerSample == 8 || format.bitsPerSample == 16) && format.sampleRate >= 1000
        && format.sampleRate <= 192000 && blockAlign == format.frameBytes();
    return supported ? std::optional(format) : std::nullopt;
}

} // namespace

std::optional<WaveFile> WaveFile::parse(std::span<const std::uint8_t> bytes)
{
    if (bytes.size() > MaximumSize || bytes.size() < 12 || !hasTag(bytes, 0, "RIFF") || !hasTag(bytes, 8, "WAVE"))
        return std::nullopt;
    // The RIFF size may understate the file (some writers leave it short); the chunks are read as
    // far as the bytes go, and each must lie inside them.
    std::optional<WaveFormat> format;
    std::size_t at = 12;
    while (at + 8 <= bytes.size()) {
        const std::size_t size = readLittleEndian(bytes, at + 4, 4);
        const std::size_t body = at + 8;
        if (size > bytes.size() - body)
            return std::nullopt;
        const std::span<const std::uint8_t> chunk = bytes.subspan(body, size);
        if (hasTag(bytes, at, "fmt ")) {
            format = readFormat(chunk);
            if (!format)
                return std::nullopt;
        } else if (hasTag(bytes, at, "data")) {
            if (!format)
                return std::nullopt;
            const std::size_t whole = size - size % format->frameBytes();
            if (whole == 0)
                return std::nullopt;
            WaveFile file;
            file.m_format = *format;
            file.m_samples.assign(chunk.begin(), chunk.begin() + std::ptrdiff_t(whole));
            return file;
        }
        at = body + size + (size & 1); // chunks are padded to an even length
    }
    return std::nullopt;
}

std::chrono::milliseconds WaveFile::duration() const
{
    const std::size_t frames = m_samples.size() / m_format.frameBytes();
    return std::chrono::milliseconds(std::int64_t(frames) * 1000 / std::int64_t(m_format.sampleRate));
}

} // namespace sound
