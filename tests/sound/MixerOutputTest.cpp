// What the engine's calls do to the sound that leaves the mixer, read back from SDL's disk
// audio driver: two pure tones, one as music and one as an effect, told apart by frequency.
#include "sound/MixerSoundEngine.h"
#include "tools/datagen/sound/WavWriter.h"

#include "support/DiskAudioCapture.h"
#include "support/StreamAnalysis.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <numbers>
#include <string>
#include <vector>

namespace {

constexpr int rate = DiskAudioCapture::rate;
// Both tones fit whole periods into every window below, so each is measured without the other.
constexpr double musicHz = 400.0;
constexpr double effectHz = 1000.0;
// The level of both files; together at full volume they stay well clear of clipping.
constexpr double fileLevel = 0.3;
constexpr double fileAmplitude = fileLevel * 32767.0;
// 100 ms: 40 periods of the music, 100 of the effect.
constexpr int64_t window = 4410;
// A call is heard from the buffer after the one being written, and the file may hold one more
// back: two buffers of 1024 frames. Windows start after twice that.
constexpr int64_t heardWithin = 2048;
constexpr int64_t settle = 2 * heardWithin;
// The level the stream shows is the file's times the channel's volume; the mixer sets
// volumes in steps of 1/128.
constexpr double levelTolerance = 0.02;

void WriteTone(const std::string& path, double hz, double seconds)
{
    std::vector<double> samples(static_cast<size_t>(seconds * rate));
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i]
            = fileLevel * std::sin(2.0 * std::numbers::pi * hz * static_cast<double>(i) / rate);
    sound::WriteWav(path, samples, 1);
}

struct Step {
    const char* what;
    std::function<void()> act;
    // The level each tone must have afterwards, as a share of its file's level.
    double music;
    double effect;
};

TEST(MixerOutput, MusicAndEffectsSoundAtTheirVolumesUnderTheMasterVolume)
{
    // The stream runs ahead of the clock: every check below is placed by the stream's own
    // position, never by time.
    DiskAudioCapture capture(4);
    ASSERT_FALSE(capture.Folder().path.empty());
    const std::string musicPath = capture.Folder() / "music.wav";
    const std::string effectPath = capture.Folder() / "effect.wav";
    // The music loops after one second, whole periods, so it joins without a step. The effect
    // lasts long enough to span the steps that measure it however the threads are scheduled.
    WriteTone(musicPath, musicHz, 1.0);
    WriteTone(effectPath, effectHz, 10.0);

    // Where each step was called: the stream's length just before and just after the call.
    std::vector<int64_t> before;
    std::vector<int64_t> after;
    std::vector<Step> steps;
    {
        MixerSoundEngine engine;
        ASSERT_TRUE(engine.HasAudio());
        ASSERT_TRUE(DiskAudioCapture::DeviceFormatIsReadable());
        engine.SetMasterVolume(1.0f);
        MusicHandle* music = nullptr;
        steps = {
            { "music started, still paused", [&] { music = engine.PlayMusic(musicPath); }, 0.0,
                0.0 },
            { "music unpaused at volume 0.8",
                [&] {
                    engine.SetMusicPaused(music, false);
                    engine.SetMusicVolume(music, 0.8f);
                },
                0.8, 0.0 },
            { "music turned down to 0.4", [&] { engine.SetMusicVolume(music, 0.4f); }, 0.4, 0.0 },
            { "music paused", [&] { engine.SetMusicPaused(music, true); }, 0.0, 0.0 },
            { "music resumed", [&] { engine.SetMusicPaused(music, false); }, 0.4, 0.0 },
            { "an effect over the music", [&] { engine.PlayEffect(effectPath); }, 0.4, 1.0 },
            { "master volume 0.25", [&] { engine.SetMasterVolume(0.25f); }, 0.1, 0.25 },
        };
        for (const Step& step : steps) {
            before.push_back(capture.Frames());
            step.act();
            after.push_back(capture.Frames());
            ASSERT_TRUE(capture.WaitForFrames(after.back() + settle + window))
                << step.what << ": the stream stopped at frame " << capture.Frames();
        }
        ASSERT_NE(music, nullptr);
    }

    const std::vector<int16_t> stream = capture.Read();
    for (size_t i = 0; i < steps.size(); ++i) {
        const Step& step = steps[i];
        const int64_t first = after[i] + settle;
        const double music = stream::ToneAmplitude(stream, first, window, musicHz, rate);
        const double effect = stream::ToneAmplitude(stream, first, window, effectHz, rate);
        EXPECT_NEAR(music / fileAmplitude, step.music, levelTolerance) << step.what;
        EXPECT_NEAR(effect / fileAmplitude, step.effect, levelTolerance) << step.what;
        if (step.music == 0.0 && step.effect == 0.0) {
            EXPECT_EQ(stream::Peak(stream, first, window), 0.0) << step.what << ": not silent";
        }
    }

    // The effect comes in within two buffers of its call, not before it: the first 10 ms
    // block (4 and 10 whole periods) where it has half its level.
    const auto effectStep = static_cast<size_t>(
        std::find_if(steps.begin(), steps.end(), [](const Step& step) { return step.effect > 0.0; })
        - steps.begin());
    ASSERT_LT(effectStep, steps.size());
    constexpr int64_t block = rate / 100;
    int64_t heardFrom = -1;
    for (int64_t at = before[effectStep] - block; at < after[effectStep] + settle; at += block) {
        if (stream::ToneAmplitude(stream, at, block, effectHz, rate) > 0.5 * fileAmplitude) {
            heardFrom = at;
            break;
        }
    }
    ASSERT_NE(heardFrom, -1) << "the effect was never heard at its level";
    EXPECT_GE(heardFrom, before[effectStep] - block / 2) << "the effect was heard before its call";
    EXPECT_LE(heardFrom, after[effectStep] + heardWithin)
        << "the effect came " << heardFrom - after[effectStep] << " frames after its call";
}

} // namespace
