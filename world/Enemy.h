#pragma once

#include "world/Ship.h"

#include <cstdint>

// The base of the three enemy ships: they steer toward a target point at their own speed,
// run a timed fire check every step, die from one hit and award their points when they do.
class Enemy : public Ship {
public:
    // Scoring: a rising "Score: + N" label at the enemy's position, `dead`, and the points
    // added to the play mode's score. Each type calls this first, then makes its explosion.
    virtual void Die();
    // The type's fire check with its shot pattern.
    virtual void Fire() = 0;

    float speed = 0.0f; // px/s
    uint32_t scoreValue = 0;
    Vec2 target;
    uint32_t fireInterval = 0; // ms between two passes of the fire check
    uint32_t spawnTime = 0;    // gameTime at construction
    uint32_t lastFireCheck = 0;

protected:
    // Sets position, previousPosition and target to `p`: a placed enemy starts at rest.
    void PlaceAt(const Vec2& p);
    // One steering step toward `target` at `speed` times `speedFactor`; on arrival asks
    // ChooseTarget for a new one. Ends with Fire().
    void Steer(float dt, float speedFactor = 1.0f);
    // The type's rule for a new target on arrival.
    virtual void ChooseTarget() = 0;
    // x = R + rand() % (801 - 2R), R the radius truncated: a column inside the window.
    int RandomColumn() const;
    // Steps 1 to 3 of the fire check: whether the interval has passed and a player is there.
    bool FireCheckDue() const;
    // Whether more than 100 ms have passed since construction.
    bool OldEnoughToFire() const;
};
