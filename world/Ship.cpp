#include "world/Ship.h"

#include "render/Sprite.h"

Ship::~Ship()
{
    if (sprite != nullptr)
        sprite->dead = true;
}

void Ship::Render(float, float alpha)
{
    if (sprite != nullptr)
        sprite->position = Interpolate(previousPosition, position, alpha);
}

void Ship::SetPosition(const Vec2& p)
{
    position = p;
    previousPosition = p;
}

void Ship::SetGameMode(GameMode* mode)
{
    gameMode = mode;
}

Vec2 Interpolate(const Vec2& previous, const Vec2& current, float alpha)
{
    return Vec2 { previous.x * (1.0f - alpha) + current.x * alpha,
        previous.y * (1.0f - alpha) + current.y * alpha };
}
