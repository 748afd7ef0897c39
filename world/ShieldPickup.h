#pragma once

#include "base/Tween.h"
#include "world/Object.h"

#include <cstdint>

struct Sprite;
struct Timer;

// The collectable that gives the player one more shield: it hovers about its home point,
// bobbing up and down, for 13 s of gameTime, then fades out over 2 s and ends itself.
class ShieldPickup : public Object {
public:
    static constexpr uint32_t hoverMs = 13000;
    static constexpr uint32_t fadeMs = 2000;

    // Adds its sprite through the world's renderer; draws its first bobbing direction.
    explicit ShieldPickup(World* owner);
    // Marks the lifetime timer and the sprite dead.
    ~ShieldPickup() override;

    void Update(float dt) override;
    void Render(float frameSeconds, float alpha) override;
    // Sets position, previousPosition and home.
    void SetPosition(const Vec2& p) override;

    // The lifetime timer's callback: starts the fade-out.
    void StartFadeOut();

    Vec2 home;
    Vec2 previousPosition;
    Vec2 velocity; // x always 0, y +1 or -1, times 10 px/s
    Timer* lifetimeTimer = nullptr;
    Tween fade;
    Sprite* sprite = nullptr;
};
