#include "sound/MixerSoundEngine.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;

// Writes a mono 16-bit PCM WAV of a quiet square wave; the engine converts it on loading.
void WriteWav(const fs::path& path, int milliseconds)
{
    constexpr uint32_t rate = 22050;
    const uint32_t frames = rate * static_cast<uint32_t>(milliseconds) / 1000;
    const uint32_t dataBytes = frames * 2;
    std::ofstream out(path, std::ios::binary);
    auto u32 = [&out](uint32_t v) {
        const char bytes[4] = { static_cast<char>(v), static_cast<char>(v >> 8),
            static_cast<char>(v >> 16), static_cast<char>(v >> 24) };
        out.write(bytes, 4);
    };
    auto u16 = [&out](uint32_t v) {
        const char bytes[2] = { static_cast<char>(v), static_cast<char>(v >> 8) };
        out.write(bytes, 2);
    };
    out.write("RIFF", 4);
    u32(36 + dataBytes);
    out.write("WAVEfmt ", 8);
    u32(16);
    u16(1); // PCM
    u16(1); // mono
    u32(rate);
    u32(rate * 2);
    u16(2);
    u16(16);
    out.write("data", 4);
    u32(dataBytes);
    for (uint32_t i = 0; i < frames; ++i)
        u16((i / 25) % 2 ? 2000u : static_cast<uint16_t>(-2000));
}

class MixerSoundEngineTest : public testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "skarvold-sound-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
        // Long enough to be still playing when the checks run.
        WriteWav(dir_ / "long.wav", 3000);
        WriteWav(dir_ / "short.wav", 200);
    }

    void TearDown() override { fs::remove_all(dir_); }

    std::string Path(const char* name) const { return (dir_ / name).string(); }

    fs::path dir_;
};

// Waits on the audio thread, which the dummy driver runs at real-time speed.
bool WaitUntilPlayingCount(int count)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (Mix_Playing(-1) != count) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

TEST_F(MixerSoundEngineTest, EffectsPlayTogetherOnFreeChannelsAndAreDecodedOnce)
{
    MixerSoundEngine engine;
    ASSERT_TRUE(engine.HasAudio());
    engine.SetMasterVolume(0.5f);

    engine.PlayEffect(Path("long.wav"));
    ASSERT_EQ(Mix_Playing(-1), 1);
    for (int i = 0; i < MixerSoundEngine::kMusicChannels; ++i)
        EXPECT_EQ(Mix_Playing(i), 0) << "an effect took music channel " << i;
    const int first = MixerSoundEngine::kMusicChannels;
    EXPECT_EQ(Mix_Playing(first), 1);
    EXPECT_EQ(Mix_Volume(first, -1), 64); // master 0.5 of 128

    // A volley adds to what is playing and cuts nothing.
    for (int i = 0; i < 8; ++i)
        engine.PlayEffect(Path("long.wav"));
    EXPECT_EQ(Mix_Playing(-1), 9);
    EXPECT_EQ(Mix_Playing(first), 1);

    // Once decoded, the file is not needed any more.
    fs::remove(dir_ / "long.wav");
    engine.PlayEffect(Path("long.wav"));
    EXPECT_EQ(Mix_Playing(-1), 10);

    // A missing file is silence, and it is not looked for again.
    engine.PlayEffect(Path("missing.wav"));
    EXPECT_EQ(Mix_Playing(-1), 10);
    WriteWav(dir_ / "missing.wav", 3000);
    engine.PlayEffect(Path("missing.wav"));
    EXPECT_EQ(Mix_Playing(-1), 10);
}

TEST_F(MixerSoundEngineTest, AVolleyBeyondEveryChannelStillPlaysWholeAndLeavesMusicItsChannels)
{
    MixerSoundEngine engine;
    ASSERT_TRUE(engine.HasAudio());
    engine.SetMasterVolume(0.5f);

    // Forty effects at once, more than the channels the engine starts with: none is dropped.
    for (int i = 0; i < 40; ++i)
        engine.PlayEffect(Path("long.wav"));
    EXPECT_EQ(Mix_Playing(-1), 40);
    // ...and the channels added for them play at the master volume like the first ones.
    const int added = MixerSoundEngine::kMusicChannels + MixerSoundEngine::kEffectChannels;
    EXPECT_EQ(Mix_Playing(added), 1);
    EXPECT_EQ(Mix_Volume(added, -1), 64);
    engine.SetMasterVolume(1.0f);
    EXPECT_EQ(Mix_Volume(added, -1), 128);
    for (int i = 0; i < MixerSoundEngine::kMusicChannels; ++i)
        EXPECT_EQ(Mix_Playing(i), 0) << "an effect took music channel " << i;

    // Another volley on top grows the pool again, and music still finds its own channel.
    for (int i = 0; i < 40; ++i)
        engine.PlayEffect(Path("long.wav"));
    EXPECT_EQ(Mix_Playing(-1), 80);
    MusicHandle* music = engine.PlayMusic(Path("long.wav"));
    ASSERT_NE(music, nullptr);
    EXPECT_LT(music->channel, MixerSoundEngine::kMusicChannels);
    EXPECT_EQ(Mix_Playing(-1), 81);

    // A flood stops growing the pool at its limit; music still finds its own channel.
    for (int i = 0; i < 1000; ++i)
        engine.PlayEffect(Path("long.wav"));
    EXPECT_EQ(Mix_AllocateChannels(-1),
        MixerSoundEngine::kMusicChannels + MixerSoundEngine::kMostEffectChannels);
    EXPECT_EQ(Mix_Playing(-1), 1 + MixerSoundEngine::kMostEffectChannels);
    engine.StopMusic(music);
    EXPECT_NE(engine.PlayMusic(Path("long.wav")), nullptr);
}

TEST_F(MixerSoundEngineTest, MusicStartsPausedLoopsAndTakesItsVolumeUnderTheMaster)
{
    MixerSoundEngine engine;
    ASSERT_TRUE(engine.HasAudio());
    engine.SetMasterVolume(0.5f);

    MusicHandle* music = engine.PlayMusic(Path("short.wav"));
    ASSERT_NE(music, nullptr);
    const int channel = music->channel;
    ASSERT_GE(channel, 0);
    ASSERT_LT(channel, MixerSoundEngine::kMusicChannels);
    EXPECT_EQ(Mix_Playing(channel), 1);
    EXPECT_EQ(Mix_Paused(channel), 1);
    EXPECT_EQ(Mix_Volume(channel, -1), 64); // full music volume under master 0.5

    engine.SetMusicPaused(music, false);
    EXPECT_EQ(Mix_Paused(channel), 0);
    engine.SetMusicVolume(music, 0.65f);
    EXPECT_EQ(Mix_Volume(channel, -1), 42); // round(0.65 * 0.5 * 128) = round(41.6)

    // The master volume reaches music that is already playing.
    engine.SetMasterVolume(1.0f);
    EXPECT_EQ(Mix_Volume(channel, -1), 83); // round(0.65 * 128) = round(83.2)
    engine.SetMasterVolume(0.5f);
    EXPECT_EQ(Mix_Volume(channel, -1), 42);
    engine.SetMusicVolume(music, 3.0f);
    EXPECT_EQ(Mix_Volume(channel, -1), 64);
    engine.SetMusicVolume(music, -1.0f);
    EXPECT_EQ(Mix_Volume(channel, -1), 0);
    engine.SetMusicVolume(music, 0.65f);

    // The same short file played once runs out while the music, started first, goes round.
    engine.PlayEffect(Path("short.wav"));
    ASSERT_EQ(Mix_Playing(-1), 2);
    ASSERT_TRUE(WaitUntilPlayingCount(1)) << "the effect never finished";
    EXPECT_EQ(Mix_Playing(channel), 1);

    engine.SetMusicPaused(music, true);
    EXPECT_EQ(Mix_Paused(channel), 1);
    engine.StopMusic(music);
    EXPECT_EQ(Mix_Playing(channel), 0);
}

TEST_F(MixerSoundEngineTest, StoppedMusicFreesItsChannelAndBadHandlesAreIgnored)
{
    MixerSoundEngine engine;
    ASSERT_TRUE(engine.HasAudio());

    MusicHandle* pieces[MixerSoundEngine::kMusicChannels] = {};
    for (MusicHandle*& piece : pieces) {
        piece = engine.PlayMusic(Path("long.wav"));
        ASSERT_NE(piece, nullptr);
    }
    for (int i = 0; i < MixerSoundEngine::kMusicChannels; ++i) {
        for (int j = i + 1; j < MixerSoundEngine::kMusicChannels; ++j)
            EXPECT_NE(pieces[i]->channel, pieces[j]->channel);
    }
    EXPECT_EQ(engine.PlayMusic(Path("long.wav")), nullptr) << "no channel left for more music";

    // Stopping one piece leaves the others playing and makes room for a new one.
    engine.StopMusic(pieces[1]);
    EXPECT_EQ(Mix_Playing(-1), MixerSoundEngine::kMusicChannels - 1);
    pieces[1] = engine.PlayMusic(Path("long.wav"));
    ASSERT_NE(pieces[1], nullptr);
    for (MusicHandle* piece : pieces)
        engine.StopMusic(piece);
    EXPECT_EQ(Mix_Playing(-1), 0);

    // A game that starts and stops its music many times never runs out of channels.
    for (int i = 0; i < 3 * MixerSoundEngine::kMusicChannels; ++i) {
        MusicHandle* music = engine.PlayMusic(Path("long.wav"));
        ASSERT_NE(music, nullptr) << "round " << i;
        engine.SetMusicPaused(music, false);
        engine.StopMusic(music);
    }
    EXPECT_EQ(Mix_Playing(-1), 0);

    EXPECT_EQ(engine.PlayMusic(Path("missing.wav")), nullptr);
    engine.SetMusicPaused(nullptr, false);
    engine.SetMusicVolume(nullptr, 0.65f);
    engine.StopMusic(nullptr);
    MusicHandle foreign;
    foreign.channel = 0;
    foreign.live = true;
    MusicHandle* kept = engine.PlayMusic(Path("long.wav"));
    ASSERT_NE(kept, nullptr);
    engine.StopMusic(&foreign);
    EXPECT_EQ(Mix_Playing(kept->channel), 1) << "a handle of no engine stopped real music";
}

TEST_F(MixerSoundEngineTest, AStoppedHandleNeverReachesMusicStartedLater)
{
    MixerSoundEngine engine;
    ASSERT_TRUE(engine.HasAudio());

    MusicHandle* menu = engine.PlayMusic(Path("long.wav"));
    ASSERT_NE(menu, nullptr);
    engine.StopMusic(menu);
    // The next music takes the channel the first one left, under a handle of its own.
    MusicHandle* game = engine.PlayMusic(Path("long.wav"));
    ASSERT_NE(game, nullptr);
    EXPECT_NE(game, menu);
    engine.SetMusicPaused(game, false);
    engine.SetMusicVolume(game, 0.65f);
    const int channel = game->channel;
    const int volume = Mix_Volume(channel, -1);

    // Whoever still holds the stopped handle cannot pause, silence or stop the new music.
    engine.SetMusicPaused(menu, true);
    engine.SetMusicVolume(menu, 0.0f);
    engine.StopMusic(menu);
    EXPECT_EQ(Mix_Playing(channel), 1);
    EXPECT_EQ(Mix_Paused(channel), 0);
    EXPECT_EQ(Mix_Volume(channel, -1), volume);

    // Nor does any handle of a long run of starts and stops come back.
    std::set<MusicHandle*> seen { menu, game };
    for (int i = 0; i < 3 * MixerSoundEngine::kMusicChannels; ++i) {
        MusicHandle* music = engine.PlayMusic(Path("short.wav"));
        ASSERT_NE(music, nullptr);
        EXPECT_TRUE(seen.insert(music).second) << "handle reused in round " << i;
        engine.StopMusic(music);
    }
    EXPECT_EQ(Mix_Playing(channel), 1);
}

TEST_F(MixerSoundEngineTest, FilesDecodedAheadPlayAsTheyWereReadOnce)
{
    WriteWav(dir_ / "shot.wav", 3000);
    std::vector<std::string> many;
    for (int i = 0; i < 30; ++i) {
        const std::string name = "many" + std::to_string(i) + ".wav";
        WriteWav(dir_ / name, 3000);
        many.push_back(Path(name.c_str()));
    }
    {
        MixerSoundEngine engine;
        ASSERT_TRUE(engine.HasAudio());
        std::vector<std::string> ahead
            = { Path("long.wav"), Path("missing.wav"), Path("shot.wav") };
        ahead.insert(ahead.end(), many.begin(), many.end());
        engine.DecodeAhead(ahead);

        // Played at once, whether or not the worker has come to them yet.
        MusicHandle* music = engine.PlayMusic(Path("long.wav"));
        ASSERT_NE(music, nullptr);
        engine.SetMusicPaused(music, false);
        engine.PlayEffect(Path("shot.wav"));
        EXPECT_EQ(Mix_Playing(-1), 2);

        // Read once: gone files still play, a file missing then stays silent.
        engine.PlayEffect(Path("missing.wav"));
        WriteWav(dir_ / "missing.wav", 3000);
        fs::remove(dir_ / "shot.wav");
        engine.PlayEffect(Path("missing.wav"));
        engine.PlayEffect(Path("shot.wav"));
        EXPECT_EQ(Mix_Playing(-1), 3);
        // The engine may go while the worker is still at the long list.
    }
    MixerSoundEngine again;
    ASSERT_TRUE(again.HasAudio());
    again.PlayEffect(many.back());
    EXPECT_EQ(Mix_Playing(-1), 1);
}

TEST_F(MixerSoundEngineTest, EngineClosesAudioAndCanBeCreatedAgain)
{
    const bool audioWasUp = SDL_WasInit(SDL_INIT_AUDIO) != 0;
    for (int round = 0; round < 2; ++round) {
        {
            MixerSoundEngine engine;
            ASSERT_TRUE(engine.HasAudio()) << "round " << round;
            MusicHandle* music = engine.PlayMusic(Path("long.wav"));
            ASSERT_NE(music, nullptr);
            engine.SetMusicPaused(music, false);
            engine.PlayEffect(Path("short.wav"));
            EXPECT_EQ(Mix_Playing(-1), 2) << "round " << round;
            // Only a device that is really open plays the effect to its end.
            EXPECT_TRUE(WaitUntilPlayingCount(1)) << "round " << round;
            // Music left running is stopped by the engine itself.
        }
        if (!audioWasUp) {
            EXPECT_EQ(SDL_WasInit(SDL_INIT_AUDIO), 0u) << "audio subsystem left running";
        }
    }
}

TEST_F(MixerSoundEngineTest, WithoutAnAudioDeviceTheGameRunsSilentlyAndSaysSoOnce)
{
    ASSERT_EQ(SDL_WasInit(SDL_INIT_AUDIO), 0u) << "an earlier test left audio running";
    const char* previous = std::getenv("SDL_AUDIODRIVER");
    const std::optional<std::string> saved
        = previous ? std::optional<std::string>(previous) : std::nullopt;
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);

    testing::internal::CaptureStderr();
    for (int i = 0; i < 2; ++i) {
        MixerSoundEngine engine;
        EXPECT_FALSE(engine.HasAudio());
        engine.SetMasterVolume(0.5f);
        engine.PlayEffect(Path("long.wav"));
        MusicHandle* music = engine.PlayMusic(Path("long.wav"));
        EXPECT_EQ(music, nullptr);
        engine.SetMusicPaused(music, false);
        engine.SetMusicVolume(music, 0.65f);
        engine.StopMusic(music);
    }
    const std::string printed = testing::internal::GetCapturedStderr();

    if (saved)
        setenv("SDL_AUDIODRIVER", saved->c_str(), 1);
    else
        unsetenv("SDL_AUDIODRIVER");

    EXPECT_EQ(SDL_WasInit(SDL_INIT_AUDIO), 0u);
    // One line for the whole run: a repeated run of this test in the same process prints none.
    static bool firstRun = true;
    if (firstRun) {
        EXPECT_EQ(std::count(printed.begin(), printed.end(), '\n'), 1) << printed;
        EXPECT_NE(printed.find("Sound is off"), std::string::npos) << printed;
        EXPECT_NE(printed.find("no-such-driver"), std::string::npos)
            << "SDL's reason is missing: " << printed;
    } else {
        EXPECT_EQ(printed, "");
    }
    firstRun = false;

    // The device comes back for the next engine once the working driver is restored.
    MixerSoundEngine engine;
    EXPECT_TRUE(engine.HasAudio());
}

} // namespace
