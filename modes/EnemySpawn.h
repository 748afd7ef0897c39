#pragma once

#include <span>

class Enemy;
class World;

// One row of the spawner's table, one per kind of enemy the play mode sends: its share of the
// spawner's draw, how to make it (it places itself), and how the delay of the next shield
// pickup is scaled after it. Adding a kind of enemy is adding its row.
struct EnemySpawn {
    int share = 0;
    Enemy* (*make)(World& world) = nullptr;
    float pickupScale = 0.0f;

    // The rows in the order the draw walks them.
    static std::span<const EnemySpawn> Table();
    // The sum of every share: the draw is rand() % this.
    static int Shares();
    // One draw, rand() % Shares(), walked through the shares in table order.
    static const EnemySpawn& Draw();
};
