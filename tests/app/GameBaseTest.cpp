#include "app/GameBase.h"
#include "base/Clock.h"
#include "base/Timer.h"
#include "render/Renderer.h"
#include "world/World.h"

#include "base/AssetPaths.h"

#include "support/DamagedData.h"
#include "support/ProbeObject.h"
#include "support/TestImages.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

// An object that owns a sprite, as every drawn object does, and marks it dead as it goes.
// It notes whether the window's renderer was still there at that moment.
class SpriteOwner : public Object {
public:
    SpriteOwner(Sprite* ownSprite, SDL_Window* gameWindow, bool* rendererUpAtEnd)
        : sprite(ownSprite)
        , window(gameWindow)
        , rendererUp(rendererUpAtEnd)
    {
    }
    ~SpriteOwner() override
    {
        *rendererUp = SDL_GetRenderer(window) != nullptr;
        if (*rendererUp)
            sprite->dead = true;
    }

    Sprite* sprite = nullptr;
    SDL_Window* window = nullptr;
    bool* rendererUp = nullptr;
};

class GameBaseTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetClock();
        DestroyAllTimers();
        gameTime = 5000;
        game = new GameBase("frame test");
        ASSERT_TRUE(game->Started());
        probe = game->world->Create<ProbeObject>(&log, "probe");
    }

    void TearDown() override
    {
        delete game;
        DestroyAllTimers();
    }

    // One frame of `deltaMs`; answers how many world steps it ran.
    int Frame(uint32_t deltaMs)
    {
        const int before = probe->updates;
        gameTime += deltaMs;
        EXPECT_TRUE(game->frame());
        return probe->updates - before;
    }

    std::vector<std::string> log;
    GameBase* game = nullptr;
    ProbeObject* probe = nullptr;
};

TEST_F(GameBaseTest, TheWindowAppearsWithItsFirstPicture)
{
    EXPECT_TRUE(SDL_GetWindowFlags(game->window) & SDL_WINDOW_HIDDEN);
    Frame(16);
    EXPECT_TRUE(SDL_GetWindowFlags(game->window) & SDL_WINDOW_SHOWN);
    EXPECT_FALSE(SDL_GetWindowFlags(game->window) & SDL_WINDOW_HIDDEN);
}

TEST_F(GameBaseTest, AlphaIsTakenBeforeTheStepsConsumeTheTime)
{
    EXPECT_EQ(Frame(31), 0);
    EXPECT_FLOAT_EQ(probe->lastAlpha, 31.0f / 32.0f);
    EXPECT_FLOAT_EQ(probe->lastFrameSeconds, 0.031f);
    EXPECT_EQ(Frame(1), 1);
    EXPECT_FLOAT_EQ(probe->lastAlpha, 1.0f);
    EXPECT_EQ(game->accumulator, 0u);
    EXPECT_FLOAT_EQ(probe->lastDt, 0.032f);
}

TEST_F(GameBaseTest, EveryStepTheElapsedTimeCoversRunsInOneFrame)
{
    EXPECT_EQ(Frame(100), 3);
    EXPECT_EQ(game->accumulator, 4u);
    // A long stall runs all its steps at once, without a cap.
    EXPECT_EQ(Frame(10000), 312);
    EXPECT_EQ(game->accumulator, 4u + 10000u - 312u * 32u);
}

TEST_F(GameBaseTest, FirstFrameSeesTheTimeSinceConstruction)
{
    EXPECT_EQ(game->lastFrameTime, 5000u);
    gameTime = 5000 + 250;
    game->frame();
    EXPECT_EQ(probe->updates, 7);
    EXPECT_EQ(game->accumulator, 26u);
}

TEST_F(GameBaseTest, PausedFramesStillDrawButHoldTheAccumulator)
{
    Frame(20);
    const int rendersBefore = probe->renders;
    gamePaused = true;
    for (int pass = 0; pass < 5; ++pass) {
        AdvanceClock(lastTickTime + 40); // the main loop's clock pass
        EXPECT_TRUE(game->frame());
    }
    EXPECT_EQ(probe->renders, rendersBefore + 5);
    EXPECT_EQ(probe->updates, 0);
    EXPECT_EQ(game->accumulator, 20u);
    EXPECT_FLOAT_EQ(probe->lastAlpha, 20.0f / 32.0f);
    gamePaused = false;
    EXPECT_EQ(Frame(12), 1);
    EXPECT_EQ(game->accumulator, 0u);
}

TEST_F(GameBaseTest, TimersFireBeforeTheStepsOfTheirFrame)
{
    Timer* timer = CreateTimer();
    int updatesSeenByTimer = -1;
    timer->Start([&] { updatesSeenByTimer = probe->updates; }, 64, false);
    EXPECT_EQ(Frame(64), 2);
    EXPECT_EQ(updatesSeenByTimer, 0);
}

TEST_F(GameBaseTest, TheWorldGoesWhileTheRendererStillHoldsTheSprites)
{
    bool rendererUp = false;
    Sprite* sprite = game->renderer->AddSprite("no/such/image", 3);
    game->world->Create<SpriteOwner>(sprite, game->window, &rendererUp);
    delete game;
    game = nullptr;
    EXPECT_TRUE(rendererUp) << "a live object's sprite was already freed";
}

// The window's icon is read from the data set once, as the window opens: an intact icon is
// given to the window; one that is missing, damaged or too big for an icon is not, and the game
// starts and shows its window as it would without one, saying nothing itself. (A PNG whose
// stream breaks off draws one line from the PNG library, as every damaged frame does.)
TEST(GameBaseWindowIcon, TakenFromTheDataSetWhenReadableElseTheGameStartsAsBefore)
{
    using damaged::Damage;
    using damaged::DataSetCopy;
    const std::string icon(windowIconPath);
    const auto replaced = [icon](int side) {
        return [icon, side](const DataSetCopy& data) {
            data.Remove(icon);
            ASSERT_TRUE(WritePng(data.At(icon).string(), side, side, 0xff3060c0u));
        };
    };
    struct Case {
        std::string name;
        std::function<void(const DataSetCopy&)> change;
        bool carried = false;
        bool decoderSpeaks = false;
    };
    std::vector<Case> cases = {
        { "intact", [](const DataSetCopy&) {}, true },
        { "the largest an icon may be", replaced(256), true },
        { "larger than any icon", replaced(257), false },
    };
    for (const Damage damage :
        { Damage::Missing, Damage::Empty, Damage::Truncated, Damage::RandomBytes, Damage::Folder })
        cases.push_back({ damaged::NameOf(damage),
            [icon, damage](const DataSetCopy& data) { data.Apply(damage, icon); }, false,
            damage == Damage::Truncated });

    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        ResetClock();
        DestroyAllTimers();
        DataSetCopy data;
        test.change(data);
        damaged::WorkingDirectory inside(data.Root());
        ::testing::internal::CaptureStderr();
        auto game = std::make_unique<GameBase>("icon test");
        const bool started = game->Started();
        if (started) {
            gameTime += 16;
            game->frame();
        }
        const std::string said = ::testing::internal::GetCapturedStderr();
        if (test.decoderSpeaks)
            EXPECT_EQ(said.find("skarvold"), std::string::npos) << said;
        else
            EXPECT_EQ(said, "");
        ASSERT_TRUE(started);
        EXPECT_EQ(game->hasWindowIcon, test.carried);
        EXPECT_TRUE(SDL_GetWindowFlags(game->window) & SDL_WINDOW_SHOWN);
        game.reset();
        DestroyAllTimers();
    }
}

} // namespace
