#include "world/EnemyMedium.h"

#include "base/Clock.h"
#include "base/Random.h"
#include "render/Animation.h"
#include "render/Renderer.h"
#include "render/Sprite.h"
#include "world/Projectile.h"
#include "world/World.h"

#include <string>
#include <vector>

namespace {
constexpr float patrolY = 70.0f;
constexpr float shotSpeed = 600.0f; // px/s
constexpr float shotDrop = 32.0f;   // px below the centre

const Enemy::Wreck wreck { 5.0f, 400, "Data/Player/Explosion", 0.5f,
    "Data/Enemies/Medium/Death.wav" };
} // namespace

EnemyMedium::EnemyMedium(World* owner)
{
    spawnTime = gameTime;
    lastFireCheck = 0;
    fireInterval = 0;
    // Still until its first shot: the animation plays once per shot.
    sprite = owner->renderer->AddSprite("Data/Enemies/Medium", 3);
    radius = RadiusOfFrames(sprite);
    collisionType = TypeEnemy;
    speed = 125.0f;
    scoreValue = 1;
    const auto x = static_cast<float>(RandomColumn());
    PlaceAt({ x, patrolY });
}

// Ship's destructor ends the sprite.
EnemyMedium::~EnemyMedium() = default;

void EnemyMedium::Update(float dt)
{
    Steer(dt);
}

void EnemyMedium::SetPosition(const Vec2& p)
{
    PlaceAt(p);
}

void EnemyMedium::ChooseTarget()
{
    // Back and forth along its line: only x changes.
    target.x = static_cast<float>(RandomColumn());
}

void EnemyMedium::Fire()
{
    const uint32_t now = gameTime;
    if (!FireCheckDue())
        return;
    // Too young: nothing is drawn, so the check passes again on the next step.
    if (OldEnoughToFire()) {
        sprite->playing = true;
        const Animation* animation = sprite->animation;
        const bool hasFrames = animation != nullptr && !animation->frames.empty();
        sprite->frameIndex = sprite->reverse && hasFrames
            ? static_cast<uint32_t>(animation->frames.size() - 1)
            : 0;
        Projectile::Launch(*world, "Data/Enemies/Medium/Projectile", shotSpeed, TypePlayer,
            { 0.0f, 1.0f }, { position.x, position.y + shotDrop });
        fireInterval = 100 + static_cast<uint32_t>(rng::rand() % 301);
        PlayEffect("Data/Enemies/Medium/Attack.wav");
    }
    lastFireCheck = now;
}

void EnemyMedium::Die()
{
    // Two contacts in one step (two shots, or a shot and the ship) may both call Die: only
    // the first one scores and explodes.
    if (dead)
        return;
    Enemy::Die();
    // Seven small pieces of 0 to 2 each, then 2 to 8 tiny ones, drawn in that order.
    std::vector<DebrisSpec> debris;
    for (int piece = 1; piece <= 7; ++piece) {
        debris.push_back({ "Data/Player/Debris/Small/" + std::to_string(piece),
            static_cast<uint32_t>(rng::rand() % 3) });
    }
    debris.push_back({ "Data/Player/Debris/Tiny/1", static_cast<uint32_t>(2 + rng::rand() % 7) });
    Explode(wreck, debris);
}
