#include "world/EnemyMedium.h"

#include "render/Animation.h"
#include "render/Sprite.h"

namespace {
constexpr float patrolY = 70.0f;

std::vector<DebrisDraw> MediumDebris()
{
    // Seven small pieces of 0 to 2 each, then 2 to 8 tiny ones.
    std::vector<DebrisDraw> debris;
    for (int piece = 1; piece <= 7; ++piece)
        debris.push_back({ "Data/Player/Debris/Small/" + std::to_string(piece), 0, 3 });
    debris.push_back({ "Data/Player/Debris/Tiny/1", 2, 7 });
    return debris;
}

} // namespace

// Still until its first shot: the animation plays once per shot.
const EnemyKind EnemyMedium::description { .id = "medium",
    .sprite = "Data/Enemies/Medium",
    .speed = 125.0f,
    .scoreValue = 1,
    .fire = { FireRule::Redraw::AfterShot, 100, 301 },
    .volley
    = { 1, 600.0f, false, "Data/Enemies/Medium/Projectile", "Data/Enemies/Medium/Attack.wav" },
    .shakeMagnitude = 5.0f,
    .shakeMs = 400,
    .explosion = "Data/Player/Explosion",
    .debrisSpeedScale = 0.5f,
    .debris = MediumDebris(),
    .deathSound = "Data/Enemies/Medium/Death.wav" };

EnemyMedium::EnemyMedium(World* owner)
    : Enemy(owner, description)
{
    const auto x = static_cast<float>(RandomColumn());
    SetPosition({ x, patrolY });
}

void EnemyMedium::Volley()
{
    sprite->playing = true;
    const Animation* animation = sprite->animation;
    const bool hasFrames = animation != nullptr && !animation->frames.empty();
    sprite->frameIndex
        = sprite->reverse && hasFrames ? static_cast<uint32_t>(animation->frames.size() - 1) : 0;
    Launch({ 0.0f, 1.0f });
    PlayEffect(kind->volley.attackSound);
}
