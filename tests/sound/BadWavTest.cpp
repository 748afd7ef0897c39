// WAV files that are damaged or in another layout than the generated ones, through the real
// engine on SDL's audio driver.

#include "sound/MixerSoundEngine.h"
#include "sound/MusicHandle.h"

#include "support/DamagedData.h"

#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <string>

namespace {

using namespace damaged;

class BadWavTest : public ::testing::Test {
protected:
    std::string Path(const std::string& name) const { return dir / name; }

    TempDir dir;
};

TEST_F(BadWavTest, AnUnreadableFileIsSilenceAsEffectAndAsMusic)
{
    ASSERT_TRUE(WriteWav(Path("good.wav"), WavFormat {}, 4000));
    const std::vector<char> good = ReadBytes(Path("good.wav"));
    std::string random(good.size(), '\0');
    Random noise(9);
    for (char& byte : random)
        byte = static_cast<char>(noise.Next());
    WriteBytes(Path("empty.wav"), "", 0);
    WriteBytes(Path("header-cut.wav"), good.data(), 40);
    WriteBytes(Path("random.wav"), random.data(), random.size());
    std::filesystem::create_directories(Path("folder.wav"));
    WriteWav(Path("no-samples.wav"), WavFormat {}, 0);
    WriteWav(Path("no-whole-sample.wav"), WavFormat { 44100, 2, 16, false }, 0);
    {
        // A data chunk of three bytes: less than one frame of two 16-bit channels.
        std::vector<char> bytes = ReadBytes(Path("no-whole-sample.wav"));
        bytes[40] = 3;
        bytes.insert(bytes.end(), { 1, 2, 3 });
        WriteBytes(Path("no-whole-sample.wav"), bytes.data(), bytes.size());
    }

    MixerSoundEngine engine;
    ASSERT_TRUE(engine.HasAudio());
    const int channels = Mix_AllocateChannels(-1);
    for (const char* name : { "missing.wav", "empty.wav", "header-cut.wav", "random.wav",
             "folder.wav", "no-samples.wav", "no-whole-sample.wav" }) {
        SCOPED_TRACE(name);
        // A volley as a player's shots would make it: each one must be silence, and none
        // may be taken for a lack of free channels.
        for (int shot = 0; shot < 100; ++shot)
            engine.PlayEffect(Path(name));
        EXPECT_EQ(Mix_Playing(-1), 0);
        EXPECT_EQ(Mix_AllocateChannels(-1), channels);
        EXPECT_EQ(engine.PlayMusic(Path(name)), nullptr);
        EXPECT_EQ(Mix_Playing(-1), 0);
    }
}

TEST_F(BadWavTest, OtherSampleFormatsRatesAndChannelCountsPlay)
{
    struct Case {
        const char* what;
        WavFormat format;
    };
    const Case cases[] = {
        { "8-bit", { 44100, 2, 8, false } },
        { "mono", { 44100, 1, 16, false } },
        { "22 kHz", { 22050, 2, 16, false } },
        { "float", { 44100, 2, 32, true } },
        { "8-bit mono 22 kHz", { 22050, 1, 8, false } },
        { "one sample", { 44100, 1, 16, false } },
        { "8 kHz", { 8000, 1, 8, false } },
    };
    MixerSoundEngine engine;
    ASSERT_TRUE(engine.HasAudio());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string file = Path(std::string(c.what) + ".wav");
        // Three seconds, so that an effect still plays when looked at; a single frame is
        // over at once and only loops as music.
        const bool single = std::string(c.what) == "one sample";
        ASSERT_TRUE(WriteWav(file, c.format, single ? 1 : c.format.rate * 3));
        if (!single) {
            engine.PlayEffect(file);
            EXPECT_EQ(Mix_Playing(-1), 1);
        }

        MusicHandle* music = engine.PlayMusic(file);
        ASSERT_NE(music, nullptr);
        engine.SetMusicPaused(music, false);
        EXPECT_EQ(Mix_Playing(music->channel), 1);
        engine.StopMusic(music);
        Mix_HaltChannel(-1);
    }
}

TEST_F(BadWavTest, AHeaderThatWouldDecodeToGigabytesIsSilence)
{
    // 100 000 samples at 1 Hz: a 100 kB file that would fill 17 GB at the mixer's rate; and
    // one whose byte rate says 1 byte a second while its frames say 44.1 kHz. (The game's own
    // music, ten times longer than any effect, plays in the tests of the whole data set.)
    ASSERT_TRUE(WriteWav(Path("slow.wav"), WavFormat { 1, 1, 8, false }, 100000));
    ASSERT_TRUE(WriteWav(Path("odd-rate.wav"), WavFormat { 44100, 1, 8, false }, 100000));
    std::vector<char> bytes = ReadBytes(Path("odd-rate.wav"));
    bytes[28] = 1;
    bytes[29] = bytes[30] = bytes[31] = 0;
    WriteBytes(Path("odd-rate.wav"), bytes.data(), bytes.size());

    MixerSoundEngine engine;
    ASSERT_TRUE(engine.HasAudio());
    for (const char* name : { "slow.wav", "odd-rate.wav" }) {
        SCOPED_TRACE(name);
        engine.PlayEffect(Path(name));
        EXPECT_EQ(Mix_Playing(-1), 0);
        EXPECT_EQ(engine.PlayMusic(Path(name)), nullptr);
    }
}

} // namespace
