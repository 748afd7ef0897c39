#include "world/Explosion.h"

#include "base/Random.h"
#include "render/Renderer.h"
#include "render/Sprite.h"
#include "world/Debris.h"
#include "world/World.h"

namespace {
// Debris start speeds before scaling, px/s.
constexpr float slowestDebris = 50.0f;
constexpr float fastestDebris = 400.0f;
} // namespace

Explosion::Explosion()
    : debrisSpeedScale(1.0f)
{
}

Explosion::~Explosion()
{
    if (sprite != nullptr)
        sprite->dead = true;
}

void Explosion::Update(float)
{
    // An image without frames is never drawn, so its animation would never stop: such an
    // explosion ends at once instead of staying in the world for the rest of the game.
    const bool drawable
        = sprite != nullptr && sprite->animation != nullptr && !sprite->animation->frames.empty();
    if (!drawable || !sprite->playing)
        dead = true;
}

void Explosion::SetPosition(const Vec2& p)
{
    if (sprite == nullptr)
        return;
    sprite->position = p;
    sprite->visible = true;
}

void Explosion::AddDebris(const std::string& path, uint32_t count)
{
    debrisSpecs.push_back(DebrisSpec { path, count });
}

void Explosion::SpawnDebris()
{
    const Vec2 origin = (sprite != nullptr) ? sprite->position : position;
    const auto lo = static_cast<int>(debrisSpeedScale * slowestDebris);
    const auto hi = static_cast<int>(debrisSpeedScale * fastestDebris);
    const int span = hi - lo + 1;
    for (const DebrisSpec& entry : debrisSpecs) {
        for (uint32_t n = 0; n < entry.count; ++n) {
            Debris* piece = world->Create<Debris>();
            // The draw is made even for a scale that leaves no range, so the sequence of
            // random values does not depend on it.
            const int draw = rng::rand();
            piece->speed = static_cast<float>(lo + (span > 0 ? draw % span : 0));
            piece->sprite = world->renderer->AddSprite(entry.path, 4);
            piece->radius = RadiusOfFrames(piece->sprite);
            piece->SetPosition(origin);
        }
    }
    const auto turn = static_cast<float>(rng::rand() % 361);
    if (sprite != nullptr) {
        sprite->angle = turn;
        sprite->playing = true;
    }
}
