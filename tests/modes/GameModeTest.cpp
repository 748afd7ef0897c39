#include "modes/PlayFixture.h"

#include "base/Random.h"
#include "base/Window.h"
#include "modes/EnemySpawn.h"
#include "render/Renderer.h"
#include "render/TextItem.h"
#include "sound/MusicHandle.h"
#include "world/Enemy.h"
#include "world/ShieldPickup.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <typeinfo>

namespace {

using GameModeTest = PlayFixture;

// The brightness of the whole picture last drawn.
uint64_t Brightness(Renderer& renderer)
{
    std::vector<uint32_t> pixels(static_cast<size_t>(windowWidth * windowHeight));
    SDL_RenderReadPixels(
        renderer.sdlRenderer, nullptr, SDL_PIXELFORMAT_ARGB8888, pixels.data(), windowWidth * 4);
    uint64_t sum = 0;
    for (uint32_t pixel : pixels)
        sum += ((pixel >> 16) & 0xff) + ((pixel >> 8) & 0xff) + (pixel & 0xff);
    return sum;
}

TEST_F(GameModeTest, GetReadyBlinksThreeSecondsThenTheFirstEnemyAndPickupArriveTogether)
{
    for (int half = 0; half <= 5; ++half) {
        EXPECT_EQ(play().banner->visible, half % 2 == 0) << gameTime;
        EXPECT_TRUE(Live<Enemy>().empty() && Live<ShieldPickup>().empty());
        driver.Frame(500);
    }
    // Both timers are due at 3000: the blinking stops before a sixth toggle.
    EXPECT_FALSE(play().banner->visible);
    EXPECT_EQ(Live<Enemy>().size(), 1u);
    EXPECT_EQ(Live<ShieldPickup>().size(), 1u);
    driver.Frame(500);
    EXPECT_FALSE(play().banner->visible);
}

TEST_F(GameModeTest, GetReadyEndsHiddenWhenTheLastGameLeftTheBlinkTimerFirst)
{
    // A game lost without entering the table returns to the menu from inside the timer pass;
    // "PLAY" in the very next frame builds the new timers while the old ones, dead, still
    // stand in the list, and their removal turns the new start and blink timers round.
    player().TakeHit();
    driver.Frame(2000);
    driver.Frame(5000);
    ASSERT_NE(driver.Menu(), nullptr);
    ASSERT_FALSE(driver.Menu()->overlay->visible);
    GameDriver::Tap(SDL_SCANCODE_LCTRL);
    driver.Frame();
    ASSERT_NE(driver.Play(), nullptr);
    const auto at
        = [](const Timer* timer) { return std::find(timers.begin(), timers.end(), timer); };
    ASSERT_LT(at(play().blinkTimer), at(play().startTimer));

    // Frames of 500 ms: the sixth toggle and the end of the start fall due together.
    for (int frame = 0; frame < 6; ++frame)
        driver.Frame(500);
    ASSERT_EQ(Live<Enemy>().size(), 1u);
    EXPECT_FALSE(play().banner->visible);
    driver.Frame(500);
    EXPECT_FALSE(play().banner->visible);
}

// How many draws of the game's generator `run` makes, from `seed`: counted by stepping a twin
// until it stands where the game's generator was left.
int DrawsMadeBy(uint32_t seed, const std::function<void()>& run)
{
    rng::srand(seed);
    run();
    const uint32_t after = rng::state();
    Random twin(seed);
    int draws = 0;
    for (; twin.state != after && draws < 100000; ++draws)
        twin.Next();
    return draws;
}

TEST_F(GameModeTest, EnemyKindsFollowTheDrawAndSetThePickupDelay)
{
    // Each row of the spawner's table at both ends of its share of the draw: the kind it
    // makes, then the pickup delay drawn after that kind's own draws, scaled by the row.
    const int shares = EnemySpawn::Shares();
    int first = 0;
    for (const EnemySpawn& row : EnemySpawn::Table()) {
        for (const int draw : { first, first + row.share - 1 }) {
            SCOPED_TRACE(draw);
            uint32_t seed = 1;
            while (Random(seed).Next() % shares != draw)
                ++seed;
            const std::type_info* kind = nullptr;
            const int made = DrawsMadeBy(seed, [&] {
                const Enemy* example = row.make(world());
                kind = &typeid(*example);
            });
            play().pickupTimer->active = false;
            rng::srand(seed);
            play().SpawnEnemy();
            auto* enemy = dynamic_cast<Enemy*>(world().objects.back());
            ASSERT_NE(enemy, nullptr);
            EXPECT_TRUE(typeid(*enemy) == *kind);
            EXPECT_EQ(enemy->gameMode, &play());

            Random draws(seed);
            for (int skip = 0; skip <= made; ++skip) // the kind's draw, then the enemy's own
                draws.Next();
            const float delay = static_cast<float>(draws.Next() % 8001 + 4000) * row.pickupScale;
            EXPECT_EQ(play().pickupTimer->fireTime, gameTime + static_cast<uint32_t>(delay));
        }
        first += row.share;
    }
    // A pending pickup is not postponed by the next enemy.
    const uint32_t pending = play().pickupTimer->fireTime;
    driver.Frame();
    play().SpawnEnemy();
    EXPECT_EQ(play().pickupTimer->fireTime, pending);
}

TEST_F(GameModeTest, TheGapBetweenEnemiesShrinksBy100DownTo1000)
{
    play().SpawnEnemy();
    EXPECT_EQ(play().spawnTimer->interval, 4000u);
    EXPECT_EQ(play().spawnInterval, 3900u);
    for (int enemy = 2; enemy <= 30; ++enemy)
        play().SpawnEnemy();
    EXPECT_EQ(play().spawnInterval, 1000u);
    play().SpawnEnemy();
    EXPECT_EQ(play().spawnInterval, 1000u);
}

TEST_F(GameModeTest, PickupsLandInTheLowerMiddleBandDrawingYBeforeX)
{
    for (uint32_t seed = 1; seed <= 20; ++seed) {
        rng::srand(seed);
        play().SpawnPickup();
        const auto* pickup = dynamic_cast<ShieldPickup*>(world().objects.back());
        ASSERT_NE(pickup, nullptr);
        Random draws(seed);
        draws.Next(); // the pickup's own bobbing direction
        const int y = draws.Next() % 101 + 372;
        EXPECT_EQ(pickup->home.x, static_cast<float>(draws.Next() % 545 + 128)) << seed;
        EXPECT_EQ(pickup->home.y, static_cast<float>(y)) << seed;
    }
}

TEST_F(GameModeTest, PauseFreezesEverythingButInputAndMusic)
{
    driver.RunFor(400);
    const uint64_t lit = Brightness(*driver.game->renderer);
    GameDriver::Tap(SDL_SCANCODE_SPACE); // not paused: no way out yet
    GameDriver::Tap(SDL_SCANCODE_ESCAPE);
    driver.Frame();
    ASSERT_NE(driver.Play(), nullptr);
    EXPECT_TRUE(gamePaused && play().pauseOverlay->visible && play().leavePrompt->visible
        && play().leaveHint->visible);
    EXPECT_EQ(driver.sound->Played("Data/Gui/MenuMove.wav"), 1);
    EXPECT_LT(Brightness(*driver.game->renderer) * 5, lit * 2); // darkened over everything

    const uint32_t frozen = gameTime;
    GameDriver::KeyDown(SDL_SCANCODE_RIGHT);
    driver.RunFor(1000);
    EXPECT_EQ(gameTime, frozen);
    EXPECT_TRUE(play().banner->visible); // no blink
    EXPECT_FLOAT_EQ(player().direction.x, 0.0f);
    EXPECT_FALSE(play().music->paused);

    // The key pressed while paused steers as soon as the pause ends; opposite keys cancel.
    GameDriver::Tap(SDL_SCANCODE_ESCAPE);
    driver.Frame();
    EXPECT_FALSE(gamePaused || play().pauseOverlay->visible || play().leaveHint->visible);
    EXPECT_FLOAT_EQ(player().direction.x, 1.0f);
    GameDriver::KeyDown(SDL_SCANCODE_LEFT);
    GameDriver::KeyDown(SDL_SCANCODE_UP);
    GameDriver::KeyDown(SDL_SCANCODE_DOWN);
    driver.Frame();
    EXPECT_FLOAT_EQ(player().direction.x, 0.0f);
    EXPECT_FLOAT_EQ(player().direction.y, 0.0f);
}

TEST_F(GameModeTest, GameOverFadesInTwoSecondsAfterTheCrashAndReturnsFiveSecondsLater)
{
    play().AddScore(2);
    play().AddScore(3);
    EXPECT_EQ(play().scoreText->text, "Score: 5");
    driver.Frame(1000);
    const uint32_t crash = gameTime;
    player().TakeHit();
    driver.Frame(1990);
    EXPECT_EQ(play().banner->text, "GET READY!");
    driver.Frame(10);
    const TextItem& banner = *play().banner;
    EXPECT_EQ(banner.text, "GAME OVER!");
    EXPECT_TRUE(banner.pointSize == 96 && banner.colour.red == 255 && banner.colour.blue == 32);
    EXPECT_TRUE(banner.visible && play().gameOverBackground->visible);
    EXPECT_EQ(banner.opacity, 0); // its first frame is already part of the fade
    EXPECT_FALSE(play().scoreText->visible);
    EXPECT_TRUE(play().background->playing);

    driver.Frame(250);
    EXPECT_EQ(banner.opacity, 127);
    driver.Frame(1250);
    EXPECT_EQ(banner.opacity, 255);
    EXPECT_NEAR(play().music->volume, 0.35f, 0.01f);
    driver.Frame(1510);
    EXPECT_NEAR(play().music->volume, 0.05f, 1e-5f);
    EXPECT_EQ(play().gameOverBackground->opacity, 255);

    driver.Frame(crash + 6990 - gameTime);
    ASSERT_NE(driver.Play(), nullptr);
    driver.Frame(10);
    EXPECT_NE(driver.Menu(), nullptr);
}

TEST_F(GameModeTest, EscapeInTheFrameThatEndsTheGameLeavesTheMenuRunning)
{
    player().TakeHit();
    driver.Frame(2000);
    ASSERT_EQ(play().banner->text, "GAME OVER!");
    // The pause comes in the frame whose timers hand back to the menu.
    GameDriver::Tap(SDL_SCANCODE_ESCAPE);
    driver.Frame(5000);
    ASSERT_NE(driver.Menu(), nullptr);
    EXPECT_FALSE(gamePaused);
    const uint32_t before = gameTime;
    driver.Frame(100);
    EXPECT_EQ(gameTime, before + 100);
}

TEST_F(GameModeTest, EveryGameLeavesNoTimerDrawItemObjectOrMusicBehind)
{
    size_t timerCount = 0, itemCount = 0;
    for (int round = 0; round < 5; ++round) {
        if (round > 0)
            driver.game->StartGame();
        driver.RunFor(4000, 50);
        GameDriver::Tap(SDL_SCANCODE_ESCAPE);
        driver.Frame();
        GameDriver::Tap(SDL_SCANCODE_SPACE);
        driver.Frame();
        ASSERT_NE(driver.Menu(), nullptr);
        EXPECT_FALSE(gamePaused);
        size_t items = 0;
        for (int layer = 0; layer < Renderer::layerCount; ++layer)
            items += driver.game->renderer->spriteLayers[layer].size()
                + driver.game->renderer->textLayers[layer].size();
        EXPECT_TRUE(world().objects.empty());
        EXPECT_EQ(driver.sound->LiveMusic().size(), 1u);
        if (round == 0) {
            timerCount = timers.size();
            itemCount = items;
        }
        EXPECT_EQ(timers.size(), timerCount) << round;
        EXPECT_EQ(items, itemCount) << round;
    }
    EXPECT_EQ(driver.sound->Played("Data/Gui/MenuSelect.wav"), 5);
    EXPECT_EQ(driver.sound->staleCalls, 0);
}

} // namespace
