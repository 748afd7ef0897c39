// One fixed world step with 300 live objects of mixed collision masks.
#include "base/Random.h"
#include "world/World.h"

#include <benchmark/benchmark.h>

namespace {

// Drifts, bounces inside the window and counts its contacts, like a busy game object.
class Drifter : public Object {
public:
    void Update(float dt) override
    {
        position.x += velocity.x * dt;
        position.y += velocity.y * dt;
        if (position.x < 0.0f || position.x > 800.0f)
            velocity.x = -velocity.x;
        if (position.y < 0.0f || position.y > 600.0f)
            velocity.y = -velocity.y;
    }
    void OnCollision(Object*) override { ++contacts; }

    Vec2 velocity;
    int contacts = 0;
};

void WorldUpdate300(benchmark::State& state)
{
    World world(nullptr);
    Random random(7);
    const uint32_t types[] = { TypePlayer, TypeProjectile, TypeEnemy, TypePickup, 0 };
    const uint32_t masks[] = { TypeEnemy | TypePickup, TypeEnemy, 0, TypePlayer, 0 };
    for (int index = 0; index < 300; ++index) {
        auto* object = world.Create<Drifter>();
        const int kind = random.Next() % 5;
        object->collisionType = types[kind];
        object->collisionMask = masks[kind];
        object->radius = static_cast<float>(4 + random.Next() % 30);
        object->SetPosition(
            { static_cast<float>(random.Next() % 800), static_cast<float>(random.Next() % 600) });
        object->velocity = { static_cast<float>(random.Next() % 401 - 200),
            static_cast<float>(random.Next() % 401 - 200) };
    }
    for (auto _ : state)
        world.Update(0.032f);
    state.SetItemsProcessed(state.iterations() * 300);
}
BENCHMARK(WorldUpdate300);

} // namespace
