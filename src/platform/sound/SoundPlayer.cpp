#include "platform/sound/SoundPlayer.h"

#include "platform/device/FileSystem.h"
#include "platform/sound/WaveFile.h"

#include "platform/sdl/SdlLibrary.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace sound {

namespace {

using Clock = std::chrono::steady_clock;

std::atomic<SoundPlayer::Mode> currentMode {SoundPlayer::Mode::Automatic};

// How long past the sound's own length playback may take before it is given up.
constexpr std::chrono::milliseconds playbackSlack {2000};

void report(device::WideView devicePath)
{
    const std::string line = SoundPlayer::reportLine(devicePath);
    std::fputs(line.c_str(), stderr);
    std::fflush(stderr);
}

bool audioWanted()
{
    const char* driver = std::getenv("SDL_AUDIODRIVER");
    return !(driver && std::strcmp(driver, "dummy") == 0);
}

// Plays the sound through the host's default audio device; false when there is none.
bool playOnHost(const WaveFile& sound)
{
    const sdl::Library* const api = sdl::Library::get();
    if (!api || api->InitSubSystem(SDL_INIT_AUDIO) != 0)
        return false;
    SDL_AudioSpec wanted {};
    wanted.freq = int(sound.format().sampleRate);
    wanted.format = sound.format().bitsPerSample == 8 ? AUDIO_U8 : AUDIO_S16LSB;
    wanted.channels = std::uint8_t(sound.format().channels);
    wanted.samples = 1024;
    SDL_AudioSpec obtained {};
    // No changes allowed: SDL converts to what the device takes.
    const SDL_AudioDeviceID device = api->OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
    if (device == 0) {
        api->QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    bool played = api->QueueAudio(device, sound.samples().data(), std::uint32_t(sound.samples().size())) == 0;
    if (played) {
        api->PauseAudioDevice(device, 0);
        const Clock::time_point giveUp = Clock::now() + sound.duration() + playbackSlack;
        while (api->GetQueuedAudioSize(device) > 0 && Clock::now() < giveUp)
            api->Delay(10);
        // What the device took last is still in its own buffer.
        api->Delay(std::uint32_t(1000 * obtained.samples / std::max(obtained.freq, 1)) + 20);
    }
    api->CloseAudioDevice(device);
    api->QuitSubSystem(SDL_INIT_AUDIO);
    return played;
}

} // namespace

void SoundPlayer::setMode(Mode mode) { currentMode = mode; }

SoundPlayer::Mode SoundPlayer::mode() { return currentMode; }

std::string SoundPlayer::reportLine(device::WideView devicePath)
{
    return "play-sound: " + device::toUtf8(devicePath) + "\n";
}

bool SoundPlayer::playSync(device::WideView devicePath)
{
    const std::optional<device::FileInfo> info = device::FileSystem::info(devicePath);
    if (!info || info->size > WaveFile::MaximumSize)
        return false;
    const std::optional<std::vector<std::uint8_t>> bytes = device::FileSystem::readAll(devicePath);
    if (!bytes)
        return false;
    const std::optional<WaveFile> sound = WaveFile::parse(*bytes);
    if (!sound)
        return false;
    if (mode() == Mode::Report || !audioWanted() || !playOnHost(*sound))
        report(devicePath);
    return true;
}

} // namespace sound
