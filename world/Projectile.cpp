#include "world/Projectile.h"

#include "base/Timer.h"
#include "render/Renderer.h"
#include "render/Sprite.h"
#include "world/Enemy.h"
#include "world/Player.h"
#include "world/Ship.h"
#include "world/World.h"

Projectile::Projectile()
{
    collisionType = TypeProjectile;
    lifetimeTimer = CreateTimer();
    lifetimeTimer->Start([this] { Kill(); }, lifetimeMs, false);
}

Projectile::~Projectile()
{
    lifetimeTimer->dead = true;
    if (sprite != nullptr)
        sprite->dead = true;
}

Projectile* Projectile::Launch(World& target, const std::string& path, float shotSpeed,
    uint32_t mask, const Vec2& heading, const Vec2& start)
{
    auto* shot = target.Create<Projectile>();
    shot->sprite = target.renderer->AddSprite(path, 4);
    shot->radius = RadiusOfFrames(shot->sprite);
    shot->speed = shotSpeed;
    shot->collisionMask = mask;
    shot->direction = heading;
    shot->SetPosition(start);
    return shot;
}

void Projectile::Update(float dt)
{
    previousPosition = position;
    position.x += direction.x * speed * dt;
    position.y += direction.y * speed * dt;
}

void Projectile::Render(float, float alpha)
{
    if (sprite != nullptr)
        sprite->position = Interpolate(previousPosition, position, alpha);
}

void Projectile::OnCollision(Object* other)
{
    // The shot stays in this step's contact test after its first hit, so one shot can
    // destroy two enemies it touches at once. An enemy already destroyed in this step (by
    // another shot, or by ramming the player) is not destroyed a second time: that would
    // award its points twice and leave two explosions.
    if (other->collisionType == TypePlayer)
        static_cast<Player*>(other)->TakeHit();
    else if (other->collisionType == TypeEnemy && !other->dead)
        AsEnemy(*other).Die();
    dead = true;
}

void Projectile::SetPosition(const Vec2& p)
{
    position = p;
    previousPosition = p;
    // A shot that dies in the step that created it (fired point-blank) is never placed by
    // Render, yet its sprite is drawn once more: it must be drawn here, not at (0, 0).
    if (sprite != nullptr)
        sprite->position = p;
}
