#include "app/Clock.h"
#include "app/Timer.h"
#include "modes/Game.h"
#include "modes/Mode.h"

#include "support/RecordingSoundEngine.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <memory>

namespace {

class GameTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetClock();
        DestroyAllTimers();
        auto engine = std::make_unique<RecordingSoundEngine>();
        sound = engine.get();
        game = std::make_unique<Game>("game test", std::move(engine));
        ASSERT_TRUE(game->Started());
    }

    void TearDown() override
    {
        game.reset();
        DestroyAllTimers();
    }

    RecordingSoundEngine* sound = nullptr;
    std::unique_ptr<Game> game;
};

// A screen that notes whether the sound engine still answers when it is destroyed.
class ListeningMode : public Mode {
public:
    ListeningMode(Game* owner, bool* engineAliveAtEnd)
        : Mode(owner)
        , engineAlive(engineAliveAtEnd)
    {
    }
    ~ListeningMode() override
    {
        *engineAlive = game->GetSoundEngine() != nullptr;
        game->GetSoundEngine()->StopMusic(nullptr);
    }
    bool Update() override { return true; }

    bool* engineAlive;
};

TEST_F(GameTest, StartsTheEngineAtHalfVolumeAndAScreen)
{
    ASSERT_FALSE(sound->calls.empty());
    EXPECT_EQ(sound->calls.front().kind, RecordingSoundEngine::Kind::MasterVolume);
    EXPECT_FLOAT_EQ(sound->calls.front().value, 0.5f);
    EXPECT_NE(game->mode, nullptr);
    EXPECT_EQ(game->GetSoundEngine(), sound);
}

TEST_F(GameTest, ClosingTheWindowEndsTheFrameBeforeTimersRun)
{
    int fired = 0;
    CreateTimer()->Start([&] { ++fired; }, 0, false);
    gameTime = 100;
    SDL_Event quit {};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
    EXPECT_FALSE(game->frame());
    EXPECT_EQ(fired, 0);
    EXPECT_EQ(game->lastFrameTime, 0u);

    // Without the event the frame goes on into timers and drawing.
    EXPECT_TRUE(game->frame());
    EXPECT_EQ(fired, 1);
    EXPECT_EQ(game->lastFrameTime, 100u);
}

TEST_F(GameTest, TheScreenGoesBeforeTheSoundEngine)
{
    bool engineAlive = false;
    game->mode = std::make_unique<ListeningMode>(game.get(), &engineAlive);
    game.reset();
    EXPECT_TRUE(engineAlive);
}

} // namespace
