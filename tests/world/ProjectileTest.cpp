#include "world/Projectile.h"
#include "world/Debris.h"
#include "world/Enemy.h"
#include "world/Explosion.h"
#include "world/FlyingText.h"
#include "world/ShieldPickup.h"

#include "modes/PlayFixture.h"
#include "render/Sprite.h"
#include "world/ObjectFrames.h"

#include <gtest/gtest.h>

#include <functional>
#include <utility>

namespace {

const char* const playerShot = "Data/Player/Projectile"; // 12 by 30 frames

// An enemy that only counts how often it is destroyed.
const EnemyKind targetKind { .sprite = playerShot };
class TargetEnemy : public Enemy {
public:
    explicit TargetEnemy(World* owner)
        : Enemy(owner, targetKind)
    {
    }
    void Die() override
    {
        ++deaths;
        dead = true;
    }
    int deaths = 0;
};

TargetEnemy* PlaceTarget(World& world, Vec2 at)
{
    auto* enemy = world.Create<TargetEnemy>(&world);
    enemy->radius = 20;
    enemy->SetPosition(at);
    return enemy;
}

using ProjectileTest = ObjectFrames;

TEST_F(ProjectileTest, FliesFromItsStartAndIsDrawnBetweenSteps)
{
    Projectile* shot
        = Projectile::Launch(*world, playerShot, 800, TypeEnemy, { 0, -1 }, { 400, 500 });
    EXPECT_EQ(shot->radius, 15.0f);
    ASSERT_EQ(renderer->spriteLayers[4].size(), 1u);
    EXPECT_EQ(renderer->spriteLayers[4][0], shot->sprite);
    Frame(16); // no step yet: drawn at the start, not slid from (0, 0)
    EXPECT_EQ(shot->sprite->position.x, 400.0f);
    EXPECT_EQ(shot->sprite->position.y, 500.0f);
    Frame(16);
    EXPECT_NEAR(shot->position.y, 474.4f, 1e-3f);
    Frame(16);
    EXPECT_NEAR(shot->sprite->position.y, 487.2f, 1e-3f);
    EXPECT_EQ(shot->sprite->position.x, 400.0f);
}

TEST_F(ProjectileTest, EndsAfterFiveSecondsOfGameTime)
{
    Projectile* shot
        = Projectile::Launch(*world, playerShot, 800, TypeEnemy, { 0, -1 }, { 400, 500 });
    RunUntil(2000, 40);
    for (int paused = 0; paused < 50; ++paused)
        Frame(0);
    RunUntil(4960, 40);
    EXPECT_FALSE(shot->dead);
    // At 5000 the timer ends the shot and the same frame's step deletes it, so the shot is
    // looked for in the world, not through its pointer.
    Frame(40);
    EXPECT_TRUE(world->objects.empty());
    Frame(40);
    EXPECT_TRUE(renderer->spriteLayers[4].empty());
    TickTimers();
    EXPECT_TRUE(timers.empty());
}

TEST_F(ProjectileTest, DestroysEveryEnemyItTouchesInOneStepButEachOnlyOnce)
{
    TargetEnemy* left = PlaceTarget(*world, { 390, 300 });
    TargetEnemy* right = PlaceTarget(*world, { 410, 300 });
    Projectile* shot
        = Projectile::Launch(*world, playerShot, 0, TypeEnemy, { 0, -1 }, { 400, 300 });
    Projectile* second
        = Projectile::Launch(*world, playerShot, 0, TypeEnemy, { 0, -1 }, { 405, 300 });
    world->Update(0.032f);
    EXPECT_EQ(left->deaths, 1);
    EXPECT_EQ(right->deaths, 1);
    EXPECT_TRUE(shot->dead);
    EXPECT_TRUE(second->dead);
}

TEST_F(ProjectileTest, PassesThroughEverythingItsMaskDoesNotName)
{
    // A player shot among everything but enemies; an enemy shot on an enemy.
    const Vec2 here { 400, 300 };
    const Vec2 there { 400, 100 };
    auto* pickup = world->Create<ShieldPickup>(world);
    pickup->SetPosition(here);
    world->Create<Debris>()->SetPosition(here);
    world->Create<Explosion>()->SetPosition(here);
    world->Create<FlyingText>(world)->SetPosition(here);
    Projectile* enemyShot = Projectile::Launch(*world, playerShot, 0, TypePlayer, { 0, 1 }, here);
    Projectile* shot = Projectile::Launch(*world, playerShot, 0, TypeEnemy, { 0, -1 }, here);
    TargetEnemy* enemy = PlaceTarget(*world, there);
    Projectile* shotAtEnemy
        = Projectile::Launch(*world, playerShot, 0, TypePlayer, { 0, 1 }, there);
    world->Update(0.032f);
    EXPECT_FALSE(shot->dead);
    EXPECT_FALSE(enemyShot->dead);
    EXPECT_FALSE(pickup->dead);
    EXPECT_FALSE(shotAtEnemy->dead);
    EXPECT_EQ(enemy->deaths, 0);
}

using ProjectileInPlay = PlayFixture;

TEST_F(ProjectileInPlay, AnEnemyShotCostsThePlayerAShield)
{
    player().shields = 1;
    Projectile* shot = Projectile::Launch(
        world(), "Data/Enemies/Small/Projectile", 300, TypePlayer, { 0, 1 }, player().position);
    world().Update(0.032f);
    EXPECT_EQ(player().shields, 0u);
    EXPECT_FALSE(player().dead);
    EXPECT_TRUE(shot->dead);
}

TEST_F(ProjectileInPlay, AShotOrPickupGoneInItsFirstStepIsDrawnWhereItWasPlaced)
{
    // Each lands on the ship and is used up in its first step, so Render never places it; the
    // frame still draws its sprite once, which must not flash in the window's corner.
    struct Case {
        const char* what;
        std::function<std::pair<Object*, Sprite*>(const Vec2&)> make;
    };
    const Case cases[] = {
        { "point-blank enemy shot",
            [this](const Vec2& at) {
                Projectile* shot = Projectile::Launch(
                    world(), "Data/Enemies/Small/Projectile", 300, TypePlayer, { 0, 1 }, at);
                return std::pair<Object*, Sprite*> { shot, shot->sprite };
            } },
        { "pickup under the ship",
            [this](const Vec2& at) {
                auto* pickup = world().Create<ShieldPickup>(&world());
                pickup->SetPosition(at);
                return std::pair<Object*, Sprite*> { pickup, pickup->sprite };
            } },
    };
    for (const Case& c : cases) {
        player().shields = 1; // a hit costs the shield, not the ship
        const Vec2 at = player().position;
        const auto [object, sprite] = c.make(at);
        driver.Frame(32);
        ASSERT_TRUE(object->dead) << c.what;
        ASSERT_FALSE(sprite->dead) << c.what; // drawn in this frame
        EXPECT_EQ(sprite->position.x, at.x) << c.what;
        EXPECT_EQ(sprite->position.y, at.y) << c.what;
        driver.Frame(32);
    }
}

} // namespace
