#pragma once

#include "world/Ship.h"

#include <cstdint>

// The ship the player flies: steered with inertia inside the window, firing at most every
// 200 ms, carrying up to three shields that each absorb one hit, collecting shield pickups,
// and destroyed by a hit without a shield or by ramming an enemy.
class Player : public Ship {
public:
    static constexpr uint32_t fireIntervalMs = 200;
    static constexpr uint32_t maxShields = 3;

    // Adds the ship and shield sprites through the world's renderer; starts at (400, 550).
    explicit Player(World* owner);
    // Marks both sprites dead.
    ~Player() override;

    // Steering with inertia, kept inside the window.
    void Update(float dt) override;
    // Places the ship and the shield between the last two step positions.
    void Render(float frameSeconds, float alpha) override;
    // Ramming an enemy; collecting a shield pickup.
    void OnCollision(Object* other) override;

    // Fires a shot if 200 ms have passed since the last one.
    void Fire();
    // One hit: uses up a shield, or destroys the player when none is left.
    void TakeHit();

    Sprite* shieldSprite = nullptr;
    float thrust = 0.0f;
    uint32_t lastFireTime = 0;
    uint32_t shields = 0;
};
