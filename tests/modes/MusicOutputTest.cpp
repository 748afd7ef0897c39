// The music of a whole short game, heard where it leaves the mixer: the real Game with its own
// SDL_mixer engine plays into SDL's disk audio driver, and the stream is compared, sample by
// sample, with the decoded music files of the data set.
#include "base/AssetPaths.h"
#include "base/Clock.h"
#include "render/TextItem.h"

#include "support/DataWav.h"
#include "support/DiskAudioCapture.h"
#include "support/StreamAnalysis.h"
#include "support/TestPilot.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace {

// Frames of the stream compared with a track: 93 ms of music.
constexpr int64_t window = 4096;
// A change is heard within two buffers of 1024 frames (DiskAudioCapture.h).
constexpr int64_t heardWithin = 2048;
// The game's music volumes under its master volume 0.5: 0.65, fading to 0.05 at the end.
constexpr double musicLevel = 0.65 * 0.5;
constexpr double fadedLevel = 0.05 * 0.5;
// The same music, as against another piece or music drowned by something else.
constexpr double sameMusic = 0.95;
// Music is started at volume 0 and paused; the mixer may run it on, unheard, for a buffer or
// more in between, so its first sound may lie this far into the file.
constexpr int64_t unheardStart = 8 * 1024;

// The mixer sets volumes in steps of 1/128: half a step either way, and 5 % beside.
double LevelTolerance(double level)
{
    return 0.5 / 128.0 + 0.05 * level;
}

// A music file as the mixer plays it: the data set's music is already in the device's format.
std::vector<int16_t> Track(const char* path)
{
    const WavData wav = LoadWav(path);
    const bool asPlayed = wav.format.freq == DiskAudioCapture::rate
        && wav.format.channels == DiskAudioCapture::channels;
    return asPlayed ? wav.samples : std::vector<int16_t> {};
}

// Frames of the longest effect: once that long has passed with the game held still, every
// effect has ended and only the music sounds.
int64_t LongestEffect()
{
    int64_t longest = 0;
    for (const SoundAsset& sound : soundAssets) {
        if (sound.kind != SoundKind::Effect)
            continue;
        const WavData wav = LoadWav(sound.path);
        if (wav.format.channels > 0)
            longest
                = std::max(longest, static_cast<int64_t>(wav.samples.size() / wav.format.channels));
    }
    return longest;
}

TEST(MusicOutput, MenuAndPlayAreHeardWithTheirOwnMusicWhichFadesWithGameOver)
{
    const std::vector<int16_t> menuTrack = Track("Data/Music/Menu.wav");
    const std::vector<int16_t> gameTrack = Track("Data/Music/Game.wav");
    ASSERT_FALSE(menuTrack.empty());
    ASSERT_FALSE(gameTrack.empty());
    const int64_t quiet = LongestEffect() + heardWithin;
    ASSERT_GT(quiet, heardWithin);

    // Every window below is measured while the script holds the game still, so the stream
    // need not keep time with the game, and runs ahead of the clock.
    DiskAudioCapture capture(4);
    // The stream's first frame of each window, once measured.
    int64_t menuWindow = -1;
    int64_t playWindow = -1;
    int64_t endWindow = -1;
    // The stream's length when "PLAY" was taken and in the first frame of play: the play
    // music started in between.
    int64_t playAsked = -1;
    int64_t playSeen = -1;
    bool formatReadable = false;
    bool stalled = false;
    std::string banner;

    // Holds the game still until the stream has `settle` frames more and then a window.
    const auto listen = [&](int64_t settle) {
        const int64_t first = capture.Frames() + settle;
        stalled = stalled || !capture.WaitForFrames(first + window);
        return first;
    };
    // A pilot that flies into the enemies without firing, so that the game ends soon.
    TestPilot pilot(TestPilot::Plan { .seed = 3, .games = 1, .fightMs = 0, .rammingMs = 60000 });
    const int code = RunProgram(3, RealEngine, [&](Game* game) -> uint32_t {
        auto* play = dynamic_cast<GameMode*>(game->mode.get());
        if (play == nullptr && playAsked < 0) {
            formatReadable = DiskAudioCapture::DeviceFormatIsReadable();
            menuWindow = listen(heardWithin);
            // The pilot takes "PLAY" in this pass.
            playAsked = capture.Frames();
        } else if (play != nullptr && playSeen < 0) {
            playSeen = capture.Frames();
            // The choice's sound dies away first.
            playWindow = listen(quiet);
        } else if (play != nullptr && play->player == nullptr) {
            // The fade is over in the last pass, whose volume the music keeps while held.
            if (endWindow < 0 && play->gameOverFade.active
                && gameTime >= play->gameOverFade.endTime) {
                banner = play->banner->visible ? play->banner->text : "";
                endWindow = listen(quiet);
            }
            pilot(game);
            // Nothing to steer any more: on to the end in long frames.
            return 250;
        }
        return pilot(game);
    });
    EXPECT_EQ(code, 0);
    ASSERT_TRUE(formatReadable);
    ASSERT_FALSE(stalled) << "the stream stopped at frame " << capture.Frames();
    ASSERT_GE(playSeen, 0) << "play never began";
    ASSERT_GE(endWindow, 0) << "the game never reached the end of its fade";
    EXPECT_EQ(banner, "GAME OVER!");

    const std::vector<int16_t> stream = capture.Read();
    // The menu's music starts the stream: before it there is nothing to hear.
    const int64_t menuStart = stream::FirstSound(stream);
    ASSERT_GE(menuStart, 0) << "the stream is silent";
    const stream::TrackMatch menu = stream::BestMatch(
        stream, menuTrack, menuWindow, window, menuStart - unheardStart, menuStart);
    EXPECT_GT(menu.correlation, sameMusic) << "the menu does not play its music";
    EXPECT_NEAR(menu.gain, musicLevel, LevelTolerance(musicLevel));

    const stream::TrackMatch playing = stream::BestMatch(
        stream, gameTrack, playWindow, window, playAsked - heardWithin, playSeen + heardWithin);
    EXPECT_GT(playing.correlation, sameMusic) << "play does not play its music";
    EXPECT_NEAR(playing.gain, musicLevel, LevelTolerance(musicLevel));

    // The same music, played on without a break, faded.
    const stream::TrackMatch faded
        = stream::MatchAt(stream, gameTrack, endWindow, window, playing.lag);
    EXPECT_GT(faded.correlation, sameMusic) << "the play music is not what sounds at the end";
    EXPECT_NEAR(faded.gain, fadedLevel, LevelTolerance(fadedLevel));
}

} // namespace
