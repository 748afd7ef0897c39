#pragma once

// A real game gone straight to play at gameTime 0, with helpers to look into the world.

#include "modes/GameMode.h"
#include "world/Player.h"
#include "world/World.h"

#include "support/GameDriver.h"

#include <gtest/gtest.h>

#include <cstddef>

class PlayFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        driver.game->StartGame();
        ASSERT_NE(driver.Play(), nullptr);
    }

    GameMode& play() const { return *driver.Play(); }
    Player& player() const { return *driver.Play()->player; }
    World& world() const { return *driver.game->world; }

    // Live objects of class T in the world.
    template <class T> std::vector<T*> Live() const
    {
        std::vector<T*> found;
        for (Object* object : world().objects) {
            if (auto* match = dynamic_cast<T*>(object); match != nullptr && !match->dead)
                found.push_back(match);
        }
        return found;
    }

    GameDriver driver;
};
