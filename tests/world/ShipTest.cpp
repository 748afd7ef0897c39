#include "world/Ship.h"
#include "world/World.h"

#include "render/Sprite.h"

#include <gtest/gtest.h>

namespace {

TEST(Ship, PlacesItsSpriteBetweenTheLastTwoSteps)
{
    World world(nullptr);
    Sprite sprite;
    auto* ship = world.Create<Ship>();
    ship->sprite = &sprite;
    EXPECT_EQ(ship->gameMode, nullptr);
    EXPECT_EQ(ship->velocity.x, 0.0f);

    ship->SetPosition({ 100, 200 });
    ship->Render(0.016f, 0.25f);
    // Placement sets both positions, so the first drawing does not slide.
    EXPECT_FLOAT_EQ(sprite.position.x, 100.0f);
    EXPECT_FLOAT_EQ(sprite.position.y, 200.0f);

    ship->position = { 140, 120 };
    ship->Render(0.016f, 0.25f);
    EXPECT_FLOAT_EQ(sprite.position.x, 110.0f);
    EXPECT_FLOAT_EQ(sprite.position.y, 180.0f);
    ship->Render(0.016f, 1.0f);
    EXPECT_FLOAT_EQ(sprite.position.x, 140.0f);

    // Deleting the ship ends its sprite.
    world.Clear();
    EXPECT_TRUE(sprite.dead);
}

} // namespace
