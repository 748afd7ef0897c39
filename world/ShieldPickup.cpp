#include "world/ShieldPickup.h"

#include "base/Clock.h"
#include "base/Random.h"
#include "base/Timer.h"
#include "render/Renderer.h"
#include "render/Sprite.h"
#include "world/Ship.h"
#include "world/World.h"

#include <cmath>

namespace {
constexpr float bobSpeed = 10.0f; // px/s
constexpr float bobReach = 3.0f;  // px from home before turning back
} // namespace

ShieldPickup::ShieldPickup(World* owner)
{
    collisionType = TypePickup;
    sprite = owner->renderer->AddSprite("Data/ShieldPickup", 4);
    sprite->looping = true;
    sprite->playing = true;
    radius = RadiusOfFrames(sprite);
    velocity = (rng::rand() % 101 < 50) ? Vec2 { 0.0f, 1.0f } : Vec2 { 0.0f, -1.0f };
    fade.from = 255.0f;
    fade.to = 0.0f;
    lifetimeTimer = CreateTimer();
    lifetimeTimer->Start([this] { StartFadeOut(); }, hoverMs, false);
}

ShieldPickup::~ShieldPickup()
{
    lifetimeTimer->dead = true;
    sprite->dead = true;
}

void ShieldPickup::Update(float dt)
{
    const float dx = position.x - home.x;
    const float dy = position.y - home.y;
    const auto distance = static_cast<float>(std::sqrt(static_cast<double>(dx * dx + dy * dy)));
    if (distance > bobReach)
        velocity.y = -velocity.y;
    previousPosition = position;
    position.x += velocity.x * bobSpeed * dt;
    position.y += velocity.y * bobSpeed * dt;
}

void ShieldPickup::Render(float, float alpha)
{
    sprite->position = Interpolate(previousPosition, position, alpha);
    const auto opacity = static_cast<uint32_t>(fade.Value());
    // The pickup ends here, not in Update: it is removed at the step after the first frame
    // that would draw it fully transparent.
    if (opacity != 0)
        sprite->opacity = static_cast<int>(opacity);
    else
        dead = true;
}

void ShieldPickup::SetPosition(const Vec2& p)
{
    position = p;
    previousPosition = p;
    home = p;
    // A pickup collected in the step that created it is never placed by Render, yet its
    // sprite is drawn once more: it must be drawn here, not at (0, 0).
    sprite->position = p;
}

void ShieldPickup::StartFadeOut()
{
    fade.startTime = gameTime;
    fade.endTime = gameTime + fadeMs;
    fade.active = true;
}
