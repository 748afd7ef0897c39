#pragma once

#include "world/Object.h"

class GameMode;
struct Sprite;

// The common base of the player and the enemies: a main sprite drawn between the last two
// step positions, a velocity, a steering direction and the play mode it reports to.
class Ship : public Object {
public:
    // Marks the main sprite dead.
    ~Ship() override;

    // Places the sprite at previousPosition * (1 - alpha) + position * alpha.
    void Render(float frameSeconds, float alpha) override;

    // Sets position and previousPosition, so the first drawing does not slide.
    void SetPosition(const Vec2& p) override;

    // Links the ship to the play mode it reports score and shields to.
    virtual void SetGameMode(GameMode* mode);

    Vec2 previousPosition; // position at the start of the current step
    Vec2 direction;        // steering input, each component -1, 0 or +1
    Vec2 velocity;         // pixels per step
    GameMode* gameMode = nullptr;
    Sprite* sprite = nullptr; // layer 3, added by the concrete class
};

// previous * (1 - alpha) + current * alpha, component by component.
Vec2 Interpolate(const Vec2& previous, const Vec2& current, float alpha);
