#include "base/AssetPaths.h"
#include "base/Clock.h"
#include "base/Random.h"
#include "base/Timer.h"
#include "modes/EnemySpawn.h"
#include "render/Renderer.h"
#include "world/Debris.h"
#include "world/EnemyBig.h"
#include "world/EnemyMedium.h"
#include "world/EnemySmall.h"
#include "world/Explosion.h"
#include "world/FlyingText.h"
#include "world/Player.h"
#include "world/Projectile.h"
#include "world/World.h"

#include "support/GameDriver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace {

float Length(const Vec2& v)
{
    return std::sqrt(v.x * v.x + v.y * v.y);
}

void ExpectAt(const Vec2& v, float x, float y)
{
    EXPECT_NEAR(v.x, x, 1e-4f);
    EXPECT_NEAR(v.y, y, 1e-4f);
}

// The rule for a coordinate: from `low`, one draw over a range narrowed by the radius.
float Drawn(Random& draws, int low, int range)
{
    return static_cast<float>(low + draws.Next() % range);
}

// A game in play without its spawner and with a player nothing can touch: the test's enemies
// are the only ones, the clock moves only when the test says, and after a reseed every
// random draw is the test's to predict.
class EnemyTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        driver.game->StartGame();
        play = driver.Play();
        ASSERT_NE(play, nullptr);
        play->startTimer->active = false;
        play->blinkTimer->active = false;
        world = driver.game->world;
        player = play->player;
        ASSERT_NE(player, nullptr);
        player->collisionType = 0;
        player->collisionMask = 0;
        player->SetPosition({ 100, 550 });
        gameTime = 1000;
    }

    // Seeds the game's generator and answers a twin to predict its draws. The seed's first
    // draws are large, so that a wrong modulus shows.
    static Random Reseed()
    {
        rng::srand(123456789);
        return Random(123456789);
    }

    // The spawner's way: create, then hand over the mode.
    template <class T> T* Spawn()
    {
        T* enemy = world->Create<T>(world);
        enemy->SetGameMode(play);
        return enemy;
    }

    void Step(int count = 1)
    {
        for (int i = 0; i < count; ++i) {
            gameTime += 32;
            world->Update(0.032f);
        }
    }

    template <class T> std::vector<T*> All() const
    {
        std::vector<T*> found;
        for (Object* object : world->objects) {
            if (auto* match = dynamic_cast<T*>(object))
                found.push_back(match);
        }
        return found;
    }

    bool Shows(const Sprite* sprite, const std::string& path) const
    {
        return sprite->animation == driver.game->renderer->GetAnimation(path);
    }

    int Played(const std::string& path) const { return driver.sound->Played(path); }

    // Every enemy shot hurts the player only.
    void ExpectShot(
        size_t index, const std::string& path, float speed, const Vec2& heading, float x, float y)
    {
        const auto shots = All<Projectile>();
        ASSERT_LT(index, shots.size());
        EXPECT_TRUE(Shows(shots[index]->sprite, path));
        EXPECT_EQ(shots[index]->speed, speed);
        EXPECT_EQ(shots[index]->collisionMask, static_cast<uint32_t>(TypePlayer));
        ExpectAt(shots[index]->direction, heading.x, heading.y);
        ExpectAt(shots[index]->position, x, y);
    }

    GameDriver driver;
    GameMode* play = nullptr;
    World* world = nullptr;
    Player* player = nullptr;
};

TEST_F(EnemyTest, EachKindStartsWhereItsRuleSays)
{
    Random draws = Reseed();
    auto* medium = Spawn<EnemyMedium>();
    const int rm = static_cast<int>(medium->radius);
    ASSERT_GT(rm, 0);
    ExpectAt(medium->position, Drawn(draws, rm, 801 - 2 * rm), 70);
    ExpectAt(medium->target, medium->position.x, 70);
    EXPECT_FALSE(medium->sprite->playing);

    // Lower than its later band, y drawn before x; its animation runs all the time.
    auto* small = Spawn<EnemySmall>();
    const int rs = static_cast<int>(small->radius);
    const float y = Drawn(draws, 70 + rs, 231 - 2 * rs);
    ExpectAt(small->position, Drawn(draws, rs, 801 - 2 * rs), y);
    ExpectAt(small->previousPosition, small->position.x, y);
    EXPECT_TRUE(small->sprite->playing && small->sprite->looping);

    // The big one draws nothing and enters on the edge away from the player.
    player->position.x = 400;
    ExpectAt(Spawn<EnemyBig>()->target, 0, 70);
    player->position.x = 399.5f;
    ExpectAt(Spawn<EnemyBig>()->position, 800, 70);
    play->player = nullptr;
    ExpectAt(Spawn<EnemyBig>()->previousPosition, 800, 70);
    EXPECT_EQ(rng::rand(), draws.Next());
}

TEST_F(EnemyTest, ANewEnemyFirstChoosesATargetThenSteersAndKeepsItsVelocityOnArrival)
{
    auto* small = Spawn<EnemySmall>();
    auto* medium = Spawn<EnemyMedium>();
    auto* big = Spawn<EnemyBig>();
    const Vec2 start = small->position;
    Random draws = Reseed();
    Step();
    ExpectAt(small->position, start.x, start.y);
    ExpectAt(big->position, 800, 70);
    const int rs = static_cast<int>(small->radius);
    const float x = Drawn(draws, rs, 801 - 2 * rs); // x before y, y in the upper band
    ExpectAt(small->target, x, Drawn(draws, rs, 201 - 2 * rs));
    EXPECT_EQ(big->target.y, 70.0f);

    Step();
    const Vec2 d { small->target.x - start.x, small->target.y - start.y };
    ExpectAt(small->velocity, d.x / Length(d) * 6.4f, d.y / Length(d) * 6.4f);
    ExpectAt(small->position, start.x + small->velocity.x, start.y + small->velocity.y);
    ExpectAt(medium->velocity, std::copysign(4.0f, medium->target.x - medium->position.x), 0);
    EXPECT_NEAR(Length(big->velocity), 0.8f, 1e-4f);

    // Exactly 10 px away counts as arrived: one more move by the old velocity.
    const Vec2 at = medium->position;
    medium->velocity = { 3, 0 };
    medium->target = { at.x - 10, 70 };
    draws = Reseed();
    Step();
    ExpectAt(medium->position, at.x + 3, 70);
    const int rm = static_cast<int>(medium->radius);
    ExpectAt(medium->target, Drawn(draws, rm, 801 - 2 * rm), 70);

    // Its first shot comes from its own steps, on the first one past 100 ms of age.
    EXPECT_EQ(Played("Data/Enemies/Medium/Attack.wav"), 0);
    Step();
    EXPECT_EQ(Played("Data/Enemies/Medium/Attack.wav"), 1);
}

TEST_F(EnemyTest, AMediumEnemyDropsItsFirstShotOnTheFirstCheckPast100ms)
{
    auto* medium = Spawn<EnemyMedium>();
    medium->sprite->frameIndex = 5;
    Random draws = Reseed();
    gameTime = 1100;
    medium->Fire();
    EXPECT_TRUE(All<Projectile>().empty());
    EXPECT_EQ(medium->fireInterval, 0u);

    gameTime = 1101;
    medium->Fire();
    const Vec2 at = medium->position;
    ExpectShot(0, "Data/Enemies/Medium/Projectile", 600, { 0, 1 }, at.x, at.y + 32);
    EXPECT_EQ(medium->fireInterval, static_cast<uint32_t>(Drawn(draws, 100, 301)));
    EXPECT_EQ(Played("Data/Enemies/Medium/Attack.wav"), 1);
    // Each shot replays the animation from its start.
    EXPECT_TRUE(medium->sprite->playing);
    EXPECT_EQ(medium->sprite->frameIndex, 0u);

    gameTime = 1101 + medium->fireInterval - 1;
    medium->Fire();
    EXPECT_EQ(All<Projectile>().size(), 1u);
}

TEST_F(EnemyTest, ASmallEnemyDrawsItsIntervalWhenTooYoungThenFiresAFanOfThree)
{
    auto* small = Spawn<EnemySmall>();
    Random draws = Reseed();
    gameTime = 1100;
    small->Fire();
    EXPECT_TRUE(All<Projectile>().empty());
    const auto interval = static_cast<uint32_t>(Drawn(draws, 200, 501));
    EXPECT_EQ(small->fireInterval, interval);

    gameTime = 1100 + interval - 1;
    small->Fire();
    EXPECT_EQ(small->lastFireCheck, 1100u);
    gameTime += 1;
    small->Fire();
    ASSERT_EQ(All<Projectile>().size(), 3u);
    const float side = std::sqrt(15.0f * 15.0f + 32.0f * 32.0f);
    const float x = small->position.x;
    const float y = small->position.y + 32;
    const std::string path = "Data/Enemies/Small/Projectile";
    ExpectShot(0, path, 300, { -15 / side, 32 / side }, x, y);
    ExpectShot(1, path, 300, { 0, 1 }, x, y);
    ExpectShot(2, path, 300, { 15 / side, 32 / side }, x, y);
    EXPECT_EQ(Played("Data/Enemies/Small/Attack.wav"), 1);
    EXPECT_EQ(small->fireInterval, static_cast<uint32_t>(Drawn(draws, 200, 501)));
}

TEST_F(EnemyTest, ABigEnemyAimsFromItsCentreAndFiresDownWhenThePlayerIsOnIt)
{
    auto* big = Spawn<EnemyBig>(); // at (800, 70)
    Random draws = Reseed();
    gameTime = 1050;
    big->Fire();
    EXPECT_TRUE(All<Projectile>().empty());
    EXPECT_EQ(big->fireInterval, static_cast<uint32_t>(Drawn(draws, 300, 1201)));

    player->position = { 770, 110 };
    gameTime = 1050 + big->fireInterval;
    big->Fire();
    ExpectShot(0, "Data/Enemies/Big/Projectile", 800, { -0.6f, 0.8f }, 800, 102);
    EXPECT_EQ(big->fireInterval, static_cast<uint32_t>(Drawn(draws, 300, 1201)));
    EXPECT_EQ(Played("Data/Enemies/Big/Attack.wav"), 1);

    player->position = big->position;
    gameTime += big->fireInterval;
    big->Fire();
    ExpectShot(1, "Data/Enemies/Big/Projectile", 800, { 0, 1 }, 800, 102);
}

TEST_F(EnemyTest, NoEnemyFiresOrDrawsOnceThePlayerIsGone)
{
    const std::vector<Enemy*> enemies { Spawn<EnemySmall>(), Spawn<EnemyMedium>(),
        Spawn<EnemyBig>() };
    play->player = nullptr;
    Random draws = Reseed();
    gameTime = 5000;
    for (Enemy* enemy : enemies) {
        enemy->Fire();
        EXPECT_EQ(enemy->lastFireCheck, 0u);
    }
    EXPECT_TRUE(All<Projectile>().empty());
    EXPECT_EQ(rng::rand(), draws.Next());
}

TEST_F(EnemyTest, ABigEnemyRushesFor500msWhileThePlayerIsWithin200Pixels)
{
    auto* big = Spawn<EnemyBig>();
    const auto headLeftFrom600 = [big] {
        big->SetPosition({ 600, 70 });
        big->target = { 100, 70 };
    };
    headLeftFrom600();
    player->position.x = 399;
    Step();
    EXPECT_FALSE(big->rushing);
    ExpectAt(big->velocity, -0.8f, 0);

    headLeftFrom600();
    player->position.x = 400;
    Step();
    const uint32_t rushStart = gameTime;
    ExpectAt(big->velocity, -9.6f, 0);
    gameTime = rushStart + 499;
    TickTimers();
    EXPECT_TRUE(big->rushing);
    gameTime = rushStart + 500;
    TickTimers();
    EXPECT_FALSE(big->rushing);

    // Still in reach: a new rush on the next step, which runs out after the player's end.
    Step();
    EXPECT_TRUE(big->rushing);
    const uint32_t secondRush = gameTime;
    play->player = nullptr;
    Step();
    EXPECT_NEAR(Length(big->velocity), 9.6f, 1e-4f);
    gameTime = secondRush + 500;
    TickTimers();
    Step(3);
    EXPECT_FALSE(big->rushing);
    EXPECT_NEAR(Length(big->velocity), 0.8f, 1e-4f);
}

TEST_F(EnemyTest, EachKindDiesWithItsScoreLabelShakeExplosionDebrisAndSound)
{
    struct Death {
        Enemy* enemy;
        uint32_t points;
        float shake;
        uint32_t shakeMs;
        std::string explosion;
        float debrisSpeedScale;
        std::string kind;
        size_t pieces; // 0: drawn
    };
    auto* big = Spawn<EnemyBig>();
    player->position.x = 700;
    Step(); // in reach: the rush timer runs
    ASSERT_TRUE(big->rushing);
    Timer* rush = big->rushTimer;
    Sprite* bigSprite = big->sprite;
    const std::vector<Death> deaths {
        { Spawn<EnemySmall>(), 3, 4, 300, "Data/Enemies/Small/Explosion", 0.75f, "Small", 24 },
        { big, 2, 10, 600, "Data/Enemies/Big/Explosion", 0.5f, "Big", 67 },
        { Spawn<EnemyMedium>(), 1, 5, 400, "Data/Player/Explosion", 0.5f, "Medium", 0 },
    };
    uint32_t score = 0;
    for (size_t i = 0; i < deaths.size(); ++i) {
        const Death& death = deaths[i];
        SCOPED_TRACE(death.kind);
        const auto debrisBefore = All<Debris>().size();
        Random draws = Reseed();
        death.enemy->Die();
        score += death.points;
        EXPECT_EQ(play->score, score);
        EXPECT_EQ(All<FlyingText>()[i]->label->text, "Score: + " + std::to_string(death.points));
        const ShakeEntry& shake = driver.game->renderer->shakes.at(i);
        EXPECT_EQ(shake.magnitude, death.shake);
        EXPECT_EQ(shake.duration, death.shakeMs);
        const Explosion* explosion = All<Explosion>().at(i);
        EXPECT_TRUE(Shows(explosion->sprite, death.explosion));
        EXPECT_EQ(explosion->debrisSpeedScale, death.debrisSpeedScale);
        EXPECT_EQ(Played("Data/Enemies/" + death.kind + "/Death.wav"), 1);
        size_t pieces = death.pieces;
        if (pieces == 0) {
            // Seven small images of 0 to 2 pieces each, then 2 to 8 tiny ones, drawn in order.
            const std::vector<DebrisSpec>& entries = explosion->debrisSpecs;
            ASSERT_EQ(entries.size(), 8u);
            EXPECT_EQ(entries[6].path, "Data/Player/Debris/Small/7");
            EXPECT_EQ(entries[7].path, "Data/Player/Debris/Tiny/1");
            for (const DebrisSpec& entry : entries) {
                const bool tiny = &entry == &entries.back();
                const auto count
                    = static_cast<uint32_t>(tiny ? Drawn(draws, 2, 7) : Drawn(draws, 0, 3));
                EXPECT_EQ(entry.count, count) << entry.path;
                pieces += count;
            }
        }
        EXPECT_EQ(All<Debris>().size() - debrisBefore, pieces);
    }
    Step();
    EXPECT_TRUE(rush->dead);
    EXPECT_TRUE(bigSprite->dead);
}

TEST_F(EnemyTest, TheLabelMarksTheSimulatedPlaceAndTheExplosionTheDrawnOne)
{
    auto* small = Spawn<EnemySmall>();
    Step(2);
    world->Render(0.0f, 0.5f);
    const Vec2 drawn = small->sprite->position;
    ASSERT_GT(Length({ drawn.x - small->position.x, drawn.y - small->position.y }), 1.0f);
    small->Die();
    ExpectAt(All<FlyingText>()[0]->position, small->position.x, small->position.y);
    ExpectAt(All<Explosion>()[0]->sprite->position, drawn.x, drawn.y);

    // One destroyed before it was ever drawn explodes where it was placed.
    auto* medium = Spawn<EnemyMedium>();
    medium->Die();
    ExpectAt(All<Explosion>()[1]->sprite->position, medium->position.x, 70);
}

TEST_F(EnemyTest, AnEnemyHitTwiceInOneStepScoresAndExplodesOnce)
{
    auto* medium = Spawn<EnemyMedium>();
    for (int shot = 0; shot < 2; ++shot)
        Projectile::Launch(
            *world, "Data/Player/Projectile", 0, TypeEnemy, { 0, -1 }, medium->position);
    Step();
    EXPECT_TRUE(medium->dead);
    // A shot and the ship in one step: whoever calls second finds it already destroyed.
    auto* small = Spawn<EnemySmall>();
    small->Die();
    small->Die();
    EXPECT_EQ(play->score, 4u);
    EXPECT_EQ(All<FlyingText>().size(), 2u);
    EXPECT_EQ(All<Explosion>().size(), 2u);
    EXPECT_EQ(driver.game->renderer->shakes.size(), 2u);
    EXPECT_EQ(Played("Data/Enemies/Medium/Death.wav"), 1);
    EXPECT_EQ(Played("Data/Enemies/Small/Death.wav"), 1);
}

// The spawner's table is the game's one list of kinds, which the tools and tests read: every
// row's description is whole, known by an id of its own, its files are in the data set, and
// the row makes an enemy of that very kind.
TEST_F(EnemyTest, EveryKindInTheSpawnersTableIsWholeAndKnownByItsOwnId)
{
    const auto isImage = [](std::string_view path) {
        return std::any_of(std::begin(imageAssets), std::end(imageAssets),
            [path](const ImageAsset& image) { return image.path == path; });
    };
    const auto isSound = [](std::string_view path) {
        return std::any_of(std::begin(soundAssets), std::end(soundAssets),
            [path](const SoundAsset& sound) { return sound.path == path; });
    };
    std::set<std::string> ids;
    for (const EnemySpawn& row : EnemySpawn::Table()) {
        ASSERT_NE(row.kind, nullptr) << "a row without its kind's description";
        const EnemyKind& kind = *row.kind;
        SCOPED_TRACE(kind.id != nullptr  ? kind.id
                : kind.sprite != nullptr ? kind.sprite
                                         : "a kind without id or sprite");
        ASSERT_NE(kind.id, nullptr);
        EXPECT_TRUE(ids.insert(kind.id).second) << "two kinds share the id";
        EXPECT_GT(row.share, 0);
        EXPECT_GT(kind.speed, 0.0f);
        EXPECT_GT(kind.scoreValue, 0u);
        EXPECT_TRUE(kind.sprite != nullptr && isImage(kind.sprite));
        EXPECT_TRUE(kind.explosion != nullptr && isImage(kind.explosion));
        EXPECT_TRUE(kind.deathSound != nullptr && isSound(kind.deathSound));
        EXPECT_FALSE(kind.debris.empty());
        for (const DebrisDraw& draw : kind.debris)
            EXPECT_TRUE(isImage(draw.path)) << draw.path;
        // A kind fires exactly when its volley throws shots, and then names what it throws.
        const bool fires = kind.fire.redraw != FireRule::Redraw::Never;
        EXPECT_EQ(fires, kind.volley.shots > 0);
        if (fires) {
            EXPECT_GT(kind.volley.shotSpeed, 0.0f);
            EXPECT_TRUE(kind.volley.projectile != nullptr && isImage(kind.volley.projectile));
            EXPECT_TRUE(kind.volley.attackSound != nullptr && isSound(kind.volley.attackSound));
        }
        const Enemy* made = row.make(*world);
        ASSERT_NE(made, nullptr);
        EXPECT_EQ(made->kind, row.kind) << "the row makes another kind";
    }
}

} // namespace
