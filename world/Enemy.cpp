#include "world/Enemy.h"

#include "base/Clock.h"
#include "base/Random.h"
#include "base/Window.h"
#include "modes/Game.h"
#include "modes/GameMode.h"
#include "render/Renderer.h"
#include "render/Sprite.h"
#include "render/TextItem.h"
#include "sound/ISoundEngine.h"
#include "world/FlyingText.h"
#include "world/Projectile.h"
#include "world/World.h"

#include <algorithm>
#include <cassert>
#include <cmath>

namespace {
constexpr float arrivalDistance = 10.0f; // px
constexpr uint32_t firstShotAgeMs = 100;
constexpr float shotDrop = 32.0f; // px below the centre
} // namespace

Enemy::Enemy(World* owner, const EnemyKind& description)
    : kind(&description)
{
    spawnTime = gameTime;
    lastFireCheck = 0;
    fireInterval = 0;
    sprite = owner->renderer->AddSprite(kind->sprite, 3);
    if (kind->looping) {
        sprite->looping = true;
        sprite->playing = true;
    }
    radius = RadiusOfFrames(sprite);
    collisionType = TypeEnemy;
    speed = kind->speed;
    scoreValue = kind->scoreValue;
}

void Enemy::Update(float dt)
{
    Steer(dt);
}

void Enemy::SetPosition(const Vec2& p)
{
    position = p;
    previousPosition = p;
    target = p;
    if (sprite != nullptr)
        sprite->position = p;
}

void Enemy::Die()
{
    if (dead)
        return;
    auto* notice = world->Create<FlyingText>(world);
    notice->label->SetText("Score: + " + std::to_string(scoreValue));
    // The simulated position, not where the sprite was last drawn.
    notice->SetPosition(position);
    dead = true;
    if (gameMode != nullptr)
        gameMode->AddScore(scoreValue);

    // The counts are drawn before the explosion, in list order.
    std::vector<DebrisSpec> debris;
    for (const DebrisDraw& entry : kind->debris) {
        const uint32_t extra = entry.spread == 0
            ? 0
            : static_cast<uint32_t>(RandomBelow(static_cast<int>(entry.spread)));
        debris.push_back({ entry.path, entry.least + extra });
    }
    Renderer& renderer = *world->renderer;
    renderer.Shake(kind->shakeMagnitude, kind->shakeMs);
    auto* explosion = world->Create<Explosion>();
    explosion->debrisSpeedScale = kind->debrisSpeedScale;
    explosion->sprite = renderer.AddSprite(kind->explosion, 4);
    for (const DebrisSpec& entry : debris)
        explosion->AddDebris(entry.path, entry.count);
    // Where the enemy was last drawn, which may lag its simulated position by a step.
    explosion->SetPosition(sprite->position);
    explosion->SpawnDebris();
    PlayEffect(kind->deathSound);
}

void Enemy::Fire()
{
    const FireRule& rule = kind->fire;
    if (rule.redraw == FireRule::Redraw::Never)
        return;
    const uint32_t now = gameTime;
    if (now - lastFireCheck < fireInterval)
        return;
    if (gameMode == nullptr || gameMode->player == nullptr)
        return;
    // Too young to fire, a kind that draws only after a shot draws nothing, so its check
    // passes again on the next step.
    const bool fires = now - spawnTime > firstShotAgeMs;
    if (fires)
        Volley();
    if (fires || rule.redraw == FireRule::Redraw::EveryPass)
        fireInterval
            = rule.least + static_cast<uint32_t>(RandomBelow(static_cast<int>(rule.spread)));
    lastFireCheck = now;
}

void Enemy::Steer(float dt, float speedFactor)
{
    previousPosition = position;
    const float dx = target.x - position.x;
    const float dy = target.y - position.y;
    const auto distance = static_cast<float>(std::sqrt(static_cast<double>(dx * dx + dy * dy)));
    if (distance <= arrivalDistance) {
        // The arrival step keeps the previous step's velocity.
        ChooseTarget();
    } else {
        velocity.x = dx / distance * speed * speedFactor * dt;
        velocity.y = dy / distance * speed * speedFactor * dt;
    }
    position.x += velocity.x;
    position.y += velocity.y;
    Fire();
}

void Enemy::ChooseTarget()
{
    target.x = static_cast<float>(RandomColumn());
}

void Enemy::Volley() { }

void Enemy::Launch(const Vec2& heading)
{
    const VolleyFigures& volley = kind->volley;
    Projectile::Launch(
        *world, volley.projectile, volley.shotSpeed, TypePlayer, heading, ShotStart());
}

Vec2 Enemy::ShotStart() const
{
    return { position.x, position.y + shotDrop };
}

int Enemy::RandomColumn() const
{
    const auto r = static_cast<int>(radius);
    return r + RandomBelow(windowWidth + 1 - 2 * r);
}

int Enemy::RandomBelow(int range)
{
    return rng::rand() % std::max(range, 1);
}

void Enemy::PlayEffect(const std::string& path) const
{
    if (gameMode == nullptr || gameMode->game == nullptr)
        return;
    if (ISoundEngine* engine = gameMode->game->GetSoundEngine())
        engine->PlayEffect(path);
}

Enemy& AsEnemy(Object& object)
{
    assert(object.collisionType == TypeEnemy && dynamic_cast<Enemy*>(&object) != nullptr);
    return static_cast<Enemy&>(object);
}
