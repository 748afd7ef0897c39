#pragma once

#include "base/Tween.h"
#include "world/Object.h"

struct Sprite;
struct Timer;

// One fragment of an explosion: flies off in a random direction, slows down, spins, and
// after a random delay fades away and ends itself. The explosion adds its sprite, speed,
// radius and position.
class Debris : public Object {
public:
    static constexpr uint32_t fadeMs = 1000;

    // Draws the direction, the angle, the spin and the fade delay, in that order.
    Debris();
    // Marks the fade timer and the sprite dead.
    ~Debris() override;

    void Update(float dt) override;
    void Render(float frameSeconds, float alpha) override;
    void SetPosition(const Vec2& p) override;

    // The fade timer's callback.
    void StartFade();

    Vec2 previousPosition;
    Vec2 direction; // each component -1 to 1 in steps of 0.02, not unit length
    float previousAngle = 0.0f;
    float angle = 0.0f; // degrees
    Sprite* sprite = nullptr;
    float speed = 0.0f; // px/s
    Tween fade;
    Timer* fadeTimer = nullptr;
    bool spinClockwise = false;
};
