// Checks every generated sound file as the game's mixer will meet it: format, loudness,
// headroom, clicks at the ends, lengths, and the music loops' beat grid and seams.
#include "base/AssetPaths.h"
#include "tools/datagen/sound/MusicTempo.h"

#include "support/DataWav.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <numbers>
#include <string>
#include <string_view>
#include <vector>

namespace {

// -1 dBFS: every file keeps at least this much headroom.
constexpr int peakLimit = 29204;
constexpr int sampleRate = 44100;

// One channel of an interleaved buffer.
std::vector<int> Channel(const WavData& wav, int channel)
{
    std::vector<int> out;
    for (size_t i = static_cast<size_t>(channel); i < wav.samples.size(); i += wav.format.channels)
        out.push_back(wav.samples[i]);
    return out;
}

struct Levels {
    int peak = 0;
    double rms = 0.0;
    double mean = 0.0;
    double energy = 0.0;
};

Levels Measure(const std::vector<int>& x)
{
    Levels levels;
    double sum = 0.0;
    for (const int v : x) {
        levels.peak = std::max(levels.peak, std::abs(v));
        sum += v;
        levels.energy += static_cast<double>(v) * v;
    }
    const double count = static_cast<double>(x.size());
    levels.rms = std::sqrt(levels.energy / count);
    levels.mean = sum / count;
    return levels;
}

// The frequency a sine would need to move as much from sample to sample as `x` does: a cheap
// measure of how bright (or shrill) a sound is.
double RmsFrequency(const std::vector<int>& x)
{
    double energy = 0.0;
    double slope = 0.0;
    for (size_t i = 1; i < x.size(); ++i) {
        energy += static_cast<double>(x[i]) * x[i];
        const double step = x[i] - x[i - 1];
        slope += step * step;
    }
    const double ratio = std::min(std::sqrt(slope / energy) / 2.0, 1.0);
    return sampleRate / std::numbers::pi * std::asin(ratio);
}

// The common checks of every file: 16-bit PCM at the mixer's rate, audible, unclipped with
// headroom and centred on zero.
void ExpectSoundFormatAndLevels(
    const std::string& path, const WavData& wav, int channels, double rmsFloor)
{
    ASSERT_TRUE(wav.loaded) << path << ": " << SDL_GetError();
    ASSERT_EQ(wav.format.format, AUDIO_S16LSB) << path;
    EXPECT_EQ(wav.format.freq, sampleRate) << path;
    ASSERT_EQ(wav.format.channels, channels) << path;
    ASSERT_FALSE(wav.samples.empty()) << path;
    for (int c = 0; c < channels; ++c) {
        const Levels levels = Measure(Channel(wav, c));
        EXPECT_GT(levels.rms, rmsFloor) << path << " is (nearly) silent";
        EXPECT_LE(levels.peak, peakLimit) << path << " has no headroom";
        EXPECT_LT(std::fabs(levels.mean), 100.0) << path << " has a DC offset";
    }
}

std::vector<std::string_view> PathsOf(SoundKind kind)
{
    std::vector<std::string_view> paths;
    for (const SoundAsset& sound : soundAssets)
        if (sound.kind == kind)
            paths.push_back(sound.path);
    return paths;
}

TEST(SoundData, EffectsAreShortMonoAndStartAndEndWithoutAClick)
{
    for (const std::string_view path : PathsOf(SoundKind::Effect)) {
        const WavData wav = LoadWav(path);
        ExpectSoundFormatAndLevels(std::string(path), wav, 1, 300.0);
        if (wav.samples.empty())
            continue;
        const double seconds = static_cast<double>(wav.samples.size()) / sampleRate;
        EXPECT_GE(seconds, 0.02) << path;
        EXPECT_LE(seconds, 1.2) << path;

        // Both ends rise from silence no faster than a ramp of about 1.5 ms to full scale: a
        // sound that starts or stops mid-wave would jump right at the edge.
        const std::vector<int>& x = Channel(wav, 0);
        const size_t n = x.size();
        size_t clickAtStart = n;
        size_t clickAtEnd = n;
        for (size_t i = 0; i < 64 && i < n; ++i) {
            const int bound = 32 + 512 * static_cast<int>(i);
            if (clickAtStart == n && std::abs(x[i]) > bound)
                clickAtStart = i;
            if (clickAtEnd == n && std::abs(x[n - 1 - i]) > bound)
                clickAtEnd = i;
        }
        EXPECT_EQ(clickAtStart, n) << path << " starts with a click at sample " << clickAtStart;
        EXPECT_EQ(clickAtEnd, n) << path << " ends with a click " << clickAtEnd
                                 << " samples before its end";
    }
}

TEST(SoundData, EffectsKeepTheirCharacter)
{
    const char* const deaths[] = { "Data/Enemies/Small/Death.wav", "Data/Enemies/Medium/Death.wav",
        "Data/Enemies/Big/Death.wav" };
    double previousEnergy = 0.0;
    size_t previousLength = 0;
    for (const char* path : deaths) {
        const WavData wav = LoadWav(path);
        ASSERT_TRUE(wav.loaded) << path;
        const Levels levels = Measure(Channel(wav, 0));
        EXPECT_GT(levels.energy, previousEnergy * 1.5) << path << " is not weightier";
        EXPECT_GT(wav.samples.size(), previousLength) << path << " is not longer";
        previousEnergy = levels.energy;
        previousLength = wav.samples.size();
    }

    // The player's shot repeats constantly, so it stays quieter than any death and soft.
    const WavData shot = LoadWav("Data/Player/Attack.wav");
    const WavData smallDeath = LoadWav("Data/Enemies/Small/Death.wav");
    ASSERT_TRUE(shot.loaded && smallDeath.loaded);
    EXPECT_LT(Measure(Channel(shot, 0)).peak, Measure(Channel(smallDeath, 0)).peak);
    EXPECT_LT(RmsFrequency(Channel(shot, 0)), 1500.0) << "the player's shot is shrill";

    // Enemy shots tell their shooter apart: the bigger the ship, the deeper its shot.
    const char* const shots[] = { "Data/Enemies/Small/Attack.wav", "Data/Enemies/Medium/Attack.wav",
        "Data/Enemies/Big/Attack.wav" };
    double previousBrightness = 1e9;
    for (const char* path : shots) {
        const WavData wav = LoadWav(path);
        ASSERT_TRUE(wav.loaded) << path;
        const double brightness = RmsFrequency(Channel(wav, 0));
        EXPECT_LT(brightness * 1.25, previousBrightness) << path << " sounds like the one before";
        previousBrightness = brightness;
    }

    // The tick of a move is clearly shorter than the two notes of a selection.
    const WavData move = LoadWav("Data/Gui/MenuMove.wav");
    const WavData select = LoadWav("Data/Gui/MenuSelect.wav");
    ASSERT_TRUE(move.loaded && select.loaded);
    EXPECT_LT(move.samples.size() * 3, select.samples.size());
}

TEST(SoundData, MusicLoopsLastWholeBeatsAndJoinSeamlessly)
{
    struct Music {
        const char* path;
        sound::MusicTempo tempo;
    };
    const Music tracks[] = { { "Data/Music/Menu.wav", sound::menuTempo },
        { "Data/Music/Game.wav", sound::gameTempo } };
    // Every loop the game plays is one of these.
    for (const std::string_view path : PathsOf(SoundKind::Music))
        EXPECT_TRUE(std::any_of(std::begin(tracks), std::end(tracks),
            [&](const Music& music) { return music.path == path; }))
            << path << " has no tempo to check";
    for (const Music& music : tracks) {
        const WavData wav = LoadWav(music.path);
        ExpectSoundFormatAndLevels(music.path, wav, 2, 1000.0);
        if (wav.samples.empty())
            continue;
        const size_t frames = wav.samples.size() / 2;
        const double seconds = static_cast<double>(frames) / sampleRate;
        EXPECT_GE(seconds, 30.0) << music.path;
        EXPECT_LE(seconds, 90.0) << music.path;
        EXPECT_EQ(sampleRate * 60 % music.tempo.bpm, 0) << music.path;
        EXPECT_EQ(frames % static_cast<size_t>(music.tempo.BeatSamples()), 0u) << music.path;
        EXPECT_EQ(frames, static_cast<size_t>(music.tempo.Frames())) << music.path;

        // Looping jumps from the last sample to the first: that step must look like any
        // other step of the music, not like a cut.
        for (int c = 0; c < 2; ++c) {
            const std::vector<int> x = Channel(wav, c);
            double stepSum = 0.0;
            for (size_t i = 1; i < x.size(); ++i)
                stepSum += std::abs(x[i] - x[i - 1]);
            const double meanStep = stepSum / static_cast<double>(x.size() - 1);
            EXPECT_LE(std::abs(x.back() - x.front()), 3.0 * meanStep)
                << music.path << " clicks at the loop point on channel " << c;
        }
    }
}

} // namespace
