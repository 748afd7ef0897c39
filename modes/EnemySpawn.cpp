#include "modes/EnemySpawn.h"

#include "base/Random.h"
#include "world/EnemyBig.h"
#include "world/EnemyMedium.h"
#include "world/EnemySmall.h"
#include "world/World.h"

namespace {
template <class T> Enemy* Make(World& world)
{
    return world.Create<T>(&world);
}

// Small 26, big 30, medium 45 chances in 101; the pickup comes sooner after smaller ones.
constexpr EnemySpawn table[] = {
    { 26, Make<EnemySmall>, 0.5f, &EnemySmall::description },
    { 30, Make<EnemyBig>, 0.75f, &EnemyBig::description },
    { 45, Make<EnemyMedium>, 1.0f, &EnemyMedium::description },
};
} // namespace

std::span<const EnemySpawn> EnemySpawn::Table()
{
    return table;
}

int EnemySpawn::Shares()
{
    int total = 0;
    for (const EnemySpawn& row : table)
        total += row.share;
    return total;
}

const EnemySpawn& EnemySpawn::Draw()
{
    int draw = rng::rand() % Shares();
    for (const EnemySpawn& row : table) {
        if (draw < row.share)
            return row;
        draw -= row.share;
    }
    return table[std::size(table) - 1]; // not reached: the draw is below the sum
}
