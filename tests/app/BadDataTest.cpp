// Whole games played in a damaged copy of the data set, through the program's main loop with
// the real sound engine on SDL's audio driver: whatever is wrong with the files, the game
// starts, plays, returns to the menu, quits with exit code 0, and shows or sounds nothing
// where a file is bad.

#include "autoplay/AutoPlayer.h"
#include "render/Renderer.h"
#include "sound/MixerSoundEngine.h"

#include "support/DamagedData.h"
#include "support/TestPilot.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace damaged;

// What the games showed and sounded, looked at before every pass.
struct Watch {
    bool framesLoaded = false; // some animation of the cache has a frame
    bool textShown = false;    // some text item has a texture
    bool pictureLit = false;   // some pixel of a sampled picture is not black
    bool musicStarted = false; // a screen holds a music handle
    bool soundPlaying = false; // some mixer channel plays
    int mostChannels = 0;      // the mixer's channel count at its highest
    struct Shape {
        size_t frames = 0;
        int width = 0;
        int height = 0;
    };
    std::map<std::string, Shape> animations; // as the cache last held them

    void Look(const Game& game, int pass)
    {
        for (const auto& [path, animation] : game.renderer->animations) {
            framesLoaded = framesLoaded || !animation->frames.empty();
            animations[path]
                = Shape { animation->frames.size(), animation->width, animation->height };
        }
        for (const auto& layer : game.renderer->textLayers) {
            for (const TextItem* item : layer)
                textShown = textShown || item->texture != nullptr;
        }
        if (const auto* menu = dynamic_cast<const MenuMode*>(game.mode.get()))
            musicStarted = musicStarted || menu->music != nullptr;
        if (const auto* play = dynamic_cast<const GameMode*>(game.mode.get()))
            musicStarted = musicStarted || play->music != nullptr;
        soundPlaying = soundPlaying || Mix_Playing(-1) > 0;
        mostChannels = std::max(mostChannels, Mix_AllocateChannels(-1));
        // Reading the picture back is slow: a sample is enough.
        if (pass % 40 == 0 && !pictureLit) {
            std::vector<uint32_t> pixels(800 * 600);
            SDL_RenderReadPixels(game.renderer->sdlRenderer, nullptr, SDL_PIXELFORMAT_ARGB8888,
                pixels.data(), 800 * 4);
            for (uint32_t pixel : pixels)
                pictureLit = pictureLit || (pixel & 0xffffffu) != 0;
        }
    }
};

constexpr int channelsAtStart
    = MixerSoundEngine::kMusicChannels + MixerSoundEngine::kEffectChannels;

class BadDataTest : public ::testing::Test {
protected:
    // Two whole games in `data`, one ramming an enemy and one left from the prompt, then
    // "QUIT"; answers the exit code.
    int PlayIn(const DataSetCopy& data, uint32_t seed = 7)
    {
        WorkingDirectory inside(data.Root());
        pilot = std::make_unique<TestPilot>(TestPilot::Plan { seed });
        int pass = 0;
        return RunProgram(seed, RealEngine, [&](Game* game) {
            watch.Look(*game, ++pass);
            return (*pilot)(game);
        });
    }

    // Both games were played to their end and the menu came back after each.
    void ExpectWholeGames() const
    {
        EXPECT_EQ(pilot->gamesStarted, 2);
        EXPECT_EQ(pilot->gamesEndedByDestruction + pilot->gamesLeftFromThePrompt, 2);
    }

    // The damage showed as nothing at all: no image, no text, a black picture, silence, and
    // the mixer no bigger than it started.
    void ExpectDarkAndSilent() const
    {
        EXPECT_FALSE(watch.framesLoaded);
        EXPECT_FALSE(watch.textShown);
        EXPECT_FALSE(watch.pictureLit);
        EXPECT_FALSE(watch.musicStarted);
        EXPECT_FALSE(watch.soundPlaying);
        EXPECT_EQ(watch.mostChannels, channelsAtStart);
    }

    Watch watch;
    std::unique_ptr<TestPilot> pilot;
};

TEST_F(BadDataTest, TheIntactCopyIsSeenAndHeard)
{
    // The same harness on an undamaged copy: what the other tests find missing is there.
    DataSetCopy data;
    EXPECT_EQ(PlayIn(data), 0);
    ExpectWholeGames();
    EXPECT_GE(pilot->gamesEndedByDestruction, 1);
    EXPECT_GT(pilot->shotsAtEnemies, 0);
    EXPECT_TRUE(watch.framesLoaded);
    EXPECT_TRUE(watch.textShown);
    EXPECT_TRUE(watch.pictureLit);
    EXPECT_TRUE(watch.musicStarted);
    EXPECT_TRUE(watch.soundPlaying);
}

TEST_F(BadDataTest, EveryFileMissingEmptyRandomOrAFolderShowsAndSoundsNothing)
{
    for (const Damage damage :
        { Damage::Missing, Damage::Empty, Damage::RandomBytes, Damage::Folder }) {
        SCOPED_TRACE(NameOf(damage));
        DataSetCopy data;
        data.Apply(damage, EveryFile());
        watch = Watch {};
        EXPECT_EQ(PlayIn(data), 0);
        ExpectWholeGames();
        ExpectDarkAndSilent();
    }
}

TEST_F(BadDataTest, EveryFileCutInHalf)
{
    DataSetCopy data;
    data.Apply(Damage::Truncated, EveryFile());
    EXPECT_EQ(PlayIn(data), 0);
    ExpectWholeGames();
    // A PNG cut short does not decode. (A font or a WAV cut in half may still serve: the font
    // library reads tables on demand, and the sound's first half still plays.)
    EXPECT_FALSE(watch.framesLoaded);
}

TEST_F(BadDataTest, SoundsWithAHeaderButNoSamplesAreSilenceAndDoNotGrowTheMixer)
{
    // Each effect refused by the mixer used to be taken for a lack of free channels, and
    // every shot added 32 channels to the pool.
    DataSetCopy data;
    for (const std::string& file : SoundFiles()) {
        data.Remove(file);
        WriteWav(data.At(file), WavFormat {}, 0);
    }
    EXPECT_EQ(PlayIn(data), 0);
    ExpectWholeGames();
    EXPECT_GT(pilot->shotsAtEnemies, 0);
    EXPECT_FALSE(watch.musicStarted);
    EXPECT_FALSE(watch.soundPlaying);
    EXPECT_EQ(watch.mostChannels, channelsAtStart);
}

TEST_F(BadDataTest, SoundsInOtherFormatsPlay)
{
    const WavFormat formats[] = {
        { 44100, 2, 8, false },  // 8-bit
        { 44100, 1, 16, false }, // mono
        { 22050, 2, 16, false }, // 22 kHz
        { 44100, 2, 32, true },  // float
        { 22050, 1, 8, false },  // all three at once
    };
    DataSetCopy data;
    const std::vector<std::string> files = SoundFiles();
    for (size_t i = 0; i < files.size(); ++i) {
        data.Remove(files[i]);
        ASSERT_TRUE(WriteWav(data.At(files[i]), formats[i % std::size(formats)], 8000));
    }
    EXPECT_EQ(PlayIn(data), 0);
    ExpectWholeGames();
    EXPECT_TRUE(watch.musicStarted);
    EXPECT_TRUE(watch.soundPlaying);
}

TEST_F(BadDataTest, OnePixelImagesAreDrawnAtThatSize)
{
    DataSetCopy data;
    for (const std::string& file : ImageFiles()) {
        data.Remove(file);
        ASSERT_TRUE(WritePng(data.At(file).string(), 1, 1, 0xffffffffu));
    }
    EXPECT_EQ(PlayIn(data), 0);
    ExpectWholeGames();
    // Every image of the game was asked for, and each is one pixel.
    EXPECT_EQ(watch.animations.size(), std::size(imageAssets));
    for (const auto& [path, shape] : watch.animations) {
        EXPECT_GE(shape.frames, 1u) << path;
        EXPECT_EQ(shape.width, 1) << path;
        EXPECT_EQ(shape.height, 1) << path;
    }
}

TEST_F(BadDataTest, HugeImagesAreRefusedBeforeTheyAreDecoded)
{
    // 10000 x 10000 pixels: 400 MB decoded, and as much again for the software renderer's
    // texture, from a file of 2.5 MB. The ship, the play backdrop and a frame in the middle of
    // an explosion.
    DataSetCopy data;
    for (const std::string file : { "Data/Player/0000.png", "Data/Gui/GameBackground/0000.png",
             "Data/Enemies/Small/Explosion/0003.png" }) {
        data.Remove(file);
        ASSERT_TRUE(WriteBlankPng(data.At(file), 10000, 10000));
    }
    EXPECT_EQ(PlayIn(data), 0);
    ExpectWholeGames();
    // The sequence ends at the refused frame.
    EXPECT_EQ(watch.animations["Data/Player"].frames, 0u);
    EXPECT_EQ(watch.animations["Data/Gui/GameBackground"].frames, 0u);
    EXPECT_EQ(watch.animations["Data/Enemies/Small/Explosion"].frames, 3u);
    EXPECT_EQ(watch.animations["Data/Enemies/Small"].frames,
        DataSetCopy::FrameCount("Data/Enemies/Small"));
}

// Damages every file of the copy in a way drawn from `seed`, leaving some intact.
void DamageAtRandom(const DataSetCopy& data, uint32_t seed)
{
    Random draw(seed);
    for (const std::string& file : EveryFile()) {
        const bool image = file.ends_with(".png");
        const bool sound = file.ends_with(".wav");
        const int kind = draw.Next() % (image || sound ? 8 : 6);
        if (kind < 5) {
            data.Apply(static_cast<Damage>(kind), file, seed);
            continue;
        }
        if (kind == 5)
            continue;
        data.Remove(file);
        if (image && kind == 6)
            WritePng(data.At(file).string(), 1, 1, 0xffffffffu);
        else if (image)
            WriteBlankPng(data.At(file), 5000, 5000);
        else if (kind == 6)
            WriteWav(data.At(file), WavFormat {}, 0);
        else
            WriteWav(data.At(file), WavFormat { 22050, 1, 8, false }, 4000);
    }
}

TEST(BadDataAutoplayed, EveryKindOfDamageAtOnceKeepsEveryRuleOfTheGame)
{
    // The autoplayer's restless player walks the menu, plays, pauses, leaves, loses its ship
    // and quits, with the game's rules checked after every frame.
    for (const uint32_t seed : { 3u, 4u }) {
        SCOPED_TRACE("data damaged from seed " + std::to_string(seed));
        DataSetCopy data;
        DamageAtRandom(data, seed);
        AutoPlayer::Options options;
        options.firstSeed = seed * 100;
        options.games = 3;
        options.frameLengths.shortest = 20;
        options.frameLengths.longest = 100;
        options.frameLengths.stallsPerThousand = 5;
        options.frameLengths.longestStall = 4000;
        options.memoryToleranceBytes = 0;
        options.run.workingDirectory = data.Root();
        std::vector<int> exitCodes;
        options.afterGame = [&](uint32_t, const GameRun::Result& result) {
            exitCodes.push_back(result.exitCode);
        };
        const AutoPlayer::Summary summary = AutoPlayer(options).Run();
        EXPECT_TRUE(summary.ok) << "game " << summary.failingSeed << ": " << summary.failure;
        EXPECT_EQ(summary.games, 3u);
        EXPECT_GT(summary.plays, 0u);
        EXPECT_EQ(exitCodes, std::vector<int>(3, 0));
    }
}

} // namespace
