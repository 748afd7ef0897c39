#include "world/ShieldPickup.h"

#include "world/ObjectFrames.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using ShieldPickupTest = ObjectFrames;

TEST_F(ShieldPickupTest, BobsUpAndDownAboutItsHomeOnly)
{
    // The first draw of seed 96 is 49 (down first), of seed 220 it is 50 (up first).
    for (const auto& [seed, firstStepY] :
        { std::pair { 96u, 0.32f }, std::pair { 220u, -0.32f } }) {
        rng::srand(seed);
        auto* pickup = world->Create<ShieldPickup>(world);
        pickup->SetPosition({ 400, 450 });
        world->Update(0.032f);
        EXPECT_NEAR(pickup->position.y - 450, firstStepY, 1e-4f) << seed;
        float lowest = 450, highest = 450;
        for (int step = 0; step < 100; ++step) {
            world->Update(0.032f);
            lowest = std::min(lowest, pickup->position.y);
            highest = std::max(highest, pickup->position.y);
            ASSERT_EQ(pickup->position.x, 400.0f);
        }
        // It turns back once a little over 3 px away, and goes both ways.
        EXPECT_LT(lowest, 447.0f) << seed;
        EXPECT_GE(lowest, 446.67f) << seed;
        EXPECT_GT(highest, 453.0f) << seed;
        EXPECT_LE(highest, 453.33f) << seed;
        world->Clear();
    }
}

TEST_F(ShieldPickupTest, HoversThirteenSecondsFadesTwoAndLeavesAfterTheLastFrame)
{
    auto* pickup = world->Create<ShieldPickup>(world);
    pickup->SetPosition({ 400, 450 });
    RunUntil(13000, 40);
    // Still animating after far more steps than its frames: the animation loops.
    EXPECT_TRUE(pickup->sprite->playing);
    EXPECT_EQ(pickup->sprite->opacity, 255);
    Frame(1000);
    EXPECT_EQ(pickup->sprite->opacity, 127);
    Frame(960);
    EXPECT_EQ(pickup->sprite->opacity, 5);
    EXPECT_FALSE(pickup->dead);
    Frame(40);
    EXPECT_TRUE(pickup->dead);
    EXPECT_EQ(pickup->sprite->opacity, 5);
    Frame(40);
    EXPECT_TRUE(world->objects.empty());
    EXPECT_TRUE(renderer->spriteLayers[4].empty());
}

} // namespace
