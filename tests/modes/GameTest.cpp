#include "modes/Game.h"
#include "base/Clock.h"
#include "base/Timer.h"
#include "modes/Mode.h"
#include "render/Renderer.h"

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

TEST_F(GameTest, TheFirstScreenShowsTheMenuBackdropAndPlaysItsMusic)
{
    auto& layer0 = game->renderer->spriteLayers[0];
    ASSERT_EQ(layer0.size(), 1u);
    EXPECT_FALSE(layer0[0]->animation->frames.empty()) << "no Data/Gui/MenuBackground";
    EXPECT_EQ(layer0[0]->animation->width, 800);
    // Every image was loaded before the first frame.
    EXPECT_GE(game->renderer->animations.size(), 39u);

    const auto live = sound->LiveMusic();
    ASSERT_EQ(live.size(), 1u);
    EXPECT_EQ(sound->PathOf(live[0]), "Data/Music/Menu.wav");
    EXPECT_FALSE(live[0]->paused);
    EXPECT_FLOAT_EQ(live[0]->volume, 0.65f);

    // Leaving the screen stops its music and withdraws its backdrop.
    game->mode.reset();
    EXPECT_TRUE(sound->LiveMusic().empty());
    EXPECT_TRUE(layer0[0]->dead);
    EXPECT_EQ(sound->staleCalls, 0);
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
