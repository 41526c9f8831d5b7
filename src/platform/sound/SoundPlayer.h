#pragma once
// The handheld's synchronous WAV playback (PlaySound with SND_SYNC): the sound file of a device path
// is played to its end before the call returns.
//
// Where nobody can hear it — a headless program (which sets Mode::Report), SDL_AUDIODRIVER=dummy,
// or a host without an audio device — nothing is played: the sound is only named on standard
// error as "play-sound: DEVICEPATH", so a script can see that it would have sounded. A missing or
// damaged file plays nothing, writes nothing and returns false at once. Playback never waits
// longer than the sound lasts plus a moment, so an audio device that stalls cannot hold up the
// caller.

#include "platform/device/WideText.h"

#include <string>

namespace sound {

class SoundPlayer {
public:
    enum class Mode {
        Automatic, // the host's audio device when there is one
        Report, // never play; name the sound on standard error
    };

    static void setMode(Mode mode);
    static Mode mode();

    // True when the file is a sound that was played (or reported).
    static bool playSync(device::WideView devicePath);

    // The line written instead of playing.
    static std::string reportLine(device::WideView devicePath);
};

} // namespace sound
