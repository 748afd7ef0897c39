#include "base/Clock.h"
#include "base/Timer.h"
#include "modes/Game.h"

#include "support/RecordingSoundEngine.h"
#include "support/ScopedEnvironment.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

// A game whose window cannot open has no renderer to build a screen on: it must build no
// screen and start no sound, and still be torn down cleanly.
class GameStartTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetClock();
        DestroyAllTimers();
        environment.Set("SDL_VIDEODRIVER", "no-such-driver");
        ::testing::internal::CaptureStderr();
    }

    void TearDown() override
    {
        ::testing::internal::GetCapturedStderr();
        DestroyAllTimers();
    }

    ScopedEnvironment environment;
};

TEST_F(GameStartTest, WithoutAWindowNoScreenIsBuiltAndNoSoundIsMade)
{
    auto engine = std::make_unique<RecordingSoundEngine>();
    const RecordingSoundEngine* sound = engine.get();
    auto game = std::make_unique<Game>("no window", std::move(engine));
    EXPECT_FALSE(game->Started());
    EXPECT_EQ(game->mode, nullptr);
    EXPECT_TRUE(sound->calls.empty());
    game.reset();
}

TEST_F(GameStartTest, WithoutAWindowTheGameOpensNoAudioDeviceOfItsOwn)
{
    auto game = std::make_unique<Game>("no window");
    EXPECT_FALSE(game->Started());
    EXPECT_EQ(game->GetSoundEngine(), nullptr);
    EXPECT_EQ(game->mode, nullptr);
    game.reset();
}

} // namespace
