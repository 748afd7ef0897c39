#include "world/World.h"

#include "base/DeadList.h"

#include <cmath>

World::World(Renderer* worldRenderer)
    : renderer(worldRenderer)
{
}

World::~World()
{
    Clear();
}

void World::Update(float dt)
{
    UpdatePass(dt);
    CollisionPass();
}

void World::UpdatePass(float dt)
{
    VisitLiveRemovingDead(objects, [dt](Object* object) { object->Update(dt); });
}

void World::CollisionPass()
{
    // Dead objects still take part: each handler decides whether a dead partner counts.
    // Handlers may append objects, so nothing is kept across a call but the indices.
    for (size_t i = 0; i < objects.size(); ++i) {
        // Most objects (debris, enemies, pickups) have no mask: every pair of theirs fails the
        // mask test, and as nothing is called meanwhile their mask cannot change. Their whole
        // row is skipped; a mask is still read afresh for every pair of the others.
        if (objects[i]->collisionMask == 0)
            continue;
        for (size_t j = 0; j < objects.size(); ++j) {
            if (i == j)
                continue;
            Object* a = objects[i];
            Object* b = objects[j];
            if ((a->collisionMask & b->collisionType) == 0)
                continue;
            const float dx = a->position.x - b->position.x;
            const float dy = a->position.y - b->position.y;
            const auto distance
                = static_cast<float>(std::sqrt(static_cast<double>(dx * dx + dy * dy)));
            if (a->radius + b->radius > distance)
                a->OnCollision(b);
        }
    }
}

void World::Render(float frameSeconds, float alpha)
{
    for (size_t index = 0; index < objects.size(); ++index) {
        Object* object = objects[index];
        if (!object->dead)
            object->Render(frameSeconds, alpha);
    }
}

void World::Clear()
{
    // Swapped out first, so a destructor never sees a half-deleted list.
    std::vector<Object*> doomed;
    doomed.swap(objects);
    for (Object* object : doomed)
        delete object;
}
