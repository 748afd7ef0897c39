#pragma once

// The keys a scripted player holds down, sending a key event only when one changes, and the
// enemy such a player would look at first.

#include "base/Vec2.h"
#include "world/Enemy.h"
#include "world/World.h"

#include "support/GameDriver.h"

#include <SDL.h>

#include <cmath>
#include <set>

class HeldKeys {
public:
    void Hold(SDL_Scancode key, bool down)
    {
        if (down == held.contains(key))
            return;
        GameDriver::Push(down ? SDL_KEYDOWN : SDL_KEYUP, key);
        if (down)
            held.insert(key);
        else
            held.erase(key);
    }

    // Holds the arrows that move toward an offset of (dx, dy); within 4 px an axis rests.
    void Steer(float dx, float dy)
    {
        Hold(SDL_SCANCODE_LEFT, dx < -4.0f);
        Hold(SDL_SCANCODE_RIGHT, dx > 4.0f);
        Hold(SDL_SCANCODE_UP, dy < -4.0f);
        Hold(SDL_SCANCODE_DOWN, dy > 4.0f);
    }

    void ReleaseAll()
    {
        for (SDL_Scancode key : held)
            GameDriver::Push(SDL_KEYUP, key);
        held.clear();
    }

private:
    std::set<SDL_Scancode> held;
};

// The live enemy nearest to `from`, or null when there is none.
inline const Enemy* NearestEnemy(const World& world, const Vec2& from)
{
    const Enemy* nearest = nullptr;
    float best = 0.0f;
    for (const Object* object : world.objects) {
        const auto* enemy = dynamic_cast<const Enemy*>(object);
        if (enemy == nullptr || enemy->dead)
            continue;
        const float distance = std::hypot(enemy->position.x - from.x, enemy->position.y - from.y);
        if (nearest == nullptr || distance < best) {
            nearest = enemy;
            best = distance;
        }
    }
    return nearest;
}
