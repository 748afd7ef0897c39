#include "world/EnemyBig.h"

#include "base/Clock.h"
#include "base/Random.h"
#include "base/Timer.h"
#include "modes/GameMode.h"
#include "render/Renderer.h"
#include "render/Sprite.h"
#include "world/Player.h"
#include "world/Projectile.h"
#include "world/World.h"

#include <cmath>

namespace {
constexpr float entryY = 70.0f;
constexpr float rushFactor = 12.0f;
constexpr double rushReach = 200.0; // px either side of the player
constexpr float shotSpeed = 800.0f; // px/s
constexpr float shotDrop = 32.0f;   // px below the centre

const Enemy::Wreck wreck { 10.0f, 600, "Data/Enemies/Big/Explosion", 0.5f,
    "Data/Enemies/Big/Death.wav" };
} // namespace

EnemyBig::EnemyBig(World* owner)
{
    spawnTime = gameTime;
    lastFireCheck = 0;
    fireInterval = 0;
    sprite = owner->renderer->AddSprite("Data/Enemies/Big", 3);
    radius = RadiusOfFrames(sprite);
    collisionType = TypeEnemy;
    speed = 25.0f;
    scoreValue = 2;
    rushTimer = CreateTimer();
    rushing = false;
}

EnemyBig::~EnemyBig()
{
    // The timer must never call back into a deleted ship; Ship's destructor ends the sprite.
    rushTimer->dead = true;
}

void EnemyBig::SetGameMode(GameMode* mode)
{
    Enemy::SetGameMode(mode);
    // It enters on the side away from the player, its centre on the window's edge.
    const bool playerOnRight
        = mode != nullptr && mode->player != nullptr && mode->player->position.x >= 400.0f;
    SetPosition({ playerOnRight ? 0.0f : 800.0f, entryY });
}

void EnemyBig::SetPosition(const Vec2& p)
{
    PlaceAt(p);
}

void EnemyBig::Update(float dt)
{
    previousPosition = position;
    const Player* player = gameMode != nullptr ? gameMode->player : nullptr;
    if (!rushing && player != nullptr
        && std::abs(static_cast<double>(position.x) - static_cast<double>(player->position.x))
            <= rushReach) {
        rushing = true;
        rushTimer->Start([this] { EndRush(); }, rushMs, false);
    }
    // The rush keeps heading for its own target, only faster.
    Steer(dt, rushing ? rushFactor : 1.0f);
}

void EnemyBig::EndRush()
{
    rushing = false;
}

void EnemyBig::ChooseTarget()
{
    target.x = static_cast<float>(RandomColumn());
}

void EnemyBig::Fire()
{
    const uint32_t now = gameTime;
    if (!FireCheckDue())
        return;
    if (OldEnoughToFire()) {
        // Aimed from its own centre at where the player is now. A player exactly at the
        // centre gives no direction: the shot then goes straight down.
        const Vec2& aim = gameMode->player->position;
        const double dx = static_cast<double>(aim.x) - static_cast<double>(position.x);
        const double dy = static_cast<double>(aim.y) - static_cast<double>(position.y);
        const double length = std::sqrt(dx * dx + dy * dy);
        const Vec2 heading = length > 0.0
            ? Vec2 { static_cast<float>(dx / length), static_cast<float>(dy / length) }
            : Vec2 { 0.0f, 1.0f };
        Projectile::Launch(*world, "Data/Enemies/Big/Projectile", shotSpeed, TypePlayer, heading,
            { position.x, position.y + shotDrop });
        PlayEffect("Data/Enemies/Big/Attack.wav");
    }
    // Drawn on every pass, also when it was too young to fire.
    fireInterval = 300 + static_cast<uint32_t>(rng::rand() % 1201);
    lastFireCheck = now;
}

void EnemyBig::Die()
{
    // Two contacts in one step (two shots, or a shot and the ship) may both call Die: only
    // the first one scores and explodes.
    if (dead)
        return;
    Enemy::Die();
    Explode(wreck,
        { { "Data/Enemies/Big/Debris/1", 2 }, { "Data/Enemies/Big/Debris/2", 3 },
            { "Data/Enemies/Big/Debris/3", 4 }, { "Data/Enemies/Big/Debris/4", 10 },
            { "Data/Enemies/Big/Debris/5", 48 } });
}
