#include "world/EnemySmall.h"

#include <array>
#include <cmath>

namespace {
// A fan of three: toward 15 px left of and 32 px below the centre, straight down, and
// toward 15 px right of it.
const float fanLength = static_cast<float>(std::sqrt(15.0 * 15.0 + 32.0 * 32.0));
const std::array<Vec2, 3> fan { {
    { -15.0f / fanLength, 32.0f / fanLength },
    { 0.0f, 1.0f },
    { 15.0f / fanLength, 32.0f / fanLength },
} };

} // namespace

const EnemyKind EnemySmall::description { .id = "small",
    .sprite = "Data/Enemies/Small",
    .looping = true,
    .speed = 200.0f,
    .scoreValue = 3,
    .fire = { FireRule::Redraw::EveryPass, 200, 501 },
    .volley = { static_cast<uint32_t>(fan.size()), 300.0f, false, "Data/Enemies/Small/Projectile",
        "Data/Enemies/Small/Attack.wav" },
    .shakeMagnitude = 4.0f,
    .shakeMs = 300,
    .explosion = "Data/Enemies/Small/Explosion",
    .debrisSpeedScale = 0.75f,
    .debris = { { "Data/Enemies/Small/Debris/1", 8 }, { "Data/Enemies/Small/Debris/2", 16 } },
    .deathSound = "Data/Enemies/Small/Death.wav" };

EnemySmall::EnemySmall(World* owner)
    : Enemy(owner, description)
{
    // It starts below the band of its later targets; y is drawn before x.
    const auto r = static_cast<int>(radius);
    const auto y = static_cast<float>(70 + r + RandomBelow(231 - 2 * r));
    const auto x = static_cast<float>(RandomColumn());
    SetPosition({ x, y });
}

void EnemySmall::ChooseTarget()
{
    const auto r = static_cast<int>(radius);
    const auto x = static_cast<float>(RandomColumn());
    const auto y = static_cast<float>(r + RandomBelow(201 - 2 * r));
    target = { x, y };
}

void EnemySmall::Volley()
{
    for (const Vec2& heading : fan)
        Launch(heading);
    PlayEffect(kind->volley.attackSound);
}
