// Each test plants a fault of the kind a later edit could make into a real game, and asks the
// checker to name it; a game without the fault must pass, or the finding would mean nothing.
#include "autoplay/InvariantChecker.h"

#include "base/Clock.h"
#include "base/Timer.h"
#include "modes/GameMode.h"
#include "modes/MenuMode.h"
#include "render/Renderer.h"
#include "world/EnemyMedium.h"
#include "world/Explosion.h"
#include "world/FlyingText.h"
#include "world/Player.h"
#include "world/Projectile.h"
#include "world/World.h"

#include "support/GameDriver.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <utility>

namespace {

using testing::HasSubstr;
using testing::IsEmpty;

class InvariantCheckerTest : public ::testing::Test {
protected:
    // Frames of `ms`, each checked, for `count` frames.
    void Play(int count, uint32_t ms = 40)
    {
        for (int frame = 0; frame < count; ++frame) {
            ASSERT_TRUE(driver.Frame(ms));
            ASSERT_THAT(checker.Check(*driver.game), IsEmpty()) << "frame " << frame;
        }
    }

    // Goes from the menu to play and into the waves.
    void StartPlaying()
    {
        Play(2);
        GameDriver::Tap(SDL_SCANCODE_LCTRL);
        Play(100);
        ASSERT_NE(driver.Play(), nullptr);
    }

    std::string Check() { return checker.Check(*driver.game); }

    GameDriver driver;
    InvariantChecker checker;
};

TEST_F(InvariantCheckerTest, DrawItemsAndTimersThatNothingOwnsAreFound)
{
    StartPlaying();
    Renderer& renderer = *driver.game->renderer;

    Sprite* stray = renderer.AddSprite("Data/Gui/ShieldIcon", 4);
    ASSERT_TRUE(driver.Frame(40));
    EXPECT_THAT(Check(), HasSubstr("sprite of Data/Gui/ShieldIcon on layer 4 belongs to no"));
    stray->dead = true;
    Play(1);

    TextItem* text = renderer.AddText("Data/Fonts/OpenSans-Bold.ttf", 2, false, 18, Rgb {});
    text->SetText("left behind");
    ASSERT_TRUE(driver.Frame(40));
    EXPECT_THAT(Check(), HasSubstr("\"left behind\" on layer 2 belongs to no"));
    text->dead = true;
    Play(1);

    Timer* timer = CreateTimer();
    timer->Start([] {}, 100000, false);
    EXPECT_THAT(Check(), HasSubstr("live timer belongs to no screen or object"));
    timer->dead = true;
    Play(1);

    // A screen's timer ended while the screen still counts on it.
    driver.Play()->spawnTimer->dead = true;
    EXPECT_THAT(Check(), HasSubstr("timer of the screen or an object is dead"));
    driver.Play()->spawnTimer->dead = false;

    // A screen's item gone from the layers.
    std::vector<Sprite*>& layer = renderer.spriteLayers[0];
    Sprite* background = layer.back();
    layer.pop_back();
    EXPECT_THAT(Check(), HasSubstr("is on no layer"));
    layer.push_back(background);
    EXPECT_THAT(Check(), IsEmpty());
}

TEST_F(InvariantCheckerTest, TheScoreTextShieldsAndPositionsMustAgreeWithTheGame)
{
    StartPlaying();
    GameMode& play = *driver.Play();
    Player& player = *play.player;

    play.score += 5;
    EXPECT_THAT(Check(), HasSubstr("score text reads \"Score: 0\" with the score at 5"));
    play.AddScore(0);
    EXPECT_THAT(Check(), IsEmpty());

    // A shield the screen was never told of.
    player.shields = 1;
    EXPECT_THAT(Check(), HasSubstr("shield icon 1 does not show a shield with 1 held"));
    play.OnShieldGained(1);
    EXPECT_THAT(Check(), IsEmpty());
    play.shieldsLabelFade.to = 0.0f;
    EXPECT_THAT(Check(), HasSubstr("shields label is hidden with 1 shields"));
    play.shieldsLabelFade.to = 255.0f;
    // The wrong icon taken away.
    play.shieldIcons[1]->reverse = false;
    play.shieldIcons[1]->playing = true;
    EXPECT_THAT(Check(), HasSubstr("shield icon 2 shows a shield with 1 held"));
    play.shieldIcons[1]->playing = false;
    player.shields = 4;
    EXPECT_THAT(Check(), HasSubstr("holds 4 shields"));
    player.shields = 1;
    EXPECT_THAT(Check(), IsEmpty());

    player.position.x = std::nanf("");
    EXPECT_THAT(Check(), HasSubstr("stands at (nan, 550)"));
    player.position.x = 400.0f;
    player.sprite->angle = INFINITY;
    EXPECT_THAT(Check(), HasSubstr("turned inf"));
    player.sprite->angle = 0.0f;
    play.scoreText->position.y = -INFINITY;
    EXPECT_THAT(Check(), HasSubstr("\"Score: 5\" stands at (15, -inf)"));
    play.scoreText->position.y = 10.0f;

    // A player pointer left dangling out of the world.
    std::vector<Object*>& objects = driver.game->world->objects;
    std::erase(objects, &player);
    EXPECT_THAT(Check(), HasSubstr("player is not in the world"));
    objects.push_back(&player);
    EXPECT_THAT(Check(), IsEmpty());
}

TEST_F(InvariantCheckerTest, TheHiscoreTableKeepsItsShape)
{
    Play(1);
    std::vector<HiscoreEntry>& table = driver.game->hiscores;
    const std::vector<HiscoreEntry> defaults = table;

    table.insert(table.begin(), HiscoreEntry { "YOU", 100 });
    EXPECT_THAT(Check(), IsEmpty());
    table.push_back(HiscoreEntry { "YOU", 1 });
    EXPECT_THAT(Check(), HasSubstr("holds 9 entries"));
    table.pop_back();
    table.insert(table.begin() + 1, HiscoreEntry { "YOU", 94 });
    table.pop_back();
    EXPECT_THAT(Check(), HasSubstr("2 entries named YOU"));

    table = defaults;
    std::swap(table[2], table[3]);
    EXPECT_THAT(Check(), HasSubstr("out of order at place 4"));
    table = defaults;
    table.pop_back();
    EXPECT_THAT(Check(), HasSubstr("holds 6 entries"));
    table = defaults;
    table[6].score = 10;
    EXPECT_THAT(Check(), HasSubstr("began with changed or went"));
    table = defaults;
    EXPECT_THAT(Check(), IsEmpty());
}

TEST_F(InvariantCheckerTest, TheMenuAfterAGameHoldsOnlyWhatTheMenuMade)
{
    StartPlaying();
    // Leaving from the prompt: the menu's first frame may still see the old screen's timers
    // dead in the list, the second must not.
    GameDriver::Tap(SDL_SCANCODE_ESCAPE);
    Play(1);
    GameDriver::Tap(SDL_SCANCODE_SPACE);
    Play(3);
    ASSERT_NE(driver.Menu(), nullptr);

    CreateTimer()->dead = true;
    EXPECT_THAT(Check(), HasSubstr("1 timers are left in the menu"));
    Play(1);

    gamePaused = true;
    EXPECT_THAT(Check(), HasSubstr("paused in the menu"));
    gamePaused = false;

    driver.Menu()->returnHint->visible = true;
    EXPECT_THAT(Check(), HasSubstr("half shown"));
    driver.Menu()->returnHint->visible = false;

    World& world = *driver.game->world;
    world.Create<Explosion>();
    EXPECT_THAT(Check(), HasSubstr("1 objects are left in the menu's world"));
    world.Clear();
    EXPECT_THAT(Check(), IsEmpty());
}

TEST_F(InvariantCheckerTest, TheLateGameKeepsToWhatTheSpawnerAndTheMakersAllow)
{
    StartPlaying();
    GameMode& play = *driver.Play();
    World& world = *driver.game->world;

    play.spawnInterval = 900;
    EXPECT_THAT(Check(), HasSubstr("spawn gap is 900 ms"));
    play.spawnInterval = 1000;

    // An enemy that no spawn sent: it has no play screen to score to.
    auto* stray = world.Create<EnemyMedium>(&world);
    EXPECT_THAT(Check(), HasSubstr("spawner did not send"));
    stray->dead = true;
    Play(2);

    // A destroyed enemy that a step failed to take away.
    auto* doomed = world.Create<EnemyMedium>(&world);
    doomed->SetGameMode(&play);
    EXPECT_THAT(Check(), IsEmpty());
    Play(1);
    doomed->dead = true;
    EXPECT_THAT(Check(), IsEmpty());
    std::erase(world.objects, doomed);
    ASSERT_TRUE(driver.Frame(40));
    world.objects.push_back(doomed);
    EXPECT_THAT(Check(), HasSubstr("destroyed enemy is still in the world a step later"));
    Play(2);

    // Shots by the hundred from nobody.
    std::vector<Projectile*> flood;
    for (int shot = 0; shot < 200; ++shot)
        flood.push_back(Projectile::Launch(world, "Data/Enemies/Small/Projectile", 0.0f, TypePlayer,
            Vec2 { 0.0f, 1.0f }, Vec2 { 10.0f, 10.0f }));
    EXPECT_THAT(Check(), HasSubstr("enemy shots live, more than"));
    for (Projectile* shot : flood)
        shot->dead = true;
    Play(2);

    // A label left to hang over the edge, and the score pushed off the window.
    auto* label = world.Create<FlyingText>(&world);
    label->label->SetText("Score: + 3");
    label->label->keepInWindow = false;
    label->SetPosition({ 2.0f, 300.0f });
    play.AddScore(3);
    for (int frame = 0; frame < 20; ++frame)
        ASSERT_TRUE(driver.Frame(40));
    EXPECT_THAT(Check(), HasSubstr("flying label \"Score: + 3\" leaves the window"));
    label->label->keepInWindow = true;
    EXPECT_THAT(Check(), IsEmpty());
    play.scoreText->position.x = 790.0f;
    EXPECT_THAT(Check(), HasSubstr("score text \"Score: 3\" leaves the window"));
    play.scoreText->position.x = 15.0f;
    EXPECT_THAT(Check(), IsEmpty());
}

} // namespace
