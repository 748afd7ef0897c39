#pragma once

#include "world/Object.h"

#include <cstdint>
#include <string>

struct Sprite;
struct Timer;

// Every shot of the game, the player's and the enemies'. It flies straight at a constant
// speed, hurts whatever its mask names on contact and ends itself after five seconds of
// gameTime. The shooter gives it its picture, speed, mask, direction and start point.
class Projectile : public Object {
public:
    static constexpr uint32_t lifetimeMs = 5000;

    // Type TypeProjectile, mask 0; the lifetime timer starts now.
    Projectile();
    // Marks the lifetime timer and the sprite dead.
    ~Projectile() override;

    // Creates a shot in `world` the way every shooter does: the sprite of `path` on layer 4
    // and the radius of its frames, then `speed` (px/s), `mask`, the unit `heading` and the
    // placement at `start`.
    static Projectile* Launch(World& world, const std::string& path, float speed, uint32_t mask,
        const Vec2& heading, const Vec2& start);

    void Update(float dt) override;
    void Render(float frameSeconds, float alpha) override;
    // The player takes a hit, an enemy dies; the shot dies in every case.
    void OnCollision(Object* other) override;
    void SetPosition(const Vec2& p) override;

    Vec2 previousPosition;
    Vec2 direction;
    Timer* lifetimeTimer = nullptr;
    Sprite* sprite = nullptr;
    float speed = 0.0f;
};
