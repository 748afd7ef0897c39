#include "world/EnemySmall.h"

#include "base/Clock.h"
#include "base/Random.h"
#include "render/Renderer.h"
#include "render/Sprite.h"
#include "world/Projectile.h"
#include "world/World.h"

#include <array>
#include <cmath>

namespace {
constexpr float shotSpeed = 300.0f; // px/s
constexpr float shotDrop = 32.0f;   // px below the centre

// A fan of three: toward 15 px left of and 32 px below the centre, straight down, and
// toward 15 px right of it.
const float fanLength = static_cast<float>(std::sqrt(15.0 * 15.0 + 32.0 * 32.0));
const std::array<Vec2, 3> fan { {
    { -15.0f / fanLength, 32.0f / fanLength },
    { 0.0f, 1.0f },
    { 15.0f / fanLength, 32.0f / fanLength },
} };

const Enemy::Wreck wreck { 4.0f, 300, "Data/Enemies/Small/Explosion", 0.75f,
    "Data/Enemies/Small/Death.wav" };
} // namespace

EnemySmall::EnemySmall(World* owner)
{
    spawnTime = gameTime;
    lastFireCheck = 0;
    fireInterval = 0;
    sprite = owner->renderer->AddSprite("Data/Enemies/Small", 3);
    sprite->looping = true;
    sprite->playing = true;
    radius = RadiusOfFrames(sprite);
    collisionType = TypeEnemy;
    speed = 200.0f;
    scoreValue = 3;
    // It starts below the band of its later targets; y is drawn before x.
    const auto r = static_cast<int>(radius);
    const auto y = static_cast<float>(70 + r + RandomBelow(231 - 2 * r));
    const auto x = static_cast<float>(RandomColumn());
    PlaceAt({ x, y });
}

// Ship's destructor ends the sprite.
EnemySmall::~EnemySmall() = default;

void EnemySmall::Update(float dt)
{
    Steer(dt);
}

void EnemySmall::SetPosition(const Vec2& p)
{
    PlaceAt(p);
}

void EnemySmall::ChooseTarget()
{
    const auto r = static_cast<int>(radius);
    const auto x = static_cast<float>(RandomColumn());
    const auto y = static_cast<float>(r + RandomBelow(201 - 2 * r));
    target = { x, y };
}

void EnemySmall::Fire()
{
    const uint32_t now = gameTime;
    if (!FireCheckDue())
        return;
    if (OldEnoughToFire()) {
        const Vec2 start { position.x, position.y + shotDrop };
        for (const Vec2& heading : fan) {
            Projectile::Launch(
                *world, "Data/Enemies/Small/Projectile", shotSpeed, TypePlayer, heading, start);
        }
        PlayEffect("Data/Enemies/Small/Attack.wav");
    }
    // Drawn on every pass, also when it was too young to fire.
    fireInterval = 200 + static_cast<uint32_t>(rng::rand() % 501);
    lastFireCheck = now;
}

void EnemySmall::Die()
{
    // Two contacts in one step (two shots, or a shot and the ship) may both call Die: only
    // the first one scores and explodes.
    if (dead)
        return;
    Enemy::Die();
    Explode(wreck, { { "Data/Enemies/Small/Debris/1", 8 }, { "Data/Enemies/Small/Debris/2", 16 } });
}
