#include "world/Explosion.h"
#include "world/Debris.h"

#include "world/ObjectFrames.h"

#include <gtest/gtest.h>

namespace {

const char* const tinyBit = "Data/Player/Debris/Tiny/1"; // 6 by 6 frames

using ExplosionTest = ObjectFrames;

TEST_F(ExplosionTest, BurstDrawsEachPieceThenItsSpeedThenTheAngle)
{
    // Seed 1 answers 41, 18467, 6334, 26500, 19169, 15724, ...; the 19th draw is 4827.
    auto* explosion = world->Create<Explosion>();
    explosion->debrisSpeedScale = 0.5f; // speeds 25 to 200
    explosion->sprite = renderer->AddSprite("Data/Player/Explosion", 4);
    explosion->AddDebris(tinyBit, 2);
    explosion->AddDebris("Data/Player/Debris/Small/1", 0);
    explosion->AddDebris(tinyBit, 1);
    explosion->SetPosition({ 300, 200 });
    explosion->SpawnDebris();

    ASSERT_EQ(world->objects.size(), 4u);
    auto* first = static_cast<Debris*>(world->objects[1]);
    EXPECT_FLOAT_EQ(first->direction.x, -0.18f);
    EXPECT_FLOAT_EQ(first->direction.y, 0.7f);
    EXPECT_EQ(first->previousAngle, 197.0f);
    EXPECT_FALSE(first->spinClockwise);
    EXPECT_EQ(first->fadeTimer->fireTime, 5166u);
    EXPECT_EQ(first->speed, 85.0f);
    EXPECT_EQ(first->radius, 3.0f);
    EXPECT_EQ(first->previousPosition.y, 200.0f);
    EXPECT_EQ(static_cast<Debris*>(world->objects[2])->speed, 186.0f);
    // The empty entry drew nothing, so the third piece holds draws 13 to 18.
    auto* third = static_cast<Debris*>(world->objects[3]);
    EXPECT_TRUE(third->spinClockwise);
    EXPECT_EQ(third->speed, 175.0f);
    EXPECT_EQ(explosion->sprite->angle, 134.0f);
    EXPECT_EQ(renderer->spriteLayers[4].size(), 4u);
}

TEST_F(ExplosionTest, EndsTheStepAfterItsAnimationStops)
{
    auto* explosion = world->Create<Explosion>();
    explosion->sprite = renderer->AddSprite("Data/Player/Explosion", 4);
    explosion->sprite->visible = false;
    explosion->SetPosition({ 300, 200 });
    explosion->SpawnDebris();
    EXPECT_EQ(world->objects.size(), 1u);
    EXPECT_TRUE(explosion->sprite->visible);
    EXPECT_EQ(explosion->sprite->position.x, 300.0f);

    for (int frame = 0; frame < 100 && explosion->sprite->playing; ++frame) {
        Frame(32);
        ASSERT_FALSE(explosion->dead);
    }
    ASSERT_FALSE(explosion->sprite->playing);
    EXPECT_EQ(explosion->sprite->frameIndex, explosion->sprite->animation->frames.size() - 1);
    Frame(32);
    EXPECT_TRUE(explosion->dead);
    Frame(32);
    EXPECT_TRUE(world->objects.empty());
    EXPECT_TRUE(renderer->spriteLayers[4].empty());
}

TEST_F(ExplosionTest, AnImageWithoutFramesDoesNotKeepTheExplosionForever)
{
    auto* explosion = world->Create<Explosion>();
    explosion->sprite = renderer->AddSprite("Data/NoSuchImage", 4);
    explosion->SpawnDebris();
    Frame(32);
    EXPECT_TRUE(explosion->dead);
}

TEST_F(ExplosionTest, DebrisSlowsSpinsAndWrapsOnlyUpwards)
{
    auto* spinner = world->Create<Debris>();
    spinner->sprite = renderer->AddSprite(tinyBit, 4);
    spinner->SetPosition({ 100, 100 });
    spinner->direction = { 1, 0 };
    spinner->speed = 100;
    spinner->spinClockwise = true;
    spinner->angle = spinner->previousAngle = 350;
    auto* backwards = world->Create<Debris>();
    backwards->speed = 100;
    backwards->spinClockwise = false;
    backwards->angle = backwards->previousAngle = 5;

    world->Update(0.032f);
    EXPECT_NEAR(spinner->speed, 99.04f, 1e-4f);
    EXPECT_NEAR(spinner->position.x, 103.16928f, 1e-4f);
    EXPECT_NEAR(spinner->angle, 362.67712f, 1e-3f);
    world->Render(0.016f, 0.5f);
    EXPECT_NEAR(spinner->sprite->position.x, 101.58464f, 1e-4f);
    EXPECT_NEAR(spinner->sprite->angle, 356.33856f, 1e-3f);
    world->Render(0.016f, 1.0f);
    EXPECT_NEAR(spinner->sprite->angle, 2.67712f, 1e-3f);

    // Both past a whole turn: both wrap, so the drawing never swings back.
    world->Update(0.032f);
    EXPECT_LT(spinner->previousAngle, 360.0f);
    EXPECT_NEAR(spinner->previousAngle, 2.67712f, 1e-3f);
    for (int step = 0; step < 20; ++step)
        world->Update(0.032f);
    EXPECT_LT(backwards->angle, -200.0f);
}

TEST_F(ExplosionTest, DebrisFadesOnlyAfterItsDelayAndLeavesAtOpacityZero)
{
    auto* piece = world->Create<Debris>();
    piece->sprite = renderer->AddSprite(tinyBit, 4);
    // However slow it has become, it stays opaque until its delay is up.
    Frame(piece->fadeTimer->fireTime - 1);
    EXPECT_EQ(piece->sprite->opacity, 255);
    Frame(1);
    // Rendered 0, 500, 996 and 997 ms into the fade.
    EXPECT_EQ(piece->sprite->opacity, 255);
    Frame(500);
    EXPECT_EQ(piece->sprite->opacity, 127);
    Frame(496);
    EXPECT_EQ(piece->sprite->opacity, 1);
    EXPECT_FALSE(piece->dead);
    Frame(1);
    EXPECT_TRUE(piece->dead);
    EXPECT_EQ(piece->sprite->opacity, 1);
    Frame(32);
    EXPECT_TRUE(world->objects.empty());
    EXPECT_TRUE(renderer->spriteLayers[4].empty());
}

} // namespace
