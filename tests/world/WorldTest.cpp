#include "world/World.h"

#include "support/ProbeObject.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using Log = std::vector<std::string>;

class WorldTest : public ::testing::Test {
protected:
    ProbeObject* Add(const std::string& name, Vec2 at, float radius, uint32_t type, uint32_t mask)
    {
        auto* probe = world.Create<ProbeObject>(&log, name);
        probe->SetPosition(at);
        probe->radius = radius;
        probe->collisionType = type;
        probe->collisionMask = mask;
        return probe;
    }

    std::vector<std::string> Entries(const std::string& prefix) const
    {
        std::vector<std::string> out;
        std::copy_if(log.begin(), log.end(), std::back_inserter(out),
            [&](const std::string& line) { return line.rfind(prefix, 0) == 0; });
        return out;
    }

    Log log;
    World world { nullptr };
};

TEST_F(WorldTest, CreateLinksZeroedObjectsInOrder)
{
    auto* first = world.Create<ProbeObject>(&log, "a");
    auto* second = world.Create<ProbeObject>(&log, "b");
    EXPECT_EQ(first->world, &world);
    EXPECT_FALSE(first->dead);
    EXPECT_EQ(first->position.x, 0.0f);
    EXPECT_EQ(first->position.y, 0.0f);
    EXPECT_EQ(first->radius, 0.0f);
    EXPECT_EQ(first->collisionMask, 0u);
    EXPECT_EQ(first->collisionType, 0u);
    EXPECT_EQ(world.objects, (std::vector<Object*> { first, second }));
}

TEST_F(WorldTest, ContactsAreOneSidedStrictAndInPairOrder)
{
    // a and b see each other; c touches a but has no mask; d sits exactly at the radius sum.
    Add("a", { 0, 0 }, 10, TypePlayer, TypeEnemy);
    Add("b", { 15, 0 }, 10, TypeEnemy, TypePlayer);
    Add("c", { 0, 5 }, 10, TypeEnemy, 0);
    Add("d", { 0, -20 }, 10, TypeEnemy, 0);
    world.Update(0.032f);
    EXPECT_EQ(Entries("hit"), (Log { "hit a>b", "hit a>c", "hit b>a" }));
}

TEST_F(WorldTest, AnObjectIsNeverToldOfItselfThoughItsMaskHasItsOwnType)
{
    // The player's mask includes the player type.
    Add("player", { 0, 0 }, 10, TypePlayer, TypePlayer | TypeEnemy);
    world.Update(0.032f);
    EXPECT_TRUE(Entries("hit").empty());

    // Another object of its type is a contact like any other.
    Add("twin", { 5, 0 }, 10, TypePlayer, 0);
    world.Update(0.032f);
    EXPECT_EQ(Entries("hit"), (Log { "hit player>twin" }));
}

TEST_F(WorldTest, DeadObjectsLeaveAtTheNextStepAndAreNotDrawn)
{
    auto* a = Add("a", { 0, 0 }, 10, TypePlayer, TypeEnemy);
    Add("b", { 100, 0 }, 10, 0, 0);
    auto* c = Add("c", { 5, 0 }, 10, TypeEnemy, 0);
    c->onUpdate = [](ProbeObject& self) { self.dead = true; };

    world.Update(0.032f);
    // Dead in its update, c still takes part in the contact test of that step.
    EXPECT_EQ(Entries("hit"), (Log { "hit a>c" }));
    log.clear();
    world.Render(0.016f, 0.5f);
    EXPECT_EQ(Entries("render"), (Log { "render a", "render b" }));

    log.clear();
    world.Update(0.032f);
    EXPECT_EQ(Entries("delete"), (Log { "delete c" }));
    EXPECT_EQ(world.objects.size(), 2u);
    EXPECT_EQ(a->lastDt, 0.032f);
}

TEST_F(WorldTest, RemovalMovesTheLastObjectIntoTheFreedSlot)
{
    auto* a = Add("a", {}, 0, 0, 0);
    auto* b = Add("b", {}, 0, 0, 0);
    auto* c = Add("c", {}, 0, 0, 0);
    auto* d = Add("d", {}, 0, 0, 0);
    a->dead = true;
    d->dead = true; // moves into a's slot, is examined there and removed too
    world.Update(0.032f);
    EXPECT_EQ(world.objects, (std::vector<Object*> { c, b }));
    EXPECT_EQ(Entries("update"), (Log { "update c", "update b" }));
    EXPECT_EQ(Entries("delete"), (Log { "delete a", "delete d" }));
}

TEST_F(WorldTest, ObjectsCreatedDuringAStepJoinThatStep)
{
    auto* player = Add("player", { 0, 0 }, 10, TypePlayer, 0);
    auto* gun = Add("gun", { 500, 500 }, 1, 0, 0);
    gun->onUpdate = [&](ProbeObject& self) {
        if (self.updates == 1) {
            auto* shot = self.world->Create<ProbeObject>(&log, "shot");
            shot->SetPosition({ 3, 0 });
            shot->radius = 2;
            shot->collisionType = TypeProjectile;
            shot->collisionMask = TypePlayer;
        }
    };
    world.Update(0.032f);
    EXPECT_EQ(Entries("update"), (Log { "update player", "update gun", "update shot" }));
    EXPECT_EQ(Entries("hit"), (Log { "hit shot>player" }));
    EXPECT_EQ(player->updates, 1);
}

TEST_F(WorldTest, KilledDuringTheContactTestStillCountsForTheRestOfIt)
{
    // One shot over two enemies destroys both; an object spawned by a contact joins in.
    auto* shot = Add("shot", { 0, 0 }, 5, TypeProjectile, TypeEnemy);
    Add("e1", { 3, 0 }, 5, TypeEnemy, 0);
    Add("e2", { -3, 0 }, 5, TypeEnemy, 0);
    shot->onCollision = [&](ProbeObject& self, Object* other) {
        self.dead = true;
        other->dead = true;
        if (self.world->objects.size() == 3)
            self.world->Create<ProbeObject>(&log, "debris")->collisionType = TypeEnemy;
    };
    world.Update(0.032f);
    EXPECT_EQ(Entries("hit"), (Log { "hit shot>e1", "hit shot>e2", "hit shot>debris" }));
    world.Update(0.032f);
    EXPECT_TRUE(world.objects.empty());
}

TEST_F(WorldTest, EachPairReadsTheMasksAsTheyStandAtThatPair)
{
    // When the pass starts only waker and shy have a mask. Waker's contact gives sleeper one
    // and makes late, which has one; shy drops its own at its first contact. None of the
    // three has a type, so a mask, not a type, decides who is tested.
    auto* waker = Add("waker", { 0, 0 }, 10, TypePlayer, TypeEnemy);
    Add("target", { 5, 0 }, 10, TypeEnemy, 0);
    auto* sleeper = Add("sleeper", { 0, 5 }, 10, 0, 0);
    auto* shy = Add("shy", { 100, 0 }, 10, 0, TypeEnemy);
    Add("right", { 105, 0 }, 10, TypeEnemy, 0);
    Add("left", { 95, 0 }, 10, TypeEnemy, 0);
    waker->onCollision = [&](ProbeObject& self, Object*) {
        sleeper->collisionMask = TypeEnemy;
        auto* late = self.world->Create<ProbeObject>(&log, "late");
        late->SetPosition({ 5, 5 });
        late->radius = 10;
        late->collisionMask = TypeEnemy;
    };
    shy->onCollision = [](ProbeObject& self, Object*) { self.collisionMask = 0; };
    world.Update(0.032f);
    EXPECT_EQ(Entries("hit"),
        (Log { "hit waker>target", "hit sleeper>target", "hit shy>right", "hit late>target" }));
}

TEST_F(WorldTest, ClearDeletesEverythingInListOrder)
{
    Add("a", {}, 0, 0, 0);
    Add("b", {}, 0, 0, 0)->dead = true;
    Add("c", {}, 0, 0, 0);
    world.Clear();
    EXPECT_TRUE(world.objects.empty());
    EXPECT_EQ(Entries("delete"), (Log { "delete a", "delete b", "delete c" }));
}

} // namespace
