#include "world/Enemy.h"

#include "base/Clock.h"
#include "base/Random.h"
#include "modes/Game.h"
#include "modes/GameMode.h"
#include "render/Renderer.h"
#include "render/Sprite.h"
#include "render/TextItem.h"
#include "sound/ISoundEngine.h"
#include "world/FlyingText.h"
#include "world/World.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr float arrivalDistance = 10.0f; // px
constexpr uint32_t firstShotAgeMs = 100;
} // namespace

void Enemy::Die()
{
    auto* notice = world->Create<FlyingText>(world);
    notice->label->SetText("Score: + " + std::to_string(scoreValue));
    // The simulated position, not where the sprite was last drawn.
    notice->SetPosition(position);
    dead = true;
    if (gameMode != nullptr)
        gameMode->AddScore(scoreValue);
}

void Enemy::PlaceAt(const Vec2& p)
{
    position = p;
    previousPosition = p;
    target = p;
    if (sprite != nullptr)
        sprite->position = p;
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

int Enemy::RandomColumn() const
{
    const auto r = static_cast<int>(radius);
    return r + RandomBelow(801 - 2 * r);
}

int Enemy::RandomBelow(int range)
{
    return rng::rand() % std::max(range, 1);
}

bool Enemy::FireCheckDue() const
{
    if (gameTime - lastFireCheck < fireInterval)
        return false;
    return gameMode != nullptr && gameMode->player != nullptr;
}

bool Enemy::OldEnoughToFire() const
{
    return gameTime - spawnTime > firstShotAgeMs;
}

void Enemy::Explode(const Wreck& wreck, const std::vector<DebrisSpec>& debris)
{
    Renderer& renderer = *world->renderer;
    renderer.Shake(wreck.shakeMagnitude, wreck.shakeMs);
    auto* explosion = world->Create<Explosion>();
    explosion->debrisSpeedScale = wreck.debrisSpeedScale;
    explosion->sprite = renderer.AddSprite(wreck.explosionPath, 4);
    for (const DebrisSpec& entry : debris)
        explosion->AddDebris(entry.path, entry.count);
    // Where the enemy was last drawn, which may lag its simulated position by a step.
    explosion->SetPosition(sprite->position);
    explosion->SpawnDebris();
    PlayEffect(wreck.deathSound);
}

void Enemy::PlayEffect(const std::string& path) const
{
    if (gameMode == nullptr || gameMode->game == nullptr)
        return;
    if (ISoundEngine* engine = gameMode->game->GetSoundEngine())
        engine->PlayEffect(path);
}
