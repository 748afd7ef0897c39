#include "world/Debris.h"

#include "base/Clock.h"
#include "base/Random.h"
#include "base/Timer.h"
#include "render/Sprite.h"
#include "world/Ship.h"

#include <cstdint>

namespace {
constexpr float slowDownPerSecond = 0.3f; // share of the speed lost per second
constexpr float spinPerSpeed = 4.0f;      // degrees per second for each px/s of speed

// -1 to 1 in steps of 0.02.
float RandomComponent()
{
    return static_cast<float>(rng::rand() % 101) / 100.0f * 2.0f - 1.0f;
}
} // namespace

Debris::Debris()
{
    direction.x = RandomComponent();
    direction.y = RandomComponent();
    angle = static_cast<float>(rng::rand() % 361);
    previousAngle = angle;
    fade.from = 255.0f;
    fade.to = 0.0f;
    spinClockwise = rng::rand() % 101 >= 50;
    fadeTimer = CreateTimer();
    const auto delay = static_cast<uint32_t>(1000 + rng::rand() % 5001);
    fadeTimer->Start([this] { StartFade(); }, delay, false);
}

Debris::~Debris()
{
    fadeTimer->dead = true;
    if (sprite != nullptr)
        sprite->dead = true;
}

void Debris::Update(float dt)
{
    speed -= speed * slowDownPerSecond * dt;

    previousPosition = position;
    position.x += direction.x * speed * dt;
    position.y += direction.y * speed * dt;

    previousAngle = angle;
    const float turn = speed * spinPerSpeed * dt;
    if (spinClockwise)
        angle += turn;
    else
        angle -= turn;
    // Both angles move together so the drawing between them never swings a whole turn back.
    // A piece spinning the other way is never wrapped; rotation does not care.
    if (angle >= 360.0f && previousAngle >= 360.0f) {
        angle -= 360.0f;
        previousAngle -= 360.0f;
    }
}

void Debris::Render(float, float alpha)
{
    if (sprite == nullptr)
        return;
    sprite->position = Interpolate(previousPosition, position, alpha);
    float drawn = previousAngle * (1.0f - alpha) + angle * alpha;
    if (drawn >= 360.0f)
        drawn -= 360.0f;
    sprite->angle = drawn;

    const auto opacity = static_cast<uint32_t>(fade.Value());
    if (opacity != 0)
        sprite->opacity = static_cast<int>(opacity);
    else
        dead = true;
}

void Debris::SetPosition(const Vec2& p)
{
    position = p;
    previousPosition = p;
}

void Debris::StartFade()
{
    fade.startTime = gameTime;
    fade.endTime = gameTime + fadeMs;
    fade.active = true;
}
