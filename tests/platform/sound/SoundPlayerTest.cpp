// Synchronous playback where nobody hears it: the sound is named on standard error once; missing and
// damaged files play nothing and say nothing.

#include "TempDevice.h"

#include "platform/device/FileSystem.h"
#include "platform/sound/SoundPlayer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>

using sound::SoundPlayer;

namespace {

class SoundPlayerTest : public ::testing::Test {
protected:
    ~SoundPlayerTest() override
    {
        SoundPlayer::setMode(SoundPlayer::Mode::Automatic);
        ::unsetenv("SDL_AUDIODRIVER");
    }

    // Plays and returns what went to standard error.
    static std::string play(std::u16string_view path, bool* played)
    {
        ::testing::internal::CaptureStderr();
        *played = SoundPlayer::playSync(path);
        return ::testing::internal::GetCapturedStderr();
    }

    testing_support::TempDevice device;
};

TEST_F(SoundPlayerTest, AHeadlessProgramNamesTheSoundOnceInsteadOfPlayingIt)
{
    SoundPlayer::setMode(SoundPlayer::Mode::Report);
    bool played = false;
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(play(u"\\Windows\\Alarm2.wav", &played), "play-sound: \\Windows\\Alarm2.wav\n");
    EXPECT_TRUE(played);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(500)) << "nothing to wait for";
    // Device paths ignore case and keep the caller's spelling in the line.
    EXPECT_EQ(play(u"\\windows\\ALARM2.WAV", &played), "play-sound: \\windows\\ALARM2.WAV\n");
}

TEST_F(SoundPlayerTest, TheDummyAudioDriverCountsAsNoAudioDevice)
{
    ::setenv("SDL_AUDIODRIVER", "dummy", 1);
    bool played = false;
    EXPECT_EQ(play(u"\\Windows\\Alarm2.wav", &played), "play-sound: \\Windows\\Alarm2.wav\n");
    EXPECT_TRUE(played);
}

TEST_F(SoundPlayerTest, MissingAndDamagedFilesPlayNothingAndSayNothing)
{
    SoundPlayer::setMode(SoundPlayer::Mode::Report);
    bool played = true;
    EXPECT_EQ(play(u"\\Windows\\NoSuch.wav", &played), "");
    EXPECT_FALSE(played);
    ASSERT_TRUE(device::FileSystem::writeAll(u"\\Windows\\Broken.wav", "RIFF\x10\0\0\0WAVEjunk", 16));
    EXPECT_EQ(play(u"\\Windows\\Broken.wav", &played), "");
    EXPECT_FALSE(played);
    EXPECT_EQ(play(u"\\Windows", &played), "") << "a folder";
    EXPECT_FALSE(played);
    EXPECT_EQ(play(u"\\..\\..\\etc\\passwd", &played), "") << "outside the device";
    EXPECT_FALSE(played);
}

} // namespace
