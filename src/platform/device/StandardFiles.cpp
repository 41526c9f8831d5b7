#include "platform/device/StandardFiles.h"

#include "platform/device/AtomicFileWrite.h"

#include <cmath>
#include <system_error>

namespace device {

namespace {

void putLittleEndian(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(std::uint8_t(value >> (8 * i)));
}

void putTag(std::vector<std::uint8_t>& out, const char (&tag)[5])
{
    for (int i = 0; i < 4; ++i)
        out.push_back(std::uint8_t(tag[i]));
}

} // namespace

std::vector<std::uint8_t> synthesiseAlarmSound()
{
    constexpr int rate = 22050;
    constexpr double pi = 3.14159265358979323846;
    // Three rising chimes (E6, G6, C7), each a decaying sine with a soft attack.
    constexpr double tones[] = {1318.51, 1567.98, 2093.00};
    constexpr int noteSamples = rate * 28 / 100;
    constexpr int gapSamples = rate * 4 / 100;
    std::vector<std::int16_t> samples;
    for (double frequency : tones) {
        for (int i = 0; i < noteSamples; ++i) {
            double t = double(i) / rate;
            double attack = std::min(1.0, i / (rate * 0.005));
            double envelope = attack * std::exp(-t * 9.0);
            double wave = std::sin(2 * pi * frequency * t) + 0.25 * std::sin(4 * pi * frequency * t);
            samples.push_back(std::int16_t(std::lround(wave * envelope * 0.55 * 32767 / 1.25)));
        }
        samples.insert(samples.end(), gapSamples, 0);
    }

    std::vector<std::uint8_t> wav;
    std::uint32_t dataBytes = std::uint32_t(samples.size() * 2);
    wav.reserve(44 + dataBytes);
    putTag(wav, "RIFF");
    putLittleEndian(wav, 36 + dataBytes, 4);
    putTag(wav, "WAVE");
    putTag(wav, "fmt ");
    putLittleEndian(wav, 16, 4);
    putLittleEndian(wav, 1, 2); // PCM
    putLittleEndian(wav, 1, 2); // mono
    putLittleEndian(wav, rate, 4);
    putLittleEndian(wav, rate * 2, 4);
    putLittleEndian(wav, 2, 2);
    putLittleEndian(wav, 16, 2);
    putTag(wav, "data");
    putLittleEndian(wav, dataBytes, 4);
    for (std::int16_t s : samples)
        putLittleEndian(wav, std::uint16_t(s), 2);
    return wav;
}

bool writeStandardFiles(const std::filesystem::path& fileSystemRoot, std::string* error)
{
    const std::filesystem::path alarm = fileSystemRoot / "Windows" / "Alarm2.wav";
    std::error_code ec;
    if (std::filesystem::exists(alarm, ec))
        return true;
    const AtomicWriteResult written = writeFileAtomically(alarm, synthesiseAlarmSound());
    if (!written && error)
        *error = written.message(alarm);
    return written.succeeded();
}

} // namespace device
