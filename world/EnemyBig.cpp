#include "world/EnemyBig.h"

#include "base/Timer.h"
#include "base/Window.h"
#include "modes/GameMode.h"
#include "world/Player.h"

#include <cmath>

namespace {
constexpr float entryY = 70.0f;
constexpr float rushFactor = 12.0f;
constexpr double rushReach = 200.0; // px either side of the player
} // namespace

const EnemyKind EnemyBig::description { .id = "big",
    .sprite = "Data/Enemies/Big",
    .speed = 25.0f,
    .scoreValue = 2,
    .fire = { FireRule::Redraw::EveryPass, 300, 1201 },
    .volley = { 1, 800.0f, true, "Data/Enemies/Big/Projectile", "Data/Enemies/Big/Attack.wav" },
    .shakeMagnitude = 10.0f,
    .shakeMs = 600,
    .explosion = "Data/Enemies/Big/Explosion",
    .debrisSpeedScale = 0.5f,
    .debris = { { "Data/Enemies/Big/Debris/1", 2 }, { "Data/Enemies/Big/Debris/2", 3 },
        { "Data/Enemies/Big/Debris/3", 4 }, { "Data/Enemies/Big/Debris/4", 10 },
        { "Data/Enemies/Big/Debris/5", 48 } },
    .deathSound = "Data/Enemies/Big/Death.wav" };

EnemyBig::EnemyBig(World* owner)
    : Enemy(owner, description)
{
    rushTimer = CreateTimer();
    rushing = false;
}

EnemyBig::~EnemyBig()
{
    // The timer must never call back into a deleted ship.
    rushTimer->dead = true;
}

void EnemyBig::SetGameMode(GameMode* mode)
{
    Enemy::SetGameMode(mode);
    // It enters on the side away from the player, its centre on the window's edge.
    const bool playerOnRight = mode != nullptr && mode->player != nullptr
        && mode->player->position.x >= static_cast<float>(windowWidth / 2);
    SetPosition({ playerOnRight ? 0.0f : static_cast<float>(windowWidth), entryY });
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

void EnemyBig::Volley()
{
    // Aimed from its own centre at where the player is now. A player exactly at the centre
    // gives no direction: the shot then goes straight down.
    const Vec2& aim = gameMode->player->position;
    const double dx = static_cast<double>(aim.x) - static_cast<double>(position.x);
    const double dy = static_cast<double>(aim.y) - static_cast<double>(position.y);
    const double length = std::sqrt(dx * dx + dy * dy);
    const Vec2 heading = length > 0.0
        ? Vec2 { static_cast<float>(dx / length), static_cast<float>(dy / length) }
        : Vec2 { 0.0f, 1.0f };
    Launch(heading);
    PlayEffect(kind->volley.attackSound);
}
