#include "modes/PlayFixture.h"

#include "base/Random.h"
#include "render/Animation.h"
#include "render/Renderer.h"
#include "render/TextItem.h"
#include "world/Debris.h"
#include "world/EnemyMedium.h"
#include "world/Explosion.h"
#include "world/FlyingText.h"
#include "world/Projectile.h"
#include "world/ShieldPickup.h"

#include <cmath>

namespace {

const char* const damaged = "Data/Player/Damaged.wav";
const char* const death = "Data/Player/Death.wav";

// The player on its own: no enemy arrives, so nothing but the test touches it.
class PlayerTest : public PlayFixture {
protected:
    void SetUp() override
    {
        PlayFixture::SetUp();
        play().startTimer->active = false;
    }

    void Steps(int count) // one world step per frame
    {
        for (int step = 0; step < count; ++step)
            driver.Frame(32);
    }

    ShieldPickup* DropPickupOnShip() // touched in the next step
    {
        auto* pickup = world().Create<ShieldPickup>(&world());
        pickup->SetPosition(player().position);
        Steps(1);
        return pickup;
    }

    void ExpectStoppedAt(float x, float y) const
    {
        EXPECT_FLOAT_EQ(player().position.x, x);
        EXPECT_FLOAT_EQ(player().position.y, y);
        EXPECT_FLOAT_EQ(player().velocity.x, 0.0f);
        EXPECT_FLOAT_EQ(player().velocity.y, 0.0f);
    }

    int Shakes(float magnitude, uint32_t ms) const
    {
        int count = 0;
        for (const ShakeEntry& shake : driver.game->renderer->shakes)
            count += shake.magnitude == magnitude && shake.duration == ms;
        return count;
    }
};

TEST_F(PlayerTest, TheFirstFramesDrawTheShipAtItsStartNotSlidingInFromTheCorner)
{
    driver.Frame(8); // a quarter step: drawn a quarter of the way from previousPosition
    EXPECT_FLOAT_EQ(player().sprite->position.x, 400.0f);
    EXPECT_FLOAT_EQ(player().sprite->position.y, 550.0f);
    EXPECT_FLOAT_EQ(player().shieldSprite->position.y, 550.0f);
}

TEST_F(PlayerTest, SteeringSettlesAt400PxPerSecondAndCoastsOutByAQuarterPerStep)
{
    GameDriver::KeyDown(SDL_SCANCODE_RIGHT);
    Steps(20);
    // 3.2 px of thrust per step on top of three quarters of the last step's displacement.
    EXPECT_NEAR(player().velocity.x, 12.8f * (1.0f - std::pow(0.75f, 20.0f)), 1e-3f);
    GameDriver::KeyUp(SDL_SCANCODE_RIGHT);
    const float before = player().velocity.x;
    const float x = player().position.x;
    Steps(1);
    EXPECT_FLOAT_EQ(player().velocity.x, before * 0.75f);
    EXPECT_FLOAT_EQ(player().position.x, x + before * 0.75f);
}

TEST_F(PlayerTest, WindowEdgesStopTheShipAtItsRadiusWithoutBounce)
{
    const float r = player().radius;
    ASSERT_GT(r, 0.0f);
    GameDriver::KeyDown(SDL_SCANCODE_LEFT);
    GameDriver::KeyDown(SDL_SCANCODE_UP);
    Steps(60);
    ExpectStoppedAt(r, r);
    GameDriver::KeyUp(SDL_SCANCODE_LEFT);
    GameDriver::KeyUp(SDL_SCANCODE_UP);
    GameDriver::KeyDown(SDL_SCANCODE_RIGHT);
    GameDriver::KeyDown(SDL_SCANCODE_DOWN);
    Steps(90);
    ExpectStoppedAt(800.0f - r, 600.0f - r);
}

TEST_F(PlayerTest, AHeldTriggerFiresAtOnceThenEvery200Ms)
{
    driver.RunFor(400, 20);
    GameDriver::KeyDown(SDL_SCANCODE_LCTRL);
    driver.RunFor(700, 20);
    EXPECT_EQ(driver.sound->TimesPlayed("Data/Player/Attack.wav"),
        (std::vector<uint32_t> { 420, 620, 820, 1020 }));

    GameDriver::KeyUp(SDL_SCANCODE_LCTRL);
    driver.RunFor(200, 20);
    player().Fire();
    const auto* shot = dynamic_cast<Projectile*>(world().objects.back());
    ASSERT_NE(shot, nullptr);
    EXPECT_FLOAT_EQ(shot->position.x, 400.0f);
    EXPECT_FLOAT_EQ(shot->position.y, 550.0f - 32.0f);
    EXPECT_FLOAT_EQ(shot->direction.y, -1.0f);
    EXPECT_FLOAT_EQ(shot->speed, 800.0f);
    EXPECT_EQ(shot->collisionMask, TypeEnemy);
}

TEST_F(PlayerTest, ShieldsComeFromPickupsUpToThreeAndGoWithHits)
{
    GameMode& mode = play();
    for (uint32_t n = 1; n <= 3; ++n) {
        EXPECT_TRUE(DropPickupOnShip()->dead);
        EXPECT_EQ(player().shields, n);
        EXPECT_TRUE(mode.shieldIcons[n - 1]->playing && !mode.shieldIcons[n - 1]->reverse);
        if (n == 1) {
            driver.RunFor(500); // "Shields: " fades in with the first one
            EXPECT_EQ(mode.shieldsLabel->opacity, 255);
        }
    }
    EXPECT_TRUE(player().shieldSprite->visible);
    EXPECT_EQ(driver.sound->Played("Data/ShieldPickup/PickedUp.wav"), 3);
    ASSERT_EQ(Live<FlyingText>().size(), 3u);
    const TextItem& notice = *Live<FlyingText>().front()->label;
    EXPECT_EQ(notice.text, "Shield: + 1");
    EXPECT_TRUE(notice.colour.red == 32 && notice.colour.green == 196 && notice.colour.blue == 255);

    // A fourth pickup is left where it is until a shield has gone.
    ShieldPickup* spare = DropPickupOnShip();
    EXPECT_FALSE(spare->dead);
    Sprite& shield = *player().shieldSprite;
    shield.reverse = true;
    player().TakeHit();
    EXPECT_EQ(player().shields, 2u);
    EXPECT_TRUE(mode.shieldIcons[2]->playing && mode.shieldIcons[2]->reverse && shield.playing);
    EXPECT_EQ(shield.frameIndex, shield.animation->frames.size() - 1);
    EXPECT_EQ(Shakes(3.0f, 500), 1);
    Steps(1);
    EXPECT_TRUE(spare->dead);
    EXPECT_EQ(player().shields, 3u);

    shield.reverse = false;
    shield.frameIndex = 5;
    for (int hit = 0; hit < 3; ++hit)
        player().TakeHit();
    EXPECT_EQ(shield.frameIndex, 0u);
    EXPECT_FALSE(shield.visible);
    EXPECT_TRUE(mode.shieldIcons[0]->reverse);
    EXPECT_EQ(driver.sound->Played(damaged), 4);
    driver.RunFor(500);
    EXPECT_EQ(mode.shieldsLabel->opacity, 0);
}

TEST_F(PlayerTest, RammingWithThreeShieldsSpendsThemAllAndDestroysTheShipInOneContact)
{
    Player* ship = &player();
    ship->shields = 3;
    auto* enemy = world().Create<EnemyMedium>(&world());
    enemy->SetGameMode(&play());
    enemy->SetPosition(ship->position);
    Steps(1);

    EXPECT_EQ(driver.sound->TimesPlayed(damaged), std::vector<uint32_t>(3, gameTime));
    EXPECT_EQ(driver.sound->TimesPlayed(death), std::vector<uint32_t> { gameTime });
    EXPECT_EQ(Shakes(3.0f, 500), 3);
    EXPECT_EQ(Shakes(15.0f, 1000), 1);
    EXPECT_TRUE(enemy->dead && ship->dead);
    EXPECT_EQ(play().score, 1u);
    EXPECT_EQ(play().player, nullptr);
}

TEST_F(PlayerTest, DestructionBurstsWhereTheShipWasLastDrawnAndHappensOnce)
{
    Player* ship = &player();
    ship->sprite->position = Vec2 { 123.0f, 456.0f };
    rng::srand(77);
    ship->TakeHit();
    ship->TakeHit();

    ASSERT_EQ(Live<Explosion>().size(), 1u);
    const Explosion& burst = *Live<Explosion>().front();
    EXPECT_FLOAT_EQ(burst.sprite->position.x, 123.0f);
    EXPECT_FLOAT_EQ(burst.sprite->position.y, 456.0f);

    // Five single large and medium pieces, then one draw per small image, then the tiny ones.
    ASSERT_EQ(burst.debrisSpecs.size(), 13u);
    Random draws(77);
    uint32_t pieces = 0;
    for (size_t i = 0; i < 13; ++i) {
        const int expected = i < 5 ? 1 : i < 12 ? draws.Next() % 3 + 1 : draws.Next() % 25 + 8;
        EXPECT_EQ(burst.debrisSpecs[i].count, static_cast<uint32_t>(expected)) << i;
        pieces += burst.debrisSpecs[i].count;
    }
    EXPECT_EQ(Live<Debris>().size(), pieces);

    EXPECT_EQ(driver.sound->Played(death), 1);
    EXPECT_EQ(Shakes(15.0f, 1000), 1);
    EXPECT_TRUE(play().gameOverTimer->active);
}

} // namespace
