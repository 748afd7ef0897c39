// Whole games of the real game played by the autoplayer: the same seed plays the same game,
// its replay file plays it again, and a failure stops the run with the seed and a replay.
#include "autoplay/AutoPlayer.h"
#include "autoplay/GameRun.h"
#include "autoplay/Replay.h"
#include "autoplay/ReplayInput.h"

#include "modes/Game.h"
#include "render/Renderer.h"

#include <SDL.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

using testing::HasSubstr;

// Drawing costs most of a frame: long frames, frequent stalls and plays of half a minute at most
// keep the games quick, and they still step unevenly.
AutoPlayer::Options QuickGames()
{
    AutoPlayer::Options options;
    options.frameLengths.shortest = 30;
    options.frameLengths.longest = 100;
    options.frameLengths.stallsPerThousand = 80;
    options.frameLengths.longestStall = 3000;
    options.frameLengths.longestPlay = 30000;
    return options;
}

GameRun::Result Replayed(const Replay& replay)
{
    ReplayInput input(replay);
    return GameRun::Play(replay.seed, input, GameRun::Options {});
}

// Ends the program in its first frame, or does what `plant` says before frame `when`.
class ScriptedInput : public InputSource {
public:
    bool Next(const Game& game, Replay::Frame& frame) override
    {
        ++frames;
        if (plant && frames == when)
            plant(const_cast<Game&>(game));
        frame = Replay::Frame { 20, {} };
        if (frames >= quitAt)
            frame.events.push_back({ Replay::Event::Kind::Quit, 0 });
        return true;
    }

    int frames = 0;
    int quitAt = 1;
    int when = 0;
    std::function<void(Game&)> plant;
};

TEST(AutoPlayer, ASeedPlaysOneGameAndItsReplayFilePlaysItAgain)
{
    const AutoPlayer player(QuickGames());
    const GameRun::Result first = player.PlayOne(7);
    ASSERT_TRUE(first.ok) << first.failure;
    EXPECT_TRUE(first.ended);
    EXPECT_EQ(first.exitCode, 0);
    EXPECT_GT(first.trace.steps, 100u);
    EXPECT_EQ(first.trace.scores.size(),
        static_cast<size_t>(RandomPlayer(7, QuickGames().frameLengths).PlannedPlays()));

    const GameRun::Result again = player.PlayOne(7);
    EXPECT_EQ(again.replay, first.replay);
    EXPECT_EQ(again.trace.hash, first.trace.hash);
    EXPECT_NE(player.PlayOne(8).trace.hash, first.trace.hash);

    // Through the text of the file, as a bug report would travel.
    Replay fromFile;
    std::string error;
    ASSERT_TRUE(Replay::Parse(first.replay.Format(), fromFile, error)) << error;
    const GameRun::Result replayed = Replayed(fromFile);
    EXPECT_TRUE(replayed.ok) << replayed.failure;
    EXPECT_EQ(replayed.replay.expect, first.replay.expect);
    EXPECT_EQ(replayed.replay.frames, first.replay.frames);
}

TEST(AutoPlayer, OneEventOrOneMillisecondMoreMakesAnotherTrace)
{
    const GameRun::Result original = AutoPlayer(QuickGames()).PlayOne(3);
    ASSERT_TRUE(original.ok) << original.failure;
    const Replay& replay = original.replay;

    // The first frame of play in which the player steers: one key less there changes the
    // game even though the player keeps to the same script afterwards.
    size_t steering = 0;
    for (size_t index = 0; index < replay.frames.size() && steering == 0; ++index) {
        for (const Replay::Event& event : replay.frames[index].events) {
            if (event.scancode == SDL_SCANCODE_LEFT || event.scancode == SDL_SCANCODE_RIGHT)
                steering = index;
        }
    }
    ASSERT_NE(steering, 0u);
    Replay changed = replay;
    changed.frames[steering].events.clear();
    const GameRun::Result withoutKey = Replayed(changed);
    EXPECT_NE(withoutKey.trace.hash, original.trace.hash);

    changed = replay;
    changed.frames[steering].ms += 1;
    EXPECT_NE(Replayed(changed).trace.hash, original.trace.hash);
}

TEST(AutoPlayer, ABrokenInvariantStopsTheGameAtItsFrame)
{
    ScriptedInput input;
    input.quitAt = 50;
    input.when = 10;
    input.plant = [](Game& game) { game.renderer->AddSprite("Data/Gui/BlackOverlay", 3); };
    const GameRun::Result result = GameRun::Play(5, input, GameRun::Options {});
    EXPECT_FALSE(result.ok);
    EXPECT_THAT(result.failure, HasSubstr("frame 10 "));
    EXPECT_THAT(result.failure, HasSubstr("belongs to no screen"));
    EXPECT_EQ(result.frames, 10u);
    EXPECT_EQ(result.replay.frames.size(), 10u);
    EXPECT_EQ(result.exitCode, 0);
}

TEST(AutoPlayer, StopsAtTheFirstFailingGameWithItsSeedAndReplay)
{
    const std::filesystem::path file
        = std::filesystem::temp_directory_path() / "skarvold-autoplayer-test.replay";
    AutoPlayer::Options options = QuickGames();
    options.firstSeed = 40;
    options.games = 5;
    options.run.maxFrames = 30;
    options.failingReplayPath = file.string();
    const AutoPlayer::Summary summary = AutoPlayer(options).Run();
    EXPECT_FALSE(summary.ok);
    EXPECT_EQ(summary.games, 1u);
    EXPECT_EQ(summary.failingSeed, 40u);
    EXPECT_EQ(summary.frames, 30u);
    EXPECT_THAT(summary.failure, HasSubstr("did not end within 30 frames"));

    Replay saved;
    std::string error;
    ASSERT_TRUE(Replay::Load(file.string(), saved, error)) << error;
    std::filesystem::remove(file);
    EXPECT_EQ(saved.seed, 40u);
    EXPECT_EQ(saved.frames.size(), 30u);
    EXPECT_EQ(Replayed(saved).replay.expect, saved.expect);
}

TEST(AutoPlayer, HeapGrowthFromGameToGameFailsOnceItPassesTheTolerance)
{
    AutoPlayer::Options options;
    options.firstSeed = 1;
    options.games = 6;
    options.memoryBaselineGame = 2;
    options.memoryToleranceBytes = 5u << 19; // two and a half games' worth
    options.makeInput = [](uint32_t) { return std::make_unique<ScriptedInput>(); };
    // What a leak of a megabyte per game would leave behind.
    std::vector<std::vector<char>> held;
    options.afterGame = [&held](uint32_t seed, const GameRun::Result&) {
        if (seed > 2)
            held.emplace_back(1u << 20, 'x');
    };
    const AutoPlayer::Summary summary = AutoPlayer(options).Run();
    EXPECT_FALSE(summary.ok);
    EXPECT_EQ(summary.failingSeed, 5u);
    EXPECT_THAT(summary.failure, HasSubstr("heap grew"));
    EXPECT_EQ(summary.games, 5u);
    EXPECT_EQ(summary.plays, 0u);

    held.clear();
    options.afterGame = nullptr;
    EXPECT_TRUE(AutoPlayer(options).Run().ok);

    // A long game after a short baseline: its own record (the replay of every frame) is no
    // growth of the heap.
    options.games = 3;
    options.memoryBaselineGame = 1;
    options.memoryToleranceBytes = 64u << 10;
    options.run.drawPictures = false;
    options.makeInput = [](uint32_t seed) {
        auto input = std::make_unique<ScriptedInput>();
        input->quitAt = seed == 3 ? 6000 : 1;
        return input;
    };
    const AutoPlayer::Summary longLast = AutoPlayer(options).Run();
    EXPECT_TRUE(longLast.ok) << longLast.failure;
    EXPECT_EQ(longLast.frames, 6002u);
}

} // namespace
