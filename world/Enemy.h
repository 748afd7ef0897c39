#pragma once

#include "world/Explosion.h"
#include "world/Ship.h"

#include <cstdint>
#include <string>
#include <vector>

// The base of the three enemy ships: they steer toward a target point at their own speed,
// run a timed fire check every step, die from one hit and award their points when they do.
class Enemy : public Ship {
public:
    // How a type of enemy blows up.
    struct Wreck {
        float shakeMagnitude = 0.0f; // px
        uint32_t shakeMs = 0;
        const char* explosionPath = nullptr;
        float debrisSpeedScale = 0.0f;
        const char* deathSound = nullptr;
    };

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
    // Sets position, previousPosition and target to `p`: a placed enemy starts at rest. The
    // sprite goes there too, so an enemy destroyed before it was ever drawn explodes in place.
    void PlaceAt(const Vec2& p);
    // One steering step toward `target` at `speed` times `speedFactor`; on arrival asks
    // ChooseTarget for a new one. Ends with Fire().
    void Steer(float dt, float speedFactor = 1.0f);
    // The type's rule for a new target on arrival.
    virtual void ChooseTarget() = 0;
    // x = R + rand() % (801 - 2R), R the radius truncated: a column inside the window.
    int RandomColumn() const;
    // rand() % range: one draw. A range below 1 counts as 1 (answering 0), so an image wider
    // than its band can never divide by zero.
    static int RandomBelow(int range);
    // Steps 1 to 3 of the fire check: whether the interval has passed and a player is there.
    bool FireCheckDue() const;
    // Whether more than 100 ms have passed since construction.
    bool OldEnoughToFire() const;
    // After the scoring: shakes the screen, leaves an explosion throwing `debris` where the
    // sprite was last drawn, and plays the death sound.
    void Explode(const Wreck& wreck, const std::vector<DebrisSpec>& debris);
    // Plays an effect through the play mode's sound engine.
    void PlayEffect(const std::string& path) const;
};
