#include "world/Player.h"

#include "base/Clock.h"
#include "base/Random.h"
#include "base/Window.h"
#include "modes/Game.h"
#include "modes/GameMode.h"
#include "render/Animation.h"
#include "render/Renderer.h"
#include "render/Sprite.h"
#include "render/TextItem.h"
#include "sound/ISoundEngine.h"
#include "world/Enemy.h"
#include "world/Explosion.h"
#include "world/FlyingText.h"
#include "world/Projectile.h"
#include "world/World.h"

#include <string>

namespace {
constexpr Vec2 startPosition { 400.0f, 550.0f };
constexpr float startThrust = 100.0f;
// Each step keeps this share of the last step's displacement.
constexpr float inertia = 0.75f;

constexpr float shotSpeed = 800.0f; // px/s
constexpr float shotLead = 32.0f;   // px above the ship's centre

constexpr float hitShakeMagnitude = 3.0f;
constexpr uint32_t hitShakeMs = 500;
constexpr float deathShakeMagnitude = 15.0f;
constexpr uint32_t deathShakeMs = 1000;

const Rgb shieldNoticeColour { 32, 196, 255 };
} // namespace

Player::Player(World* owner)
{
    position = startPosition;
    // Drawing interpolates from previousPosition; starting it at the ship's own place keeps
    // the frames before the first step from sliding the ship in from the window's corner.
    previousPosition = startPosition;

    sprite = owner->renderer->AddSprite("Data/Player", 3);
    sprite->playing = true;
    sprite->looping = true;

    shieldSprite = owner->renderer->AddSprite("Data/Player/Shield", 4);
    shieldSprite->visible = false;
    shieldSprite->playing = false;
    shieldSprite->looping = false;

    radius = RadiusOfFrames(sprite);
    collisionType = TypePlayer;
    collisionMask = TypePlayer | TypeEnemy | TypePickup;
    thrust = startThrust;
    lastFireTime = 0;
    shields = 0;
}

Player::~Player()
{
    // Ship's destructor withdraws the main sprite.
    if (shieldSprite != nullptr)
        shieldSprite->dead = true;
}

void Player::Update(float dt)
{
    previousPosition = position;
    // With a key held the displacement settles at thrust * dt / (1 - inertia): 400 px/s.
    velocity.x = direction.x * thrust * dt + velocity.x * inertia;
    velocity.y = direction.y * thrust * dt + velocity.y * inertia;
    position.x += velocity.x;
    position.y += velocity.y;

    // The edge stops the ship dead in that axis: no bounce, no pushing against it.
    if (position.x < radius) {
        position.x = radius;
        velocity.x = 0.0f;
    }
    if (position.x > static_cast<float>(windowWidth) - radius) {
        position.x = static_cast<float>(windowWidth) - radius;
        velocity.x = 0.0f;
    }
    if (position.y < radius) {
        position.y = radius;
        velocity.y = 0.0f;
    }
    if (position.y > static_cast<float>(windowHeight) - radius) {
        position.y = static_cast<float>(windowHeight) - radius;
        velocity.y = 0.0f;
    }

    // The shield stays up until its last shrinking animation has played out.
    if (shields == 0 && !shieldSprite->playing)
        shieldSprite->visible = false;
}

void Player::Render(float, float alpha)
{
    const Vec2 drawn = Interpolate(previousPosition, position, alpha);
    sprite->position = drawn;
    shieldSprite->position = drawn;
}

void Player::OnCollision(Object* other)
{
    if (other->collisionType == TypeEnemy) {
        // Ramming: the enemy goes, and the four hits use up every shield (at most three)
        // before the last one destroys the ship.
        AsEnemy(*other).Die();
        for (int hit = 0; hit < 4; ++hit)
            TakeHit();
    }
    if (other->collisionType == TypePickup && shields < maxShields) {
        auto* notice = world->Create<FlyingText>(world);
        notice->SetPosition(position);
        notice->label->colour = shieldNoticeColour;
        notice->label->dirty = true;
        notice->label->lastRebuildTime = 0;
        notice->label->SetText("Shield: + 1");

        ++shields;
        gameMode->OnShieldGained(shields);
        shieldSprite->visible = true;
        gameMode->game->GetSoundEngine()->PlayEffect("Data/ShieldPickup/PickedUp.wav");
        other->dead = true;
    }
}

void Player::Fire()
{
    if (gameTime - lastFireTime < fireIntervalMs)
        return;
    Projectile::Launch(*world, "Data/Player/Projectile", shotSpeed, TypeEnemy, Vec2 { 0.0f, -1.0f },
        Vec2 { position.x, position.y - shotLead });
    lastFireTime = gameTime;
    gameMode->game->GetSoundEngine()->PlayEffect("Data/Player/Attack.wav");
}

void Player::TakeHit()
{
    if (dead)
        return;
    ISoundEngine* sound = gameMode->game->GetSoundEngine();

    if (shields > 0) {
        world->renderer->Shake(hitShakeMagnitude, hitShakeMs);
        --shields;
        gameMode->OnShieldLost(shields);
        // The shield flashes once more, from whichever end its animation plays.
        shieldSprite->playing = true;
        const size_t frameCount
            = shieldSprite->animation != nullptr ? shieldSprite->animation->frames.size() : 0;
        shieldSprite->frameIndex
            = (shieldSprite->reverse && frameCount > 0) ? static_cast<uint32_t>(frameCount - 1) : 0;
        if (shields == 0)
            shieldSprite->visible = false;
        sound->PlayEffect("Data/Player/Damaged.wav");
        return;
    }

    dead = true;
    world->renderer->Shake(deathShakeMagnitude, deathShakeMs);

    auto* explosion = world->Create<Explosion>();
    explosion->sprite = world->renderer->AddSprite("Data/Player/Explosion", 4);
    explosion->AddDebris("Data/Player/Debris/Large/1", 1);
    explosion->AddDebris("Data/Player/Debris/Large/2", 1);
    explosion->AddDebris("Data/Player/Debris/Medium/1", 1);
    explosion->AddDebris("Data/Player/Debris/Medium/2", 1);
    explosion->AddDebris("Data/Player/Debris/Medium/3", 1);
    // One draw per small image, in order, then one for the tiny bits.
    for (int piece = 1; piece <= 7; ++piece) {
        const auto count = static_cast<uint32_t>(rng::rand() % 3 + 1);
        explosion->AddDebris("Data/Player/Debris/Small/" + std::to_string(piece), count);
    }
    explosion->AddDebris("Data/Player/Debris/Tiny/1", static_cast<uint32_t>(rng::rand() % 25 + 8));
    // Where the ship was last seen, which may lag the simulated position by a step.
    explosion->SetPosition(sprite->position);
    explosion->SpawnDebris();

    gameMode->OnPlayerDestroyed();
    sound->PlayEffect("Data/Player/Death.wav");
}
